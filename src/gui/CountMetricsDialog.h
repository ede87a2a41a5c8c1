#pragma once
// The overview of the model-wide count metrics: one row per metric with its value, in the
// order of the metrics file.
#include <vector>

#include <wx/dialog.h>

class CountMetric;
class wxListCtrl;

class CountMetricsDialog : public wxDialog {
public:
    // The records belong to the current metric collection, which outlives the dialog.
    CountMetricsDialog(wxWindow* parent, std::vector<CountMetric*> metrics);

    wxListCtrl* list() const { return list_; }

private:
    void fill(const std::vector<CountMetric*>& metrics);
    void onOk(wxCommandEvent& event);

    wxListCtrl* list_ = nullptr; // owned by the dialog

    wxDECLARE_EVENT_TABLE();
};
