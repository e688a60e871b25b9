// The seam through which the view and the application run their modal dialogs.
#pragma once

#include <string>

// Runs the input, circle and About dialogs. The window installs the real dialogs
// (qtseams/QtInputPrompt.h), tests install one that answers from a script.
class IInputPrompt {
public:
    virtual ~IInputPrompt() = default;
    // The input dialog with prompt and initialText; true and the edited text on OK.
    virtual bool AskText(const std::string& prompt, const std::string& initialText,
                         std::string& result) = 0;
    // The circle dialog starting with radius and step; true and both values on OK.
    virtual bool AskCircle(unsigned& radius, unsigned& step) = 0;
    // The About box.
    virtual void ShowAbout() = 0;
};

// Installs the dialogs used from now on; nullptr restores the default, which cancels every
// dialog (there is nobody to ask). The caller keeps ownership.
void SetInputPrompt(IInputPrompt* prompt);
IInputPrompt& GetInputPrompt();
