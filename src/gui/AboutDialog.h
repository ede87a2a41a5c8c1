#pragma once
// The about box: a picture, the program's name, version and build date, and an OK button.
#include <wx/dialog.h>

class AboutDialog : public wxDialog {
public:
    explicit AboutDialog(wxWindow* parent);
    static wxString aboutText();

private:
    void onOk(wxCommandEvent& event);
    wxDECLARE_EVENT_TABLE();
};
