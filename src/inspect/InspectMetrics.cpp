#include "inspect/InspectMetrics.h"

#include <string_view>
#include <unordered_map>
#include <utility>

#include "common/Exception.h"
#include "inspect/InspectConfig.h"
#include "inspect/JsonStream.h"
#include "metrics/MetricsReader.h"
#include "xmi/XMIResult.h"

namespace {

using Json = nlohmann::ordered_json;

// A two-element array, made at its size.
Json pairOf(Json first, Json second) {
    Json out = Json::array();
    auto& items = out.get_ref<Json::array_t&>();
    items.reserve(2);
    items.push_back(std::move(first));
    items.push_back(std::move(second));
    return out;
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

void writeMetricCollection(const MetricCollection& collection, JsonStream& out) {
    out.beginObject();
    out.member("error", nullptr);
    out.key("global");
    out.beginArray();
    for (const auto& metric : collection.globalMetrics)
        out.value(Json{{"name", metric->name}, {"value", metric->value}});
    out.end();
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
    out.key("element");
    out.beginArray();
    // The ranges are in the same order as the properties: one walk finds them all.
    auto range = collection.ranges.begin();
    for (const auto& [name, properties] : collection.properties) {
        auto found = records.find(name);
        const Records r = found == records.end() ? Records() : found->second;
        while (range != collection.ranges.end() && range->first < name)
            ++range;
        const bool hasRange = range != collection.ranges.end() && range->first == name;
        const std::optional<float> lower = properties->findFloat(".LowerThreshold");
        const std::optional<float> upper = properties->findFloat(".UpperThreshold");
        const std::optional<float> transparency = properties->findFloat("Transparency");
        const std::optional<Color> fill = properties->findColor("FillColor");
        const std::optional<Color> outline = properties->findColor("OutlineColor");
        // The keys are appended in place: a description may hold many thousands of entries.
        Json entry = Json::object();
        auto& fields = entry.get_ref<Json::object_t&>();
        fields.reserve(9);
        fields.emplace_back("name", name);
        fields.emplace_back("kind", r.anyInt ? Json("int") : r.anyBool ? Json("bool") : Json());
        fields.emplace_back("records", r.count);
        fields.emplace_back("range", hasRange ? pairOf(range->second.first, range->second.second)
                                              : Json(nullptr));
        fields.emplace_back("thresholds", lower && upper
                                              ? pairOf(jsonFloat(*lower), jsonFloat(*upper))
                                              : Json(nullptr));
        fields.emplace_back("transparency", transparency ? jsonFloat(*transparency) : Json());
        fields.emplace_back("fillColor", fill ? jsonColor(*fill) : Json(nullptr));
        fields.emplace_back("outlineColor", outline ? jsonColor(*outline) : Json(nullptr));
        out.value(std::move(entry));
    }
    out.end();
    out.end();
}

Json describeMetricCollection(const MetricCollection& collection) {
    return writtenJson([&](JsonStream& out) { writeMetricCollection(collection, out); });
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

const MetricCollection* loadMetricsForInspection(const std::string& metricsFile, XMIResult* model,
                                                 MetricCollectionHolder& loaded,
                                                 std::string& error) {
    XMIResult empty;
    try {
        auto collection = loadMetricsFile(metricsFile, model ? *model : empty);
        return loaded.install(std::move(collection));
    } catch (const MetricsParseException& e) {
        error = e.getMessage();
        return nullptr;
    }
}

void writeUnreadMetrics(const std::string& error, JsonStream& out) {
    out.value(Json{{"error", error}, {"global", Json::array()}, {"element", Json::array()}});
}

Json inspectMetrics(const std::string& metricsFile, XMIResult* model,
                    MetricCollectionHolder& loaded) {
    std::string error;
    const MetricCollection* collection =
        loadMetricsForInspection(metricsFile, model, loaded, error);
    return writtenJson([&](JsonStream& out) {
        if (collection)
            writeMetricCollection(*collection, out);
        else
            writeUnreadMetrics(error, out);
    });
}
