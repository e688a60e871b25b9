#include "app/SettingsFile.h"

#include <cstdlib>

std::string DefaultSettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base = config ? config : "";
    if (base.empty() || base[0] != '/') {
        const char* home = std::getenv("HOME");
        base = std::string(home && home[0] ? home : "/") + "/.config";
        if (base.compare(0, 2, "//") == 0)
            base.erase(0, 1);
    }
    return base + "/quirnel/quirnel.ini";
}
