#include <gtest/gtest.h>

#include "metrics/Metric.h"
#include "metrics/MetricCollection.h"
#include "uml/UMLModel.h"

namespace {

class Recorder : public MetricVisitor {
public:
    void visit(IntMetric& m) override { calls.push_back("int " + m.name); }
    void visit(BoolMetric& m) override { calls.push_back("bool " + m.name); }
    void visit(ElementMetric& m) override { calls.push_back("element " + m.name); }
    std::vector<std::string> calls;
};

class OtherData : public UMLUserData {};

} // namespace

TEST(Metric, AcceptDispatchesOnTheDynamicClass) {
    IntMetric i;
    i.name = "I";
    BoolMetric b;
    b.name = "B";
    ElementMetric e;
    e.name = "E";
    Recorder r;
    for (ElementMetric* m : {static_cast<ElementMetric*>(&i), static_cast<ElementMetric*>(&b), &e})
        m->accept(r);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"int I", "bool B", "element E"}));

    class OnlyBase : public MetricVisitor {
    public:
        void visit(ElementMetric&) override { ++count; }
        int count = 0;
    } onlyBase;
    i.accept(onlyBase); // the default integer operation does nothing
    EXPECT_EQ(onlyBase.count, 0);
    EXPECT_EQ(i.value, 0);
    EXPECT_EQ(i.min, 0);
    EXPECT_EQ(i.max, 0);
    EXPECT_FALSE(b.value);
}

TEST(Metric, ElementMetricsSkipOtherUserDataAndKeepOrder) {
    UMLClass element;
    IntMetric first;
    OtherData other;
    BoolMetric second;
    element.userData = {&first, &other, &second};
    auto metrics = getElementMetrics(element);
    ASSERT_EQ(metrics.size(), 2u);
    EXPECT_EQ(metrics[0], &first);
    EXPECT_EQ(metrics[1], &second);
    EXPECT_TRUE(getElementMetrics(UMLClass()).empty());
}

TEST(Metric, KindOfAMetricIsFoundAmongItsRecords) {
    MetricCollection c;
    auto boolRecord = std::make_unique<BoolMetric>();
    boolRecord->name = "M";
    auto intRecord = std::make_unique<IntMetric>();
    intRecord->name = "M";
    c.add(std::move(boolRecord));
    c.add(std::move(intRecord));
    EXPECT_TRUE(c.isIntMetric("M"));
    EXPECT_TRUE(c.isBoolMetric("M"));
    EXPECT_FALSE(c.isIntMetric("N"));
    EXPECT_FALSE(c.isBoolMetric("N"));
}
