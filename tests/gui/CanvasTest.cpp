#include <filesystem>

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/image.h>

#include "common/Log.h"
#include "common/TestSupport.h"
#include "graphics/CanvasGL.h"
#include "graphics/Graphics.h"
#include "gui/Canvas.h"

namespace {

constexpr int canvasId = 10019;

// Lets the toolkit handle what is pending (mapping, sizing) until the condition holds.
template <typename Condition> bool settle(Condition done) {
    for (int i = 0; i < 200 && !done(); ++i)
        wxTheApp->Yield(true);
    return done();
}

void expectColour(const wxImage& image, int x, int y, int r, int g, int b, int tolerance) {
    EXPECT_NEAR(image.GetRed(x, y), r, tolerance) << x << "," << y;
    EXPECT_NEAR(image.GetGreen(x, y), g, tolerance) << x << "," << y;
    EXPECT_NEAR(image.GetBlue(x, y), b, tolerance) << x << "," << y;
}

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = new wxFrame(nullptr, wxID_ANY, "Canvas");
        LogCapture log;
        canvas_ = new Canvas(frame_, canvasId);
        constructionLog_ = log.lines();
        frame_->SetClientSize(200, 150);
        frame_->Show();
        ASSERT_TRUE(settle([this] { return canvas_->makeCurrent(); }));
        ASSERT_TRUE(settle([this] {
            return canvas_->GetClientSize() == wxSize(200, 150) &&
                   canvas_->activeView()->width == 200 && canvas_->activeView()->height == 150;
        }));
    }
    void TearDown() override {
        frame_->Destroy();
        wxTheApp->ProcessIdle();
    }

    wxFrame* frame_ = nullptr;
    Canvas* canvas_ = nullptr; // owned by frame_
    std::vector<std::string> constructionLog_;
};

TEST_F(CanvasTest, IsTheFramesGLCanvasWithOneViewOverIt) {
    EXPECT_EQ(canvas_->GetId(), canvasId);
    EXPECT_EQ(canvas_->GetName(), "GLCanvas");
    ASSERT_NE(canvas_->activeView(), nullptr);
    EXPECT_EQ(canvas_->activeView()->x, 0);
    EXPECT_EQ(canvas_->activeView()->y, 0);
    EXPECT_EQ(canvas_->activeView()->width, 200);
    EXPECT_EQ(canvas_->activeView()->height, 150);

    // The size event follows the new size: the view takes it over.
    frame_->SetClientSize(260, 90);
    EXPECT_TRUE(settle([this] {
        return canvas_->activeView()->width == 260 && canvas_->activeView()->height == 90;
    }));
    EXPECT_EQ(canvas_->GetClientSize(), wxSize(260, 90));
}

TEST_F(CanvasTest, FixedStateAndFontAreSetUp) {
    EXPECT_TRUE(Graphics::setFont("Arial"));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint stencil = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_EQ(stencil, 8);
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(depth, canvas_->depthBits());
    // A display without a 32-bit depth buffer is worth a line in the log.
    if (canvas_->depthBits() == 32) {
        EXPECT_TRUE(constructionLog_.empty());
    } else {
        ASSERT_EQ(constructionLog_.size(), 1u);
        EXPECT_NE(constructionLog_[0].find(std::to_string(canvas_->depthBits()) + "-bit"),
                  std::string::npos);
    }
}

struct Format {
    const char* name;
    int tolerance;
};
const Format formats[] = {{"image.png", 0}, {"image.jpg", 40}};

TEST_F(CanvasTest, ExportsTheEmptyWhiteViewAsPngAndJpegWithFramesOnlyWhenAsked) {
    // Something else in the back buffer first: the export draws the scene anew.
    ASSERT_TRUE(canvas_->makeCurrent());
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    setFixedGLState();
    MessageRecorder messages;
    for (Format format : formats) {
        for (bool frames : {false, true}) {
            SCOPED_TRACE(frames);
            TempFile file(format.name);
            ImageExportRequest request;
            request.frames = frames;
            ASSERT_TRUE(canvas_->exportImage(file.path(), request)) << format.name;
            wxImage image;
            ASSERT_TRUE(image.LoadFile(file.path())) << format.name;
            ASSERT_EQ(image.GetWidth(), 200);
            ASSERT_EQ(image.GetHeight(), 150);
            for (auto [x, y] : {std::pair{5, 5}, std::pair{194, 5}, std::pair{100, 75},
                                std::pair{5, 144}, std::pair{194, 144}})
                expectColour(image, x, y, 255, 255, 255, format.tolerance);
            // The active view's frame, translucent red over white, as the canvas shows it.
            for (auto [x, y] : {std::pair{0, 0}, std::pair{199, 149}, std::pair{100, 1}})
                expectColour(image, x, y, 255, frames ? 119 : 255, frames ? 119 : 255,
                             format.tolerance + 3);
        }
    }
    // A vector image of the canvas's size.
    TempFile svg("canvas.svg");
    ASSERT_TRUE(canvas_->exportImage(svg.path()));
    EXPECT_NE(readWholeFile(svg.path()).find("viewBox=\"0 0 200 150\""), std::string::npos);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CanvasTest, MouseEventsReachTheViewsAsTheToolkitDescribesThem) {
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = -240;
    wheel.SetControlDown(true);
    wheel.SetShiftDown(true);
    MouseEvent translated = canvas_->translate(wheel);
    EXPECT_EQ(translated.kind, MouseEvent::Kind::Wheel);
    EXPECT_EQ(translated.wheelRotation, -240);
    EXPECT_TRUE(translated.control && translated.shift && !translated.alt);

    wxMouseEvent drag(wxEVT_MOTION);
    drag.SetPosition({12, 34});
    drag.SetMiddleDown(true);
    drag.SetAltDown(true);
    translated = canvas_->translate(drag);
    EXPECT_EQ(translated.kind, MouseEvent::Kind::Motion);
    EXPECT_EQ(translated.x, 12);
    EXPECT_EQ(translated.y, 34);
    EXPECT_TRUE(translated.middleIsDown && !translated.leftIsDown && translated.alt);

    // A release over the other view of a split makes it active and tells the frame.
    int changes = 0;
    canvas_->setActiveViewChangedHandler([&changes] { ++changes; });
    canvas_->views().splitActiveWindow(false);
    CanvasWindow* right = canvas_->views().views()[1];
    wxMouseEvent release(wxEVT_LEFT_UP);
    release.SetPosition({150, 75});
    release.SetEventObject(canvas_);
    canvas_->ProcessWindowEvent(release);
    EXPECT_EQ(canvas_->activeView(), right);
    EXPECT_EQ(changes, 2);
}

TEST(CanvasImage, ImageFilesKeepTheTopRowFirst) {
    // 4 x 3 pixels: a red top row, a green bottom row, white between.
    std::vector<std::uint8_t> rgb(4 * 3 * 3, 255);
    for (int x = 0; x < 4; ++x) {
        rgb[static_cast<std::size_t>(x * 3 + 1)] = 0;
        rgb[static_cast<std::size_t>(x * 3 + 2)] = 0;
        rgb[static_cast<std::size_t>(24 + x * 3)] = 0;
        rgb[static_cast<std::size_t>(24 + x * 3 + 2)] = 0;
    }
    for (Format format : formats) {
        TempFile file(format.name);
        ASSERT_TRUE(Canvas::saveImage(file.path(), 4, 3, rgb));
        wxImage image;
        ASSERT_TRUE(image.LoadFile(file.path()));
        ASSERT_EQ(image.GetHeight(), 3);
        // JPEG smears colours across such a tiny image; only the dominant channel counts.
        int tolerance = format.tolerance * 3;
        expectColour(image, 1, 0, 255, 0, 0, tolerance);
        expectColour(image, 1, 2, 0, 255, 0, tolerance);
    }
    EXPECT_FALSE(Canvas::saveImage("unused.png", 4, 3, {}));
    EXPECT_FALSE(Canvas::saveImage("unused.png", 0, 0, {}));
}

TEST_F(CanvasTest, UnknownExtensionIsReported) {
    MessageRecorder messages;
    TempFile folder("unused");
    const std::string path = folder.folder() + "/canvas.xyz";
    EXPECT_FALSE(canvas_->exportImage(path));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "An error occured while trying to save the image");
    EXPECT_EQ(messages.messages[0].caption, "Brennimore error");
    EXPECT_EQ(messages.messages[0].style, MessageStyle::Ok | MessageStyle::IconError);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CanvasFont, FailureIsShownAndEndsTheProgram) {
    MessageRecorder messages;
    int exits = 0;
    auto previous = Canvas::setExitHook([&exits] { ++exits; });
    EXPECT_FALSE(Canvas::registerFont("/nonexistent/arial.ttf"));
    Canvas::setExitHook(previous);
    EXPECT_EQ(exits, 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Could not construct font from /nonexistent/arial.ttf");
    EXPECT_EQ(messages.messages[0].caption, "Message");
    EXPECT_EQ(messages.messages[0].style, MessageStyle::Ok | MessageStyle::Centre);
}

TEST(CanvasHidden, NothingIsDrawnAndExportFailsBeforeTheWindowIsShown) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Hidden");
    auto* canvas = new Canvas(frame, canvasId);
    frame->SetClientSize(50, 40);
    EXPECT_FALSE(canvas->makeCurrent());
    canvas->redraw(); // nothing to draw into: no effect, no failure
    MessageRecorder messages;
    TempFile file("hidden.png");
    EXPECT_FALSE(canvas->exportImage(file.path()));
    EXPECT_EQ(messages.messages.size(), 1u);
    frame->Destroy();
    wxTheApp->ProcessIdle();
}

} // namespace
