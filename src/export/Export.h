#pragma once
// The command-line export: loads a model as the program does, shows one diagram in a view
// of the requested size, renders it offscreen with the canvas's own code, writes the image
// and describes what was drawn as JSON (views, element boxes, glyph cells, the legend and
// what lies under a picked pixel).
#include <nlohmann/json.hpp>

#include "export/ExportOptions.h"

// Exit codes of the export.
enum ExportExit : int {
    ExportOk = 0,
    ExportFailed = 1, // the model (or the metrics file named) was rejected, or no image
    ExportUsage = 2,  // a name, size or value the model or renderer cannot serve
};

// Fills the description and returns ExportOk or ExportFailed; throws UsageError for a
// request that names what the model or the renderer does not have.
int runExport(const ExportOptions& options, nlohmann::ordered_json& out);

// A float as JSON in its shortest form that reads back to the same float; null when it is
// not finite.
nlohmann::ordered_json exportFloat(float value);
