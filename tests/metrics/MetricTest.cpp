#include <gtest/gtest.h>

#include <memory>

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

// Names are shared by counting their holders: every copy, move and assignment keeps the
// text alive exactly as long as some holder is left (the sanitizer build sees any slip).
TEST(Metric, NamesOutliveTheirFirstHolder) {
    auto first = std::make_unique<MetricName>("Lines of code");
    MetricName copy = *first;
    MetricName assigned;
    assigned = copy;
    MetricName moved = std::move(copy);
    first.reset();
    EXPECT_EQ(moved, "Lines of code");
    EXPECT_EQ(assigned, "Lines of code");
    EXPECT_TRUE(copy.empty()); // NOLINT(bugprone-use-after-move): a moved name reads as none
    assigned = assigned;
    moved = MetricName("NOM");
    EXPECT_EQ(assigned.str() + "/" + moved.str(), "Lines of code/NOM");
    assigned = MetricName();
    EXPECT_TRUE(assigned.empty());
}
