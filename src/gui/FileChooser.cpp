#include "gui/FileChooser.h"

#include <wx/filedlg.h>

std::string WxFileChooser::chooseFile(wxWindow* parent, const std::string& title,
                                      const std::string& defaultName,
                                      const std::string& defaultExtension,
                                      const std::string& wildcard, bool save) {
    // Saving does not ask before overwriting an existing file.
    int flags = save ? wxFD_SAVE : wxFD_OPEN;
    wxString path = wxFileSelector(
        wxString::FromUTF8(title), wxEmptyString, wxString::FromUTF8(defaultName),
        wxString::FromUTF8(defaultExtension), wxString::FromUTF8(wildcard), flags, parent);
    return std::string(path.utf8_str());
}
