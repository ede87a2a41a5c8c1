// Glyph geometry from metric values, and the glyphs drawn into the offscreen context.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/RenderFixture.h"
#include "visualizers/GlyphGeometry.h"
#include "visualizers/MetricViz.h"

namespace {
constexpr float pi = 3.14159265f;
}

TEST(GlyphGeometry, ValuesMapOntoTheirRanges) {
    struct Case {
        const char* what;
        float got;
        float expected;
    } cases[] = {
        {"pie 0", pieSweep(0, 0, 10, pi / 4), pi / 4},
        {"pie 5", pieSweep(5, 0, 10, pi / 4), pi / 4 + (2 * pi - pi / 4) / 2},
        {"pie 10", pieSweep(10, 0, 10, pi / 4), 2 * pi},
        {"pie empty range, 0", pieSweep(0, 3, 3, 0.5f), 0.5f},
        {"pie empty range, 3", pieSweep(3, 3, 3, 0.5f), 2 * pi},
        {"bar 0", barHeight(0, 0, 10, 1, 128), 1},
        {"bar 5", barHeight(5, 0, 10, 1, 128), 64.5f},
        {"bar 10", barHeight(10, 0, 10, 1, 128), 128},
        {"bar empty range", barHeight(7, 7, 7, 1, 128), 128},
        {"height bar on the shared scale", heightBarFraction(10, 0, 40, 0.1f), 0.25f},
        {"height bar 0", heightBarFraction(0, 0, 40, 0.1f), 0},
        {"height bar, one value", heightBarFraction(0, 0, 0, 0.1f), 0.1f},
        {"circle 0", circleRadii(0, 0, 10, Point(20, 20), 0.1f).x, 0.1f * 0.1f},
        {"circle 10", circleRadii(10, 0, 10, Point(20, 20), 0.1f).x, 20},
        {"square 5 of 10", colorSquarePosition(5, 0, 10), 0.5f},
        {"square empty range", colorSquarePosition(2, 2, 2), 1},
        {"huge range", pieSweep(INT32_MAX, INT32_MIN, INT32_MAX, 0), 2 * pi},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.got, c.expected, 1e-4f) << c.what;

    EXPECT_FLOAT_EQ(glyphRadii(40, 10, true).x, 5);
    EXPECT_FLOAT_EQ(glyphRadii(40, 10, false).x, 20);
    EXPECT_FLOAT_EQ(glyphRadii(40, 10, false).y, 5);
}

TEST(GlyphGeometry, ColoredSquarePullsTheFillTowardsTheMap) {
    const Color fill(0.5f, 0.25f, 1.0f, 0.8f);
    const float a = 160.0f / 255.0f;
    const Color dark = colorSquareColor(fill, Color(0, 0, 0, a));
    const Color light = colorSquareColor(fill, Color(1, 1, 1, a));
    EXPECT_NEAR(dark.r, 0.5f * (1 - a), 1e-6f);
    EXPECT_NEAR(light.g, 0.25f + 0.75f * a, 1e-6f);
    EXPECT_FLOAT_EQ(light.a, 0.8f);
}

TEST(Glyphs, RegistryKindsAndDefaults) {
    GlyphRegistry glyphs = makeGlyphRegistry();
    const char* names[] = {"2D Checkbox", "2D Pie",           "2D Heightbar",     "3D Bar",
                           "3D Cylinder", "2D Radius Circle", "2D Colored Square"};
    const bool ints[] = {false, true, true, true, true, true, true};
    const bool bools[] = {true, false, false, false, false, true, true};
    ASSERT_EQ(glyphs.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(glyphs[i]->getName(), names[i]);
        EXPECT_EQ(glyphs[i]->acceptsInt(), ints[i]) << names[i];
        EXPECT_EQ(glyphs[i]->acceptsBool(), bools[i]) << names[i];
    }
    Configuration c;
    c.setFloat("2D Pie.MinRadius", 2.0f);
    findGlyph(glyphs, "2D Pie")->attachAndSetDefaults(&c);
    EXPECT_FLOAT_EQ(c.getFloat("2D Pie.MinRadius"), 0.7853982f);
    EXPECT_TRUE(c.getBool("2D Pie.Round"));
    findGlyph(glyphs, "2D Colored Square")->attachAndSetDefaults(&c);
    EXPECT_EQ(c.getColormap("2D Colored Square.Colormap").size(), 2u);
    EXPECT_EQ(findGlyph(glyphs, "no such glyph"), nullptr);
}

class GlyphDrawingTest : public RenderTest {};

TEST_F(GlyphDrawingTest, PieGrowsClockwiseFromTheTopAndIgnoresBooleans) {
    GlyphRegistry glyphs = makeGlyphRegistry();
    MetricViz& pie = *findGlyph(glyphs, "2D Pie");
    Configuration c;
    pie.attachAndSetDefaults(&c);
    c.setColor("FillColor", Color(0, 0, 0, 1));
    c.setColor("OutlineColor", Color(0, 0, 0, 1));
    pie.setBounds(100, 100, 200, 200);
    IntMetric quarter;
    quarter.value = 0; // sweeps the minimum angle, an eighth of a turn
    quarter.max = 10;
    quarter.accept(pie);
    RgbaImage img = read();
    // Right of the top: inside the sweep; left of the top: outside.
    EXPECT_LT(img.atGL(160, 185).r, 128);
    EXPECT_GT(img.atGL(140, 185).r, 200);
    EXPECT_GT(img.atGL(160, 115).r, 200);

    context().clear();
    BoolMetric flag;
    flag.value = true;
    flag.accept(pie);
    EXPECT_EQ(read().countDark(), 0);
}
