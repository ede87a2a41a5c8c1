#include "inspect/InspectMetrics.h"

#include <algorithm>

#include "common/Exception.h"
#include "inspect/InspectConfig.h"
#include "metrics/MetricsReader.h"
#include "xmi/XMIResult.h"

namespace {

using Json = nlohmann::ordered_json;

template <class Map> const typename Map::mapped_type* lookup(const Map& map, const char* key) {
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

class RecordDescriber : public MetricVisitor {
public:
    void visit(IntMetric& m) override {
        out = Json{
            {"name", m.name}, {"kind", "int"}, {"value", m.value}, {"min", m.min}, {"max", m.max}};
    }
    void visit(BoolMetric& m) override {
        out = Json{{"name", m.name},
                   {"kind", "bool"},
                   {"value", m.value},
                   {"min", nullptr},
                   {"max", nullptr}};
    }
    void visit(ElementMetric& m) override {
        out = Json{{"name", m.name},
                   {"kind", nullptr},
                   {"value", nullptr},
                   {"min", nullptr},
                   {"max", nullptr}};
    }
    Json out;
};

} // namespace

Json describeMetricCollection(const MetricCollection& collection) {
    Json out = Json::object();
    out["error"] = nullptr;
    Json& global = out["global"] = Json::array();
    for (const auto& metric : collection.globalMetrics)
        global.push_back(Json{{"name", metric->name}, {"value", metric->value}});
    Json& element = out["element"] = Json::array();
    for (const auto& [name, properties] : collection.properties) {
        Json entry = Json::object();
        entry["name"] = name;
        if (collection.isIntMetric(name))
            entry["kind"] = "int";
        else if (collection.isBoolMetric(name))
            entry["kind"] = "bool";
        else
            entry["kind"] = nullptr;
        entry["records"] =
            std::count_if(collection.elementMetrics.begin(), collection.elementMetrics.end(),
                          [&name = name](const auto& metric) { return metric->name == name; });
        auto range = collection.ranges.find(name);
        entry["range"] = range == collection.ranges.end()
                             ? Json(nullptr)
                             : Json::array({range->second.first, range->second.second});
        const auto& floats = properties->config.floats();
        const float* lower = lookup(floats, ".LowerThreshold");
        const float* upper = lookup(floats, ".UpperThreshold");
        entry["thresholds"] =
            lower && upper ? Json::array({jsonFloat(*lower), jsonFloat(*upper)}) : Json(nullptr);
        const float* transparency = lookup(floats, "Transparency");
        entry["transparency"] = transparency ? jsonFloat(*transparency) : Json(nullptr);
        const auto& colors = properties->config.colors();
        const Color* fill = lookup(colors, "FillColor");
        const Color* outline = lookup(colors, "OutlineColor");
        entry["fillColor"] = fill ? jsonColor(*fill) : Json(nullptr);
        entry["outlineColor"] = outline ? jsonColor(*outline) : Json(nullptr);
        element.push_back(std::move(entry));
    }
    return out;
}

Json describeElementMetrics(const UMLModelElement& element) {
    Json out = Json::array();
    for (ElementMetric* metric : getElementMetrics(element)) {
        RecordDescriber describer;
        metric->accept(describer);
        out.push_back(std::move(describer.out));
    }
    return out;
}

Json inspectMetrics(const std::string& metricsFile, XMIResult* model,
                    MetricCollectionHolder& loaded) {
    XMIResult empty;
    try {
        auto collection = loadMetricsFile(metricsFile, model ? *model : empty);
        return describeMetricCollection(*loaded.install(std::move(collection)));
    } catch (const MetricsParseException& e) {
        return Json{
            {"error", e.getMessage()}, {"global", Json::array()}, {"element", Json::array()}};
    }
}
