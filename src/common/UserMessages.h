#pragma once
// The sink through which code below the toolkit layer shows a modal message to the user.
// The desktop program installs one built on message boxes; tests install a recorder.
// Until one is installed, messages go nowhere.
#include <string>

namespace MessageStyle {
enum : int {
    Ok = 1 << 0,
    IconError = 1 << 1,
    IconInformation = 1 << 2,
    IconWarning = 1 << 3,
    Centre = 1 << 4,
    // The box belongs to the main frame rather than standing on its own.
    ParentFrame = 1 << 5,
};
}

class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void showMessage(const std::string& text, const std::string& caption, int style) = 0;
};

// The installed sink (never null). The caller keeps the installed object alive.
UserMessages& userMessages();
// Installs a sink; null restores the silent default. Returns the previous one.
UserMessages* installUserMessages(UserMessages* sink);

// Shorthand for userMessages().showMessage(...).
void showUserMessage(const std::string& text, const std::string& caption, int style);
