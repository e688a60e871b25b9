#include "view/InputPrompt.h"

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
