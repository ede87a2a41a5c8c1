#include "gui/OptionsPanel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "gui/Ids.h"
#include "gui/brCheckListCtrl.h"
#include "gui/brLayoutPreview.h"
#include "metrics/MetricCollection.h"
#include "visualizers/MetricsVisualizer.h"

namespace layoutSliders {

float zoomFromSlider(int v) {
    return v >= 0 ? 1.0f + static_cast<float>(v) / 255.0f : 1.0f + static_cast<float>(v) / 512.0f;
}

namespace {
int clampedSlider(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(value), -double(limit), double(limit)));
}
} // namespace

int sliderFromZoom(float zoom) {
    const double z = zoom;
    return clampedSlider(z >= 1.0 ? (z - 1.0) * 255.0 : (z - 1.0) * 512.0);
}

float panFromSlider(int v) {
    return 2.0f * static_cast<float>(v) / 255.0f;
}

int sliderFromPan(float pan) {
    return clampedSlider(double(pan) * 255.0 * 0.5);
}

} // namespace layoutSliders

SliderRange thresholdSliderRange(std::int32_t min, std::int32_t max) {
    // The toolkit computes with the span of a slider's range as an int, so both ends stay
    // within half the int range.
    constexpr std::int64_t bound = (std::int64_t{1} << 30) - 16;
    const std::int64_t low = std::clamp<std::int64_t>(std::int64_t{min} - 1, -bound, bound - 1);
    const std::int64_t high = std::clamp<std::int64_t>(std::int64_t{max} + 1, low + 1, bound);
    return {static_cast<int>(low), static_cast<int>(high)};
}

namespace {

int sliderValue(double value, int low, int high) {
    if (!std::isfinite(value))
        return low;
    return static_cast<int>(std::clamp(std::trunc(value), double(low), double(high)));
}

wxColour swatchColour(Configuration& config) {
    const Color c = config.getColor("FillColor");
    auto byte = [](float v) {
        return static_cast<unsigned char>(sliderValue(double(v) * 255.0, 0, 255));
    };
    return wxColour(byte(c.r), byte(c.g), byte(c.b));
}

// The kind of every metric from one pass over the records: a large file has hundreds of
// metrics and many records of each.
std::map<std::string, int> metricKinds(const MetricCollection& metrics) {
    std::map<std::string, int> kinds;
    for (const auto& record : metrics.elementMetrics) {
        int& kind = kinds[record->name];
        if (dynamic_cast<const BoolMetric*>(record))
            kind = brCheckListCtrl::BoolKind;
        else if (kind == brCheckListCtrl::OtherKind && dynamic_cast<const IntMetric*>(record))
            kind = brCheckListCtrl::IntKind;
    }
    return kinds;
}

bool accepts(const MetricViz& glyph, int kind) {
    return (kind == brCheckListCtrl::BoolKind && glyph.acceptsBool()) ||
           (kind == brCheckListCtrl::IntKind && glyph.acceptsInt());
}

wxSlider* slider(wxWindow* parent, wxWindowID id, int value, int low, int high) {
    return new wxSlider(parent, id, value, low, high, wxDefaultPosition, wxSize(100, -1));
}

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(OptionsPanel, wxPanel)
    EVT_SPINCTRL(ID_ROWS_SPIN, OptionsPanel::onRows)
    EVT_CHECKBOX(ID_ROWS_AUTOMATIC, OptionsPanel::onAutomatic)
    EVT_COMMAND_SCROLL(ID_ZOOM_SLIDER, OptionsPanel::onLayoutSlider)
    EVT_COMMAND_SCROLL(ID_HPAN_SLIDER, OptionsPanel::onLayoutSlider)
    EVT_COMMAND_SCROLL(ID_VPAN_SLIDER, OptionsPanel::onLayoutSlider)
    EVT_COMMAND_SCROLL(ID_TRANSPARENCY_SLIDER, OptionsPanel::onMetricSlider)
    EVT_COMMAND_SCROLL(ID_UPPER_THRESHOLD_SLIDER, OptionsPanel::onMetricSlider)
    EVT_COMMAND_SCROLL(ID_LOWER_THRESHOLD_SLIDER, OptionsPanel::onMetricSlider)
    EVT_LIST_ITEM_SELECTED(ID_METRIC_LIST, OptionsPanel::onMetricSelected)
    EVT_LIST_ITEM_ACTIVATED(ID_METRIC_LIST, OptionsPanel::onMetricSelected)
    EVT_CHOICE(ID_GLYPH_CHOICE, OptionsPanel::onGlyphChoice)
    EVT_BUTTON(ID_GLYPH_ALL, OptionsPanel::onAll)
    EVT_BUTTON(ID_ADVANCED_OPTIONS, OptionsPanel::onAdvanced)
wxEND_EVENT_TABLE()
// clang-format on

OptionsPanel::OptionsPanel(wxWindow* parent, Host panelHost)
    : wxScrolled<wxPanel>(parent, wxID_ANY), host(std::move(panelHost)) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    buildLayoutGroup(column);
    buildMetricsGroup(column);
    buildOptionsGroup(column);
    SetSizer(column);
    // A small pane scrolls rather than squeezing the controls below their sizes.
    SetScrollRate(10, 10);
    FitInside();

    preview->setSources(host.visualizer, list);
    preview->setCellPressed(
        [this](const std::string& metric, bool right) { previewCellPressed(metric, right); });
    unloadMetrics();
}

void OptionsPanel::buildLayoutGroup(wxSizer* column) {
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Layout preview");
    // The controls are the box's siblings: as its children they would make the toolkit size
    // the box wider than the pane.
    wxWindow* box = this;
    preview = new brLayoutPreview(box, ID_LAYOUT_PREVIEW, wxSize(100, 70));
    group->Add(preview, 0, wxEXPAND | wxALL, 2);

    auto* grid = new wxFlexGridSizer(2, 2, 4);
    grid->AddGrowableCol(1);
    grid->Add(new wxStaticText(box, ID_ROWS_LABEL, "Rows"), 0, wxALIGN_CENTER_VERTICAL);
    // No wxSP_ARROW_KEYS: the arrow keys keep moving through the panel. The toolkit's spin
    // buttons need more than a two-digit width, so the control takes its own size.
    rowsSpin =
        new wxSpinCtrl(box, ID_ROWS_SPIN, "1", wxDefaultPosition, wxDefaultSize, 0, 1, 32, 1);
    grid->Add(rowsSpin, 0, wxALIGN_CENTER_VERTICAL);
    // Below the spin rather than beside it, so the group fits a narrow pane.
    grid->AddSpacer(0);
    automatic = new wxCheckBox(box, ID_ROWS_AUTOMATIC, "Automatic");
    grid->Add(automatic, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(new wxStaticText(box, ID_ZOOM_LABEL, "Zoom"), 0, wxALIGN_CENTER_VERTICAL);
    zoomSlider = slider(box, ID_ZOOM_SLIDER, 0, -layoutSliders::limit, layoutSliders::limit);
    grid->Add(zoomSlider, 1, wxEXPAND);
    grid->Add(new wxStaticText(box, ID_HPAN_LABEL, "HPan"), 0, wxALIGN_CENTER_VERTICAL);
    hPanSlider = slider(box, ID_HPAN_SLIDER, 0, -layoutSliders::limit, layoutSliders::limit);
    grid->Add(hPanSlider, 1, wxEXPAND);
    grid->Add(new wxStaticText(box, ID_VPAN_LABEL, "VPan"), 0, wxALIGN_CENTER_VERTICAL);
    vPanSlider = slider(box, ID_VPAN_SLIDER, 0, -layoutSliders::limit, layoutSliders::limit);
    grid->Add(vPanSlider, 1, wxEXPAND);
    group->Add(grid, 0, wxEXPAND | wxALL, 2);
    column->Add(group, 0, wxEXPAND | wxALL, 2);
}

void OptionsPanel::buildMetricsGroup(wxSizer* column) {
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Available metrics");
    list = new brCheckListCtrl(this, ID_METRIC_LIST);
    list->SetMinSize(wxSize(100, 120));
    group->Add(list, 1, wxEXPAND | wxALL, 2);
    column->Add(group, 1, wxEXPAND | wxALL, 2);
}

void OptionsPanel::buildOptionsGroup(wxSizer* column) {
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Visualization options");
    wxWindow* box = this;
    auto* glyphLine = new wxBoxSizer(wxHORIZONTAL);
    glyphChoice = new wxChoice(box, ID_GLYPH_CHOICE, wxDefaultPosition, wxSize(100, -1));
    glyphLine->Add(glyphChoice, 1, wxALIGN_CENTER_VERTICAL);
    allButton =
        new wxButton(box, ID_GLYPH_ALL, "all", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    glyphLine->Add(allButton, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    group->Add(glyphLine, 0, wxEXPAND | wxALL, 2);

    auto* grid = new wxFlexGridSizer(2, 2, 4);
    grid->AddGrowableCol(1);
    grid->Add(new wxStaticText(box, ID_TRANSPARENCY_LABEL, "transparency"), 0,
              wxALIGN_CENTER_VERTICAL);
    transparencySlider = slider(box, ID_TRANSPARENCY_SLIDER, 255, 0, 255);
    grid->Add(transparencySlider, 1, wxEXPAND);
    grid->Add(new wxStaticText(box, ID_UPPER_THRESHOLD_LABEL, "upper threshold"), 0,
              wxALIGN_CENTER_VERTICAL);
    upperSlider = slider(box, ID_UPPER_THRESHOLD_SLIDER, 0, 0, 100);
    grid->Add(upperSlider, 1, wxEXPAND);
    grid->Add(new wxStaticText(box, ID_LOWER_THRESHOLD_LABEL, "lower threshold"), 0,
              wxALIGN_CENTER_VERTICAL);
    lowerSlider = slider(box, ID_LOWER_THRESHOLD_SLIDER, 0, 0, 100);
    grid->Add(lowerSlider, 1, wxEXPAND);
    group->Add(grid, 0, wxEXPAND | wxALL, 2);

    advancedButton = new wxButton(box, ID_ADVANCED_OPTIONS, "Advanced options...");
    group->Add(advancedButton, 0, wxALL, 2);
    column->Add(group, 0, wxEXPAND | wxALL, 2);
}

void OptionsPanel::enableMetricControls(bool enable) {
    for (wxWindow* w :
         {static_cast<wxWindow*>(glyphChoice), allButton,
          static_cast<wxWindow*>(transparencySlider), static_cast<wxWindow*>(upperSlider),
          static_cast<wxWindow*>(lowerSlider), advancedButton})
        w->Enable(enable);
}

void OptionsPanel::enableLayoutControls(bool enable) {
    rowsSpin->Enable(enable && !automatic->GetValue());
    automatic->Enable(enable);
    zoomSlider->Enable(enable);
    hPanSlider->Enable(enable);
    vPanSlider->Enable(enable);
}

void OptionsPanel::openMetrics(MetricCollection& metrics) {
    list->clearRows();
    const std::map<std::string, int> kinds = metricKinds(metrics);
    for (auto& [name, properties] : metrics.properties) {
        if (!properties)
            continue;
        auto known = kinds.find(name);
        const int kind = known != kinds.end() ? known->second : brCheckListCtrl::OtherKind;
        list->addRow(name, swatchColour(properties->config()), kind,
                     metrics.activeMetrics.count(name) != 0);
        if (host.glyphs)
            for (const auto& glyph : *host.glyphs)
                if (accepts(*glyph, kind))
                    glyph->attachAndSetDefaults(&properties->config());
    }
    list->finishRows();
    list->Enable(true);
    enableMetricControls(false);
    glyphChoice->Clear();
    preview->setSelectedMetric("");
    syncWithActiveView();
}

void OptionsPanel::unloadMetrics() {
    list->clearRows();
    list->finishRows();
    list->Enable(false);
    glyphChoice->Clear();
    enableMetricControls(false);
    enableLayoutControls(false);
    preview->setSelectedMetric("");
}

void OptionsPanel::syncWithActiveView() {
    if (MetricsVisualizer* v = host.visualizer ? host.visualizer() : nullptr) {
        automatic->SetValue(v->rows == -1);
        if (v->rows != -1)
            rowsSpin->SetValue(std::clamp(v->rows, rowsSpin->GetMin(), rowsSpin->GetMax()));
        zoomSlider->SetValue(layoutSliders::sliderFromZoom(v->zoom));
        hPanSlider->SetValue(layoutSliders::sliderFromPan(v->hPan));
        vPanSlider->SetValue(layoutSliders::sliderFromPan(v->vPan));
        enableLayoutControls(true);
    } else {
        enableLayoutControls(false);
    }
    preview->Refresh(false);
}

void OptionsPanel::refreshFromMetrics() {
    MetricCollection* metrics = host.metrics ? host.metrics() : nullptr;
    if (!metrics)
        return;
    for (int i = 0; i < list->rowCount(); ++i) {
        const std::string& name = list->row(i).name;
        list->setChecked(i, metrics->activeMetrics.count(name) != 0);
        auto found = metrics->properties.find(name);
        if (found != metrics->properties.end() && found->second)
            list->setColour(i, swatchColour(found->second->config()));
    }
    repaintAll();
}

void OptionsPanel::setAdvancedOptions(AdvancedOptions handler) {
    advancedOptions = std::move(handler);
    advancedButton->Enable(advancedOptions && selectedProperties());
}

MetricProperties* OptionsPanel::selectedProperties(std::string* name) const {
    MetricCollection* metrics = host.metrics ? host.metrics() : nullptr;
    const int row = list->getSelectedRow();
    if (!metrics || row < 0 || row >= list->rowCount())
        return nullptr;
    auto found = metrics->properties.find(list->row(row).name);
    if (found == metrics->properties.end())
        return nullptr;
    if (name)
        *name = found->first;
    return found->second.get();
}

void OptionsPanel::repaintAll() {
    preview->Refresh(false);
    if (host.repaintCanvas)
        host.repaintCanvas();
}

void OptionsPanel::onRows(wxSpinEvent& event) {
    MetricsVisualizer* v = host.visualizer ? host.visualizer() : nullptr;
    if (!v || event.GetPosition() == 0)
        return;
    v->rows = event.GetPosition();
    repaintAll();
}

void OptionsPanel::onAutomatic(wxCommandEvent& event) {
    MetricsVisualizer* v = host.visualizer ? host.visualizer() : nullptr;
    if (!v)
        return;
    const bool automaticRows = event.IsChecked();
    v->rows = automaticRows ? -1 : rowsSpin->GetValue();
    rowsSpin->Enable(!automaticRows);
    repaintAll();
}

void OptionsPanel::onLayoutSlider(wxScrollEvent& event) {
    MetricsVisualizer* v = host.visualizer ? host.visualizer() : nullptr;
    if (!v)
        return;
    const int position = event.GetPosition();
    switch (event.GetId()) {
    case ID_ZOOM_SLIDER:
        v->zoom = layoutSliders::zoomFromSlider(position);
        break;
    case ID_HPAN_SLIDER:
        v->hPan = layoutSliders::panFromSlider(position);
        break;
    case ID_VPAN_SLIDER:
        v->vPan = layoutSliders::panFromSlider(position);
        break;
    default:
        return;
    }
    repaintAll();
}

void OptionsPanel::onMetricSlider(wxScrollEvent& event) {
    MetricProperties* properties = selectedProperties();
    if (!properties)
        return;
    const auto position = static_cast<float>(event.GetPosition());
    switch (event.GetId()) {
    case ID_TRANSPARENCY_SLIDER:
        properties->config().setFloat("Transparency", position / 255.0f);
        break;
    case ID_UPPER_THRESHOLD_SLIDER:
        properties->config().setFloat(".UpperThreshold", position);
        break;
    case ID_LOWER_THRESHOLD_SLIDER:
        properties->config().setFloat(".LowerThreshold", position);
        break;
    default:
        return;
    }
    if (host.repaintCanvas)
        host.repaintCanvas();
}

void OptionsPanel::onMetricSelected(wxListEvent& event) {
    // The list is empty without metrics, but an event may still be on its way from it.
    if (list->isShowingSelection())
        return;
    selectRow(static_cast<int>(event.GetIndex()), true);
}

void OptionsPanel::selectRow(int row, bool toggleCheck) {
    MetricCollection* metrics = host.metrics ? host.metrics() : nullptr;
    if (!metrics || row < 0 || row >= list->rowCount())
        return;
    list->setSelectedRow(row);
    if (toggleCheck && list->takePictureClick(row))
        list->toggleChecked(row);
    const std::string name = list->row(row).name;
    auto found = metrics->properties.find(name);
    MetricProperties* properties =
        found != metrics->properties.end() ? found->second.get() : nullptr;
    if (properties) {
        if (list->row(row).checked)
            metrics->activeMetrics.insert(name);
        else
            metrics->activeMetrics.erase(name);
    }
    preview->setSelectedMetric(name);
    if (!properties) {
        glyphChoice->Clear();
        enableMetricControls(false);
        repaintAll();
        return;
    }
    fillGlyphChoice(list->row(row).kind, *properties);
    transparencySlider->SetValue(
        sliderValue(double(properties->config().getFloat("Transparency")) * 255.0, 0, 255));
    glyphChoice->Enable(true);
    allButton->Enable(true);
    transparencySlider->Enable(true);
    fillThresholds(*metrics, list->row(row).kind, name, *properties);
    advancedButton->Enable(static_cast<bool>(advancedOptions));
    // The check box may have changed what the views show.
    repaintAll();
}

void OptionsPanel::fillGlyphChoice(int kind, MetricProperties& properties) {
    glyphChoice->Clear();
    if (host.glyphs)
        for (const auto& glyph : *host.glyphs)
            if (accepts(*glyph, kind))
                glyphChoice->Append(wxString::FromUTF8(glyph->getName()),
                                    static_cast<void*>(glyph.get()));
    if (properties.viz) {
        for (unsigned i = 0; i < glyphChoice->GetCount(); ++i)
            if (glyphChoice->GetClientData(i) == properties.viz)
                glyphChoice->SetSelection(static_cast<int>(i));
    } else if (glyphChoice->GetCount() > 0) {
        // A metric gets its glyph when it is first chosen.
        properties.viz = static_cast<MetricViz*>(glyphChoice->GetClientData(0));
        glyphChoice->SetSelection(0);
    }
}

void OptionsPanel::fillThresholds(const MetricCollection& metrics, int kind,
                                  const std::string& name, MetricProperties& properties) {
    auto range = metrics.ranges.find(name);
    const bool integer = kind == brCheckListCtrl::IntKind;
    upperSlider->Enable(integer);
    lowerSlider->Enable(integer);
    if (!integer)
        return;
    const SliderRange r = range != metrics.ranges.end()
                              ? thresholdSliderRange(range->second.first, range->second.second)
                              : thresholdSliderRange(0, 0);
    upperSlider->SetRange(r.min, r.max);
    lowerSlider->SetRange(r.min, r.max);
    upperSlider->SetValue(
        sliderValue(properties.config().getFloat(".UpperThreshold"), r.min, r.max));
    lowerSlider->SetValue(
        sliderValue(properties.config().getFloat(".LowerThreshold"), r.min, r.max));
}

void OptionsPanel::onGlyphChoice(wxCommandEvent&) {
    MetricProperties* properties = selectedProperties();
    if (!properties)
        return;
    const int index = glyphChoice->GetSelection();
    properties->viz = glyphChoice->GetCount() > 0 && index != wxNOT_FOUND
                          ? static_cast<MetricViz*>(glyphChoice->GetClientData(index))
                          : nullptr;
    repaintAll();
}

void OptionsPanel::onAll(wxCommandEvent&) {
    MetricCollection* metrics = host.metrics ? host.metrics() : nullptr;
    std::string selected;
    MetricProperties* properties = selectedProperties(&selected);
    if (!metrics || !properties)
        return;
    const int kind = list->row(list->getSelectedRow()).kind;
    if (kind == brCheckListCtrl::OtherKind)
        return;
    for (const std::string& name : metrics->activeMetrics) {
        auto found = metrics->properties.find(name);
        const int row = list->findRow(name);
        if (found != metrics->properties.end() && found->second && row >= 0 &&
            list->row(row).kind == kind)
            found->second->viz = properties->viz;
    }
    repaintAll();
}

void OptionsPanel::onAdvanced(wxCommandEvent&) {
    std::string name;
    MetricProperties* properties = selectedProperties(&name);
    if (!properties || !advancedOptions)
        return;
    advancedOptions(name, *properties);
    list->setColour(list->getSelectedRow(), swatchColour(properties->config()));
    repaintAll();
}

void OptionsPanel::previewCellPressed(const std::string& metric, bool right) {
    MetricCollection* metrics = host.metrics ? host.metrics() : nullptr;
    const int row = list->findRow(metric);
    if (!metrics || row < 0)
        return;
    list->showSelected(row);
    selectRow(row, false);
    if (!right)
        return;
    metrics->activeMetrics.erase(metric);
    list->setChecked(row, false);
    repaintAll();
}
