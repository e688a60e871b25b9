// The listener's window: no chart, large response buttons with the keys 1 to 8, a Replay
// button when replays are allowed, a progress count and breaks. Each answer is on disk
// before the next trial starts; Escape asks before the session ends.
#pragma once

#include "experiment/Responses.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <memory>

class CSoundPlayer;
class QLabel;
class QPushButton;
class QStackedLayout;

class SessionWindow : public QWidget {
    Q_OBJECT

public:
    explicit SessionWindow(QWidget* parent = nullptr);
    ~SessionWindow() override;

    // Opens (or resumes) the session and shows the instructions. "" on success.
    std::string Begin(const Experiment& experiment, const std::string& responsesPath);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowTrial();
    void PlayTrial();
    void PlayNextSound();
    void OnSoundFinished();
    void OnResponse(int index);
    void OnRating(int rating);
    void Record(int rating);
    void Replay();
    void ShowEnd(const QString& text);
    bool AskToEnd();
    std::string SoundPath(int stimulus) const;

    ListeningSession m_session;
    std::unique_ptr<CSoundPlayer> m_player;
    QElapsedTimer m_clock;
    QTimer m_gap; // the ISI between a trial's sounds, and the ITI before the next trial
    size_t m_soundIndex = 0;
    double m_lastSoundCallMs = -1; // when the last sound of the trial was asked for
    bool m_answerable = false;
    int m_replays = 0;
    std::string m_response; // waiting for its rating
    double m_responseRt = 0;
    bool m_finished = false;

    QStackedLayout* m_pages;
    QLabel* m_instructions;
    QLabel* m_progress;
    QLabel* m_prompt;
    std::vector<QPushButton*> m_responseButtons;
    std::vector<QPushButton*> m_ratingButtons;
    QPushButton* m_replay;
    QWidget* m_ratingRow;
    QLabel* m_breakText;
    QLabel* m_endText;
};
