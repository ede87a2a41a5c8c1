#pragma once
// Helpers for driving the main frame in GUI tests.
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/event.h>

#include "gui/FileChooser.h"

// Answers every file dialog with the next queued path ("" = cancelled) and records it.
class ScriptedFileChooser : public FileChooser {
public:
    std::vector<std::string> answers;
    struct Asked {
        std::string title, defaultName, defaultExtension, wildcard;
        bool save;
    };
    std::vector<Asked> asked;

    std::string chooseFile(wxWindow*, const std::string& title, const std::string& defaultName,
                           const std::string& defaultExtension, const std::string& wildcard,
                           bool save) override {
        asked.push_back({title, defaultName, defaultExtension, wildcard, save});
        if (answers.empty())
            return "";
        std::string next = answers.front();
        answers.erase(answers.begin());
        return next;
    }
};

// Sends a menu or tool command to the window as the toolkit would.
inline void sendCommand(wxEvtHandler* target, int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    target->ProcessEvent(event);
}

// Lets pending events (sizes, paints, calls queued with CallAfter) run.
inline void flushEvents() {
    for (int i = 0; i < 5 && wxTheApp->Pending(); ++i)
        wxTheApp->Dispatch();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
}
