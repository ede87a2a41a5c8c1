#pragma once
// Shows the messages of the lower layers in the toolkit's modal message boxes.
#include "common/UserMessages.h"

class WxUserMessages : public UserMessages {
public:
    void showMessage(const std::string& text, const std::string& caption, int style) override;
};

// The toolkit's message box style for a MessageStyle combination; without an icon flag the
// box is asked for no icon at all.
long wxMessageBoxStyle(int style);
