// Where the window keeps its settings file.
#pragma once

#include <string>

// $XDG_CONFIG_HOME/quirnel/quirnel.ini, or $HOME/.config/quirnel/quirnel.ini when the
// variable is unset or not an absolute path; the bytes of the variables are kept as they are.
std::string DefaultSettingsPath();
