// The application profile: strings and integers by section and key.
#pragma once

#include <map>
#include <string>
#include <utility>

// Reads and writes the application profile, the one way to the settings file; the window
// backs it with an INI file (qtseams/QtSettingsProfile.h), the command line and the tests
// with memory. The settings themselves are listed in Settings.h.
class IProfile {
public:
    virtual ~IProfile() = default;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) = 0;
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Integers are stored as decimal text; a missing or non-numeric value gives the default.
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue);
    virtual void WriteInt(const std::string& section, const std::string& key, int value);
};

// Installs the profile used from now on; nullptr restores a process-wide memory profile.
void SetProfile(IProfile* profile);
IProfile& GetProfile();

// A profile held in memory, for tests and the command line.
class MemoryProfile : public IProfile {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool Has(const std::string& section, const std::string& key) const;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
