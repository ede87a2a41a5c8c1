#include "visualizers/VisualizerRegistry.h"

#include "visualizers/UMLModelVisualizerStandard.h"

VisualizerRegistry makeVisualizerRegistry() {
    VisualizerRegistry registry;
    registry["Standard UML"] = std::make_unique<UMLModelVisualizerStandard>(false, false);
    return registry;
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
