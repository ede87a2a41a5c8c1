#pragma once
// Shows the messages of the lower layers in the toolkit's modal message boxes.
#include "common/UserMessages.h"

class WxUserMessages : public UserMessages {
public:
    void showMessage(const std::string& text, const std::string& caption, int style) override;
};
