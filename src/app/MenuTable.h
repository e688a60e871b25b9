// The main menu, the key table and the status-bar prompts of the main frame, as data.
#pragma once

#include <vector>

// One menu entry: a command, a separator (no text) or a popup (children, id 0).
// Texts use "&" for the mnemonic and "\t" before the key name shown at the right.
struct MenuNode {
    const char* text = nullptr;
    int id = 0;
    std::vector<MenuNode> children;
    bool initiallyChecked = false;

    bool IsSeparator() const { return text == nullptr; }
    bool IsPopup() const { return text != nullptr && id == 0; }
};

// One key of the key table, in the toolkit's portable key notation ("Ctrl+Shift+S").
struct KeyBinding {
    const char* key;
    int id;
};

// The menu bar's popups in order.
const std::vector<MenuNode>& MainMenu();

// Every key of the program with its command, including the keys that do nothing.
const std::vector<KeyBinding>& KeyTable();

// The prompt shown in the status bar while the entry of id is highlighted; the part
// after "\n" is the entry's tooltip. nullptr when the entry has no prompt.
const char* CommandPrompt(int id);
