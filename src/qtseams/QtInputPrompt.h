// The view's input, circle and About dialogs behind the program's input-prompt seam.
#pragma once

#include "view/InputPrompt.h"

// Runs the real dialogs, owned by whichever window of the program is active.
class QtInputPrompt : public IInputPrompt {
public:
    bool AskText(const std::string& prompt, const std::string& initialText,
                 std::string& result) override;
    bool AskCircle(unsigned& radius, unsigned& step) override;
    void ShowAbout() override;
};
