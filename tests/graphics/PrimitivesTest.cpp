#include <cmath>
#include <functional>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "graphics/Graphics.h"
#include "graphics/RenderFixture.h"
#include "uml/UMLModel.h"

namespace {

constexpr float pi = 3.14159265f;
const Color black(0, 0, 0, 1);

bool dark(const Rgba& p) {
    return p.r < 128 && p.g < 128 && p.b < 128;
}
bool white(const Rgba& p) {
    return p.r > 250 && p.g > 250 && p.b > 250;
}

// Even-odd rule on the pixel centre.
bool inside(const std::vector<Point>& polygon, float x, float y) {
    bool in = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

// Distance from (x, y) to the polygon's outline.
float edgeDistance(const std::vector<Point>& polygon, float x, float y) {
    float best = 1e30f;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[j];
        const Point& b = polygon[i];
        float dx = b.x - a.x;
        float dy = b.y - a.y;
        float t = ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy);
        t = std::max(0.0f, std::min(1.0f, t));
        best = std::min(best, std::hypot(a.x + t * dx - x, a.y + t * dy - y));
    }
    return best;
}

std::vector<Point> scaled(const std::vector<Point>& fractions, float x, float y, float size) {
    std::vector<Point> points;
    for (const Point& f : fractions)
        points.emplace_back(x + f.x * size, y + f.y * size);
    return points;
}

class PrimitivesTest : public RenderTest {
protected:
    // Every pixel whose centre lies more than a pixel inside the outline is filled, every
    // one more than a pixel outside is not.
    void expectFillsExactly(const std::vector<Point>& outline) {
        RgbaImage image = read();
        int filled = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                float cx = static_cast<float>(x) + 0.5f;
                float cy = static_cast<float>(y) + 0.5f;
                if (edgeDistance(outline, cx, cy) < 1.0f)
                    continue;
                bool in = inside(outline, cx, cy);
                filled += in ? 1 : 0;
                ASSERT_EQ(dark(image.atGL(x, y)), in) << "pixel " << x << "," << y;
            }
        }
        EXPECT_GT(filled, 1000);
    }
};

TEST_F(PrimitivesTest, OpacityHalvesTheAlphaOfEveryFill) {
    const std::vector<std::function<void(const Color&)>> fills = {
        [](const Color& c) { Graphics::rectFill(Point(10, 10), Point(40, 40), c); },
        [](const Color& c) { Graphics::ellipseFill(Point(75, 25), 15, 15, -3, c); },
        [](const Color& c) { Graphics::sectorFill(Point(125, 25), 15, 15, 0, pi, -3, c); },
        [](const Color& c) {
            Graphics::fillConvexPolygon({Point(160, 10), Point(190, 10), Point(175, 40)}, c);
        },
        [](const Color& c) {
            Graphics::polygonFill({Point(210, 10), Point(240, 10), Point(240, 40)}, c);
        },
        [](const Color& c) {
            Graphics::fillRoundedRectangle(Point(260, 10), Point(290, 40), 5, c);
        },
    };
    const int probeX[] = {25, 75, 130, 175, 235, 275};
    struct Case {
        float opacity;
        float alpha;
        int expected; // grey level of black drawn over white
    };
    for (Case c : {Case{1.0f, 1.0f, 0}, Case{0.5f, 1.0f, 128}, Case{0.5f, 0.5f, 191},
                   Case{0.0f, 1.0f, 255}}) {
        context().clear();
        Graphics::setOpacity(c.opacity);
        for (const auto& fill : fills)
            fill(Color(0, 0, 0, c.alpha));
        Graphics::setOpacity(1.0f);
        RgbaImage image = read();
        for (std::size_t i = 0; i < fills.size(); ++i) {
            const Rgba& p = image.atGL(probeX[i], 25);
            EXPECT_NEAR(p.r, c.expected, 2)
                << "fill " << i << " opacity " << c.opacity << " alpha " << c.alpha;
        }
    }
}

TEST_F(PrimitivesTest, OpacityAppliesToLines) {
    glDisable(GL_LINE_SMOOTH); // full coverage, so only the colour's alpha counts
    Graphics::setOpacity(0.5f);
    Graphics::drawLine(Point(10, 50.5f), Point(100, 50.5f), black);
    Graphics::rectOutline(Point(20.5f, 100.5f), Point(80.5f, 150.5f), Color(0, 0, 0, 0.5f));
    RgbaImage image = read();
    EXPECT_NEAR(image.atGL(50, 50).r, 128, 2);
    EXPECT_NEAR(image.atGL(20, 125).r, 191, 2);
}

TEST_F(PrimitivesTest, QuarterSectorFromTopCoversTheUpperRightQuarter) {
    Graphics::sectorFill(Point(100, 100), 40, 40, 0, pi / 2, -3, black);
    RgbaImage image = read();
    EXPECT_TRUE(dark(image.atGL(115, 115)));
    EXPECT_TRUE(dark(image.atGL(102, 135)));
    EXPECT_TRUE(dark(image.atGL(135, 102)));
    EXPECT_TRUE(white(image.atGL(85, 115)));  // upper left
    EXPECT_TRUE(white(image.atGL(115, 85)));  // lower right
    EXPECT_TRUE(white(image.atGL(85, 85)));   // lower left
    EXPECT_TRUE(white(image.atGL(135, 135))); // beyond the rim
}

TEST_F(PrimitivesTest, EllipseOutlineAndFillFollowTheRadii) {
    Graphics::ellipseFill(Point(80, 120), 60, 30, -3, black);
    Graphics::ellipseOutline(Point(240, 120), 50, 50, 64, black);
    RgbaImage image = read();
    EXPECT_TRUE(dark(image.atGL(80, 120)));
    EXPECT_TRUE(dark(image.atGL(137, 120)));
    EXPECT_TRUE(white(image.atGL(143, 120)));
    EXPECT_TRUE(dark(image.atGL(80, 147)));
    EXPECT_TRUE(white(image.atGL(80, 153)));
    EXPECT_TRUE(white(image.atGL(240, 120))); // an outline leaves the inside empty
    EXPECT_TRUE(dark(image.atGL(240, 170)) || dark(image.atGL(240, 169)));
}

TEST_F(PrimitivesTest, DashedLineCoversItsDashes) {
    // Dash 8, gap 5 over a length of 20 starting at x = 10: dashes over [10, 18] and [23, 31].
    glDisable(GL_LINE_SMOOTH);
    Graphics::drawDashedLine(Point(10, 50.5f), Point(30, 50.5f), 8, 5, black);
    RgbaImage image = read();
    for (int x = 10; x < 18; ++x)
        EXPECT_TRUE(dark(image.atGL(x, 50))) << x;
    for (int x = 18; x < 23; ++x)
        EXPECT_TRUE(white(image.atGL(x, 50))) << x;
    for (int x = 23; x < 31; ++x)
        EXPECT_TRUE(dark(image.atGL(x, 50))) << x; // the last dash reaches beyond the end
    EXPECT_TRUE(white(image.atGL(31, 50)));
    EXPECT_TRUE(white(image.atGL(9, 50)));
}

TEST_F(PrimitivesTest, ConcaveCheckMarkFillsExactlyItsOutline) {
    const auto check =
        scaled({{0.1f, 0.4f}, {0.1f, 0.5f}, {0.4f, 0.3f}, {0.8f, 0.9f}, {0.9f, 0.9f}, {0.4f, 0.1f}},
               20, 10, 220);
    Graphics::polygonFill(check, black);
    expectFillsExactly(check);
}

TEST_F(PrimitivesTest, ConcaveCrossFillsExactlyItsOutline) {
    const auto cross = scaled({{0.1f, 0.9f},
                               {0.2f, 0.9f},
                               {0.5f, 0.6f},
                               {0.8f, 0.9f},
                               {0.9f, 0.9f},
                               {0.6f, 0.5f},
                               {0.9f, 0.1f},
                               {0.8f, 0.1f},
                               {0.5f, 0.4f},
                               {0.2f, 0.1f},
                               {0.1f, 0.1f},
                               {0.4f, 0.5f}},
                              20, 10, 220);
    Graphics::polygonFill(cross, black);
    expectFillsExactly(cross);
}

TEST_F(PrimitivesTest, SelfIntersectingOutlineIsSurvived) {
    // Unsupported, but it must not bring the program down.
    Graphics::polygonFill({Point(10, 10), Point(100, 100), Point(100, 10), Point(10, 100)}, black);
    Graphics::polygonFill({}, black);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PrimitivesTest, RoundedRectanglesLeaveTheirCornersEmpty) {
    Graphics::fillRoundedRectangle(Point(20, 20), Point(140, 100), 20, black);
    Graphics::drawRoundedRectangle(Point(180, 20), Point(300, 100), 20, black);
    RgbaImage image = read();
    // Filled: corners empty, edges and middle filled.
    for (auto corner :
         {std::pair{21, 21}, std::pair{138, 21}, std::pair{21, 98}, std::pair{138, 98}})
        EXPECT_TRUE(white(image.atGL(corner.first, corner.second)))
            << corner.first << "," << corner.second;
    for (auto p : {std::pair{80, 60}, std::pair{80, 21}, std::pair{21, 60}, std::pair{138, 60},
                   std::pair{80, 98}, std::pair{30, 30}})
        EXPECT_TRUE(dark(image.atGL(p.first, p.second))) << p.first << "," << p.second;
    // Outlined: corners and inside empty, the straight edges drawn.
    EXPECT_TRUE(white(image.atGL(181, 21)));
    EXPECT_TRUE(white(image.atGL(299, 99)));
    EXPECT_TRUE(white(image.atGL(240, 60)));
    // Edges lying on a pixel boundary land on either neighbouring pixel, by rasterizer.
    EXPECT_TRUE(!white(image.atGL(240, 101)) || !white(image.atGL(240, 100)) ||
                !white(image.atGL(240, 99)));
    EXPECT_TRUE(!white(image.atGL(181, 60)) || !white(image.atGL(180, 60)) ||
                !white(image.atGL(179, 60)));
}

TEST_F(PrimitivesTest, SplineStripStopsOneSampleShort) {
    glDisable(GL_LINE_SMOOTH);
    TCBSpline s;
    for (float x : {20.0f, 20.0f, 120.0f, 220.0f, 220.0f})
        s.addPoint(x, 50.5f);
    // The last sample is t = 3/4, the middle of the second segment: x = 176.25.
    Graphics::drawSpline(s, black, 4);
    RgbaImage image = read();
    EXPECT_TRUE(dark(image.atGL(25, 50)));
    EXPECT_TRUE(dark(image.atGL(172, 50)));
    EXPECT_TRUE(white(image.atGL(180, 50)));
    EXPECT_TRUE(white(image.atGL(215, 50)));
}

TEST_F(PrimitivesTest, BoxAndCylinderCoverTheirBase) {
    Graphics::boxFill(Point3(20, 20, 0), Point3(60, 80, -0.5f), black);
    Graphics::cylinderFill(Point(150, 50), 30, 20, 0.5f, -3, black);
    Graphics::boxOutline(Point3(200, 20, 0), Point3(260, 80, -0.5f), black);
    Graphics::cylinderOutline(Point(150, 170), 30, 20, 0.5f, -3, black);
    RgbaImage image = read();
    EXPECT_TRUE(dark(image.atGL(40, 50)));
    EXPECT_TRUE(white(image.atGL(65, 50)));
    EXPECT_TRUE(dark(image.atGL(150, 50)));
    EXPECT_TRUE(dark(image.atGL(175, 50)));
    EXPECT_TRUE(white(image.atGL(150, 75)));
    EXPECT_TRUE(white(image.atGL(230, 50))); // an outline only
    EXPECT_TRUE(dark(image.atGL(200, 50)) || dark(image.atGL(199, 50)));
    EXPECT_TRUE(white(image.atGL(150, 170)));
}

// The state that the canvas fixes and that no primitive may leave changed.
struct GLStateSnapshot {
    GLint matrixMode = 0, modelViewDepth = 0, projectionDepth = 0, attribDepth = 0;
    GLint depthFunc = 0, blendSrc = 0, blendDst = 0;
    GLboolean texture2D = 0, blend = 0, lineSmooth = 0, depthTest = 0, scissor = 0;
    GLfloat modelView[16] = {};

    static GLStateSnapshot take() {
        GLStateSnapshot s;
        glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelViewDepth);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &s.attribDepth);
        glGetIntegerv(GL_DEPTH_FUNC, &s.depthFunc);
        glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
        glGetIntegerv(GL_BLEND_DST, &s.blendDst);
        s.texture2D = glIsEnabled(GL_TEXTURE_2D);
        s.blend = glIsEnabled(GL_BLEND);
        s.lineSmooth = glIsEnabled(GL_LINE_SMOOTH);
        s.depthTest = glIsEnabled(GL_DEPTH_TEST);
        s.scissor = glIsEnabled(GL_SCISSOR_TEST);
        glGetFloatv(GL_MODELVIEW_MATRIX, s.modelView);
        return s;
    }
    void expectEqual(const GLStateSnapshot& o, const std::string& what) const {
        EXPECT_EQ(matrixMode, o.matrixMode) << what;
        EXPECT_EQ(modelViewDepth, o.modelViewDepth) << what;
        EXPECT_EQ(projectionDepth, o.projectionDepth) << what;
        EXPECT_EQ(attribDepth, o.attribDepth) << what;
        EXPECT_EQ(depthFunc, o.depthFunc) << what;
        EXPECT_EQ(blendSrc, o.blendSrc) << what;
        EXPECT_EQ(blendDst, o.blendDst) << what;
        EXPECT_EQ(texture2D, o.texture2D) << what;
        EXPECT_EQ(blend, o.blend) << what;
        EXPECT_EQ(lineSmooth, o.lineSmooth) << what;
        EXPECT_EQ(depthTest, o.depthTest) << what;
        EXPECT_EQ(scissor, o.scissor) << what;
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(modelView[i], o.modelView[i]) << what;
    }
};

TEST_F(PrimitivesTest, NoPrimitiveLeavesStateChanged) {
    TCBSpline s;
    for (int i = 0; i < 5; ++i)
        s.addPoint(static_cast<float>(i * 10), static_cast<float>(i % 2));
    const std::vector<std::pair<std::string, std::function<void()>>> primitives = {
        {"line", [] { Graphics::drawLine(Point(0, 0), Point(5, 5), black); }},
        {"dashed", [] { Graphics::drawDashedLine(Point(0, 0), Point(50, 5), 3, 2, black); }},
        {"rect", [] { Graphics::rectOutline(Point(0, 0), Point(5, 5), black); }},
        {"rectFill", [] { Graphics::rectFill(Point(0, 0), Point(5, 5), black); }},
        {"ellipse", [] { Graphics::ellipseOutline(Point(9, 9), 5, 3, -3, black); }},
        {"ellipseFill", [] { Graphics::ellipseFill(Point(9, 9), 5, 3, -3, black); }},
        {"arc", [] { Graphics::drawArc(Point(9, 9), 5, 3, 0, 1, -3, black); }},
        {"sector", [] { Graphics::sectorOutline(Point(9, 9), 5, 3, 0, 1, -3, black); }},
        {"rounded", [] { Graphics::drawRoundedRectangle(Point(0, 0), Point(30, 20), 4, black); }},
        {"roundedFill",
         [] { Graphics::fillRoundedRectangle(Point(0, 0), Point(30, 20), 4, black); }},
        {"polygon",
         [] {
             Graphics::drawPolygon({Point(0, 0), Point(9, 0), Point(4, 7)}, black);
         }},
        {"convex",
         [] {
             Graphics::fillConvexPolygon({Point(0, 0), Point(9, 0), Point(4, 7)}, black);
         }},
        {"concave",
         [] {
             Graphics::polygonFill({Point(0, 0), Point(9, 0), Point(4, 2), Point(4, 7)}, black);
         }},
        {"spline", [&s] { Graphics::drawSpline(s, black, 32); }},
        {"box", [] { Graphics::boxFill(Point3(0, 0, 0), Point3(5, 5, -0.5f), black); }},
        {"boxOutline", [] { Graphics::boxOutline(Point3(0, 0, 0), Point3(5, 5, -0.5f), black); }},
        {"cylinder", [] { Graphics::cylinderFill(Point(9, 9), 5, 3, 0.5f, -3, black); }},
        {"cylinderOutline", [] { Graphics::cylinderOutline(Point(9, 9), 5, 3, 0.5f, -3, black); }},
        {"smoothing pair",
         [] {
             Graphics::setSmoothing(true);
             Graphics::setSmoothing(false);
         }},
    };
    GLStateSnapshot before = GLStateSnapshot::take();
    for (const auto& [name, draw] : primitives) {
        draw();
        GLStateSnapshot::take().expectEqual(before, name);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << name;
    }
}

TEST_F(PrimitivesTest, SmoothingSwitchesComeInPairs) {
    glDisable(GL_LINE_SMOOTH);
    Graphics::setSmoothing(true);
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    Graphics::setSmoothing(false);
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    // A stray "off" does not pop attributes it never pushed.
    glPushAttrib(GL_ENABLE_BIT);
    Graphics::setSmoothing(false);
    GLint depth = 0;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glPopAttrib();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ClipToRectangle, UsesTheDiagramBoxEdges) {
    UMLGeometry box;
    box.left = 0;
    box.top = 0; // lower edge
    box.right = 40;
    box.bottom = 20; // upper edge
    Point out;
    ASSERT_TRUE(Graphics::clipToRectangle(Point(20, 10), Point(20, 100), box, out));
    EXPECT_FLOAT_EQ(out.y, 20);
    ASSERT_TRUE(Graphics::clipToRectangle(Point(20, 10), Point(20, -100), box, out));
    EXPECT_FLOAT_EQ(out.y, 0);
    EXPECT_FALSE(Graphics::clipToRectangle(Point(5, 5), Point(35, 15), box, out));
}

} // namespace
