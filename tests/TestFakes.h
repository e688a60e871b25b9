// Stand-ins for the player, the volume control and the file dialogs, recording what the
// program asks of them.
#pragma once

#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "base/FileDialogs.h"

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

// Records what is played and stopped.
class FakePlayer : public ISoundPlayer {
public:
    void Play(const std::string& path) override { played.push_back(path); }
    void Stop() override { ++stops; }
    bool IsPlaying() const override { return false; }

    std::vector<std::string> played;
    int stops = 0;
};

// A wave output line that is always there, never touches the machine's mixer and records
// what it is asked.
class FakeVolume final : public CVolumeCtrl {
public:
    ~FakeVolume() = default;
    bool IsAvailable() override { return available; }
    void Activate() override { ++activations; }
    void Deactivate() override { ++deactivations; }
    int GetSteps() override { return 100; }
    int GetMinimum() override { return 0; }
    int GetMaximum() override { return 100; }
    int GetVolume() override { return volume; }
    void SetVolume(unsigned value) override { setVolumes.push_back(value); }
    void SetChangeCallback(VolumeChangeCallback, int) override {}

    bool available = true;
    int volume = 40;
    int activations = 0;
    int deactivations = 0;
    std::vector<unsigned> setVolumes;
};

// Answers each file dialog with the next queued choice (Cancel, in the folder the dialog
// opened in, when none is queued) and records how every dialog was asked.
class ScriptedFileDialogs : public IFileDialogs {
public:
    FileChoice OpenFile(const std::string& title, const std::string& folder,
                        const std::string& filters) override {
        return Next("open", title, folder, "", filters, "");
    }
    FileChoice OpenFiles(const std::string& title, const std::string& folder,
                         const std::string& filters) override {
        return Next("open several", title, folder, "", filters, "");
    }
    FileChoice SaveFile(const std::string& title, const std::string& folder,
                        const std::string& name, const std::string& filters,
                        const std::string& suffix) override {
        return Next("save", title, folder, name, filters, suffix);
    }

    void Queue(const FileChoice& choice) { answers.push_back(choice); }
    // Queues OK with path (its folder is where the dialog ends), or Cancel for "".
    void Answer(const std::string& path) {
        if (path.empty())
            Queue(FileChoice{false, "", "", {}});
        else
            Queue(
                FileChoice{true, path, std::filesystem::path(path).parent_path().string(), {path}});
    }
    // Queues OK with several files.
    void Choose(const std::vector<std::string>& paths) {
        Queue(FileChoice{true, paths.front(), "", paths});
    }

    std::deque<FileChoice> answers;
    std::vector<std::string> titles, folders, names, filters;
    std::string lastCall; // "kind folder filters suffix" of the last dialog

private:
    FileChoice Next(const std::string& kind, const std::string& title, const std::string& folder,
                    const std::string& name, const std::string& filter, const std::string& suffix) {
        titles.push_back(title);
        folders.push_back(folder);
        names.push_back(name);
        filters.push_back(filter);
        lastCall = kind + " " + folder + " " + filter + (kind == "save" ? " " + suffix : "");
        if (answers.empty())
            return FileChoice{false, "", folder, {}};
        FileChoice choice = answers.front();
        answers.pop_front();
        return choice;
    }
};
