#pragma once
// The visualizers of the program by display name, one shared instance of each kind. Views
// point at these instances; the configuration file and the layout text name them.
#include <map>
#include <memory>
#include <string>

#include "visualizers/UMLModelVisualizer.h"

using VisualizerRegistry = std::map<std::string, std::unique_ptr<UMLModelVisualizer>>;

// One instance of every visualizer kind the program has.
VisualizerRegistry makeVisualizerRegistry();

class MetricCollection;
// Hands the current metrics (or null) to every metric visualizer of the registry.
void setRegistryMetrics(const VisualizerRegistry& registry, MetricCollection* metrics);

// The visualizer a new view is given: "Simple Metrics" where it exists, else "Standard UML".
UMLModelVisualizer* defaultVisualizer(const VisualizerRegistry& registry);

// The display name of a registered visualizer; empty for null or an unknown one.
std::string visualizerName(const VisualizerRegistry& registry, const UMLModelVisualizer* v);
