// The chart view's wave list: the wave list window, its requests and its recordings measured
// and shown on the chart.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <string>

class ChartState;
class CRecordingMeasurer;
class CVolumeCtrl;
class CWaveListDlg;
class ISoundPlayer;

// Opens and closes the wave list window beside the main window, plays its entries and keeps
// the chart's recordings in step with its entries: each is measured in the background and
// drawn once known; those not drawn are marked in the list.
class CWaveListController : public QObject {
    Q_OBJECT

public:
    // All are borrowed; owner is the window's owner (the chart view), vowelVolume the volume
    // of the synthesized vowels, which the window's slider shows.
    CWaveListController(QWidget* owner, ChartState& state, ISoundPlayer* player,
                        CVolumeCtrl* volume, const int& vowelVolume);

    // Takes the stored choices of View > Recordings on Chart and Recording Tracks into the
    // chart's state (at start-up).
    void ReadOptions();
    // Opens the window, or closes it while it is open.
    void Toggle();
    // Opens the window (when it is closed) holding the entries of the list file.
    void OpenListFile(const std::string& path);
    bool IsOpen() const;
    // Plays the entry selected in the window (while it is closed: the one that was selected
    // when it closed).
    void PlaySelected();
    // The window, made on first use; it lives as long as its owner.
    CWaveListDlg* Window();
    void DockTo(const QRect& frameRect);

    // Runs View > Recordings on Chart and Recording Tracks; false for the others.
    bool RunRecordingCommand(int id);
    // Takes the window's entries and what is known of them into the chart's state, marks in
    // the list those not drawn, and redraws; measuring starts for those not yet known.
    void SyncRecordings();
    // The marks of the entries not drawn, under the chart's scale as it is now.
    void ShowRecordingMarks();
    // The recording under the mouse at a view point: its file name and measured formants.
    QString RecordingTip(const QPoint& point) const;

signals:
    void commandStatesChanged();
    // What the chart shows of the recordings has changed.
    void chartChanged();
    void vowelVolumeChanged(int volume);
    void vowelPlayRequested();
    void recordingSelected(const std::string& path);

private:
    void Close();

    QWidget* m_owner;
    ChartState& m_state;
    ISoundPlayer* m_pPlayer;
    CVolumeCtrl* m_pVolume;
    const int& m_nVolume;
    CWaveListDlg* m_pWaveList = nullptr;       // a child of the owner
    CRecordingMeasurer* m_pMeasurer = nullptr; // made when recordings are first shown
};
