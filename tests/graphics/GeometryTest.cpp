#include <cmath>

#include <gtest/gtest.h>

#include "graphics/Geometry.h"

namespace {

constexpr float pi = 3.14159265f;

TEST(EllipseSampling, SegmentCountRule) {
    EXPECT_EQ(ellipseSegmentCount(3.0f, 3.0f, -3), 7); // ceil(2*pi)
    EXPECT_EQ(ellipseSegmentCount(3.0f, 1.0f, 12), 12);
    EXPECT_EQ(ellipseSegmentCount(1.0f, 30.0f, -3), 63); // the larger radius counts
    EXPECT_EQ(ellipseSegmentCount(0.0f, 0.0f, -3), 0);
    EXPECT_EQ(ellipseSegmentCount(NAN, 2.0f, -3), 0);
    EXPECT_EQ(ellipseSegmentCount(1e30f, 1.0f, -3), maxPrimitiveSegments);
}

TEST(EllipseSampling, AngleZeroIsTopAndAnglesGrowClockwise) {
    auto points = ellipsePoints(Point(10, 20), 4, 2, 0.0f, 2 * pi, 4, false);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_NEAR(points[0].x, 10, 1e-5);
    EXPECT_NEAR(points[0].y, 22, 1e-5); // top
    EXPECT_NEAR(points[1].x, 14, 1e-5); // right
    EXPECT_NEAR(points[1].y, 20, 1e-5);
    EXPECT_NEAR(points[2].y, 18, 1e-5); // bottom
    EXPECT_NEAR(points[3].x, 6, 1e-5);  // left
}

TEST(EllipseSampling, ArcsIncludeTheirEndAndLoopsDoNot) {
    auto arc = ellipsePoints(Point(0, 0), 3, 3, pi / 2, pi / 2, -3, true);
    ASSERT_EQ(arc.size(), 8u);
    EXPECT_NEAR(arc.front().x, 3, 1e-5);
    EXPECT_NEAR(arc.back().y, -3, 1e-5); // ends exactly at the bottom
    EXPECT_EQ(ellipsePoints(Point(0, 0), 3, 3, 0, 2 * pi, -3, false).size(), 7u);
    EXPECT_TRUE(ellipsePoints(Point(0, 0), 0, 0, 0, 2 * pi, -3, true).empty());
    EXPECT_TRUE(ellipsePoints(Point(0, 0), 5, 5, 0, 2 * pi, 0, true).empty());
}

TEST(DashedLine, DashesRepeatAndTheLastOneOvershoots) {
    auto dashes = dashSegments(Point(0, 0), Point(20, 0), 8, 5);
    ASSERT_EQ(dashes.size(), 2u);
    EXPECT_FLOAT_EQ(dashes[0].first.x, 0);
    EXPECT_FLOAT_EQ(dashes[0].second.x, 8);
    EXPECT_FLOAT_EQ(dashes[1].first.x, 13);
    EXPECT_FLOAT_EQ(dashes[1].second.x, 21);

    auto diagonal = dashSegments(Point(1, 1), Point(4, 5), 2, 1); // length 5
    ASSERT_EQ(diagonal.size(), 2u);
    EXPECT_NEAR(diagonal[1].first.x, 1 + 3 * 0.6f, 1e-5);
    EXPECT_NEAR(diagonal[1].second.y, 1 + 5 * 0.8f, 1e-5);
}

TEST(DashedLine, DegenerateInputGivesNoDashesAndNeverHangs) {
    EXPECT_TRUE(dashSegments(Point(3, 3), Point(3, 3), 8, 5).empty());
    EXPECT_TRUE(dashSegments(Point(0, 0), Point(10, 0), 0, 0).empty());
    EXPECT_TRUE(dashSegments(Point(0, 0), Point(10, 0), 4, -4).empty());
    // So many dashes that they cannot be told apart: drawn as one.
    auto dense = dashSegments(Point(0, 0), Point(1e6f, 0), 1e-3f, 1e-3f);
    ASSERT_EQ(dense.size(), 1u);
    EXPECT_FLOAT_EQ(dense[0].second.x, 1e6f);
}

TEST(RoundedRectangle, CornersSitInsideTheBoxClockwiseFromUpperRight) {
    auto parts = roundedRectangleParts(Point(0, 0), Point(20, 10), 2);
    EXPECT_FLOAT_EQ(parts.corners[0].centre.x, 18);
    EXPECT_FLOAT_EQ(parts.corners[0].centre.y, 8);
    EXPECT_FLOAT_EQ(parts.corners[0].start, 0);
    EXPECT_FLOAT_EQ(parts.corners[2].centre.x, 2);
    EXPECT_FLOAT_EQ(parts.corners[2].centre.y, 2);
    EXPECT_NEAR(parts.corners[2].start, pi, 1e-6);
    // Each quarter arc ends where the next straight edge begins.
    for (int i = 0; i < 4; ++i) {
        const auto& c = parts.corners[i];
        auto arc = ellipsePoints(c.centre, 2, 2, c.start, pi / 2, -3, true);
        const auto& next = parts.edges[(i + 1) % 4];
        EXPECT_NEAR(arc.back().x, next.first.x, 1e-5) << i;
        EXPECT_NEAR(arc.back().y, next.first.y, 1e-5) << i;
    }
    // Given the other way round, the same shape.
    auto swapped = roundedRectangleParts(Point(20, 10), Point(0, 0), 2);
    EXPECT_FLOAT_EQ(swapped.corners[0].centre.x, 18);
    EXPECT_FLOAT_EQ(swapped.fills[0].first.x, parts.fills[0].first.x);
}

TEST(Clipping, FirstEdgeCrossedInTheOrderLeftUpperRightLower) {
    // Diagram box: x from -10 to 10, y from top = -5 (lower edge) to bottom = 5 (upper edge).
    Point out;
    ASSERT_TRUE(clipSegmentToBox(Point(0, 0), Point(-20, 0), -10, -5, 10, 5, out));
    EXPECT_FLOAT_EQ(out.x, -10);
    EXPECT_FLOAT_EQ(out.y, 0);
    ASSERT_TRUE(clipSegmentToBox(Point(0, 0), Point(0, 20), -10, -5, 10, 5, out));
    EXPECT_FLOAT_EQ(out.y, 5);
    ASSERT_TRUE(clipSegmentToBox(Point(0, 0), Point(40, 2), -10, -5, 10, 5, out));
    EXPECT_FLOAT_EQ(out.x, 10);
    EXPECT_FLOAT_EQ(out.y, 0.5f);
    ASSERT_TRUE(clipSegmentToBox(Point(1, 1), Point(1, -30), -10, -5, 10, 5, out));
    EXPECT_FLOAT_EQ(out.y, -5);
    // Through the box from outside to outside: the left edge comes first in the order.
    ASSERT_TRUE(clipSegmentToBox(Point(20, 0), Point(-20, 0), -10, -5, 10, 5, out));
    EXPECT_FLOAT_EQ(out.x, -10);
}

TEST(Clipping, SegmentsThatCrossNoEdge) {
    Point out(7, 7);
    EXPECT_FALSE(clipSegmentToBox(Point(-1, -1), Point(2, 3), -10, -5, 10, 5, out));
    EXPECT_FALSE(clipSegmentToBox(Point(20, 20), Point(30, -20), -10, -5, 10, 5, out));
    EXPECT_FALSE(segmentIntersection(Point(0, 0), Point(1, 0), Point(0, 1), Point(1, 1), out));
    EXPECT_FLOAT_EQ(out.x, 7);
}

TEST(TextLayout, AlignmentShifts) {
    Point none = textAlignmentShift(40, 10, 0);
    EXPECT_FLOAT_EQ(none.x, 0);
    EXPECT_FLOAT_EQ(none.y, 0);
    Point centred =
        textAlignmentShift(40, 10, TextAlign::CenterHorizontal | TextAlign::CenterVertical);
    EXPECT_FLOAT_EQ(centred.x, -20);
    EXPECT_FLOAT_EQ(centred.y, -5);
    Point top = textAlignmentShift(40, 10, TextAlign::AlignTop);
    EXPECT_FLOAT_EQ(top.y, -10);
    Point all = textAlignmentShift(40, 10, 7);
    EXPECT_FLOAT_EQ(all.y, -15);
}

TEST(TextLayout, FirstWordsKeepTheBlanksAfterThem) {
    EXPECT_EQ(firstWords("one two\tthree", 1), "one ");
    EXPECT_EQ(firstWords("one two\tthree", 2), "one two\t");
    EXPECT_EQ(firstWords("one two\tthree", 5), "one two\tthree");
    EXPECT_EQ(firstWords("  lead", 1), "  ");
}

// Width of a text in a font where every character is one unit wide.
float charCount(const std::string& s) {
    return static_cast<float>(s.size());
}

TEST(TextLayout, WrapsAtWordBoundariesByMeasuredWidth) {
    auto lines = wrapTextLines("aa bb cc dddd e", 6, charCount);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "aa bb ");
    EXPECT_EQ(lines[1], "cc "); // "cc dddd " is 8 wide
    EXPECT_EQ(lines[2], "dddd e");
}

TEST(TextLayout, NarrowWidthGivesOneWordPerLine) {
    auto lines = wrapTextLines("alpha beta gamma", 1, charCount);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "alpha ");
    EXPECT_EQ(lines[2], "gamma");
}

TEST(TextLayout, EmptyAndBlankTexts) {
    EXPECT_TRUE(wrapTextLines("", 100, charCount).empty());
    auto blanks = wrapTextLines(" \t  ", 1, charCount);
    ASSERT_EQ(blanks.size(), 1u);
    EXPECT_EQ(blanks[0], " \t  ");
}

} // namespace
