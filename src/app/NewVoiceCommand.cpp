#include "app/NewVoiceCommand.h"

#include "app/VoiceFiles.h"
#include "app/VoiceForm.h"
#include "base/Directories.h"
#include "base/MessageBox.h"
#include "view/InputPrompt.h"
#include "view/LongTask.h"

#include <filesystem>

namespace {

constexpr const char* kTitle = "New Voice";

} // namespace

void RunNewVoiceCommand(IVoiceMenu& menu) {
    // The voice folder, or the user's own one when the voice folder may not be written
    // (the installed voices of a package).
    const std::string folder = NewVoiceFolder();
    InputForm form = NewVoiceForm();
    form.check = [&menu, &folder](const InputForm& entered) {
        std::string fileName;
        VoiceRequest request;
        std::string problem = ReadNewVoiceForm(entered, fileName, request);
        std::vector<std::string> voices = menu.VoiceFiles();
        if (problem.empty() && AddVoiceFile(voices, VoiceFileEntry(folder, fileName)) < 0)
            problem = "The Voices menu holds " + std::to_string(kMaxVoiceFiles) +
                      " voices, its most. Give the name of one of them to replace it, or "
                      "move voices out of " +
                      folder + " and start Quirnel again.";
        return problem;
    };
    std::string fileName;
    VoiceRequest request;
    std::string path;
    // A No to replacing an existing voice goes back to the form with everything typed.
    for (;;) {
        if (!GetInputPrompt().AskForm(form))
            return;
        ReadNewVoiceForm(form, fileName, request);
        path = folder + "/" + fileName;
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, error)) ||
            ShowMessage("The voice folder holds " + fileName + " already. Replace it?", kTitle,
                        MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes)
            break;
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::string problem;
    RunWhileBusy([&] { problem = MakeVoice(request, path); });
    if (!problem.empty()) {
        ShowMessage(problem, kTitle, MsgIcon::Error);
        return;
    }
    menu.AddAndChooseVoice(VoiceFileEntry(folder, fileName));
}
