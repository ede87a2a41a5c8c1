#include "visualizers/VisualizerRegistry.h"

#include "visualizers/MetricsVisualizer.h"

VisualizerRegistry makeVisualizerRegistry() {
    VisualizerRegistry registry;
    registry["Standard UML"] = std::make_unique<UMLModelVisualizerStandard>(false, false);
    registry["Simple Metrics"] = std::make_unique<MetricsVisualizerSimple>(false, false);
    registry["Unified Element Size"] = std::make_unique<MetricsVisualizerUnifiedSize>(false, false);
    registry["Unified Metrics Size"] =
        std::make_unique<MetricsVisualizerUnifiedMetricsSize>(false, false);
    return registry;
}

void setRegistryMetrics(const VisualizerRegistry& registry, MetricCollection* metrics) {
    for (const auto& entry : registry)
        if (auto* m = dynamic_cast<MetricsVisualizer*>(entry.second.get()))
            m->metrics = metrics;
}

UMLModelVisualizer* defaultVisualizer(const VisualizerRegistry& registry) {
    for (const char* name : {"Simple Metrics", "Standard UML"}) {
        auto found = registry.find(name);
        if (found != registry.end())
            return found->second.get();
    }
    return registry.empty() ? nullptr : registry.begin()->second.get();
}

std::string visualizerName(const VisualizerRegistry& registry, const UMLModelVisualizer* v) {
    if (!v)
        return {};
    for (const auto& [name, instance] : registry)
        if (instance.get() == v)
            return name;
    return {};
}
