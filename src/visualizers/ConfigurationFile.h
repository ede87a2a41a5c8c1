#pragma once
// The configuration file (".cfg"): the global settings, the view layout, the per-metric
// drawing properties and the names of the shown metrics, in four sections. Kept out of the
// window toolkit so that the desktop program and the command-line export read the same
// files the same way; the caller shows the results (check lists, repaints, messages).
#include <iosfwd>
#include <string>

#include "config/Configuration.h"
#include "visualizers/MetricViz.h"

class CanvasViews;
class MetricCollection;
class XMIResult;

// What a configuration file is written from and applied to. A null part is left alone: its
// section is still written (from defaults) and still consumed when read, but changes
// nothing. None of the pointers is owned.
struct ConfigurationTargets {
    Configuration* global = &globalConfiguration;
    CanvasViews* views = nullptr;
    // The model whose diagrams the layout names; without one only the splits are rebuilt.
    const XMIResult* model = nullptr;
    // The current metrics; without them metric entries and shown metrics are skipped.
    MetricCollection* metrics = nullptr;
    // Turns glyph names into the shared glyphs; without it a read entry keeps its glyph.
    const GlyphRegistry* glyphs = nullptr;
};

// Which sections a read found and applied.
struct ConfigurationReadResult {
    bool global = false;
    bool layout = false;
    bool metricProperties = false;
    // The shown metrics were replaced by the names the file lists (and that are loaded).
    bool shownMetrics = false;
    bool anySection() const { return global || layout || metricProperties || shownMetrics; }
};

// Writes the four sections and the end line. The shown metrics are written in name order,
// which is the order of the metric list the user ticks them in.
void writeConfiguration(std::ostream& out, const ConfigurationTargets& targets);

// Reads the four sections from the stream and merges them into the targets: settings the
// file does not mention keep their values, the views are rebuilt, metric entries apply only
// to metrics that are loaded. A missing or malformed section header skips that section.
// Counts never read past the end of the stream.
ConfigurationReadResult readConfiguration(std::istream& in, const ConfigurationTargets& targets);

// A file operation: ok, or the text to show the user.
struct ConfigurationFileStatus {
    bool ok = false;
    std::string error;
    ConfigurationReadResult read;
};

// Writes the file in one go. A file that cannot be created or written completely is
// reported, never silently skipped.
ConfigurationFileStatus saveConfigurationFile(const std::string& path,
                                              const ConfigurationTargets& targets);

// Reads the whole file first and applies it only when it could be read and holds at least
// one section header; otherwise nothing changes and the error says why. Windows line ends
// are accepted.
ConfigurationFileStatus loadConfigurationFile(const std::string& path,
                                              const ConfigurationTargets& targets);
