// The chart view's stimulus commands: the sound heard saved as a file, vowel continua made
// and played.
#pragma once

#include "chart/CommandIds.h"
#include "stimuli/Continuum.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class ChartState;
class CSequencePlayer;

// Export Sound, Make Continuum and Play Continuum over the chart's state. Rendering,
// resampling, continua and writing are the stimuli library's; the controller asks, hands it
// the chart's vowel and tells the view what came of it.
class CStimulusController : public QObject {
    Q_OBJECT

public:
    // Both are borrowed; sequence may be nullptr (nothing plays).
    CStimulusController(ChartState& state, CSequencePlayer* sequence, QObject* parent = nullptr);

    // Runs ID_EXPORT_SOUND, ID_MAKE_CONTINUUM and ID_PLAY_CONTINUUM; false for the others.
    bool RunCommand(int id);
    // The state of those three commands; handled is false for the others.
    CommandState CommandStateOf(int id) const;

    // The step files of the last continuum made (the whole files of a cancelled one).
    const std::vector<std::string>& ContinuumFiles() const { return m_continuumFiles; }
    bool IsPlayingContinuum() const;

signals:
    // Text for the status bar in place of the point's values; "" shows the values again.
    void noticeChanged(const QString& text);
    void commandStatesChanged();

private:
    void OnExportSound();
    void OnMakeContinuum();
    void WriteContinuumFiles(const ContinuumRequest& request);
    void OnPlayContinuum();
    // Shows the step of a continuum that plays in the status bar.
    void FollowContinuumPlay();

    ChartState& m_state;
    CSequencePlayer* m_pSequence;
    std::vector<std::string> m_continuumFiles;
    std::vector<std::string> m_playingFiles; // the continuum that plays, as it was started
    ContinuumRequest m_continuum;            // the last values of Make Continuum
    int m_nTypedF1 = 0;                      // the end point last typed there
    int m_nTypedF2 = 0;
    int m_nContinuumGapMs = 500;
};
