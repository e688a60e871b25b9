// Where the program works when it is started from the desktop menu, whose working folder
// is the home folder: nothing of its own is to be written there.
#pragma once

#include <string>

struct DesktopFolders {
    // The start folder: Open, Save As, Batch Convert and the wave list's dialogs begin
    // here. The user's documents folder when it exists, else the home folder.
    std::string documents;
    // The default folder of temp.wav and of the action log: $XDG_CACHE_HOME/quirnel
    // (~/.cache/quirnel), created when missing.
    std::string cache;
};

DesktopFolders FindDesktopFolders();

// Makes the documents folder the working folder, so that the start folder and every file
// dialog begin there, and sends the action log to the cache folder until a file dialog
// moves the working folder.
void EnterDesktopFolders(const DesktopFolders& folders);
