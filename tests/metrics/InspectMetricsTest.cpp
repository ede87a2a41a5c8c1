#include <gtest/gtest.h>

#include "inspect/InspectConfig.h"
#include "inspect/InspectMetrics.h"
#include "metrics/MetricsTestModel.h"

TEST(InspectMetrics, DescribesGlobalAndElementMetrics) {
    MetricsTestModel m;
    TempFile file("metrics.txt", "[Classes]\n3\n\n\n[WMC]\nB,2\nA,6\n\n\n[Abstract]\nA,false\n\n\n"
                                 "[Gone]\nQ,5\n\n\n");
    const std::size_t palette = nextPaletteIndex;
    auto json = inspectMetrics(file.path(), &m.model, m.holder);
    EXPECT_EQ(json["error"], nullptr);
    EXPECT_EQ(json["global"].dump(), R"([{"name":"Classes","value":3}])");
    ASSERT_EQ(json["element"].size(), 3u);
    const auto& abstract = json["element"][0];
    EXPECT_EQ(abstract["name"], "Abstract");
    EXPECT_EQ(abstract["kind"], "bool");
    EXPECT_EQ(abstract["records"], 1);
    EXPECT_EQ(abstract["range"], nullptr);
    EXPECT_EQ(abstract["thresholds"], nullptr);
    EXPECT_EQ(json["element"][1]["name"], "Gone");
    EXPECT_EQ(json["element"][1]["kind"], nullptr);
    EXPECT_EQ(json["element"][1]["records"], 0);
    const auto& wmc = json["element"][2];
    auto expected = nlohmann::ordered_json::parse(R"({"name":"WMC","kind":"int","records":2,
        "range":[0,6],"thresholds":[-1.0,7.0],"transparency":1.0,"fillColor":null,
        "outlineColor":[0.0,0.0,0.0,1.0]})");
    expected["fillColor"] = jsonColor(metricPalette[palette % 16]);
    EXPECT_EQ(wmc.dump(), expected.dump());

    auto records = describeElementMetrics(m.element("A"));
    EXPECT_EQ(records.dump(),
              R"([{"name":"WMC","kind":"int","value":6,"min":0,"max":6},)"
              R"({"name":"Abstract","kind":"bool","value":false,"min":null,"max":null}])");
    EXPECT_EQ(describeElementMetrics(m.element("C")).dump(), "[]");
}

TEST(InspectMetrics, UnopenableFileIsReportedWithoutModel) {
    MetricCollectionHolder holder;
    auto json = inspectMetrics("/nonexistent/folder/metrics.txt", nullptr, holder);
    EXPECT_EQ(json.dump(), R"({"error":"Unable to open metrics file","global":[],"element":[]})");
    EXPECT_EQ(holder.current(), nullptr);

    TempFile file("metrics.txt", "[Count]\n7\n\n\n[M]\nA,1\n\n\n");
    json = inspectMetrics(file.path(), nullptr, holder);
    EXPECT_EQ(json["global"][0]["value"], 7);
    EXPECT_EQ(json["element"][0]["records"], 0);
}
