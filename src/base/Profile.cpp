#include "base/Profile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

IProfile* g_installedProfile = nullptr;

} // namespace

int IProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) {
    const std::string text = GetString(section, key, "");
    if (text.empty())
        return defaultValue;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return defaultValue;
    return static_cast<int>(value);
}

void IProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void SetProfile(IProfile* profile) {
    g_installedProfile = profile;
}

IProfile& GetProfile() {
    static MemoryProfile fallback;
    return g_installedProfile ? *g_installedProfile : fallback;
}

std::string MemoryProfile::GetString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) {
    const auto it = m_values.find({section, key});
    return it == m_values.end() ? defaultValue : it->second;
}

void MemoryProfile::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
    m_values[{section, key}] = value;
}

bool MemoryProfile::Has(const std::string& section, const std::string& key) const {
    return m_values.count({section, key}) != 0;
}
