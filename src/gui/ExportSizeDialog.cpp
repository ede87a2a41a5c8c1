#include "gui/ExportSizeDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

namespace {

ExportSizeAsker& asker() {
    static ExportSizeAsker ask = [](wxWindow* parent,
                                    const wxSize& canvasSize) -> std::optional<ImageExportRequest> {
        ExportSizeDialog dialog(parent, canvasSize);
        if (dialog.ShowModal() != wxID_OK)
            return std::nullopt;
        return dialog.request();
    };
    return ask;
}

} // namespace

ExportSizeDialog::ExportSizeDialog(wxWindow* parent, const wxSize& canvasSize)
    : wxDialog(parent, wxID_ANY, "Image size") {
    auto* column = new wxBoxSizer(wxVERTICAL);
    canvasSize_ = new wxRadioButton(this, wxID_ANY,
                                    wxString::Format("The size of the canvas (%d x %d)",
                                                     canvasSize.GetWidth(), canvasSize.GetHeight()),
                                    wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    ownSize_ = new wxRadioButton(this, wxID_ANY, "Width and height in pixels:");
    const int w = std::max(1, canvasSize.GetWidth());
    const int h = std::max(1, canvasSize.GetHeight());
    width_ = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                            wxSP_ARROW_KEYS, 1, largestSide, w);
    height_ = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                             wxSP_ARROW_KEYS, 1, largestSide, h);
    frames_ = new wxCheckBox(this, wxID_ANY, "Draw the view frames");

    auto* sizeRow = new wxBoxSizer(wxHORIZONTAL);
    sizeRow->Add(width_, 0, wxALIGN_CENTER_VERTICAL);
    sizeRow->Add(new wxStaticText(this, wxID_ANY, " x "), 0, wxALIGN_CENTER_VERTICAL);
    sizeRow->Add(height_, 0, wxALIGN_CENTER_VERTICAL);
    column->Add(canvasSize_, 0, wxALL, 8);
    column->Add(ownSize_, 0, wxLEFT | wxRIGHT, 8);
    column->Add(sizeRow, 0, wxLEFT | wxRIGHT | wxTOP, 8);
    column->Add(new wxStaticText(this, wxID_ANY, "A larger image shows the same views, magnified."),
                0, wxALL, 8);
    column->Add(frames_, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
    column->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(column);

    canvasSize_->SetValue(true);
    canvasSize_->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { updateEnabled(); });
    ownSize_->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { updateEnabled(); });
    updateEnabled();
}

void ExportSizeDialog::updateEnabled() {
    const bool own = ownSize_->GetValue();
    width_->Enable(own);
    height_->Enable(own);
}

ImageExportRequest ExportSizeDialog::request() const {
    ImageExportRequest r;
    if (ownSize_->GetValue()) {
        r.width = width_->GetValue();
        r.height = height_->GetValue();
    }
    r.frames = frames_->GetValue();
    return r;
}

void ExportSizeDialog::chooseCanvasSize() {
    canvasSize_->SetValue(true);
    updateEnabled();
}

void ExportSizeDialog::chooseSize(int width, int height) {
    ownSize_->SetValue(true);
    width_->SetValue(width);
    height_->SetValue(height);
    updateEnabled();
}

void ExportSizeDialog::setFrames(bool frames) {
    frames_->SetValue(frames);
}

std::optional<ImageExportRequest> askExportSize(wxWindow* parent, const wxSize& canvasSize) {
    return asker() ? asker()(parent, canvasSize) : std::nullopt;
}

ExportSizeAsker setExportSizeAsker(ExportSizeAsker ask) {
    ExportSizeAsker previous = std::move(asker());
    asker() = std::move(ask);
    return previous;
}
