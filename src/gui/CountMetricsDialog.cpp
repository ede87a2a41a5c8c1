#include "gui/CountMetricsDialog.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>

#include "gui/Ids.h"
#include "metrics/Metric.h"

// clang-format off
wxBEGIN_EVENT_TABLE(CountMetricsDialog, wxDialog)
    EVT_BUTTON(ID_COUNT_METRICS_OK, CountMetricsDialog::onOk)
wxEND_EVENT_TABLE()
// clang-format on

CountMetricsDialog::CountMetricsDialog(wxWindow* parent, std::vector<CountMetric*> metrics)
    : wxDialog(parent, wxID_ANY, "Global metrics overview", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxRESIZE_BORDER | wxCLOSE_BOX) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    list_ = new wxListCtrl(this, ID_COUNT_METRICS_LIST, wxDefaultPosition, wxSize(160, 120),
                           wxLC_REPORT | wxSUNKEN_BORDER);
    sizer->Add(list_, 1, wxEXPAND | wxALL, 5);
    sizer->Add(new wxButton(this, ID_COUNT_METRICS_OK, "OK"), 0, wxALIGN_CENTER | wxALL, 5);
    SetSizer(sizer);
    sizer->SetSizeHints(this);
    SetEscapeId(ID_COUNT_METRICS_OK);
    fill(metrics);
}

void CountMetricsDialog::fill(const std::vector<CountMetric*>& metrics) {
    list_->ClearAll();
    list_->InsertColumn(0, "Metric", wxLIST_FORMAT_LEFT);
    list_->InsertColumn(1, "Value", wxLIST_FORMAT_LEFT);
    long row = 0;
    for (const CountMetric* metric : metrics) {
        if (!metric)
            continue;
        list_->InsertItem(row, wxString::FromUTF8(metric->name));
        list_->SetItem(row, 1, wxString::Format("%d", static_cast<int>(metric->value)));
        ++row;
    }
    list_->SetColumnWidth(0, wxLIST_AUTOSIZE);
    list_->SetColumnWidth(1, wxLIST_AUTOSIZE);
    const int contents = list_->GetColumnWidth(1);
    list_->SetColumnWidth(1, wxLIST_AUTOSIZE_USEHEADER);
    list_->SetColumnWidth(1, std::max(contents, list_->GetColumnWidth(1)));
    SetSize(list_->GetColumnWidth(0) + list_->GetColumnWidth(1) + 42, 384);
}

void CountMetricsDialog::onOk(wxCommandEvent&) {
    if (IsModal())
        EndModal(wxID_OK);
    else
        Hide();
}
