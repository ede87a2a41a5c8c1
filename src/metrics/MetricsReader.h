#pragma once
// Reads a metrics file against a loaded model into a new MetricCollection. The reader is
// forgiving: malformed blocks are logged and skipped; only an unopenable file throws.
#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "config/Color.h"
#include "metrics/MetricCollection.h"

class XMIResult;

class MetricsReader {
public:
    // Throws MetricsParseException("Unable to open metrics file") when the file cannot be
    // opened; then no collection has been created.
    void read(const std::string& fileName, XMIResult& model);

    std::unique_ptr<MetricCollection> collection; // what the last read produced
};

// One load as the frame runs it: reads the file and hands over the new collection, whose
// element records are already attached to the model's elements. Throws like read().
std::unique_ptr<MetricCollection> loadMetricsFile(const std::string& path, XMIResult& model);

// Fill colours given to new metrics in turn; the index runs on across loads for the
// lifetime of the process.
extern const std::array<Color, 16> metricPalette;
extern std::size_t nextPaletteIndex;
