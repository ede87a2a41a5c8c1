#include "metrics/MetricCollection.h"

#include <algorithm>
#include <type_traits>

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

template <class Visit> void MetricProperties::forEachDefault(Visit visit) const {
    if (hasDefaults_) {
        visit("Transparency", 1.0f);
        visit("OutlineColor", Color(0, 0, 0, 1));
        visit("FillColor", fill_);
    }
    if (hasThresholds_) {
        visit(".LowerThreshold", -1.0f);
        visit(".UpperThreshold", upper_);
    }
}

template <class Value>
std::optional<Value> MetricProperties::defaultOf(const std::string& key) const {
    std::optional<Value> result;
    forEachDefault([&](const char* name, const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, Value>) {
            if (key == name)
                result = value;
        }
    });
    return result;
}

namespace {
template <class Map>
std::optional<typename Map::mapped_type> findIn(const Map& map, const std::string& key) {
    auto found = map.find(key);
    return found == map.end() ? std::nullopt : std::optional(found->second);
}
} // namespace

std::optional<float> MetricProperties::findFloat(const std::string& key) const {
    return config_ ? findIn(config_->floats(), key) : defaultOf<float>(key);
}

std::optional<Color> MetricProperties::findColor(const std::string& key) const {
    return config_ ? findIn(config_->colors(), key) : defaultOf<Color>(key);
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
    forEachDefault([&](const char* name, const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, float>)
            config.setFloat(name, value);
        else
            config.setColor(name, value);
    });
}

bool MetricCollection::isIntMetric(const std::string& name) const {
    return firstRecordIs<IntMetric>(*this, name);
}

bool MetricCollection::isBoolMetric(const std::string& name) const {
    return firstRecordIs<BoolMetric>(*this, name);
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
