#include "experiment-window/SessionWindow.h"

#include "audio/SoundPlayer.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <filesystem>

namespace {

enum Page { kIntroPage, kTrialPage, kBreakPage, kEndPage };

QPushButton* BigButton(const QString& text) {
    auto* button = new QPushButton(text);
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() * 2.2);
    button->setFont(font);
    button->setMinimumSize(140, 90);
    button->setFocusPolicy(Qt::NoFocus); // the keys answer, not a focused button
    return button;
}

QLabel* BigText(const QString& text = QString()) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

SessionWindow::SessionWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(tr("Listening Test"));
    resize(900, 600);
    m_gap.setSingleShot(true);
    m_pages = new QStackedLayout(this);

    auto* intro = new QWidget;
    auto* introLayout = new QVBoxLayout(intro);
    m_instructions = BigText();
    auto* start = BigButton(tr("Start"));
    introLayout->addStretch();
    introLayout->addWidget(m_instructions);
    introLayout->addWidget(start, 0, Qt::AlignCenter);
    introLayout->addWidget(new QLabel(tr("F11: full screen. Escape: end the test.")), 0,
                           Qt::AlignCenter);
    introLayout->addStretch();
    m_pages->addWidget(intro);

    auto* trial = new QWidget;
    auto* trialLayout = new QVBoxLayout(trial);
    m_progress = new QLabel;
    trialLayout->addWidget(m_progress, 0, Qt::AlignRight);
    trialLayout->addStretch();
    m_prompt = BigText();
    trialLayout->addWidget(m_prompt);
    auto* responses = new QHBoxLayout;
    for (int i = 0; i < kMostLabels; ++i) {
        auto* button = BigButton(QString());
        connect(button, &QPushButton::clicked, this, [this, i] { OnResponse(i); });
        responses->addWidget(button);
        m_responseButtons.push_back(button);
    }
    trialLayout->addLayout(responses);
    m_ratingRow = new QWidget;
    auto* ratings = new QHBoxLayout(m_ratingRow);
    ratings->addWidget(new QLabel(tr("How good an example? (1 poor, 7 very good)")));
    for (int r = kLowestRating; r <= kHighestRating; ++r) {
        auto* button = BigButton(QString::number(r));
        button->setMinimumSize(70, 70);
        connect(button, &QPushButton::clicked, this, [this, r] { OnRating(r); });
        ratings->addWidget(button);
        m_ratingButtons.push_back(button);
    }
    trialLayout->addWidget(m_ratingRow);
    m_replay = new QPushButton(tr("&Replay"));
    m_replay->setFocusPolicy(Qt::NoFocus);
    connect(m_replay, &QPushButton::clicked, this, &SessionWindow::Replay);
    trialLayout->addWidget(m_replay, 0, Qt::AlignCenter);
    trialLayout->addStretch();
    m_pages->addWidget(trial);

    auto* pause = new QWidget;
    auto* pauseLayout = new QVBoxLayout(pause);
    m_breakText = BigText();
    auto* goOn = BigButton(tr("Continue"));
    pauseLayout->addStretch();
    pauseLayout->addWidget(m_breakText);
    pauseLayout->addWidget(goOn, 0, Qt::AlignCenter);
    pauseLayout->addStretch();
    m_pages->addWidget(pause);

    auto* end = new QWidget;
    auto* endLayout = new QVBoxLayout(end);
    m_endText = BigText();
    auto* close = BigButton(tr("Close"));
    endLayout->addStretch();
    endLayout->addWidget(m_endText);
    endLayout->addWidget(close, 0, Qt::AlignCenter);
    endLayout->addStretch();
    m_pages->addWidget(end);

    connect(start, &QPushButton::clicked, this, &SessionWindow::ShowTrial);
    connect(goOn, &QPushButton::clicked, this, &SessionWindow::PlayTrial);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_gap, &QTimer::timeout, this, [this] {
        if (m_answerable || m_soundIndex == 0)
            ShowTrial(); // the ITI has passed
        else
            PlayNextSound(); // the ISI has passed
    });
}

SessionWindow::~SessionWindow() = default;

std::string SessionWindow::Begin(const Experiment& experiment, const std::string& path) {
    const std::string problem = m_session.Open(experiment, path);
    if (!problem.empty())
        return problem;
    m_player = std::make_unique<CSoundPlayer>();
    connect(m_player.get(), &CSoundPlayer::Finished, this, &SessionWindow::OnSoundFinished);
    m_clock.start();
    const std::vector<std::string> choices = TrialChoices(experiment);
    for (size_t i = 0; i < m_responseButtons.size(); ++i) {
        m_responseButtons[i]->setVisible(i < choices.size());
        if (i < choices.size())
            m_responseButtons[i]->setText(QString::fromStdString(choices[i]) +
                                          QStringLiteral("\n(%1)").arg(i + 1));
    }
    m_replay->setVisible(experiment.replays > 0);
    QString text = QString::fromStdString(experiment.instructions);
    if (m_session.NextIndex() > 0)
        text += tr("\n\nThe test goes on where it stopped.");
    m_instructions->setText(text.isEmpty() ? tr("Press Start when you are ready.") : text);
    m_pages->setCurrentIndex(m_session.Finished() ? kEndPage : kIntroPage);
    if (m_session.Finished())
        m_endText->setText(tr("This participant has finished the test already."));
    return "";
}

std::string SessionWindow::SoundPath(int stimulus) const {
    const Stimulus& s = m_session.Test().stimuli[stimulus];
    const std::filesystem::path file(s.file);
    if (file.is_absolute() || m_session.Test().soundFolder.empty())
        return s.file;
    return (std::filesystem::path(m_session.Test().soundFolder) / file).string();
}

// The break, or the trial's page and its sounds.
void SessionWindow::ShowTrial() {
    if (m_session.Finished()) {
        ShowEnd(tr("Thank you. The test is finished."));
        return;
    }
    if (m_session.BreakDue() && m_pages->currentIndex() != kBreakPage) {
        m_breakText->setText(tr("Time for a break. %1 of %2 trials done.")
                                 .arg(m_session.DoneInBlock())
                                 .arg(m_session.BlockLength()));
        m_pages->setCurrentIndex(kBreakPage);
        return;
    }
    PlayTrial();
}

void SessionWindow::PlayTrial() {
    const Trial& trial = m_session.Current();
    m_pages->setCurrentIndex(kTrialPage);
    m_progress->setText(
        (trial.block == TrialBlock::Practice ? tr("Practice %1 of %2") : tr("%1 of %2"))
            .arg(trial.number)
            .arg(m_session.BlockLength()));
    m_prompt->setText(QString());
    m_ratingRow->setVisible(false);
    m_replays = 0;
    m_response.clear();
    m_answerable = false;
    for (QPushButton* button : m_responseButtons)
        button->setEnabled(false);
    m_replay->setEnabled(false);
    m_soundIndex = 0;
    PlayNextSound();
}

void SessionWindow::PlayNextSound() {
    const Trial& trial = m_session.Current();
    const std::string path = SoundPath(trial.sounds[m_soundIndex]);
    const bool last = m_soundIndex + 1 == trial.sounds.size();
    if (last)
        m_lastSoundCallMs = m_clock.nsecsElapsed() / 1e6;
    m_player->Play(path);
    if (m_player->LastResult() != CSoundPlayer::PlayResult::Started) {
        ShowEnd(tr("The sound %1 cannot be played (%2). The answers so far are saved; the "
                   "test can be resumed with the same participant code.")
                    .arg(QString::fromStdString(path),
                         m_player->LastResult() == CSoundPlayer::PlayResult::NoOutput
                             ? tr("no sound output")
                             : tr("the file cannot be read")));
        return;
    }
    ++m_soundIndex;
    if (last) {
        // The listener may answer as soon as the last sound has begun.
        m_answerable = true;
        for (QPushButton* button : m_responseButtons)
            button->setEnabled(true);
    }
}

void SessionWindow::OnSoundFinished() {
    if (m_finished)
        return;
    const Trial& trial = m_session.Current();
    if (m_soundIndex < trial.sounds.size() && !m_answerable) {
        m_gap.start(m_session.Test().isiMs);
        return;
    }
    m_replay->setEnabled(m_answerable && m_response.empty() &&
                         m_replays < m_session.Test().replays);
}

void SessionWindow::Replay() {
    if (!m_answerable || m_replays >= m_session.Test().replays || m_player->IsPlaying())
        return;
    ++m_replays;
    m_replay->setEnabled(false);
    m_answerable = false;
    for (QPushButton* button : m_responseButtons)
        button->setEnabled(false);
    m_soundIndex = 0;
    PlayNextSound();
}

void SessionWindow::OnResponse(int index) {
    const std::vector<std::string> choices = TrialChoices(m_session.Test());
    if (!m_answerable || !m_response.empty() || index >= static_cast<int>(choices.size()))
        return;
    // From when the server started the last sound (the player's first-sample time).
    const int64_t delayUs = m_player->FirstSampleDelayUs();
    const double started = m_lastSoundCallMs + (delayUs >= 0 ? delayUs / 1000.0 : 0);
    m_responseRt = std::max(0.0, m_clock.nsecsElapsed() / 1e6 - started);
    m_response = choices[index];
    m_replay->setEnabled(false);
    if (m_session.Test().task == TestTask::Identification && m_session.Test().rating) {
        for (size_t i = 0; i < m_responseButtons.size(); ++i)
            m_responseButtons[i]->setEnabled(static_cast<int>(i) == index);
        m_ratingRow->setVisible(true);
        return;
    }
    Record(0);
}

void SessionWindow::OnRating(int rating) {
    if (!m_response.empty() && m_ratingRow->isVisible())
        Record(rating);
}

void SessionWindow::Record(int rating) {
    const std::string problem = m_session.Answer(m_response, rating, m_responseRt, m_replays);
    if (!problem.empty()) {
        QMessageBox::critical(this, windowTitle(), QString::fromStdString(problem));
        m_response.clear(); // the trial stays: answer again once the disk is back
        m_ratingRow->setVisible(false);
        for (QPushButton* button : m_responseButtons)
            button->setEnabled(true);
        return;
    }
    m_player->Stop();
    m_answerable = true; // tells the timer that the ITI is running
    for (QPushButton* button : m_responseButtons)
        button->setEnabled(false);
    m_ratingRow->setVisible(false);
    m_gap.start(m_session.Test().itiMs);
}

void SessionWindow::ShowEnd(const QString& text) {
    m_finished = true;
    m_gap.stop();
    if (m_player)
        m_player->Stop();
    m_endText->setText(text);
    m_pages->setCurrentIndex(kEndPage);
}

void SessionWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        if (m_finished || AskToEnd())
            close();
        return;
    }
    if (key == Qt::Key_F11) {
        isFullScreen() ? showNormal() : showFullScreen();
        return;
    }
    if (m_pages->currentIndex() != kTrialPage || key < Qt::Key_1 || key > Qt::Key_8) {
        if (m_pages->currentIndex() == kTrialPage && key == Qt::Key_R)
            Replay();
        else
            QWidget::keyPressEvent(event);
        return;
    }
    const int number = key - Qt::Key_0;
    if (m_ratingRow->isVisible()) {
        if (number <= kHighestRating)
            OnRating(number);
    } else
        OnResponse(number - 1);
}

bool SessionWindow::AskToEnd() {
    const int done = static_cast<int>(m_session.NextIndex());
    return QMessageBox::question(
               this, windowTitle(),
               tr("End the test now? The %1 answers given are saved; the test can be resumed "
                  "with the same participant code and responses file.")
                   .arg(done)) == QMessageBox::Yes;
}

void SessionWindow::closeEvent(QCloseEvent* event) {
    if (!m_finished && m_session.NextIndex() > 0 && !m_session.Finished() && event->spontaneous() &&
        !AskToEnd()) {
        event->ignore();
        return;
    }
    m_finished = true;
    m_gap.stop();
    if (m_player)
        m_player->Stop();
    event->accept();
}
