// Reads arbitrary bytes as a whole configuration file (global block, window layout, metric
// properties, shown metrics) into a views tree, a small model and a metrics collection,
// then writes the configuration back out.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/Log.h"
#include "config/Configuration.h"
#include "graphics/CanvasViews.h"
#include "metrics/MetricCollection.h"
#include "visualizers/ConfigurationFile.h"
#include "xmi/XMIResult.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LogCapture quiet;
    XMIResult model;
    for (const char* name : {"Main", "n/a", "Second"}) {
        auto* diagram = model.create<UMLDiagram>();
        diagram->id = name;
        diagram->name = name;
        model.diagrams.push_back(diagram);
    }
    MetricCollection metrics;
    for (const char* name : {"NOM", "WMC", "Abstract"})
        metrics.properties[name] = std::make_unique<MetricProperties>();
    Configuration global;
    setDefaultConfiguration(global);
    CanvasViews views(640, 480);

    ConfigurationTargets targets;
    targets.global = &global;
    targets.views = &views;
    targets.model = &model;
    targets.metrics = &metrics;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    readConfiguration(in, targets);

    std::ostringstream out;
    writeConfiguration(out, targets);
    return 0;
}
