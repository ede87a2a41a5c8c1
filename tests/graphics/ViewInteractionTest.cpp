#include <cmath>

#include <gtest/gtest.h>

#include "graphics/CanvasViews.h"
#include "graphics/RenderFixture.h"
#include "graphics/ViewTestSupport.h"
#include "visualizers/HoverInfoBox.h"
#include "visualizers/UMLElementSelection.h"

namespace {

using Kind = MouseEvent::Kind;

// Three classes stacked on the origin, the largest drawn first; fitted at 3.8 pixels per
// unit into the 320 x 240 view, so the view centre (160, 120) lies over all three.
class ViewInteractionTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        diagram_ = model_.addDiagram("Stack",
                                     {{-40, -30, 40, 30}, {-30, -20, 30, 20}, {-20, -10, 20, 10}});
        for (UMLDiagramElement* e : diagram_->element)
            classes_.push_back(e->subject);
        views_.setSelectionList(&selection_);
        views_.setVisualizer(&visualizer_);
        views_.setDiagram(diagram_);
        view_ = views_.activeView();
        ASSERT_FLOAT_EQ(view_->zoom, 3.8f);
    }

    void press(int x, int y, bool control = false, bool shift = false, bool alt = false) {
        MouseEvent e = mouse(Kind::LeftDown, x, y);
        e.control = control;
        e.shift = shift;
        e.alt = alt;
        views_.onMouse(e);
    }
    void leftDrag(int x, int y, bool control, bool alt) {
        MouseEvent e = mouse(Kind::Motion, x, y);
        e.leftIsDown = true;
        e.control = control;
        e.alt = alt;
        views_.onMouse(e);
    }
    const UMLGeometry& box(int i) const { return diagram_->element[i]->geometry; }
    std::vector<UMLModelElement*> selected() const { return selection_.elements(); }

    RecordingHost host_;
    CanvasViews views_{320, 240, &host_};
    BoxVisualizer visualizer_;
    TestModel model_;
    UMLSelectionList selection_;
    UMLDiagram* diagram_ = nullptr;
    std::vector<UMLModelElement*> classes_;
    CanvasWindow* view_ = nullptr;
};

TEST_F(ViewInteractionTest, ControlClicksOnOnePixelStepThroughTheStackedClasses) {
    using List = std::vector<UMLModelElement*>;
    struct Step {
        int x;
        bool control, shift;
        List expected;
    } steps[] = {
        {160, true, false, {classes_[0]}}, // no earlier press here: the nearest
        {160, true, false, {classes_[1]}},
        {160, true, false, {classes_[2]}},
        {160, true, false, {classes_[0]}}, // round again
        {161, true, false, {classes_[0]}}, // one pixel over: starts at the nearest
        {161, true, true, {classes_[1]}},  // with Shift the previous step is undone
        {161, false, false, {classes_[0]}},
        {2, false, false, {}}, // nothing under the pointer: cleared
        {2, true, false, {}},
    };
    int n = 0;
    for (const Step& s : steps) {
        press(s.x, 120, s.control, s.shift);
        List now;
        for (UMLModelElement* e : selected())
            if (isSelected(e))
                now.push_back(e);
        EXPECT_EQ(now, s.expected) << "step " << n;
        ++n;
    }
    EXPECT_EQ(views_.pointer.cycle.index, -1);
    EXPECT_GE(host_.repaints, n); // every press asks for a full repaint
}

TEST_F(ViewInteractionTest, AltDragMovesSelectedElementsAndRegrowsTheBounds) {
    press(20, 120); // inside the largest class only
    ASSERT_EQ(selected(), std::vector<UMLModelElement*>{classes_[0]});
    press(20, 120, false, false, true); // Alt: no new selection, the drag starts here
    ASSERT_TRUE(isSelected(classes_[0]));

    leftDrag(58, 101, false, true); // 10 units right, 5 units up
    EXPECT_NEAR(box(0).left, -30.0f, 1e-4f);
    EXPECT_NEAR(box(0).right, 50.0f, 1e-4f);
    EXPECT_NEAR(box(0).top, -25.0f, 1e-4f);
    EXPECT_NEAR(box(0).bottom, 35.0f, 1e-4f);
    EXPECT_NEAR(box(1).left, -30.0f, 1e-6f); // not selected: stays
    const auto& b = diagram_->bounds;
    EXPECT_NEAR(b[0], -30.0f, 1e-4f);
    EXPECT_NEAR(b[1], -25.0f, 1e-4f);
    EXPECT_NEAR(b[2], 50.0f, 1e-4f);
    EXPECT_NEAR(b[3], 35.0f, 1e-4f);

    // Without Alt a left drag leaves the diagram alone.
    leftDrag(200, 10, false, false);
    EXPECT_NEAR(box(0).left, -30.0f, 1e-4f);
}

TEST_F(ViewInteractionTest, ControlAltDragResizesButNotBelowTenUnits) {
    selection_.selectOnly(classes_[2]);
    press(160, 120, false, false, true);
    leftDrag(160 + 19, 120 - 38, true, true); // 5 units wider, 10 units taller
    EXPECT_NEAR(box(2).left, -20.0f, 1e-4f);
    EXPECT_NEAR(box(2).right, 25.0f, 1e-4f);
    EXPECT_NEAR(box(2).top, -10.0f, 1e-4f);
    EXPECT_NEAR(box(2).bottom, 20.0f, 1e-4f);

    leftDrag(160 - 380, 120 + 380, true, true); // far past the lower left corner
    EXPECT_FLOAT_EQ(box(2).right, box(2).left + 10.0f);
    EXPECT_FLOAT_EQ(box(2).bottom, box(2).top + 10.0f);
    EXPECT_NEAR(box(2).left, -20.0f, 1e-4f);
    EXPECT_NEAR(box(2).top, -10.0f, 1e-4f);
}

TEST_F(ViewInteractionTest, MiddleDragsPanAndRotateAndTheWheelZoomsWithinLimits) {
    views_.onMouse(mouse(Kind::MiddleDown, 100, 100));
    MouseEvent drag = mouse(Kind::Motion, 138, 81);
    drag.middleIsDown = true;
    views_.onMouse(drag); // the diagram follows the pointer: 10 units right, 5 up
    EXPECT_NEAR(view_->pan[0], -10.0f, 1e-4f);
    EXPECT_NEAR(view_->pan[1], -5.0f, 1e-4f);
    drag.shift = true;
    drag.x += 50;
    drag.y += 10;
    views_.onMouse(drag);
    EXPECT_NEAR(view_->rotation[0], 10.0f, 1e-4f);
    EXPECT_NEAR(view_->rotation[1], 2.0f, 1e-4f);
    EXPECT_NEAR(view_->pan[0], -10.0f, 1e-4f);

    MouseEvent wheel = mouse(Kind::Wheel, 160, 120);
    wheel.wheelRotation = -120;
    views_.onMouse(wheel);
    EXPECT_NEAR(view_->zoom, 3.8f / 1.0846f, 1e-3f);
    wheel.wheelRotation = 120 * 40;
    for (int i = 0; i < 100; ++i)
        views_.onMouse(wheel);
    EXPECT_FLOAT_EQ(view_->zoom, maxZoom);
    wheel.wheelRotation = -120 * 40;
    for (int i = 0; i < 200; ++i)
        views_.onMouse(wheel);
    EXPECT_FLOAT_EQ(view_->zoom, minZoom);
    views_.zoomOut();
    EXPECT_FLOAT_EQ(view_->zoom, minZoom);
    views_.resetCamera();
    EXPECT_FLOAT_EQ(view_->zoom, 3.8f);
    EXPECT_EQ(view_->rotation, (std::array<float, 2>{0.0f, 0.0f}));
}

struct Columns {
    int first = -1, last = -1;
};
// The columns of row y (from the bottom) whose channel is dark.
template <typename Channel> Columns darkColumns(const RgbaImage& image, int y, Channel channel) {
    Columns c;
    for (int x = 0; x < image.width(); ++x)
        if (channel(image.atGL(x, y)) < 100) {
            if (c.first < 0)
                c.first = x;
            c.last = x;
        }
    return c;
}

TEST_F(ViewInteractionTest, RendersTheFittedDiagramAndItsFrame) {
    for (bool perspective : {false, true}) {
        view_->perspective = perspective;
        views_.renderAll();
        const RgbaImage image = read();
        // The largest class spans 80 x 60 units at 3.8 pixels per unit around the centre.
        const Columns blue = darkColumns(image, 120, [](const Rgba& p) { return p.r; });
        EXPECT_NEAR(blue.first, 160 - 152, 1) << perspective;
        EXPECT_NEAR(blue.last, 160 + 152 - 1, 1) << perspective;
        const Rgba& centre = image.atGL(160, 120);
        EXPECT_GT(centre.b, 200);
        EXPECT_LT(centre.g, 50);
        // The active view's frame: red, three pixels wide.
        EXPECT_GT(image.atGL(160, 1).r, 200);
        EXPECT_LT(image.atGL(160, 1).g, 150);
        EXPECT_GT(image.atGL(160, 4).r, 240);
        EXPECT_GT(image.atGL(160, 4).g, 240);
    }
    // The list replays the last full drawing without visiting the model.
    const int visits = visualizer_.visits;
    view_->render(true);
    EXPECT_EQ(visualizer_.visits, visits);
    EXPECT_GT(read().atGL(160, 120).b, 200);
}

TEST_F(ViewInteractionTest, StereoDrawsTwoOffsetColourMaskedImages) {
    view_->stereo = true;
    for (bool perspective : {false, true}) {
        view_->perspective = perspective;
        views_.renderAll();
        const RgbaImage image = read();
        // Cyan pass (eye -1) leaves the green channel dark, the red pass the red channel.
        const Columns cyan = darkColumns(image, 120, [](const Rgba& p) { return p.g; });
        const Columns red = darkColumns(image, 120, [](const Rgba& p) { return p.r; });
        ASSERT_GE(cyan.first, 0);
        ASSERT_GE(red.first, 0);
        EXPECT_NE(cyan.first, red.first) << perspective;
        EXPECT_NEAR(cyan.last - cyan.first, red.last - red.first, 2) << perspective;
    }
}

class RecordingBox : public HoverInfoBox {
public:
    explicit RecordingBox(int* draws) : draws_(draws) {}
    void draw() override { ++*draws_; }

private:
    int* draws_;
};

TEST_F(ViewInteractionTest, HoverPickFeedsTheBoxFactoryAndPlacesTheBox) {
    int draws = 0;
    std::size_t hits = 0;
    views_.hooks.makeHoverBox = [&](UMLModelVisualizer* v,
                                    const std::vector<std::unique_ptr<SelectionElement>>& found)
        -> std::unique_ptr<HoverInfoBox> {
        EXPECT_EQ(v, &visualizer_);
        hits = found.size();
        return std::make_unique<RecordingBox>(&draws);
    };
    views_.onMouse(mouse(Kind::Motion, 160, 50));
    EXPECT_EQ(hits, 2u); // the two larger classes reach up to there
    ASSERT_NE(view_->hoverBox, nullptr);
    EXPECT_FLOAT_EQ(view_->hoverBox->x, 176.0f);
    EXPECT_FLOAT_EQ(view_->hoverBox->y, 190.0f);
    EXPECT_FLOAT_EQ(view_->hoverBox->maxHeight, 190.0f);
    EXPECT_EQ(draws, 1);

    // A held button drops the box; a visualizer without hover boxes never picks.
    MouseEvent pressed = mouse(Kind::MiddleDown, 160, 50);
    views_.onMouse(pressed);
    EXPECT_EQ(view_->hoverBox, nullptr);
    views_.hooks.picksOnHover = [](UMLModelVisualizer*) { return false; };
    hits = 0;
    views_.onMouse(mouse(Kind::Motion, 160, 120));
    EXPECT_EQ(hits, 0u);
    EXPECT_EQ(view_->hoverBox, nullptr);
}

} // namespace
