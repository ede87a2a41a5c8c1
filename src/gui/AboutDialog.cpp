#include "gui/AboutDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "gui/Ids.h"
#include "resources/ImageTable.h"

// clang-format off
wxBEGIN_EVENT_TABLE(AboutDialog, wxDialog)
    EVT_BUTTON(ID_ABOUT_OK, AboutDialog::onOk)
wxEND_EVENT_TABLE()
// clang-format on

AboutDialog::AboutDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "About Brennimore", wxDefaultPosition, wxSize(500, 500)) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticBitmap(this, ID_ABOUT_PICTURE,
                                   wxBitmap(imageTable::drawImage(imageTable::programImage, 64))),
                0, wxALL | wxALIGN_CENTER, 10);
    column->Add(new wxStaticText(this, ID_ABOUT_TEXT, aboutText()), 0, wxALL, 10);
    column->Add(new wxButton(this, ID_ABOUT_OK, "OK"), 0, wxALL | wxALIGN_CENTER, 10);
    SetSizerAndFit(column);
}

wxString AboutDialog::aboutText() {
    return wxString::Format("Brennimore v%s (%s)", "0.09", "Dec 21 2004") +
           "\n\nMetrics on UML design diagrams, by the Brennimore developers.";
}

void AboutDialog::onOk(wxCommandEvent&) {
    EndModal(wxID_OK);
}
