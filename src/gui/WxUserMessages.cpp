#include "gui/WxUserMessages.h"

#include <wx/msgdlg.h>

#include "gui/MainFrame.h"

long wxMessageBoxStyle(int style) {
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
    // Left alone, the toolkit picks an icon for a box that asks for none.
    if (!(style &
          (MessageStyle::IconError | MessageStyle::IconInformation | MessageStyle::IconWarning)))
        wxStyle |= wxICON_NONE;
    return wxStyle;
}

void WxUserMessages::showMessage(const std::string& text, const std::string& caption, int style) {
    wxWindow* parent = (style & MessageStyle::ParentFrame) ? theMainFrame : nullptr;
    wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(caption), wxMessageBoxStyle(style),
                 parent);
}
