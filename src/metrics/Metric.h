#pragma once
// Metric records: model-wide counts, and integer and boolean values of single model
// elements. Element records hang on their element's userData list; the collection of the
// load that created them owns them.
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "uml/UMLModel.h"

class MetricVisitor;

// The name of a metric, shared by all records of it: a file has a few metrics and
// hundreds of thousands of records, and copying a name costs no allocation. Reads as the
// string it holds. Records are made, copied and released on one thread at a time, so the
// count of a name's holders is a plain one: an atomic count would fence every record the
// reader makes and stall the element lookups it has under way.
class MetricName {
public:
    MetricName() = default;
    MetricName(std::string text) : text_(new Shared{std::move(text), 1}) {}
    MetricName(const char* text) : MetricName(std::string(text)) {}
    MetricName(const MetricName& other) noexcept : text_(other.text_) {
        if (text_)
            ++text_->holders;
    }
    MetricName(MetricName&& other) noexcept : text_(other.text_) { other.text_ = nullptr; }
    MetricName& operator=(MetricName other) noexcept {
        std::swap(text_, other.text_);
        return *this;
    }
    ~MetricName() {
        if (text_ && --text_->holders == 0)
            delete text_;
    }

    const std::string& str() const { return text_ ? text_->text : noName(); }
    operator const std::string&() const { return str(); }
    const char* c_str() const { return str().c_str(); }
    bool empty() const { return str().empty(); }

    friend bool operator==(const MetricName& a, const MetricName& b) { return a.str() == b.str(); }
    friend bool operator==(const MetricName& a, const std::string& b) { return a.str() == b; }
    friend bool operator==(const std::string& a, const MetricName& b) { return a == b.str(); }
    friend bool operator==(const MetricName& a, const char* b) { return a.str() == b; }
    friend bool operator!=(const MetricName& a, const MetricName& b) { return !(a == b); }
    friend bool operator!=(const MetricName& a, const std::string& b) { return !(a == b); }
    friend bool operator!=(const std::string& a, const MetricName& b) { return !(a == b); }
    friend bool operator!=(const MetricName& a, const char* b) { return !(a == b); }
    friend std::string operator+(const std::string& a, const MetricName& b) { return a + b.str(); }
    friend std::string operator+(const char* a, const MetricName& b) { return a + b.str(); }
    friend std::string operator+(const MetricName& a, const std::string& b) { return a.str() + b; }
    friend std::string operator+(const MetricName& a, const char* b) { return a.str() + b; }
    friend std::ostream& operator<<(std::ostream& out, const MetricName& name) {
        return out << name.str();
    }

private:
    struct Shared {
        const std::string text;
        std::size_t holders;
    };
    static const std::string& noName();
    Shared* text_ = nullptr;
};

class BaseMetric {
public:
    virtual ~BaseMetric() = default;
    MetricName name; // as written in the block header of the metrics file
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
