#pragma once
// Metric records: model-wide counts, and integer and boolean values of single model
// elements. Element records hang on their element's userData list; the collection of the
// load that created them owns them.
#include <cstdint>
#include <string>
#include <vector>

#include "uml/UMLModel.h"

class MetricVisitor;

class BaseMetric {
public:
    virtual ~BaseMetric() = default;
    std::string name; // as written in the block header of the metrics file
};

// Metrics about the model as a whole; only listed, never drawn.
class GlobalMetric : public BaseMetric {};

class CountMetric : public GlobalMetric {
public:
    std::int32_t value = 0;
};

// A metric of one model element, stored in that element's userData list.
class ElementMetric : public BaseMetric, public UMLUserData {
public:
    virtual void accept(MetricVisitor& v);
};

class IntMetric : public ElementMetric {
public:
    void accept(MetricVisitor& v) override;
    std::int32_t value = 0;
    // The range of the whole metric, the same in every record of it.
    std::int32_t min = 0;
    std::int32_t max = 0;
};

class BoolMetric : public ElementMetric {
public:
    void accept(MetricVisitor& v) override;
    bool value = false;
};

// Double dispatch over element metrics; every operation does nothing unless overridden.
class MetricVisitor {
public:
    virtual void visit(IntMetric&) {}
    virtual void visit(BoolMetric&) {}
    virtual void visit(ElementMetric&) {}

protected:
    // Visitors are never deleted through this interface.
    ~MetricVisitor() = default;
};

// The element's metric records in userData order; other user data is skipped.
std::vector<ElementMetric*> getElementMetrics(const UMLModelElement& element);
