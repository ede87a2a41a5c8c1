#include <GL/gl.h>
#include <gtest/gtest.h>

#include "graphics/CanvasGL.h"
#include "graphics/CanvasViews.h"
#include "graphics/RenderFixture.h"

namespace {

TEST(DepthBuffer, DeepestOfferedSizeIsTaken) {
    EXPECT_EQ(deepestDepthBuffer([](int bits) { return bits <= 32; }), 32);
    EXPECT_EQ(deepestDepthBuffer([](int bits) { return bits <= 24; }), 24);
    EXPECT_EQ(deepestDepthBuffer([](int bits) { return bits == 16; }), 16);
    EXPECT_EQ(deepestDepthBuffer([](int) { return false; }), 0);
}

TEST(RowOrder, FlipRowsReversesRows) {
    std::vector<std::uint8_t> pixels = {1, 2, 3, 4, 5, 6};
    flipRows(pixels, 2);
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{5, 6, 3, 4, 1, 2}));
    flipRows(pixels, 0); // no rows to speak of
    EXPECT_EQ(pixels.size(), 6u);
}

class CanvasGLTest : public RenderTest {};

TEST_F(CanvasGLTest, FixedStateIsTheCanvasState) {
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    setFixedGLState();
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 1.0f);
    EXPECT_EQ(clear[1], 1.0f);
    EXPECT_EQ(clear[2], 1.0f);
    EXPECT_EQ(clear[3], 0.0f);
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_ALWAYS);
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_LINE_SMOOTH_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(CanvasGLTest, ReadBackIsTopRowFirstAndRestoresState) {
    const int w = context().width();
    const int h = context().height();
    // Red in the top-left corner, blue in the bottom-left.
    Graphics::rectFill(Point(0, static_cast<float>(h - 10)), Point(10, static_cast<float>(h)),
                       Color(1, 0, 0, 1));
    Graphics::rectFill(Point(0, 0), Point(10, 10), Color(0, 0, 1, 1));
    GLint readBuffer = 0;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    auto pixels = readPixelsTopRowFirst(static_cast<unsigned>(readBuffer), w, h);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(w * h * 3));
    EXPECT_EQ(pixels[0], 255); // top-left pixel red
    EXPECT_EQ(pixels[2], 0);
    const std::size_t bottomLeft = static_cast<std::size_t>((h - 1) * w * 3);
    EXPECT_EQ(pixels[bottomLeft], 0);
    EXPECT_EQ(pixels[bottomLeft + 2], 255);
    EXPECT_EQ(pixels[3 * 20 + 0], 255); // white beside it
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_TRUE(readPixelsTopRowFirst(static_cast<unsigned>(readBuffer), 0, 10).empty());
}

TEST_F(CanvasGLTest, OneViewCoversTheCanvasAndClearsOnlyItsRectangle) {
    context().clear(0, 0, 0, 1);
    CanvasViews views(context().width(), context().height());
    ASSERT_NE(views.activeView(), nullptr);
    EXPECT_EQ(views.activeView()->width, context().width());
    EXPECT_EQ(views.activeView()->height, context().height());
    views.resize(100, 50);
    EXPECT_EQ(views.activeView()->x, 0);
    EXPECT_EQ(views.activeView()->width, 100);
    EXPECT_EQ(views.activeView()->height, 50);
    views.renderAll();
    RgbaImage image = read();
    EXPECT_EQ(image.atGL(50, 25).r, 255);
    EXPECT_EQ(image.atGL(50, 25).g, 255);
    EXPECT_EQ(image.atGL(96, 46).b, 255); // inside the frame
    EXPECT_EQ(image.atGL(100, 25).r, 0);  // outside the view: untouched
    EXPECT_EQ(image.atGL(50, 50).r, 0);

    views.resize(context().width(), context().height());
    views.renderAll();
    image = read();
    EXPECT_EQ(image.atGL(context().width() - 5, context().height() - 5).r, 255);
}

} // namespace
