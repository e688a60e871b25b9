// Which Qt display platform the program starts on.
#pragma once

#include <functional>
#include <string>

// The value for QT_QPA_PLATFORM, or "" to leave the choice to Qt. The wave list docks at
// the main window's edge and the window comes back to its place only where the program
// may place its windows, which a native Wayland client may not. So when the user has not
// chosen a platform and a Wayland desktop also offers an X server (XWayland: DISPLAY is
// set), the X11 platform comes first, with native Wayland as the fallback when the X
// server cannot be reached. `variable` reads the environment (nullptr: unset).
std::string ChooseDisplayPlatform(const std::function<const char*(const char*)>& variable);
