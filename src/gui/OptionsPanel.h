#pragma once
// The options panel below the model tree: the layout preview with the controls of the active
// metric visualizer's glyph grid, the list of loaded metrics with the check boxes that show
// them, and the glyph, transparency and thresholds of the metric selected in the list.
#include <cstdint>
#include <functional>
#include <string>

#include <wx/panel.h>
#include <wx/scrolwin.h>

#include "visualizers/MetricViz.h"

class MetricCollection;
struct MetricProperties;
class MetricsVisualizer;
class brCheckListCtrl;
class brLayoutPreview;
class wxChoice;
class wxCheckBox;
class wxCommandEvent;
class wxListEvent;
class wxScrollEvent;
class wxSlider;
class wxSpinCtrl;
class wxSpinEvent;

// Slider positions of the layout controls and the visualizer fields they stand for.
namespace layoutSliders {
constexpr int limit = 255;
float zoomFromSlider(int v);
int sliderFromZoom(float zoom);
float panFromSlider(int v);
int sliderFromPan(float pan);
} // namespace layoutSliders

// The threshold slider range for an integer metric's values: one beyond each end, kept
// within what a slider can hold.
struct SliderRange {
    int min;
    int max;
};
SliderRange thresholdSliderRange(std::int32_t min, std::int32_t max);

class OptionsPanel : public wxScrolled<wxPanel> {
public:
    // What the panel reads and asks of the window it sits in.
    struct Host {
        std::function<MetricCollection*()> metrics;     // the current metrics, or null
        std::function<MetricsVisualizer*()> visualizer; // the active view's, or null
        std::function<void()> repaintCanvas;
        const GlyphRegistry* glyphs = nullptr; // owned by the frame, outlives the panel
    };

    OptionsPanel(wxWindow* parent, Host host);

    // Fills the list from a freshly loaded collection and writes the defaults of every
    // glyph that can draw a metric into that metric's properties.
    void openMetrics(MetricCollection& metrics);
    // Empties the list and disables every metric control.
    void unloadMetrics();
    // Brings the layout controls and the preview in line with the active view.
    void syncWithActiveView();
    // Re-reads the check boxes from the shown metrics and the swatches from the metrics'
    // fill colours, after something else (a configuration file) changed them.
    void refreshFromMetrics();

    // "Advanced options..." edits the selected metric's properties through this; the button
    // stays disabled while there is none. The row and preview are refreshed afterwards.
    using AdvancedOptions = std::function<void(const std::string& metric, MetricProperties&)>;
    void setAdvancedOptions(AdvancedOptions handler);

    brCheckListCtrl* getList() const { return list; }
    brLayoutPreview* getPreview() const { return preview; }

private:
    void buildLayoutGroup(wxSizer* column);
    void buildMetricsGroup(wxSizer* column);
    void buildOptionsGroup(wxSizer* column);
    void enableMetricControls(bool enable);
    void enableLayoutControls(bool enable);

    // The selected metric's properties, or null when no metric is selected or loaded.
    MetricProperties* selectedProperties(std::string* name = nullptr) const;
    void selectRow(int row, bool toggleCheck);
    void fillGlyphChoice(int kind, MetricProperties& properties);
    void fillThresholds(const MetricCollection& metrics, int kind, const std::string& name,
                        MetricProperties& properties);
    void previewCellPressed(const std::string& metric, bool right);
    void repaintAll();

    void onRows(wxSpinEvent& event);
    void onAutomatic(wxCommandEvent& event);
    void onLayoutSlider(wxScrollEvent& event);
    void onMetricSlider(wxScrollEvent& event);
    void onMetricSelected(wxListEvent& event);
    void onGlyphChoice(wxCommandEvent& event);
    void onAll(wxCommandEvent& event);
    void onAdvanced(wxCommandEvent& event);

    Host host;
    AdvancedOptions advancedOptions;

    // Child windows, owned by wx.
    brLayoutPreview* preview = nullptr;
    wxSpinCtrl* rowsSpin = nullptr;
    wxCheckBox* automatic = nullptr;
    wxSlider* zoomSlider = nullptr;
    wxSlider* hPanSlider = nullptr;
    wxSlider* vPanSlider = nullptr;
    brCheckListCtrl* list = nullptr;
    wxChoice* glyphChoice = nullptr;
    wxWindow* allButton = nullptr;
    wxSlider* transparencySlider = nullptr;
    wxSlider* upperSlider = nullptr;
    wxSlider* lowerSlider = nullptr;
    wxWindow* advancedButton = nullptr;

    wxDECLARE_EVENT_TABLE();
};
