#include "common/UserMessages.h"

namespace {
class SilentMessages : public UserMessages {
public:
    void showMessage(const std::string&, const std::string&, int) override {}
};

SilentMessages silent;
UserMessages* installed = &silent;
} // namespace

UserMessages& userMessages() {
    return *installed;
}

UserMessages* installUserMessages(UserMessages* sink) {
    UserMessages* previous = installed == &silent ? nullptr : installed;
    installed = sink ? sink : &silent;
    return previous;
}

void showUserMessage(const std::string& text, const std::string& caption, int style) {
    installed->showMessage(text, caption, style);
}
