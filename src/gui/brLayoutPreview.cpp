#include "gui/brLayoutPreview.h"

#include <cmath>

#include <wx/dcbuffer.h>

#include "gui/brCheckListCtrl.h"
#include "metrics/MetricCollection.h"
#include "visualizers/MetricsVisualizer.h"

brLayoutPreview::brLayoutPreview(wxWindow* parent, wxWindowID id, const wxSize& size)
    : wxPanel(parent, id, wxDefaultPosition, size, wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(size);
    Bind(wxEVT_PAINT, &brLayoutPreview::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &brLayoutPreview::onMouseDown, this);
    Bind(wxEVT_RIGHT_DOWN, &brLayoutPreview::onMouseDown, this);
}

void brLayoutPreview::setSources(VisualizerSource visualizer, const brCheckListCtrl* rows) {
    visualizerSource = std::move(visualizer);
    list = rows;
}

void brLayoutPreview::setSelectedMetric(const std::string& name) {
    selectedMetric = name;
    Refresh(false);
}

MetricsVisualizer* brLayoutPreview::visualizerWithMetrics() const {
    MetricsVisualizer* v = visualizerSource ? visualizerSource() : nullptr;
    return v && v->metrics && list ? v : nullptr;
}

bool brLayoutPreview::cellRect(const std::string& name, wxRect& out) const {
    const MetricsVisualizer* v = visualizerWithMetrics();
    if (!v)
        return false;
    const wxSize size = GetClientSize();
    const float right = static_cast<float>(size.x - 1);
    const float bottom = static_cast<float>(size.y - 1);
    Point lowerLeft, upperRight;
    if (!v->layoutMetric(name, 0.0f, 0.0f, right, bottom, lowerLeft, upperRight, true))
        return false;
    // The layout counts y upwards like a diagram; the window counts it downwards.
    const int x1 = static_cast<int>(std::lround(lowerLeft.x));
    const int x2 = static_cast<int>(std::lround(upperRight.x));
    const int y1 = static_cast<int>(std::lround(bottom - upperRight.y));
    const int y2 = static_cast<int>(std::lround(bottom - lowerLeft.y));
    if (x2 < x1 || y2 < y1)
        return false;
    out = wxRect(wxPoint(x1, y1), wxPoint(x2, y2));
    return true;
}

std::string brLayoutPreview::metricAt(const wxPoint& point) const {
    const MetricsVisualizer* v = visualizerWithMetrics();
    if (!v)
        return std::string();
    for (const std::string& name : v->metrics->activeMetrics) {
        wxRect cell;
        if (cellRect(name, cell) && cell.Contains(point))
            return name;
    }
    return std::string();
}

void brLayoutPreview::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetPen(wxPen(wxColour(255, 0, 0), 1));
    dc.SetBrush(wxBrush(wxColour(255, 255, 238)));
    dc.DrawRectangle(0, 0, size.x, size.y);
    const MetricsVisualizer* v = visualizerWithMetrics();
    if (!v)
        return;
    for (const std::string& name : v->metrics->activeMetrics) {
        wxRect cell;
        if (!cellRect(name, cell))
            continue;
        const int index = list->findRow(name);
        dc.SetBrush(wxBrush(index >= 0 ? list->row(index).colour : *wxWHITE));
        wxPen pen(*wxBLACK, name == selectedMetric ? 3 : 1);
        if (name == selectedMetric)
            pen.SetJoin(wxJOIN_MITER);
        dc.SetPen(pen);
        dc.DrawRectangle(cell);
    }
}

void brLayoutPreview::onMouseDown(wxMouseEvent& event) {
    event.Skip();
    const std::string name = metricAt(event.GetPosition());
    if (!name.empty() && cellPressed)
        cellPressed(name, event.RightDown());
}
