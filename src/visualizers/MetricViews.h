#pragma once
// What a metrics load and a canvas need from the metric visualizers, kept out of the window
// toolkit so that the program and the command-line export set them up the same way.
#include "visualizers/MetricViz.h"
#include "visualizers/VisualizerRegistry.h"

class CanvasViews;
class MetricCollection;

// Gives every metric of the collection that has no glyph yet the first glyph of the registry
// that accepts its kind, and writes the defaults of every accepting glyph into its
// properties.
void assignDefaultGlyphs(MetricCollection& metrics, const GlyphRegistry& glyphs);

// The glyph for a metric: the named one if it exists and accepts the metric's kind.
bool setMetricGlyph(MetricCollection& metrics, const std::string& metric, MetricViz* glyph);

// Lets views with a metric visualizer pick on pointer motion, show hover boxes for what they
// find (a glyph before its element) and draw their legend.
void installMetricViewHooks(CanvasViews& views);
