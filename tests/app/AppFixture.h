// Starts the application in a fresh working folder holding Dat/ with one bundled voice,
// with a memory profile, recorded messages, scripted file dialogs and silent audio.
#pragma once

#include "TempDir.h"
#include "TestFakes.h"
#include "app/TundrelApp.h"
#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Profile.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldDir = CurrentDirectory();
        ChangeDirectory(work.Path());
        std::filesystem::create_directory(work.File("Dat"));
        std::filesystem::copy_file(std::filesystem::path(QUIRNEL_DATA_DIR) / "Dat" / "01-male.dat",
                                   work.File("Dat/01-male.dat"));
        SetProfile(&profile);
        SetFileDialogs(&dialogs);
        // The voices of the user's own folder join the Voices menu: this machine's stay out.
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            m_oldDataHome = old;
        setenv("XDG_DATA_HOME", dataHome.Path().c_str(), 1);
    }
    void TearDown() override {
        if (m_oldDataHome)
            setenv("XDG_DATA_HOME", m_oldDataHome->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        app.reset();
        SetProfile(nullptr);
        SetFileDialogs(nullptr);
        ChangeDirectory(m_oldDir);
    }
    bool Start(std::vector<std::string> arguments = {"quirnel"}) {
        app = std::make_unique<CTundrelApp>(&volume, &player);
        return app->InitInstance(arguments);
    }

    TempDir work;
    TempDir dataHome;
    MemoryProfile profile;
    RecordingMessageSink messages;
    ScopedMessageSink messageGuard{&messages};
    ScriptedFileDialogs dialogs;
    FakeVolume volume;
    FakePlayer player;
    std::unique_ptr<CTundrelApp> app;

private:
    std::string m_oldDir;
    std::optional<std::string> m_oldDataHome;
};
