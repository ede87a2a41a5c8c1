// Placement of glyph cells, threshold opacities, unified sizes and the legend.
#include <gtest/gtest.h>

#include "config/Configuration.h"
#include "graphics/Graphics.h"
#include "graphics/RenderFixture.h"
#include "metrics/MetricCollection.h"
#include "visualizers/HoverInfoBox.h"
#include "visualizers/MetricViz.h"
#include "visualizers/MetricsVisualizer.h"

namespace {

// Records what it was asked to draw instead of drawing it.
struct SpyGlyph : MetricViz {
    SpyGlyph() : MetricViz("Spy") {}
    struct Drawn {
        std::string name;
        float opacity;
        Point lowerLeft, upperRight;
    };
    std::vector<Drawn> drawn;
    using MetricViz::visit;
    void visit(IntMetric& m) override {
        drawn.push_back({m.name, Graphics::getOpacity(), lowerLeft, upperRight});
    }
    bool acceptsInt() const override { return true; }
};

// One class carrying integer metrics of the given names and values, on a diagram of its own.
struct MetricScene {
    UMLClass element;
    UMLDiagram diagram;
    UMLDiagramElement shown;
    MetricCollection collection;
    SpyGlyph spy;

    MetricScene(std::initializer_list<std::pair<const char*, int>> values,
                std::initializer_list<const char*> active) {
        shown.subject = &element;
        shown.geometry = box(0, 0, 99, 99);
        diagram.element.push_back(&shown);
        diagram.bounds = {0, 0, 99, 99};
        for (const auto& [name, value] : values) {
            auto m = std::make_unique<IntMetric>();
            m->name = name;
            m->value = value;
            m->max = 10;
            element.userData.push_back(m.get());
            collection.add(std::move(m));
            collection.ranges[name] = {0, 10};
            auto& p = collection.properties[name];
            p = std::make_unique<MetricProperties>();
            p->viz = &spy;
            p->config().setFloat("Transparency", 1.0f);
            p->config().setFloat(".LowerThreshold", -1.0f);
            p->config().setFloat(".UpperThreshold", 11.0f);
        }
        for (const char* name : active)
            collection.activeMetrics.insert(name);
    }
    static UMLGeometry box(float l, float t, float r, float b) {
        UMLGeometry g;
        g.left = l;
        g.top = t;
        g.right = r;
        g.bottom = b;
        return g;
    }
};

class MetricsVisualizerTest : public RenderTest {};

} // namespace

TEST(MetricGrid, CellsFillRowsLeftToRightUpperRowFirst) {
    Point ll, ur;
    // Five metrics, automatic rows: two rows of three; the first three in the upper row.
    ASSERT_TRUE(metricGridCell(0, 5, -1, 0, 0, 99, 99, 0.025f, ll, ur));
    const Point first = ll;
    ASSERT_TRUE(metricGridCell(2, 5, -1, 0, 0, 99, 99, 0.025f, ll, ur));
    EXPECT_EQ(ll.y, first.y);
    EXPECT_GT(ll.x, first.x);
    ASSERT_TRUE(metricGridCell(3, 5, -1, 0, 0, 99, 99, 0.025f, ll, ur));
    EXPECT_LT(ll.y, first.y);
    EXPECT_EQ(ll.x, first.x);
    // Four rows asked for three metrics: three rows of one.
    ASSERT_TRUE(metricGridCell(2, 3, 4, 0, 0, 99, 99, 0.025f, ll, ur));
    EXPECT_EQ(ll.x, 3.0f);
    EXPECT_LT(ur.x - ll.x, 99.0f);
    EXPECT_EQ(ll.y, 3.0f); // the lowest of three rows
    // One metric: the whole box less the gap, ceil(0.025 * 100) = 3.
    ASSERT_TRUE(metricGridCell(0, 1, -1, 0, 0, 99, 99, 0.025f, ll, ur));
    EXPECT_EQ(ll.x, 3.0f);
    EXPECT_EQ(ll.y, 3.0f);
    EXPECT_EQ(ur.x, 96.0f);
    // No metrics, a zero row count, or an index outside the grid: no cell and no division.
    EXPECT_FALSE(metricGridCell(0, 0, -1, 0, 0, 99, 99, 0.025f, ll, ur));
    EXPECT_TRUE(metricGridCell(0, 2, 0, 0, 0, 99, 99, 0.025f, ll, ur));
    EXPECT_FALSE(metricGridCell(2, 2, -1, 0, 0, 99, 99, 0.025f, ll, ur));
}

TEST_F(MetricsVisualizerTest, GlyphsKeepTheirCellsAndThresholdOpacity) {
    // The element carries only the second and third of three active metrics.
    MetricScene scene({{"b", 3}, {"c", 9}}, {"a", "b", "c"});
    scene.collection.properties["a"] = std::make_unique<MetricProperties>();
    scene.collection.properties["a"]->viz = &scene.spy;
    scene.collection.properties["c"]->config().setFloat(".UpperThreshold", 9.0f);
    scene.collection.properties["b"]->config().setFloat("Transparency", 0.5f);
    MetricsVisualizerSimple v;
    v.metrics = &scene.collection;
    v.draw(&scene.diagram);
    ASSERT_EQ(scene.spy.drawn.size(), 2u);
    Point ll, ur;
    ASSERT_TRUE(v.layoutMetric("b", 0, 0, 99, 99, ll, ur, true));
    EXPECT_EQ(scene.spy.drawn[0].lowerLeft.x, ll.x);
    EXPECT_FLOAT_EQ(scene.spy.drawn[0].opacity, 0.5f * 0.5f); // in range, half transparent
    EXPECT_FLOAT_EQ(scene.spy.drawn[1].opacity, 0.8f);        // at the upper threshold
}

TEST_F(MetricsVisualizerTest, UnifiedSizeShrinksEveryBoxToTheSmallestNode) {
    MetricScene scene({{"a", 1}}, {"a"});
    UMLClass small;
    UMLComment note;
    UMLDiagramElement smallShown, noteShown;
    smallShown.subject = &small;
    smallShown.geometry = MetricScene::box(200, 200, 259, 239); // 60 by 40
    noteShown.subject = &note;
    noteShown.geometry = MetricScene::box(300, 300, 309, 304); // smaller, but a comment
    scene.diagram.element = {&scene.shown, &smallShown, &noteShown};
    scene.diagram.bounds = {0, 0, 309, 304};
    MetricsVisualizerUnifiedSize v;
    v.metrics = &scene.collection;
    v.draw(&scene.diagram);
    EXPECT_FLOAT_EQ(v.unifiedWidth, 60);
    EXPECT_FLOAT_EQ(v.unifiedHeight, 40);
    UMLGeometry g;
    ASSERT_TRUE(v.findGeometry(&scene.element, g));
    EXPECT_FLOAT_EQ(g.right - g.left, 59);
    EXPECT_FLOAT_EQ(g.bottom - g.top, 39);
    EXPECT_FLOAT_EQ((g.left + g.right) / 2, 49.5f);
    // The glyph was laid out in the shrunk box, and the box was restored afterwards.
    ASSERT_EQ(scene.spy.drawn.size(), 1u);
    EXPECT_GT(scene.spy.drawn[0].lowerLeft.x, 20.0f);
    EXPECT_EQ(scene.shown.geometry.left, 0.0f);
}

TEST_F(MetricsVisualizerTest, LegendOnlyWithShownMetrics) {
    globalConfiguration.setBool("Visualizer.General.Legend.Enable", true);
    MetricScene scene({{"a", 1}}, {});
    MetricsVisualizerSimple v;
    v.metrics = &scene.collection;
    v.drawLegend(context().width(), context().height());
    EXPECT_EQ(read().countDark(250), 0);
    scene.collection.activeMetrics.insert("a");
    v.drawLegend(context().width(), context().height());
    RgbaImage::Box box;
    ASSERT_TRUE(read().darkBox(box, 250));
    EXPECT_GT(box.left, context().width() / 2); // lower-right corner
    EXPECT_LT(box.bottom, 10);
    globalConfiguration.setBool("Visualizer.General.Legend.Enable", false);
}

TEST(HoverLines, ElementBoxIsCutToTheRoomBelowThePointer) {
    UMLClass unnamed;
    EXPECT_EQ(elementHoverLines(unnamed, 10, 5, 1000),
              (std::vector<std::string>{"<unnamed element>", "No metrics defined"}));
    MetricScene scene({{"m0", 1},
                       {"m1", 1},
                       {"m2", 1},
                       {"m3", 1},
                       {"m4", 1},
                       {"m5", 1},
                       {"m6", 1},
                       {"m7", 1},
                       {"m8", 1},
                       {"m9", 1}},
                      {});
    scene.element.name = "Order";
    // Five lines of 10 with spacing 5 need 5 * 10 + 6 * 5 = 80.
    EXPECT_EQ(elementHoverLines(scene.element, 10, 5, 80),
              (std::vector<std::string>{"Order", "Metrics defined:", "m0", "m1", "..."}));
    // However little room, the title, the header and one more line stay.
    EXPECT_EQ(elementHoverLines(scene.element, 10, 5, 0).size(), 3u);
}
