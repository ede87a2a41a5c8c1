// The options panel driven through its controls: the layout controls and the active metric
// visualizer, the metrics list with its check boxes, the per-metric options and the preview.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>

#include "graphics/CanvasViews.h"
#include "gui/Canvas.h"
#include "gui/GlobalOptionsDialog.h"
#include "gui/GuiTestSupport.h"
#include "gui/Ids.h"
#include "gui/MainFrame.h"
#include "gui/OptionsPanel.h"
#include "gui/brCheckListCtrl.h"
#include "gui/brLayoutPreview.h"
#include "metrics/MetricCollection.h"
#include "visualizers/MetricsVisualizer.h"

namespace {

const char* const intGlyphs[] = {"2D Pie",      "2D Heightbar",     "3D Bar",
                                 "3D Cylinder", "2D Radius Circle", "2D Colored Square"};
const char* const boolGlyphs[] = {"2D Checkbox", "2D Radius Circle", "2D Colored Square"};

class OptionsPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new mainFrame("Brennimore", wxDefaultPosition, wxSize(1000, 800));
        frame->Show();
        flushEvents();
    }
    void TearDown() override {
        frame->Destroy();
        flushEvents();
    }

    template <class T> T* control(int id) { return static_cast<T*>(frame->FindWindow(id)); }
    bool enabled(int id) { return frame->FindWindow(id)->IsEnabled(); }
    brCheckListCtrl* list() { return frame->getOptionsPanel()->getList(); }
    MetricCollection& metrics() { return *frame->getMetricCollection(); }
    MetricProperties& properties(const std::string& name) { return *metrics().properties[name]; }
    MetricsVisualizer* active() {
        return dynamic_cast<MetricsVisualizer*>(
            frame->getCanvas()->views().activeView()->visualizer);
    }

    void loadExample() {
        frame->loadModel(BRENNIMORE_SOURCE_DIR "/examples/webshop.xmi");
        flushEvents();
        ASSERT_TRUE(frame->getMetricCollection()) << "the example's metrics load with it";
    }
    // Delivers an event to a control as the toolkit would, from where it bubbles up.
    void deliver(int id, wxEvent& event) {
        wxWindow* window = frame->FindWindow(id);
        event.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(event);
    }
    void slide(int id, int position) {
        control<wxSlider>(id)->SetValue(position);
        wxScrollEvent event(wxEVT_SCROLL_THUMBTRACK, id, position);
        deliver(id, event);
    }
    void check(int id, bool on) {
        control<wxCheckBox>(id)->SetValue(on);
        wxCommandEvent event(wxEVT_CHECKBOX, id);
        event.SetInt(on);
        deliver(id, event);
    }
    void press(int id) {
        wxCommandEvent event(wxEVT_BUTTON, id);
        deliver(id, event);
    }
    void chooseGlyph(const std::string& name) {
        auto* choice = control<wxChoice>(ID_GLYPH_CHOICE);
        ASSERT_TRUE(choice->SetStringSelection(name)) << name;
        wxCommandEvent event(wxEVT_CHOICE, ID_GLYPH_CHOICE);
        event.SetInt(choice->GetSelection());
        deliver(ID_GLYPH_CHOICE, event);
    }
    void chooseVisualizer(const std::string& name) {
        auto* choice = control<wxChoice>(ID_VISUALIZER_CHOICE);
        ASSERT_TRUE(choice->SetStringSelection(name)) << name;
        wxCommandEvent event(wxEVT_CHOICE, ID_VISUALIZER_CHOICE);
        event.SetInt(choice->GetSelection());
        frame->ProcessWindowEvent(event);
    }
    // A press on the row's check-box picture or on its name, through the list's own mouse
    // handling.
    void clickRow(const std::string& name, bool onPicture) {
        const int row = list()->findRow(name);
        ASSERT_GE(row, 0) << name;
        list()->EnsureVisible(row);
        flushEvents();
        const wxPoint at = onPicture ? list()->picturePoint(row) : list()->labelPoint(row);
        for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
            wxMouseEvent event(type);
            event.SetPosition(at);
            event.SetEventObject(list()->mouseWindow());
            list()->mouseWindow()->GetEventHandler()->ProcessEvent(event);
        }
        flushEvents();
        ASSERT_EQ(list()->getSelectedRow(), row) << name;
    }
    void pressPreview(const std::string& metric, wxEventType type) {
        brLayoutPreview* preview = frame->getOptionsPanel()->getPreview();
        wxRect cell;
        ASSERT_TRUE(preview->cellRect(metric, cell)) << metric;
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(cell.x + cell.width / 2, cell.y + cell.height / 2));
        event.SetEventObject(preview);
        preview->GetEventHandler()->ProcessEvent(event);
    }
    std::vector<std::string> glyphChoices() {
        std::vector<std::string> names;
        auto* choice = control<wxChoice>(ID_GLYPH_CHOICE);
        for (unsigned i = 0; i < choice->GetCount(); ++i)
            names.push_back(choice->GetString(i).ToStdString());
        return names;
    }

    mainFrame* frame = nullptr;
};

const int metricControls[] = {ID_GLYPH_CHOICE,           ID_GLYPH_ALL,
                              ID_TRANSPARENCY_SLIDER,    ID_UPPER_THRESHOLD_SLIDER,
                              ID_LOWER_THRESHOLD_SLIDER, ID_ADVANCED_OPTIONS};

} // namespace

TEST_F(OptionsPanelTest, LayoutControlsDriveTheActiveMetricVisualizer) {
    MetricsVisualizer* simple = active();
    ASSERT_TRUE(simple);
    struct Case {
        int slider, position;
        float MetricsVisualizer::*field;
        float expected;
    };
    const Case cases[] = {
        {ID_ZOOM_SLIDER, -255, &MetricsVisualizer::zoom, 1.0f - 255.0f / 512.0f},
        {ID_ZOOM_SLIDER, 255, &MetricsVisualizer::zoom, 2.0f},
        {ID_ZOOM_SLIDER, 0, &MetricsVisualizer::zoom, 1.0f},
        {ID_HPAN_SLIDER, 255, &MetricsVisualizer::hPan, 2.0f},
        {ID_VPAN_SLIDER, -51, &MetricsVisualizer::vPan, -0.4f},
    };
    for (const Case& c : cases) {
        slide(c.slider, c.position);
        EXPECT_FLOAT_EQ(simple->*c.field, c.expected) << c.slider << " at " << c.position;
    }

    wxSpinEvent spin(wxEVT_SPINCTRL, ID_ROWS_SPIN);
    spin.SetPosition(3);
    control<wxSpinCtrl>(ID_ROWS_SPIN)->SetValue(3);
    deliver(ID_ROWS_SPIN, spin);
    EXPECT_EQ(simple->rows, 3);
    check(ID_ROWS_AUTOMATIC, true);
    EXPECT_EQ(simple->rows, -1);
    EXPECT_FALSE(enabled(ID_ROWS_SPIN));
    check(ID_ROWS_AUTOMATIC, false);
    EXPECT_EQ(simple->rows, 3) << "unchecking restores the spin's value";
    EXPECT_TRUE(enabled(ID_ROWS_SPIN));

    // Another visualizer brings its own fields into the controls.
    auto* unified =
        dynamic_cast<MetricsVisualizer*>(frame->getVisualizers().at("Unified Element Size").get());
    struct Shown {
        float zoom, pan;
        int zoomSlider, panSlider;
    };
    for (const Shown& s : {Shown{2.0f, 1.0f, 255, 127}, Shown{0.75f, -2.0f, -128, -255},
                           Shown{0.25f, 9.0f, -255, 255}}) {
        unified->zoom = s.zoom;
        unified->hPan = s.pan;
        unified->rows = -1;
        chooseVisualizer("Unified Element Size");
        EXPECT_EQ(control<wxSlider>(ID_ZOOM_SLIDER)->GetValue(), s.zoomSlider) << s.zoom;
        EXPECT_EQ(control<wxSlider>(ID_HPAN_SLIDER)->GetValue(), s.panSlider) << s.pan;
        EXPECT_TRUE(control<wxCheckBox>(ID_ROWS_AUTOMATIC)->GetValue());
        EXPECT_FALSE(enabled(ID_ROWS_SPIN));
        chooseVisualizer("Simple Metrics");
    }

    // A split view shares the visualizer; "Standard UML" has no grid to edit.
    wxCommandEvent split(wxEVT_BUTTON, ID_SPLIT_VERTICAL);
    frame->ProcessWindowEvent(split);
    EXPECT_EQ(control<wxSpinCtrl>(ID_ROWS_SPIN)->GetValue(), 3);
    EXPECT_TRUE(enabled(ID_ZOOM_SLIDER));
    chooseVisualizer("Standard UML");
    for (int id : {ID_ROWS_SPIN, ID_ROWS_AUTOMATIC, ID_ZOOM_SLIDER, ID_HPAN_SLIDER, ID_VPAN_SLIDER})
        EXPECT_FALSE(enabled(id)) << id;
    slide(ID_ZOOM_SLIDER, 100);
    EXPECT_FLOAT_EQ(simple->zoom, 1.0f);
}

TEST_F(OptionsPanelTest, LoadListsMetricsByNameWithDefaultsOfEveryAcceptingGlyph) {
    loadExample();
    ASSERT_EQ(list()->rowCount(), static_cast<int>(metrics().properties.size()));
    for (int i = 1; i < list()->rowCount(); ++i)
        EXPECT_LT(list()->row(i - 1).name, list()->row(i).name);
    EXPECT_EQ(list()->row(list()->findRow("Has tests")).kind, brCheckListCtrl::BoolKind);
    EXPECT_EQ(list()->row(list()->findRow("Lines of code")).kind, brCheckListCtrl::IntKind);
    EXPECT_TRUE(enabled(ID_METRIC_LIST));
    for (int id : metricControls)
        EXPECT_FALSE(enabled(id)) << "nothing selected yet: " << id;
    EXPECT_FALSE(frame->isMetricsCommandEnabled());

    for (const auto& [name, record] : metrics().properties)
        EXPECT_EQ(record->viz, nullptr) << name << " gets its glyph when first selected";
    Configuration& lines = properties("Lines of code").config();
    Configuration& tests = properties("Has tests").config();
    EXPECT_FLOAT_EQ(lines.floats().at("2D Pie.MinRadius"), 0.7853982f);
    EXPECT_FLOAT_EQ(lines.floats().at("3D Cylinder.MaxHeight"), 128.0f);
    EXPECT_EQ(lines.colors().count("2D Checkbox.TrueFillColor"), 0u);
    EXPECT_EQ(tests.colors().count("2D Checkbox.TrueFillColor"), 1u);
    EXPECT_EQ(tests.floats().count("2D Pie.MinRadius"), 0u);
    EXPECT_EQ(tests.colormaps().count("2D Colored Square.Colormap"), 1u);

    sendCommand(frame, ID_MENU_CLOSE_MODEL);
    EXPECT_EQ(list()->rowCount(), 0);
    for (int id : {ID_METRIC_LIST, ID_ROWS_SPIN, ID_ZOOM_SLIDER, ID_METRICS_SLIDER})
        EXPECT_FALSE(enabled(id)) << id;
}

TEST_F(OptionsPanelTest, SelectingAMetricOffersItsGlyphsThresholdsAndTransparency) {
    loadExample();
    clickRow("Lines of code", false);
    EXPECT_FALSE(list()->row(list()->getSelectedRow()).checked) << "the name does not toggle";
    EXPECT_EQ(metrics().activeMetrics.count("Lines of code"), 0u);
    EXPECT_EQ(glyphChoices(), std::vector<std::string>(std::begin(intGlyphs), std::end(intGlyphs)));
    EXPECT_EQ(properties("Lines of code").viz, findGlyph(frame->getGlyphs(), "2D Pie"));
    const auto [min, max] = metrics().ranges.at("Lines of code");
    auto* upper = control<wxSlider>(ID_UPPER_THRESHOLD_SLIDER);
    auto* lower = control<wxSlider>(ID_LOWER_THRESHOLD_SLIDER);
    EXPECT_TRUE(upper->IsEnabled());
    EXPECT_EQ(upper->GetMin(), min - 1);
    EXPECT_EQ(upper->GetMax(), max + 1);
    EXPECT_EQ(upper->GetValue(), max + 1);
    EXPECT_EQ(lower->GetValue(), -1);
    EXPECT_EQ(control<wxSlider>(ID_TRANSPARENCY_SLIDER)->GetValue(), 255);
    // "Advanced options..." opens the options dialog on the metric's own settings, with its
    // glyph's group selected.
    ASSERT_TRUE(enabled(ID_ADVANCED_OPTIONS));
    std::string openedOn;
    frame->setDialogRunner([&openedOn](wxDialog& dialog) {
        if (auto* options = dynamic_cast<GlobalOptionsDialog*>(&dialog))
            openedOn = options->selectedKey();
        return wxID_CANCEL;
    });
    wxCommandEvent advanced(wxEVT_BUTTON, ID_ADVANCED_OPTIONS);
    advanced.SetEventObject(frame->FindWindow(ID_ADVANCED_OPTIONS));
    frame->FindWindow(ID_ADVANCED_OPTIONS)->GetEventHandler()->ProcessEvent(advanced);
    EXPECT_EQ(openedOn, "2D Pie");
    frame->setDialogRunner(nullptr);

    slide(ID_TRANSPARENCY_SLIDER, 51);
    slide(ID_UPPER_THRESHOLD_SLIDER, 300);
    slide(ID_LOWER_THRESHOLD_SLIDER, 60);
    chooseGlyph("3D Bar");
    Configuration& config = properties("Lines of code").config();
    EXPECT_FLOAT_EQ(config.getFloat("Transparency"), 0.2f);
    EXPECT_FLOAT_EQ(config.getFloat(".UpperThreshold"), 300.0f);
    EXPECT_FLOAT_EQ(config.getFloat(".LowerThreshold"), 60.0f);
    EXPECT_EQ(properties("Lines of code").viz, findGlyph(frame->getGlyphs(), "3D Bar"));

    // The picture toggles, also on the row that is already selected.
    clickRow("Lines of code", true);
    EXPECT_TRUE(list()->row(list()->findRow("Lines of code")).checked);
    EXPECT_EQ(metrics().activeMetrics.count("Lines of code"), 1u);
    EXPECT_EQ(control<wxChoice>(ID_GLYPH_CHOICE)->GetStringSelection(), "3D Bar");
    clickRow("Lines of code", true);
    EXPECT_EQ(metrics().activeMetrics.count("Lines of code"), 0u);
    clickRow("Lines of code", true);

    clickRow("Has tests", true);
    EXPECT_FALSE(upper->IsEnabled());
    EXPECT_FALSE(lower->IsEnabled());
    EXPECT_EQ(glyphChoices(),
              std::vector<std::string>(std::begin(boolGlyphs), std::end(boolGlyphs)));
    clickRow("Is deprecated", true);
    chooseGlyph("2D Colored Square");
    press(ID_GLYPH_ALL);
    MetricViz* square = findGlyph(frame->getGlyphs(), "2D Colored Square");
    EXPECT_EQ(properties("Has tests").viz, square);
    EXPECT_EQ(properties("Lines of code").viz, findGlyph(frame->getGlyphs(), "3D Bar"))
        << "an integer metric keeps its glyph";
    clickRow("Lines of code", false);
    press(ID_GLYPH_ALL);
    EXPECT_EQ(properties("Has tests").viz, square) << "a boolean metric keeps its glyph";
}

TEST_F(OptionsPanelTest, ThresholdSlidersStayWithinWhatASliderHolds) {
    struct Case {
        std::int32_t min, max;
        int low, high;
    };
    const int bound = (1 << 30) - 16;
    const Case cases[] = {
        {0, 10, -1, 11},
        {5, 5, 4, 6},
        {INT32_MIN, INT32_MAX, -bound, bound},
        {INT32_MAX, INT32_MAX, bound - 1, bound},
        {INT32_MIN, INT32_MIN, -bound, -bound + 1},
    };
    for (const Case& c : cases) {
        const SliderRange r = thresholdSliderRange(c.min, c.max);
        EXPECT_EQ(r.min, c.low) << c.min << ".." << c.max;
        EXPECT_EQ(r.max, c.high) << c.min << ".." << c.max;
    }

    loadExample();
    metrics().ranges["Lines of code"] = {INT32_MIN, INT32_MAX};
    properties("Lines of code").config().setFloat(".UpperThreshold", 4294967296.0f);
    clickRow("Lines of code", false);
    auto* upper = control<wxSlider>(ID_UPPER_THRESHOLD_SLIDER);
    EXPECT_EQ(upper->GetMin(), -bound);
    EXPECT_EQ(upper->GetMax(), bound);
    EXPECT_EQ(upper->GetValue(), bound) << "a threshold beyond the range sits at its end";
}

TEST_F(OptionsPanelTest, ListEventsWithoutMetricsDoNothing) {
    for (bool afterClose : {false, true}) {
        if (afterClose) {
            loadExample();
            clickRow("Lines of code", true);
            sendCommand(frame, ID_MENU_CLOSE_MODEL);
        }
        wxListEvent selected(wxEVT_LIST_ITEM_SELECTED, ID_METRIC_LIST);
        selected.m_itemIndex = 0;
        deliver(ID_METRIC_LIST, selected);
        wxCommandEvent chosen(wxEVT_CHOICE, ID_GLYPH_CHOICE);
        deliver(ID_GLYPH_CHOICE, chosen);
        press(ID_GLYPH_ALL);
        slide(ID_TRANSPARENCY_SLIDER, 10);
        EXPECT_EQ(list()->getSelectedRow(), -1);
        EXPECT_EQ(control<wxChoice>(ID_GLYPH_CHOICE)->GetCount(), 0u);
        for (int id : metricControls)
            EXPECT_FALSE(enabled(id)) << id << (afterClose ? " after close" : "");
    }
}

TEST_F(OptionsPanelTest, RowPictureShowsCheckSwatchAndAReadableKindLetter) {
    struct Case {
        wxColour colour;
        bool darkLetter;
    };
    const Case cases[] = {{wxColour(255, 255, 0), true},
                          {wxColour(0, 0, 255), false},
                          {wxColour(0, 255, 0), true},
                          {wxColour(255, 0, 0), false}};
    for (const Case& c : cases) {
        const wxImage image = brCheckListCtrl::rowImage(false, c.colour, brCheckListCtrl::IntKind);
        ASSERT_EQ(image.GetWidth(), 40);
        ASSERT_EQ(image.GetHeight(), 15);
        // Inside the swatch every pixel is the swatch colour or part of the letter, which is
        // darker or lighter than the swatch throughout.
        const int swatch = c.colour.Red() + c.colour.Green() + c.colour.Blue();
        int dark = 0, light = 0;
        for (int x = 21; x < 38; ++x)
            for (int y = 2; y < 13; ++y) {
                const int sum = image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y);
                dark += sum < swatch - 90;
                light += sum > swatch + 90;
            }
        EXPECT_GT(c.darkLetter ? dark : light, 0) << c.colour.GetAsString().ToStdString();
        EXPECT_EQ(c.darkLetter ? light : dark, 0) << c.colour.GetAsString().ToStdString();
        EXPECT_EQ(image.GetRed(30, 1), 0) << "black swatch outline";
    }
    const wxImage on = brCheckListCtrl::rowImage(true, *wxWHITE, brCheckListCtrl::BoolKind);
    const wxImage off = brCheckListCtrl::rowImage(false, *wxWHITE, brCheckListCtrl::BoolKind);
    int differing = 0;
    for (int x = 0; x < 15; ++x)
        for (int y = 0; y < 15; ++y)
            differing += on.GetRed(x, y) != off.GetRed(x, y);
    EXPECT_GT(differing, 5) << "checked and unchecked pictures differ";
}

TEST_F(OptionsPanelTest, PreviewCellsPickAndRightClickHidesTheMetric) {
    loadExample();
    clickRow("Has tests", true);
    clickRow("Lines of code", true);
    MetricsVisualizer* v = active();
    Point lowerLeft, upperRight;
    ASSERT_TRUE(v->layoutMetric("Has tests", 0, 0, 99, 99, lowerLeft, upperRight, true));

    pressPreview("Has tests", wxEVT_LEFT_DOWN);
    EXPECT_EQ(list()->getSelectedRow(), list()->findRow("Has tests"));
    EXPECT_EQ(frame->getOptionsPanel()->getPreview()->getSelectedMetric(), "Has tests");
    EXPECT_EQ(metrics().activeMetrics.count("Has tests"), 1u) << "a left press only selects";
    EXPECT_FALSE(enabled(ID_UPPER_THRESHOLD_SLIDER)) << "the boolean metric's options";

    pressPreview("Lines of code", wxEVT_RIGHT_DOWN);
    EXPECT_EQ(list()->getSelectedRow(), list()->findRow("Lines of code"));
    EXPECT_EQ(metrics().activeMetrics.count("Lines of code"), 0u);
    EXPECT_FALSE(list()->row(list()->findRow("Lines of code")).checked);
    EXPECT_FALSE(v->layoutMetric("Lines of code", 0, 0, 99, 99, lowerLeft, upperRight, true))
        << "the views no longer give it a cell";
    wxRect whole;
    ASSERT_TRUE(frame->getOptionsPanel()->getPreview()->cellRect("Has tests", whole));
    EXPECT_GT(whole.width, 50) << "the remaining metric takes the whole element";
}
