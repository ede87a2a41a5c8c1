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

Configuration& MetricProperties::config() {
    if (!config_) {
        config_ = std::make_unique<Configuration>();
        applyDefaults(*config_);
    }
    return *config_;
}

Configuration MetricProperties::settings() const {
    if (config_)
        return *config_;
    Configuration made;
    applyDefaults(made);
    return made;
}

std::optional<float> MetricProperties::findFloat(const std::string& key) const {
    if (config_) {
        auto found = config_->floats().find(key);
        return found == config_->floats().end() ? std::nullopt : std::optional(found->second);
    }
    if (hasDefaults_ && key == "Transparency")
        return 1.0f;
    if (hasThresholds_ && key == ".LowerThreshold")
        return -1.0f;
    if (hasThresholds_ && key == ".UpperThreshold")
        return upper_;
    return std::nullopt;
}

std::optional<Color> MetricProperties::findColor(const std::string& key) const {
    if (config_) {
        auto found = config_->colors().find(key);
        return found == config_->colors().end() ? std::nullopt : std::optional(found->second);
    }
    if (hasDefaults_ && key == "OutlineColor")
        return Color(0, 0, 0, 1);
    if (hasDefaults_ && key == "FillColor")
        return fill_;
    return std::nullopt;
}

void MetricProperties::setDefaults(const Color& fill) {
    fill_ = fill;
    hasDefaults_ = true;
    if (config_)
        applyDefaults(*config_);
}

void MetricProperties::setDefaultThresholds(float upper) {
    upper_ = upper;
    hasThresholds_ = true;
    if (config_)
        applyDefaults(*config_);
}

void MetricProperties::applyDefaults(Configuration& config) const {
    if (hasDefaults_) {
        config.setFloat("Transparency", 1.0f);
        config.setColor("OutlineColor", Color(0, 0, 0, 1));
        config.setColor("FillColor", fill_);
    }
    if (hasThresholds_) {
        config.setFloat(".LowerThreshold", -1.0f);
        config.setFloat(".UpperThreshold", upper_);
    }
}

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
