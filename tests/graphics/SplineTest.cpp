#include <cmath>

#include <gtest/gtest.h>

#include "graphics/Graphics.h"
#include "graphics/Spline.h"

namespace {

// A Catmull-Rom curve through the points, each end given twice.
TCBSpline catmullRom(const std::vector<Point>& points) {
    TCBSpline s;
    s.addPoint(points.front().x, points.front().y);
    for (const Point& p : points)
        s.addPoint(p.x, p.y);
    s.addPoint(points.back().x, points.back().y);
    return s;
}

// Cubic Hermite interpolation from p0 to p1 with tangents m0, m1, written out independently
// of the segment coefficients.
float hermite(float p0, float m0, float p1, float m1, float u) {
    float u2 = u * u;
    float u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * p0 + (u3 - 2 * u2 + u) * m0 + (-2 * u3 + 3 * u2) * p1 +
           (u3 - u2) * m1;
}

TEST(TCBSpline, FewerThanFourPointsGiveNoSegments) {
    TCBSpline s;
    s.addPoint(1, 2);
    s.addPoint(3, 4);
    s.addPoint(5, 6);
    EXPECT_TRUE(s.segments().empty());
    EXPECT_EQ(s.pointCount(), 3);
    Point p = s.point(0.5f);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    Point t = s.tangent(0.5f);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    s.addPoint(7, 8);
    EXPECT_EQ(s.segments().size(), 1u);
}

TEST(TCBSpline, CatmullRomPassesThroughItsPointsWithKnownValues) {
    const std::vector<Point> pts = {{0, 0}, {10, 0}, {10, 10}, {20, 15}};
    TCBSpline s = catmullRom(pts);
    ASSERT_EQ(s.segments().size(), 3u);
    // Segment boundaries are the control points.
    for (int i = 0; i < 3; ++i) {
        Point p = s.point(static_cast<float>(i) / 3.0f);
        EXPECT_NEAR(p.x, pts[i].x, 1e-4) << i;
        EXPECT_NEAR(p.y, pts[i].y, 1e-4) << i;
    }
    // Middle of the second segment: tangents are half the chord between the neighbours.
    const Point m1(0.5f * (pts[2].x - pts[0].x), 0.5f * (pts[2].y - pts[0].y));
    const Point m2(0.5f * (pts[3].x - pts[1].x), 0.5f * (pts[3].y - pts[1].y));
    Point mid = s.point(0.5f);
    EXPECT_NEAR(mid.x, hermite(pts[1].x, m1.x, pts[2].x, m2.x, 0.5f), 1e-4);
    EXPECT_NEAR(mid.y, hermite(pts[1].y, m1.y, pts[2].y, m2.y, 0.5f), 1e-4);
    EXPECT_NEAR(mid.x, 10.0f, 1e-4);
    EXPECT_NEAR(mid.y, 4.6875f, 1e-4);
    // At the doubled first point the outgoing tangent points half way to the next point.
    Point t0 = s.tangent(0.0f);
    EXPECT_NEAR(t0.x, 1.0f, 1e-5);
    EXPECT_NEAR(t0.y, 0.0f, 1e-5);
}

TEST(TCBSpline, TensionScalesTheTangents) {
    TCBSpline s;
    s.tension = -0.5f; // 1.5 times the Catmull-Rom tangents
    for (Point p : {Point(0, 0), Point(0, 0), Point(10, 0), Point(10, 10), Point(10, 10)})
        s.addPoint(p.x, p.y);
    ASSERT_EQ(s.segments().size(), 2u);
    const auto& first = s.segments()[0];
    EXPECT_FLOAT_EQ(first.cx, 1.5f * 0.5f * 10.0f);
    EXPECT_FLOAT_EQ(first.dx, 0.0f);
}

TEST(TCBSpline, ContinuityAndBiasWeighTheChordsOnEachSide) {
    // With tension 0.2, continuity 0.5 and bias -0.25 the four chord weights differ:
    // 0.45 and 0.25 for the tangent leaving B, 0.15 and 0.75 for the tangent arriving at C.
    // The chords A-B, B-C and C-D differ too, so any two weights swapped change the curve.
    TCBSpline s;
    s.tension = 0.2f;
    s.continuity = 0.5f;
    s.bias = -0.25f;
    for (Point p : {Point(0, 0), Point(2, 1), Point(5, 5), Point(6, 2)})
        s.addPoint(p.x, p.y);
    ASSERT_EQ(s.segments().size(), 1u);
    // Leaving B: 0.45 (B - A) + 0.25 (C - B).
    const auto& g = s.segments()[0];
    EXPECT_NEAR(g.cx, 1.65f, 1e-5);
    EXPECT_NEAR(g.cy, 1.45f, 1e-5);
    // Arriving at C, the derivative at the segment's end: 0.15 (C - B) + 0.75 (D - C).
    EXPECT_NEAR(3 * g.ax + 2 * g.bx + g.cx, 1.2f, 1e-5);
    EXPECT_NEAR(3 * g.ay + 2 * g.by + g.cy, -1.65f, 1e-5);
    // The segment still runs from B to C.
    EXPECT_NEAR(s.point(0).x, 2.0f, 1e-5);
    EXPECT_NEAR(s.point(1).y, 5.0f, 1e-5);
    // Half way, against the Hermite form written out independently.
    EXPECT_NEAR(s.point(0.5f).x, hermite(2, 1.65f, 5, 1.2f, 0.5f), 1e-5);
    EXPECT_NEAR(s.point(0.5f).y, hermite(1, 1.45f, 5, -1.65f, 0.5f), 1e-5);
}

TEST(SegmentSpline, PointOneIsTheEndOfTheLastSegment) {
    TCBSpline s = catmullRom({{0, 0}, {4, 1}, {8, -1}, {12, 3}, {16, 0}});
    ASSERT_EQ(s.segments().size(), 4u);
    Point end = s.point(1.0f);
    EXPECT_NEAR(end.x, 16, 1e-4);
    EXPECT_NEAR(end.y, 0, 1e-4);
    // Out of range and non-finite parameters stay on the first or last segment.
    Point before = s.point(-0.5f);
    EXPECT_TRUE(std::isfinite(before.x));
    // A NaN parameter must not select a segment outside the list (checked by the sanitizers).
    (void)s.point(NAN);
    (void)s.tangent(NAN);
    Point after = s.point(1.25f);
    EXPECT_TRUE(std::isfinite(after.x));
}

TEST(SegmentSpline, TangentIsAUnitVector) {
    TCBSpline s = catmullRom({{0, 0}, {5, 5}, {10, 0}});
    for (float t : {0.0f, 0.3f, 0.5f, 0.9f, 1.0f}) {
        Point d = s.tangent(t);
        EXPECT_NEAR(std::hypot(d.x, d.y), 1.0f, 1e-5) << t;
    }
    // Across the top of the arch the curve runs to the right.
    EXPECT_GT(s.tangent(0.5f).x, 0.99f);
}

TEST(SplineSampling, StopsOneSampleShortOfTheEnd) {
    TCBSpline s = catmullRom({{0, 0}, {10, 0}, {20, 0}});
    auto points = splineSamplePoints(s, 4);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_NEAR(points[0].x, 0, 1e-4);
    // t = 3/4, never t = 1: the middle of the segment from 10 to 20, whose tangents are
    // 10 and 5, at 15 + (10 - 5) / 8.
    EXPECT_NEAR(points[3].x, 15.625f, 1e-4);
    EXPECT_TRUE(splineSamplePoints(s, 0).empty());
    EXPECT_TRUE(splineSamplePoints(s, -5).empty());
}

} // namespace
