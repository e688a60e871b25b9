// Voice > New Voice: a voice made to order in the voice folder, added to the Voices submenu
// and chosen.
#include "app/TundrelApp.h"

#include "app/MainFrame.h"
#include "app/VoiceFiles.h"
#include "app/VoiceForm.h"
#include "base/Directories.h"
#include "base/MessageBox.h"
#include "view/BusyCursor.h"
#include "view/InputPrompt.h"

#include <filesystem>

namespace {

constexpr const char* kTitle = "New Voice";

} // namespace

void CTundrelApp::OnNewVoice() {
    InputForm form = NewVoiceForm();
    form.check = [this](const InputForm& entered) {
        std::string fileName;
        VoiceRequest request;
        std::string problem = ReadNewVoiceForm(entered, fileName, request);
        std::vector<std::string> voices = m_voiceFiles;
        if (problem.empty() && AddVoiceFile(voices, fileName) < 0)
            problem = "The Voices menu holds " + std::to_string(kMaxVoiceFiles) +
                      " voices, its most. Give the name of one of them to replace it, or "
                      "move voices out of " +
                      g_strDatDir + " and start Quirnel again.";
        return problem;
    };
    if (!GetInputPrompt().AskForm(form))
        return;
    std::string fileName;
    VoiceRequest request;
    ReadNewVoiceForm(form, fileName, request);
    const std::string path = g_strDatDir + "/" + fileName;
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error)) &&
        ShowMessage("The voice folder holds " + fileName + " already. Replace it?", kTitle,
                    MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    std::string problem;
    {
        const BusyCursor busy;
        problem = MakeVoice(request, path);
    }
    if (!problem.empty()) {
        ShowMessage(problem, kTitle, MsgIcon::Error);
        return;
    }
    const int index = AddVoiceFile(m_voiceFiles, fileName);
    m_pFrame->SetVoiceFiles(m_voiceFiles);
    m_pFrame->ExecuteCommand(ID_VOICE_FIRST + index);
}
