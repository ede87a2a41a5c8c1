#pragma once
// The layout preview: one model element drawn as a rectangle and, inside it, the cell of
// every shown metric as the active metric visualizer lays out its glyphs. Pressing a cell
// picks that metric.
#include <functional>
#include <string>

#include <wx/panel.h>

class MetricsVisualizer;
class brCheckListCtrl;

class brLayoutPreview : public wxPanel {
public:
    brLayoutPreview(wxWindow* parent, wxWindowID id, const wxSize& size);

    // The visualizer of the active view when it is a metric visualizer, else null.
    using VisualizerSource = std::function<MetricsVisualizer*()>;
    // The list gives the colour of each metric's cell; it outlives the preview's use of it.
    void setSources(VisualizerSource visualizer, const brCheckListCtrl* list);
    // The metric whose cell is outlined boldly; empty for none.
    void setSelectedMetric(const std::string& name);
    const std::string& getSelectedMetric() const { return selectedMetric; }

    // Called with the metric whose cell was pressed and whether it was the right button.
    using CellPressed = std::function<void(const std::string& metric, bool right)>;
    void setCellPressed(CellPressed handler) { cellPressed = std::move(handler); }

    // The cell of a shown metric in window pixels; false when the metric has none.
    bool cellRect(const std::string& name, wxRect& out) const;
    // The shown metric whose cell contains the point; empty when none does.
    std::string metricAt(const wxPoint& point) const;

private:
    MetricsVisualizer* visualizerWithMetrics() const;
    void onPaint(wxPaintEvent& event);
    void onMouseDown(wxMouseEvent& event);

    VisualizerSource visualizerSource;
    const brCheckListCtrl* list = nullptr; // a sibling window, owned by wx
    std::string selectedMetric;
    CellPressed cellPressed;
};
