// Voice > New Voice: a voice made to order in the voice folder, added to the Voices submenu
// and chosen.
#pragma once

#include <string>
#include <vector>

// What New Voice needs of the program around it: the Voices submenu's files and a way to
// add one and choose it.
class IVoiceMenu {
public:
    virtual ~IVoiceMenu() = default;
    // The voice data file names; entry i belongs to command ID_VOICE_FIRST + i.
    virtual const std::vector<std::string>& VoiceFiles() const = 0;
    // Adds the entry (VoiceFiles.h) to the submenu, or lets it take the place of the voice of
    // its name, and chooses that voice.
    virtual void AddAndChooseVoice(const std::string& entry) = 0;
};

// Asks for the voice with the New Voice form (again after a No to replacing a voice of the
// name), makes it on a worker thread under the busy cursor and hands it to the menu; a
// failure is shown and adds nothing.
void RunNewVoiceCommand(IVoiceMenu& menu);
