// The control strip, the view commands and the model tree acting on the canvas's views.
#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/slider.h>

#include "graphics/CanvasViews.h"
#include "gui/Canvas.h"
#include "gui/GuiTestSupport.h"
#include "gui/Ids.h"
#include "gui/MainFrame.h"
#include "gui/UMLModelTree.h"
#include "metrics/Metric.h"
#include "visualizers/MetricsVisualizer.h"
#include "xmi/XMIResult.h"

namespace {

class ViewCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new mainFrame("Brennimore", wxDefaultPosition, wxSize(1000, 700));
        frame->Show();
        flushEvents();
    }
    void TearDown() override {
        frame->Destroy();
        flushEvents();
    }
    CanvasViews& views() { return frame->getCanvas()->views(); }
    template <class T> T* control(int id) { return static_cast<T*>(frame->FindWindow(id)); }
    void press(int id) {
        wxCommandEvent event(wxEVT_BUTTON, id);
        event.SetEventObject(frame->FindWindow(id));
        frame->ProcessWindowEvent(event);
    }
    void loadExample() {
        frame->loadModel(BRENNIMORE_SOURCE_DIR "/examples/webshop.xmi");
        flushEvents();
    }
    // Selects the tree item of the named diagram as a user would.
    void chooseDiagram(const std::string& name) {
        UMLModelTree* tree = frame->getModelTree();
        for (const auto& [item, diagram] : tree->diagramItems)
            if (diagram->name == name) {
                tree->SelectItem(item);
                flushEvents();
                return;
            }
        FAIL() << "no diagram item " << name;
    }

    mainFrame* frame = nullptr;
};

} // namespace

TEST_F(ViewCommandsTest, StripStartsOnTheFirstViewWithSimpleMetrics) {
    auto* choice = control<wxChoice>(ID_VISUALIZER_CHOICE);
    ASSERT_EQ(choice->GetCount(), 4u);
    const char* names[] = {"Simple Metrics", "Standard UML", "Unified Element Size",
                           "Unified Metrics Size"};
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(choice->GetString(i), names[i]);
    EXPECT_EQ(choice->GetStringSelection(), "Simple Metrics");
    EXPECT_EQ(views().activeView()->visualizer, choice->GetClientData(0));
    EXPECT_TRUE(control<wxCheckBox>(ID_PERSPECTIVE)->GetValue());
    EXPECT_FALSE(frame->FindWindow(ID_DELETE_VIEW)->IsEnabled());
}

TEST_F(ViewCommandsTest, TreeChoiceShowsTheDiagramFittedAndCloseEmptiesEveryView) {
    loadExample();
    ASSERT_TRUE(views().activeView()->diagram) << "a model opens on its first diagram";
    chooseDiagram("Packages");
    EXPECT_EQ(views().activeView()->diagram->name, "Packages");
    chooseDiagram("Shop Overview");
    CanvasWindow* view = views().activeView();
    ASSERT_TRUE(view->diagram);
    EXPECT_EQ(view->diagram->name, "Shop Overview");
    const auto& b = view->diagram->bounds;
    const float fitted =
        0.95f * std::min(view->width / (b[2] - b[0]), view->height / (b[3] - b[1]));
    EXPECT_NEAR(view->zoom, fitted, 1e-4f * fitted);

    press(ID_SPLIT_VERTICAL);
    EXPECT_EQ(views().views().size(), 2u);
    EXPECT_TRUE(frame->FindWindow(ID_DELETE_VIEW)->IsEnabled());
    EXPECT_EQ(views().activeView()->diagram, view->diagram) << "the new view copies the diagram";

    sendCommand(frame, ID_MENU_CLOSE_MODEL);
    for (CanvasWindow* v : views().views())
        EXPECT_EQ(v->diagram, nullptr);
    EXPECT_EQ(views().selectionList(), nullptr);
    press(ID_DELETE_VIEW);
    EXPECT_FALSE(frame->FindWindow(ID_DELETE_VIEW)->IsEnabled());
}

TEST_F(ViewCommandsTest, StripControlsActOnTheActiveView) {
    press(ID_ZOOM_IN);
    EXPECT_FLOAT_EQ(views().activeView()->zoom, 1.25f);
    press(ID_ZOOM_OUT);
    EXPECT_FLOAT_EQ(views().activeView()->zoom, 1.0f);

    wxCommandEvent perspective(wxEVT_CHECKBOX, ID_PERSPECTIVE);
    perspective.SetInt(0);
    frame->ProcessWindowEvent(perspective);
    EXPECT_FALSE(views().activeView()->perspective);

    // The metrics slider moves the metric visualizer's in-range opacity, and only that.
    auto* metricsView = dynamic_cast<MetricsVisualizer*>(views().activeView()->visualizer);
    ASSERT_TRUE(metricsView);
    wxScrollEvent slide(wxEVT_SCROLL_THUMBTRACK, ID_METRICS_SLIDER, 51);
    frame->ProcessWindowEvent(slide);
    EXPECT_FLOAT_EQ(metricsView->inRangeOpacity, 0.2f);

    auto* choice = control<wxChoice>(ID_VISUALIZER_CHOICE);
    choice->SetSelection(1);
    wxCommandEvent chosen(wxEVT_CHOICE, ID_VISUALIZER_CHOICE);
    chosen.SetInt(1);
    frame->ProcessWindowEvent(chosen);
    UMLModelVisualizer* standard = views().activeView()->visualizer;
    EXPECT_EQ(standard, choice->GetClientData(1));
    wxScrollEvent model(wxEVT_SCROLL_THUMBTRACK, ID_MODEL_SLIDER, 255);
    frame->ProcessWindowEvent(model);
    EXPECT_FLOAT_EQ(standard->opacity, 1.0f);
    EXPECT_FLOAT_EQ(metricsView->inRangeOpacity, 0.2f);
}

TEST_F(ViewCommandsTest, UnloadedMetricsLeaveNoRecordOnTheElements) {
    loadExample();
    ASSERT_TRUE(frame->getMetricCollection());
    frame->unloadMetrics();
    for (const auto& object : frame->getModelData()->objects()) {
        if (auto* element = dynamic_cast<UMLModelElement*>(object.get())) {
            EXPECT_TRUE(getElementMetrics(*element).empty()) << element->id;
        }
    }
    // Drawing and picking walk the elements' records; with the model still shown they must
    // find none of the released ones.
    frame->getCanvas()->renderScene();
}
