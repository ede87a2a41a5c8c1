#include "metrics/Metric.h"

const std::string& MetricName::noName() {
    static const std::string none;
    return none;
}

void ElementMetric::accept(MetricVisitor& v) {
    v.visit(*this);
}
void IntMetric::accept(MetricVisitor& v) {
    v.visit(*this);
}
void BoolMetric::accept(MetricVisitor& v) {
    v.visit(*this);
}

std::vector<ElementMetric*> getElementMetrics(const UMLModelElement& element) {
    std::vector<ElementMetric*> metrics;
    for (UMLUserData* data : element.userData)
        if (auto* metric = dynamic_cast<ElementMetric*>(data))
            metrics.push_back(metric);
    return metrics;
}
