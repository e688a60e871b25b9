// The seam through which the view and the application run their modal dialogs.
#pragma once

#include <functional>
#include <string>
#include <vector>

// One field of a form: a line of text, a choice among fixed texts, or a folder (a line of
// text that a button beside it can fill from the folder chooser).
struct FormField {
    enum class Kind { Text, Choice, Folder };
    std::string label;
    Kind kind = Kind::Text;
    std::string text;                 // Text and Folder: the value
    std::vector<std::string> choices; // Choice: the texts offered
    int chosen = 0;                   // Choice: the index of the one chosen
    // When >= 0: the field can be edited only while the choice field of that index has
    // enabledByChoice chosen (typed values that only one of its choices takes).
    int enabledByField = -1;
    int enabledByChoice = 0;
};

FormField TextField(const std::string& label, const std::string& text);
FormField ChoiceField(const std::string& label, const std::vector<std::string>& choices,
                      int chosen = 0);
FormField FolderField(const std::string& label, const std::string& folder);

// A dialog of several fields under a title. check tells why the values cannot be taken
// ("" when they can); without one every value is taken.
struct InputForm {
    std::string title;
    std::vector<FormField> fields;
    std::function<std::string(const InputForm&)> check;
};

// How a form's text reads as a number: blanks around a decimal number ("140", "0.4", "-3"),
// and nothing else; false for empty text and for anything beyond the number.
bool ReadFormNumber(const std::string& text, double& value);
// A whole number of digits only, with blanks around it ("7"); false for a sign or a point.
bool ReadFormWholeNumber(const std::string& text, unsigned long long& value);
// Whether the text holds nothing but blanks: a field left empty.
bool IsBlankText(const std::string& text);

// Runs the input, circle and About dialogs, the forms and the progress of long tasks. The
// window installs the real dialogs (qtseams/QtInputPrompt.h), tests install one that
// answers from a script.
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
    // The form with its fields as given; true and the entered values on OK. OK runs the
    // form's check: a refusal is shown as a message (captioned with the form's title) and
    // the form stays open with what was entered, so true comes only with values the check
    // took. By default the form is cancelled.
    virtual bool AskForm(InputForm& form);
    // Shows how far a task has come (done of total) with a Cancel button; false once the
    // user has cancelled. EndProgress closes it. By default nobody watches or cancels.
    virtual bool ShowProgress(const std::string& title, int done, int total);
    virtual void EndProgress();
};

// Installs the dialogs used from now on; nullptr restores the default, which cancels every
// dialog (there is nobody to ask). The caller keeps ownership.
void SetInputPrompt(IInputPrompt* prompt);
IInputPrompt& GetInputPrompt();
