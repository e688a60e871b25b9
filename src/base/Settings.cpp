#include "base/Settings.h"

#include "base/Directories.h"
#include "base/Profile.h"

std::string ReadSetting(const FolderSetting& setting) {
    return ReadSetting(setting, setting.whenAbsent == FolderDefault::StartFolder ? g_strStartDir
                                                                                 : std::string());
}

std::string ReadSetting(const FolderSetting& setting, const std::string& whenAbsent) {
    return GetProfile().GetString(setting.section, setting.key, whenAbsent);
}

void WriteSetting(const FolderSetting& setting, const std::string& folder) {
    GetProfile().WriteString(setting.section, setting.key, folder);
}

int ReadSetting(const NumberSetting& setting) {
    const int value = GetProfile().GetInt(setting.section, setting.key, setting.defaultValue);
    return value >= setting.minimum && value <= setting.maximum ? value : setting.defaultValue;
}

void WriteSetting(const NumberSetting& setting, int value) {
    GetProfile().WriteInt(setting.section, setting.key, value);
}

std::string ReadSetting(const TextSetting& setting) {
    return GetProfile().GetString(setting.section, setting.key, setting.defaultValue);
}

void WriteSetting(const TextSetting& setting, const std::string& value) {
    GetProfile().WriteString(setting.section, setting.key, value);
}
