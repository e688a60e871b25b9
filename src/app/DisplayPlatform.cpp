#include "app/DisplayPlatform.h"

namespace {

bool IsSet(const char* value) {
    return value && *value;
}

} // namespace

std::string ChooseDisplayPlatform(const std::function<const char*(const char*)>& variable) {
    if (IsSet(variable("QT_QPA_PLATFORM")) || !IsSet(variable("DISPLAY")))
        return "";
    const char* session = variable("XDG_SESSION_TYPE");
    const bool wayland =
        IsSet(variable("WAYLAND_DISPLAY")) || (session && std::string(session) == "wayland");
    return wayland ? "xcb;wayland" : "";
}
