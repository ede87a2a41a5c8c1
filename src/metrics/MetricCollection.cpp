#include "metrics/MetricCollection.h"

#include <algorithm>

#include "xmi/XMIResult.h"

namespace {
template <class T> bool firstRecordIs(const MetricCollection& c, const std::string& name) {
    for (const auto& metric : c.elementMetrics)
        if (metric->name == name && dynamic_cast<const T*>(metric))
            return true;
    return false;
}
} // namespace

bool MetricCollection::isIntMetric(const std::string& name) const {
    return firstRecordIs<IntMetric>(*this, name);
}

bool MetricCollection::isBoolMetric(const std::string& name) const {
    return firstRecordIs<BoolMetric>(*this, name);
}

IntMetric& MetricCollection::newIntRecord() {
    IntMetric& record = intRecords_.make();
    elementMetrics.push_back(&record);
    return record;
}

BoolMetric& MetricCollection::newBoolRecord() {
    BoolMetric& record = boolRecords_.make();
    elementMetrics.push_back(&record);
    return record;
}

ElementMetric* MetricCollection::add(std::unique_ptr<ElementMetric> record) {
    elementMetrics.push_back(record.get());
    addedRecords_.push_back(std::move(record));
    return elementMetrics.back();
}

MetricCollection* MetricCollectionHolder::install(std::unique_ptr<MetricCollection> collection) {
    if (!collection)
        return current();
    collections_.push_back(std::move(collection));
    return collections_.back().get();
}

void detachElementMetrics(XMIResult& model) {
    for (const auto& object : model.objects()) {
        auto* element = dynamic_cast<UMLModelElement*>(object.get());
        if (!element)
            continue;
        auto& data = element->userData;
        data.erase(std::remove_if(data.begin(), data.end(),
                                  [](UMLUserData* d) { return dynamic_cast<ElementMetric*>(d); }),
                   data.end());
    }
}
