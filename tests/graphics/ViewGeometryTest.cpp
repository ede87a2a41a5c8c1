#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "graphics/ViewGeometry.h"

namespace {

// Where a diagram point lands in view pixels (origin at the view's bottom-left corner).
struct Pixel {
    float x, y;
};
Pixel project(const ViewCamera& c, int eye, float x, float y, float z = 0.0f) {
    const Vector4 clip =
        transform(multiply(projectionMatrix(c, eye), modelViewMatrix(c, eye)), {x, y, z, 1.0f});
    return {(clip[0] / clip[3] + 1.0f) * 0.5f * c.width,
            (clip[1] / clip[3] + 1.0f) * 0.5f * c.height};
}

ViewCamera camera(bool perspective, float zoom, float panX, float panY) {
    ViewCamera c;
    c.width = 400;
    c.height = 300;
    c.zoom = zoom;
    c.pan = {panX, panY};
    c.perspective = perspective;
    c.eyeSeparation = 1.5f;
    c.focusDistance = 100.0f;
    return c;
}

TEST(ViewGeometry, ChildRectanglesTakeFloorAndCeilingOfTheirShares) {
    struct Case {
        PixelRect parent;
        bool horizontal;
        float fraction;
        PixelRect first, second;
    } cases[] = {
        {{0, 0, 200, 101}, true, 0.5f, {0, 0, 200, 50}, {0, 50, 200, 51}},
        {{10, 20, 101, 50}, false, 0.5f, {10, 20, 50, 50}, {60, 20, 51, 50}},
        {{0, 0, 100, 100}, false, 0.3f, {0, 0, 30, 100}, {30, 0, 70, 100}},
        {{5, 7, 10, 9}, true, 0.9f, {5, 7, 10, 8}, {5, 15, 10, 1}},
    };
    for (const Case& c : cases) {
        const auto children = splitRect(c.parent, c.horizontal, c.fraction);
        EXPECT_EQ(children.first, c.first) << c.fraction;
        EXPECT_EQ(children.second, c.second) << c.fraction;
        EXPECT_EQ(divisionPosition(c.parent, c.horizontal, c.fraction),
                  c.horizontal ? c.second.y : c.second.x);
    }
}

TEST(ViewGeometry, SeparatorBandAndHitBand) {
    // 101 pixels at 0.5: the division lies at 50.5, drawn from floor - s to ceil + s.
    const Band band = separatorBand({0, 0, 200, 101}, true, 0.5f, 3.0f);
    EXPECT_FLOAT_EQ(band.low, 47.0f);
    EXPECT_FLOAT_EQ(band.high, 54.0f);
    // The pointer grabs p - s < pos <= p + s.
    const int p = 50;
    for (int pos : {48, 50, 53})
        EXPECT_TRUE(onSeparator(pos, p, 3.0f)) << pos;
    for (int pos : {47, 54})
        EXPECT_FALSE(onSeparator(pos, p, 3.0f)) << pos;
}

TEST(ViewGeometry, DraggedFractionStaysWithinATenthOfTheEdges) {
    EXPECT_FLOAT_EQ(dragFraction(0, 0, 199), 0.1f);
    EXPECT_FLOAT_EQ(dragFraction(199, 0, 199), 0.9f);
    EXPECT_FLOAT_EQ(dragFraction(500, 100, 299), 0.9f);
    EXPECT_NEAR(dragFraction(150, 100, 200), 0.5f, 1e-6f);
    // A node one pixel wide has no room to drag in.
    EXPECT_FLOAT_EQ(dragFraction(3, 3, 3), 0.5f);
}

TEST(ViewGeometry, LayoutTextValuesThatWouldBreakTheViewsReadAsDefaults) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double bad : {0.0, 1.0, -0.25, 1.5, inf, -inf, nan, 0.99999999999})
        EXPECT_FLOAT_EQ(usableFraction(bad), 0.5f) << bad;
    EXPECT_FLOAT_EQ(usableFraction(0.05), 0.05f); // inside (0, 1) as read, not clamped
    EXPECT_FLOAT_EQ(usableFraction(0.95), 0.95f);

    for (double bad : {0.0, -2.0, inf, -inf, nan})
        EXPECT_FLOAT_EQ(usableZoom(bad), 1.0f) << bad;
    EXPECT_FLOAT_EQ(usableZoom(2.5), 2.5f);
    EXPECT_FLOAT_EQ(usableZoom(1e30), maxZoom);
}

TEST(ViewGeometry, FitZoomUsesTheLimitingDimensionAndSurvivesEmptyExtents) {
    struct Case {
        float w, h, zoom;
    } cases[] = {
        {100.0f, 50.0f, 0.95f * 2.0f}, // width limits: 200 / 100
        {20.0f, 300.0f, 0.95f * 0.5f}, // height limits: 150 / 300
        {0.0f, 30.0f, 0.95f * 5.0f},   // a flat diagram fits by its height
        {40.0f, 0.0f, 0.95f * 5.0f},   // and a thin one by its width
        {0.0f, 0.0f, 1.0f},
        {1e-12f, 0.0f, maxZoom},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(fitZoom(200, 150, c.w, c.h), c.zoom) << c.w << " x " << c.h;
    EXPECT_FLOAT_EQ(clampZoom(1e-9f), minZoom);
    EXPECT_FLOAT_EQ(clampZoom(std::numeric_limits<float>::infinity()), maxZoom);
}

TEST(ViewGeometry, PanPointProjectsToTheViewCentreAtZoomPixelsPerUnit) {
    for (bool perspective : {false, true})
        for (float zoom : {0.5f, 1.0f, 3.0f}) {
            const ViewCamera c = camera(perspective, zoom, 12.0f, -7.5f);
            const Pixel centre = project(c, 0, 12.0f, -7.5f);
            EXPECT_NEAR(centre.x, 200.0f, 1e-2f) << perspective << " " << zoom;
            EXPECT_NEAR(centre.y, 150.0f, 1e-2f) << perspective << " " << zoom;
            // The pan point's plane shows one unit as zoom pixels in both projections.
            const Pixel aside = project(c, 0, 22.0f, -7.5f + 4.0f);
            EXPECT_NEAR(aside.x - centre.x, 10.0f * zoom, 1e-2f) << perspective;
            EXPECT_NEAR(aside.y - centre.y, 4.0f * zoom, 1e-2f) << perspective;
            // Visible: inside the depth range.
            const Vector4 clip = transform(multiply(projectionMatrix(c, 0), modelViewMatrix(c, 0)),
                                           {12.0f, -7.5f, 0, 1});
            EXPECT_LT(std::fabs(clip[2] / clip[3]), 1.0f);
        }
}

TEST(ViewGeometry, RotationTurnsAboutTheDiagramOriginAndPanStaysSideways) {
    ViewCamera c = camera(false, 2.0f, 0.0f, 0.0f);
    c.rotation = {90.0f, 0.0f};
    // A quarter turn about the viewing axis takes +x to +y, about the view centre.
    const Pixel p = project(c, 0, 10.0f, 0.0f);
    EXPECT_NEAR(p.x, 200.0f, 1e-2f);
    EXPECT_NEAR(p.y, 150.0f + 20.0f, 1e-2f);
    // Panning after the turn still moves the picture along the screen's axes.
    c.pan = {5.0f, 0.0f};
    const Pixel q = project(c, 0, 10.0f, 0.0f);
    EXPECT_NEAR(q.x, 200.0f - 10.0f, 1e-2f);
    EXPECT_NEAR(q.y, 170.0f, 1e-2f);
    // A tilt of 90 degrees shows the diagram plane edge-on: y collapses onto the centre row.
    c = camera(false, 2.0f, 0.0f, 0.0f);
    c.rotation = {0.0f, 90.0f};
    EXPECT_NEAR(project(c, 0, 0.0f, 10.0f).y, 150.0f, 1e-2f);
}

TEST(ViewGeometry, StereoEyesSitHalfTheSeparationBesideTheMonoCamera) {
    for (bool perspective : {false, true}) {
        ViewCamera c = camera(perspective, 1.5f, 3.0f, 4.0f);
        c.rotation = {30.0f, 20.0f};
        const Matrix4 mono = modelViewMatrix(c, 0);
        const auto centre = cameraPosition(mono);
        const std::array<float, 3> right{mono[0], mono[4], mono[8]};
        for (int eye : {-1, 1}) {
            const auto position = cameraPosition(modelViewMatrix(c, eye));
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(position[i], centre[i] - eye * 0.75f * right[i], 1e-3f)
                    << "eye " << eye << " axis " << i;
            // Both eyes look at the point focusDistance ahead of the mono camera.
            const Matrix4 m = modelViewMatrix(c, eye);
            const std::array<float, 3> forward{mono[2], mono[6], mono[10]};
            const Vector4 focus =
                transform(m, {centre[0] + 100.0f * forward[0], centre[1] + 100.0f * forward[1],
                              centre[2] + 100.0f * forward[2], 1.0f});
            EXPECT_NEAR(focus[0], 0.0f, 1e-3f);
            EXPECT_NEAR(focus[1], 0.0f, 1e-3f);
        }
    }
    // The shared off-axis frustum is shifted by separation / 2 / focus at the near plane.
    const Matrix4 p = projectionMatrix(camera(true, 1.0f, 0.0f, 0.0f), 1);
    EXPECT_NEAR(p[8], 2.0f * 0.0075f / (2.0f * 400.0f / 300.0f), 1e-7f);
    EXPECT_EQ(projectionMatrix(camera(true, 1.0f, 0, 0), 1),
              projectionMatrix(camera(true, 1.0f, 0, 0), -1));
}

} // namespace
