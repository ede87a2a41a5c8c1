#include "inspect/InspectMetrics.h"

#include <string_view>
#include <unordered_map>

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
    // What the records of each name are, gathered in one pass over all records.
    struct Records {
        std::size_t count = 0;
        bool anyInt = false;
        bool anyBool = false;
    };
    std::unordered_map<std::string_view, Records> records;
    records.reserve(collection.properties.size());
    // The records of a block follow each other and share one name.
    const std::string* lastName = nullptr;
    Records* last = nullptr;
    for (const auto& metric : collection.elementMetrics) {
        const std::string& name = metric->name.str();
        if (&name != lastName) {
            lastName = &name;
            last = &records[name];
        }
        Records& r = *last;
        ++r.count;
        r.anyInt = r.anyInt || dynamic_cast<const IntMetric*>(metric);
        r.anyBool = r.anyBool || dynamic_cast<const BoolMetric*>(metric);
    }
    Json& element = out["element"] = Json::array();
    for (const auto& [name, properties] : collection.properties) {
        auto found = records.find(name);
        const Records r = found == records.end() ? Records() : found->second;
        Json entry = Json::object();
        entry["name"] = name;
        if (r.anyInt)
            entry["kind"] = "int";
        else if (r.anyBool)
            entry["kind"] = "bool";
        else
            entry["kind"] = nullptr;
        entry["records"] = r.count;
        auto range = collection.ranges.find(name);
        entry["range"] = range == collection.ranges.end()
                             ? Json(nullptr)
                             : Json::array({range->second.first, range->second.second});
        const Configuration settings = properties->settings();
        const auto& floats = settings.floats();
        const float* lower = lookup(floats, ".LowerThreshold");
        const float* upper = lookup(floats, ".UpperThreshold");
        entry["thresholds"] =
            lower && upper ? Json::array({jsonFloat(*lower), jsonFloat(*upper)}) : Json(nullptr);
        const float* transparency = lookup(floats, "Transparency");
        entry["transparency"] = transparency ? jsonFloat(*transparency) : Json(nullptr);
        const auto& colors = settings.colors();
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
