#include "view/InputPrompt.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The text without the blanks around it.
std::string Trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

FormField TextField(const std::string& label, const std::string& text) {
    return {label, FormField::Kind::Text, text, {}, 0};
}

FormField ChoiceField(const std::string& label, const std::vector<std::string>& choices,
                      int chosen) {
    return {label, FormField::Kind::Choice, "", choices, chosen};
}

FormField FolderField(const std::string& label, const std::string& folder) {
    return {label, FormField::Kind::Folder, folder, {}, 0};
}

bool ReadFormNumber(const std::string& text, double& value) {
    const std::string number = Trimmed(text);
    // Decimal only: no "inf", "nan" or hexadecimal numbers.
    if (number.empty() || number.find_first_of("xXnN") != std::string::npos)
        return false;
    errno = 0;
    char* end = nullptr;
    const double read = std::strtod(number.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(read))
        return false;
    value = read;
    return true;
}

bool ReadFormWholeNumber(const std::string& text, unsigned long long& value) {
    const std::string number = Trimmed(text);
    if (number.empty() || number.size() > 19)
        return false;
    unsigned long long read = 0;
    for (char c : number) {
        if (c < '0' || c > '9')
            return false;
        read = read * 10 + static_cast<unsigned>(c - '0');
    }
    value = read;
    return true;
}

bool IsBlankText(const std::string& text) {
    return Trimmed(text).empty();
}

bool IInputPrompt::AskForm(InputForm&) {
    return false;
}

bool IInputPrompt::ShowProgress(const std::string&, int, int) {
    return true;
}

void IInputPrompt::EndProgress() {}

namespace {

// With nobody to ask, every dialog is cancelled.
class CancellingPrompt : public IInputPrompt {
public:
    bool AskText(const std::string&, const std::string&, std::string&) override { return false; }
    bool AskCircle(unsigned&, unsigned&) override { return false; }
    void ShowAbout() override {}
};

IInputPrompt* g_installedPrompt = nullptr;

} // namespace

void SetInputPrompt(IInputPrompt* prompt) {
    g_installedPrompt = prompt;
}

IInputPrompt& GetInputPrompt() {
    static CancellingPrompt nobody;
    return g_installedPrompt ? *g_installedPrompt : nobody;
}
