#pragma once
// Describes a metrics load as JSON: the global metrics in file order, every element metric
// in name order with its properties, and the metric records of single elements.
#include <nlohmann/json.hpp>
#include <string>

class JsonStream;
class MetricCollection;
class MetricCollectionHolder;
class UMLModelElement;
class XMIResult;

// Loads the file against the model exactly like the frame does (a null model has no
// elements) and describes the result as {"error", "global", "element"}. The new collection
// is installed in `loaded`, so its records stay on the elements as long as the caller
// keeps the holder. An unopenable file gives its message in "error" and empty lists.
nlohmann::ordered_json inspectMetrics(const std::string& metricsFile, XMIResult* model,
                                      MetricCollectionHolder& loaded);

// The same in two steps, for a description written as it is made: the load gives the
// installed collection, or null with the file's message in `error`; the collection is then
// written, or the message with empty lists.
const MetricCollection* loadMetricsForInspection(const std::string& metricsFile, XMIResult* model,
                                                 MetricCollectionHolder& loaded,
                                                 std::string& error);
void writeUnreadMetrics(const std::string& error, JsonStream& out);

// {"error": null, "global": [{"name", "value"}], "element": [{"name", "kind", "records",
// "range", "thresholds", "transparency", "fillColor", "outlineColor"}]}, written entry by
// entry, or as one value.
void writeMetricCollection(const MetricCollection& collection, JsonStream& out);
nlohmann::ordered_json describeMetricCollection(const MetricCollection& collection);

// The element's metric records in userData order: [{"name", "kind", "value", "min", "max"}],
// min and max null for boolean records.
nlohmann::ordered_json describeElementMetrics(const UMLModelElement& element);
