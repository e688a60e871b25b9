#include "base/IniFileProfile.h"

#include "base/FileError.h"
#include "base/MessageBox.h"
#include "base/SafeFile.h"

#include <cerrno>
#include <filesystem>

IniFileProfile::IniFileProfile(std::string path) : m_path(std::move(path)) {
    std::string text;
    const int error = ReadWholeFile(m_path, text, kMaxSettingsFileBytes);
    if (error == 0) {
        m_sections = ParseIniText(text);
    } else if (error != ENOENT) {
        m_bKeepFile = true;
        ReportOnce(error);
    }
}

std::string IniFileProfile::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) {
    const auto s = m_sections.find(section);
    if (s == m_sections.end())
        return defaultValue;
    const auto k = s->second.find(key);
    return k == s->second.end() ? defaultValue : k->second;
}

void IniFileProfile::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value) {
    auto& keys = m_sections[section];
    const auto existing = keys.find(key);
    if (existing != keys.end() && existing->second == value)
        return;
    keys[key] = value;
    Save();
}

void IniFileProfile::Save() {
    if (m_bKeepFile)
        return;
    // The folder of a first settings file (~/.config/quirnel) may not exist yet.
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    if (int error = ReplaceFileContents(m_path, FormatIniText(m_sections)))
        ReportOnce(error);
}

void IniFileProfile::ReportOnce(int error) {
    if (m_bReported)
        return;
    m_bReported = true;
    ShowMessage(FileErrorText(m_path, FileErrorCauseFromErrno(error)) +
                    "Changes of folders and options will not be saved.",
                "Error", MsgIcon::Error, MsgButtons::Ok);
}
