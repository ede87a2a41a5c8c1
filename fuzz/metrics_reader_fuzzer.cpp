// Reads arbitrary bytes as a metrics file against a small model: a few classes, one of them
// without a name, and a diagram whose id is registered but which is no model element.
// Malformed blocks are logged and skipped; crashes, leaks, undefined behaviour and runaway
// time or memory are what the fuzzer looks for. The load is then described as the inspect
// command writes it, and the text must read back as JSON whatever bytes the names hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "common/Log.h"
#include "inspect/InspectMetrics.h"
#include "inspect/JsonStream.h"
#include "metrics/MetricsReader.h"
#include "xmi/XMIResult.h"

namespace {
XMIResult& smallModel() {
    static XMIResult* model = [] {
        auto* m = new XMIResult();
        for (const char* id : {"A", "B", "C", "pkg.P", "c1"}) {
            auto* element = m->create<UMLClass>();
            element->id = id;
            m->idRegistry.add(element);
        }
        auto* diagram = m->create<UMLDiagram>();
        diagram->id = "D";
        m->idRegistry.add(diagram);
        return m;
    }();
    return *model;
}

std::string inputPath() {
    return "/tmp/brennimore-metrics-fuzz-" + std::to_string(getpid()) + ".txt";
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader takes a path, as the program gives it one.
    const std::string path = inputPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    LogCapture quiet;
    XMIResult& model = smallModel();
    {
        MetricCollectionHolder holder;
        const MetricCollection* collection = holder.install(loadMetricsFile(path, model));
        std::ostringstream text;
        JsonStream description(text);
        writeMetricCollection(*collection, description);
        if (!nlohmann::ordered_json::accept(text.str()))
            std::abort();
        detachElementMetrics(model);
    }
    return 0;
}
