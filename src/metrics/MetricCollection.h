#pragma once
// What one metrics-file load produces, the per-metric drawing properties, and the holder
// that keeps every load of one model alive as long as that model.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "config/Configuration.h"
#include "metrics/Metric.h"

class MetricViz;
class XMIResult;

// Records made in blocks of many: they never move, and go with their owner.
template <class Record> class RecordBlocks {
public:
    Record& make() {
        if (used_ == blockSize) {
            blocks_.push_back(std::make_unique<Record[]>(blockSize));
            used_ = 0;
        }
        return blocks_.back()[used_++];
    }

private:
    static constexpr std::size_t blockSize = 256;
    std::vector<std::unique_ptr<Record[]>> blocks_;
    std::size_t used_ = blockSize;
};

// How one metric is drawn.
struct MetricProperties {
    // The chosen glyph, or null. Glyphs are process-wide singletons owned by the glyph
    // registry; this record never deletes one.
    MetricViz* viz = nullptr;

    // "Transparency", "FillColor", thresholds, glyph keys. Made on first use, with the
    // defaults set below: a file may name many metrics of which few are ever drawn or
    // changed, and a configuration takes many times the memory of its defaults. The
    // configuration stays where it is once made.
    Configuration& config();
    // The configuration as config() gives it, made apart if it is not made yet, for those
    // who only look at it.
    Configuration settings() const;
    // One setting as config() would hold it, without making the configuration; empty
    // where the key is not set.
    std::optional<float> findFloat(const std::string& key) const;
    std::optional<Color> findColor(const std::string& key) const;

    // The defaults of a metric read from a file: opaque, outlined in black and filled
    // with `fill`; and, for an integer metric with records, the thresholds -1 and `upper`.
    void setDefaults(const Color& fill);
    void setDefaultThresholds(float upper);

private:
    // Hands each default to `visit` as (key, float) or (key, Color).
    template <class Visit> void forEachDefault(Visit visit) const;
    void applyDefaults(Configuration& config) const;
    template <class Value> std::optional<Value> defaultOf(const std::string& key) const;

    std::unique_ptr<Configuration> config_;
    Color fill_;
    float upper_ = 0.0f;
    bool hasDefaults_ = false;
    bool hasThresholds_ = false;
};

class MetricCollection {
public:
    // Every record below belongs to this collection. Element records are also listed in the
    // userData of their elements, which never delete them.
    std::vector<std::unique_ptr<CountMetric>> globalMetrics;             // file order
    std::vector<ElementMetric*> elementMetrics;                          // file order
    std::map<std::string, std::pair<std::int32_t, std::int32_t>> ranges; // integer metrics
    std::set<std::string> activeMetrics;                                 // shown by the views
    std::map<std::string, std::unique_ptr<MetricProperties>> properties;

    // Whether some record of that name is an integer (a boolean) record; a metric that
    // created no record is neither.
    bool isIntMetric(const std::string& name) const;
    bool isBoolMetric(const std::string& name) const;

    // A new record of the collection, appended to elementMetrics. The reader's records are
    // made here, since a file holds hundreds of thousands of them.
    IntMetric& newIntRecord() {
        IntMetric& record = intRecords_.make();
        elementMetrics.push_back(&record);
        return record;
    }
    BoolMetric& newBoolRecord() {
        BoolMetric& record = boolRecords_.make();
        elementMetrics.push_back(&record);
        return record;
    }
    // Takes a record made elsewhere into the collection and appends it to elementMetrics.
    ElementMetric* add(std::unique_ptr<ElementMetric> record);

private:
    RecordBlocks<IntMetric> intRecords_;
    RecordBlocks<BoolMetric> boolRecords_;
    std::vector<std::unique_ptr<ElementMetric>> addedRecords_;
};

// Every collection loaded against the current model. A later load does not take the records
// of an earlier one off the elements, so no collection may go before the model does: the
// frame keeps this holder beside the model and clears it when it unloads the model. Nothing
// here reads the elements, so clearing it right after or right before the model is released
// is equally safe.
class MetricCollectionHolder {
public:
    // Null until the first load.
    MetricCollection* current() const {
        return collections_.empty() ? nullptr : collections_.back().get();
    }
    // Makes the collection the current one; earlier ones stay alive. Returns it.
    MetricCollection* install(std::unique_ptr<MetricCollection> collection);
    // Releases every collection and all their records, once.
    void clear() { collections_.clear(); }
    std::size_t size() const { return collections_.size(); }

private:
    std::vector<std::unique_ptr<MetricCollection>> collections_;
};

// Takes every metric record off the userData lists of the model's elements, so that the
// collections can be released while the model stays loaded.
void detachElementMetrics(XMIResult& model);
