#pragma once
// The file dialogs of the main window's commands, behind an interface so that tests can
// answer them without a modal dialog.
#include <string>

class wxWindow;

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Returns the chosen path, or "" when the user cancelled.
    virtual std::string chooseFile(wxWindow* parent, const std::string& title,
                                   const std::string& defaultName,
                                   const std::string& defaultExtension, const std::string& wildcard,
                                   bool save) = 0;
};

// The standard file selector of the toolkit.
class WxFileChooser : public FileChooser {
public:
    std::string chooseFile(wxWindow* parent, const std::string& title,
                           const std::string& defaultName, const std::string& defaultExtension,
                           const std::string& wildcard, bool save) override;
};
