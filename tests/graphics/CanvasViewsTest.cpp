#include <clocale>
#include <locale>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "common/Exception.h"
#include "graphics/CanvasViews.h"
#include "graphics/RenderFixture.h"
#include "graphics/ViewTestSupport.h"
#include "visualizers/UMLElementSelection.h"

namespace {

using Kind = MouseEvent::Kind;

class CanvasViewsTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        main_ = model_.addDiagram("Main", {{-50, -20, 50, 20}});
        other_ = model_.addDiagram("Other", {{-10, -10, 30, 10}});
    }

    std::string layout(const CanvasViews& views) const {
        std::ostringstream out;
        views.writeLayout(out);
        return out.str();
    }

    RecordingHost host_;
    CanvasViews views_{320, 240, &host_};
    BoxVisualizer visualizer_;
    TestModel model_;
    UMLDiagram* main_ = nullptr;
    UMLDiagram* other_ = nullptr;
};

TEST_F(CanvasViewsTest, AViewNeedsItsCanvas) {
    try {
        CanvasWindow view(nullptr, 0, 0, 10, 10);
        FAIL() << "constructed without a canvas";
    } catch (const Exception& e) {
        EXPECT_EQ(e.getMessage(), "Invalid canvas pointer for window");
    }
}

TEST_F(CanvasViewsTest, VerticalThenHorizontalSplitOfTheRightView) {
    views_.setVisualizer(&visualizer_);
    views_.setDiagram(main_);
    CanvasWindow* first = views_.activeView();
    first->zoom = 1.25f;
    first->pan = {10.0f, -4.5f};

    views_.splitActiveWindow(false);
    EXPECT_EQ(views_.activeView(), first); // the old view stays on the left and active
    CanvasWindow* right = views_.root().second->view.get();
    EXPECT_EQ(right->diagram, main_);
    EXPECT_EQ(right->visualizer, &visualizer_);
    EXPECT_FLOAT_EQ(right->zoom, 0.95f * 1.6f); // fitted anew: 160 / 100
    EXPECT_EQ(host_.activeChanges, 1);

    views_.activate(views_.root().second.get());
    views_.splitActiveWindow(true);
    views_.root().second->second->view->setDiagram(nullptr);
    views_.root().second->second->view->perspective = false;

    EXPECT_EQ(layout(views_),
              "vertical <0.5>\n"
              "leaf <Main><1.250000><10.000000 -4.500000><0.000000 0.000000><true><false>\n"
              "horizontal <0.5>\n"
              "leaf <Main><1.520000><0.000000 0.000000><0.000000 0.000000><true><false>\n"
              "leaf <n/a><1.520000><0.000000 0.000000><0.000000 0.000000><false><false>\n");

    const std::vector<CanvasWindow*> all = views_.views();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0]->rect(), (PixelRect{0, 0, 160, 240}));
    EXPECT_EQ(all[1]->rect(), (PixelRect{160, 0, 160, 120}));
    EXPECT_EQ(all[2]->rect(), (PixelRect{160, 120, 160, 120}));

    // A resize lays every view out anew.
    views_.resize(101, 101);
    EXPECT_EQ(views_.views()[2]->rect(), (PixelRect{50, 50, 51, 51}));
}

TEST_F(CanvasViewsTest, LayoutRoundTripsWithDiagramsCameraAndFlags) {
    const char* text =
        "horizontal <0.3>\n"
        "leaf <Main><2.000000><1.500000 -2.250000><12.000000 -30.000000><false><true>\n"
        "vertical <0.75>\n"
        "leaf <Other><0.500000><0.000000 4.000000><0.000000 0.000000><true><false>\n"
        "leaf <Missing><1.000000><0.000000 0.000000><0.000000 0.000000><true><true>\n";
    views_.setVisualizer(&visualizer_);
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    std::istringstream in(std::string(text) + "[Next section]\n");
    views_.readLayout(in, &model_.result);
    // Reading stops with the line that fills the last view.
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "[Next section]");
    std::string expected = text;
    expected.replace(expected.find("Missing"), 7, "n/a"); // not in the model
    EXPECT_EQ(layout(views_), expected);
    if (german)
        std::setlocale(LC_ALL, "C");

    const std::vector<CanvasWindow*> all = views_.views();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(views_.activeView(), all[0]);
    EXPECT_EQ(all[0]->diagram, main_);
    EXPECT_EQ(all[1]->diagram, other_);
    EXPECT_EQ(all[2]->diagram, nullptr);
    for (CanvasWindow* view : all)
        EXPECT_EQ(view->visualizer, &visualizer_); // copied from the view that survived
    EXPECT_EQ(all[0]->rect(), (PixelRect{0, 0, 320, 72}));

    // Reading it again collapses the tree first: the same three views, not more.
    std::istringstream again(text);
    views_.readLayout(again, &model_.result);
    EXPECT_EQ(views_.views().size(), 3u);
}

TEST_F(CanvasViewsTest, LayoutValuesThatWouldBreakAViewReadAsDefaults) {
    std::istringstream in("vertical <1.5>\n"
                          "leaf <Main><-3><nan 0><0 inf><true><false>\n"
                          "horizontal <nan>\n"
                          "leaf <Main><0><0 0><0 0><true><false>\n"
                          "leaf <Main><0.25><0 0><0 0><true><false>\n");
    views_.readLayout(in, &model_.result);
    EXPECT_FLOAT_EQ(views_.root().fraction, 0.5f);
    EXPECT_FLOAT_EQ(views_.root().second->fraction, 0.5f);
    const std::vector<CanvasWindow*> all = views_.views();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_FLOAT_EQ(all[0]->zoom, 1.0f);
    EXPECT_FLOAT_EQ(all[0]->pan[0], 0.0f);
    EXPECT_FLOAT_EQ(all[0]->rotation[1], 0.0f);
    EXPECT_FLOAT_EQ(all[1]->zoom, 1.0f);
    EXPECT_FLOAT_EQ(all[2]->zoom, 0.25f);
}

TEST_F(CanvasViewsTest, DeepStoredLayoutsStopAtTheDepthLimitAndAreReadToTheirEnd) {
    // A hundred nested splits: the tree keeps 32 levels, the rest of the layout is read past
    // so that what follows it in the file still lines up.
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "vertical <0.5>\n";
    for (int i = 0; i < 101; ++i)
        text += "leaf <Main><1><0 0><0 0><true><false>\n";
    text += "[Metric properties]\n";
    std::istringstream in(text);
    views_.readLayout(in, &model_.result);
    EXPECT_EQ(views_.views().size(), 33u);
    std::string next;
    std::getline(in, next);
    EXPECT_EQ(next, "[Metric properties]");
}

TEST_F(CanvasViewsTest, WithoutAModelOnlyTheSplitsAreRebuilt) {
    views_.setDiagram(main_);
    const float zoom = views_.activeView()->zoom;
    std::istringstream in("vertical <0.5>\n"
                          "leaf <Other><3.000000><0 0><0 0><false><true>\n"
                          "leaf <Other><3.000000><0 0><0 0><false><true>\n");
    views_.readLayout(in, nullptr);
    ASSERT_EQ(views_.views().size(), 2u);
    for (CanvasWindow* view : views_.views()) {
        EXPECT_EQ(view->diagram, main_);
        EXPECT_TRUE(view->perspective);
    }
    EXPECT_FLOAT_EQ(views_.activeView()->zoom, zoom);
}

TEST_F(CanvasViewsTest, DeletingActivatesTheLeftmostLeafOfTheMergedNode) {
    // Left | (lower right / upper right); deleting the left view leaves the right pair.
    views_.splitActiveWindow(false);
    CanvasWindow* left = views_.activeView();
    views_.activate(views_.root().second.get());
    views_.splitActiveWindow(true);
    CanvasWindow* lowerRight = views_.activeView();
    CanvasWindow* upperRight = views_.root().second->second->view.get();

    views_.activate(views_.root().first.get());
    ASSERT_EQ(views_.activeView(), left);
    views_.deleteActiveWindow();
    EXPECT_EQ(views_.activeView(), lowerRight);
    EXPECT_EQ(views_.activeNode()->parent, &views_.root());
    EXPECT_TRUE(views_.root().horizontal);
    EXPECT_EQ(lowerRight->rect(), (PixelRect{0, 0, 320, 120}));
    EXPECT_EQ(upperRight->rect(), (PixelRect{0, 120, 320, 120}));

    views_.deleteActiveWindow();
    EXPECT_EQ(views_.activeView(), upperRight);
    EXPECT_EQ(views_.activeNode(), &views_.root());
    EXPECT_EQ(upperRight->rect(), (PixelRect{0, 0, 320, 240}));
    views_.deleteActiveWindow(); // the only view stays
    EXPECT_EQ(views_.activeView(), upperRight);
}

TEST_F(CanvasViewsTest, SeparatorDragStopsATenthFromTheEdge) {
    views_.splitActiveWindow(false); // separator at x = 160
    MouseEvent grab = mouse(Kind::Motion, 161, 100);
    views_.onMouse(grab);
    EXPECT_EQ(host_.cursor, CanvasCursor::ResizeLeftRight);

    MouseEvent drag = mouse(Kind::Motion, 0, 100);
    drag.leftIsDown = true;
    views_.onMouse(drag);
    EXPECT_FLOAT_EQ(views_.root().fraction, 0.1f);
    EXPECT_EQ(views_.activeView()->rect(), (PixelRect{0, 0, 32, 240}));

    drag.x = 200;
    views_.onMouse(drag);
    EXPECT_NEAR(views_.root().fraction, 200.0f / 319.0f, 1e-6f);

    views_.onMouse(mouse(Kind::LeftUp, 200, 100)); // released over the right view
    views_.onMouse(mouse(Kind::Motion, 100, 100));
    EXPECT_EQ(host_.cursor, CanvasCursor::Default);
}

TEST_F(CanvasViewsTest, ClickInAnotherViewActivatesItOnReleaseOnly) {
    UMLSelectionList selection;
    views_.setSelectionList(&selection);
    views_.setVisualizer(&visualizer_);
    views_.setDiagram(main_);
    views_.splitActiveWindow(false);
    CanvasWindow* left = views_.activeView();
    CanvasWindow* right = views_.views()[1];
    views_.onMouse(mouse(Kind::Motion, 60, 120));
    const int lastX = views_.pointer.lastX;

    // Over the class in the right view: the press neither activates nor selects.
    views_.onMouse(mouse(Kind::LeftDown, 240, 120));
    EXPECT_EQ(views_.activeView(), left);
    EXPECT_TRUE(selection.empty());
    views_.onMouse(mouse(Kind::LeftUp, 240, 120));
    EXPECT_EQ(views_.activeView(), right);
    EXPECT_TRUE(selection.empty());
    EXPECT_EQ(views_.pointer.lastX, lastX);

    // Now it is active, its own clicks select.
    views_.onMouse(mouse(Kind::LeftDown, 240, 120));
    EXPECT_EQ(selection.size(), 1u);
}

TEST_F(CanvasViewsTest, ForgettingTheModelLeavesNoViewPointingIntoIt) {
    UMLSelectionList selection;
    views_.setSelectionList(&selection);
    views_.setVisualizer(&visualizer_);
    views_.setDiagram(main_);
    views_.splitActiveWindow(true);
    views_.onMouse(mouse(Kind::Motion, 160, 180)); // hover pick over the class
    EXPECT_FALSE(views_.activeView()->hoverHits().empty());

    views_.forgetModel();
    for (CanvasWindow* view : views_.views()) {
        EXPECT_EQ(view->diagram, nullptr);
        EXPECT_TRUE(view->hoverHits().empty());
        EXPECT_EQ(view->visualizer, &visualizer_); // the registry outlives models
    }
    EXPECT_EQ(views_.selectionList(), nullptr);
    // Clicks without a model do nothing.
    views_.onMouse(mouse(Kind::LeftDown, 160, 180));
    EXPECT_TRUE(selection.empty());
}

} // namespace
