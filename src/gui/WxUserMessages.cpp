#include "gui/WxUserMessages.h"

#include <wx/msgdlg.h>

#include "gui/MainFrame.h"

void WxUserMessages::showMessage(const std::string& text, const std::string& caption, int style) {
    long wxStyle = 0;
    if (style & MessageStyle::Ok)
        wxStyle |= wxOK;
    if (style & MessageStyle::Centre)
        wxStyle |= wxCENTRE;
    if (style & MessageStyle::IconError)
        wxStyle |= wxICON_ERROR;
    if (style & MessageStyle::IconInformation)
        wxStyle |= wxICON_INFORMATION;
    if (style & MessageStyle::IconWarning)
        wxStyle |= wxICON_WARNING;
    wxWindow* parent = (style & MessageStyle::ParentFrame) ? theMainFrame : nullptr;
    wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(caption), wxStyle, parent);
}
