// The application profile in an INI file, written by the same rules as documents.
#pragma once

#include "base/IniText.h"
#include "base/Profile.h"

#include <cstddef>
#include <string>

// Settings files hold a few short lines; a bigger file is not one.
constexpr size_t kMaxSettingsFileBytes = size_t{1} << 20;

// Reads the file once at construction (a missing file is an empty profile). Every change
// rewrites it at once with the safe replace: a symbolic link is written through, a target
// that is not a regular file or may not be written is refused, and the old file survives
// every failure. A file that exists but cannot be read (a folder, a device, a pipe, a file
// over kMaxSettingsFileBytes, no permission) is neither waited on nor ever overwritten.
// The first failure is reported with the file-error message; the settings are then kept in
// memory until the program ends.
class IniFileProfile : public IProfile {
public:
    explicit IniFileProfile(std::string path);

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    const std::string& Path() const { return m_path; }

private:
    void Save();
    void ReportOnce(int error);

    std::string m_path;
    IniSections m_sections;
    bool m_bKeepFile = false; // the file could not be read, so it is left as it is
    bool m_bReported = false;
};
