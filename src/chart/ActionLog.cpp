#include "chart/ActionLog.h"

ActionLog::~ActionLog() {
    Stop();
}

bool ActionLog::Start(const std::string& path) {
    Stop();
    // Relative names land in the working directory, which the file dialogs move.
    m_file = std::fopen(path.c_str(), "wb+");
    return m_file != nullptr;
}

void ActionLog::Stop() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

void ActionLog::VowelSelected(const std::string& listEntry) {
    WriteLine("Vowel selected: " + listEntry);
}

void ActionLog::Formants(int f1, int f2, int f3) {
    WriteLine(std::to_string(f1) + ";" + std::to_string(f2) + ";" + std::to_string(f3));
}

void ActionLog::Saved() {
    WriteLine("Saved");
}

void ActionLog::Reset() {
    WriteLine("Init");
}

void ActionLog::WriteLine(const std::string& line) {
    if (!m_file)
        return;
    std::fputs(line.c_str(), m_file);
    std::fputs("\r\n", m_file);
}
