#include "app/DisplayPlatform.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

std::string ChoiceFor(const std::map<std::string, std::string>& environment) {
    return ChooseDisplayPlatform([&environment](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    });
}

} // namespace

TEST(DisplayPlatform, XWaylandFirstOnAWaylandDesktopOtherwiseQtsOwnChoice) {
    EXPECT_EQ(ChoiceFor({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}), "xcb;wayland");
    EXPECT_EQ(ChoiceFor({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}}), "xcb;wayland");
    EXPECT_EQ(ChoiceFor({{"WAYLAND_DISPLAY", "wayland-0"}}), ""); // Wayland only: native
    EXPECT_EQ(ChoiceFor({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ""}}), "");
    EXPECT_EQ(ChoiceFor({{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}), ""); // X11 anyway
    EXPECT_EQ(
        ChoiceFor(
            {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}),
        ""); // the user's choice stands
    EXPECT_EQ(ChoiceFor({}), "");
}
