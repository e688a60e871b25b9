#include "base/Profile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>

namespace {

IProfile* g_installedProfile = nullptr;

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

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

IniFileProfile::IniFileProfile(std::string path) : m_path(std::move(path)) {
    Load();
}

void IniFileProfile::Load() {
    std::ifstream in(m_path);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            m_sections[section][Trim(line.substr(0, equals))] = Trim(line.substr(equals + 1));
    }
}

bool IniFileProfile::Save() const {
    std::ofstream out(m_path, std::ios::trunc);
    for (const auto& [section, values] : m_sections) {
        out << '[' << section << "]\n";
        for (const auto& [key, value] : values)
            out << key << '=' << value << '\n';
        out << '\n';
    }
    return static_cast<bool>(out);
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
    m_sections[section][key] = value;
    Save();
}
