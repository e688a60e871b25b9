// The chart view's spectrum window: shown and hidden by View > Spectrum (the choice kept in
// the settings), docked below the main window, and fed with every vowel played and with the
// recording selected in the wave list.
#pragma once

#include <QObject>
#include <QRect>

#include <string>

class CSpectrumView;
struct ChartLook;
struct ChartVowel;

class CSpectrumController : public QObject {
    Q_OBJECT

public:
    // Both are borrowed; owner is the window's owner (the chart view).
    CSpectrumController(QWidget* owner, const ChartLook& look);

    // Opens the window, or closes it while it is open; the choice is kept in the settings.
    void Toggle();
    bool IsOpen() const;
    // Opens the window at start-up when it was open when the program last ended.
    void Restore();
    // The window's keeper, made on first use; it lives as long as the owner.
    CSpectrumView* Window();
    void DockTo(const QRect& frameRect);
    // Shows the vowel just played, or a recording, when the window is open.
    void ShowVowel(const ChartVowel& vowel);
    void ShowRecording(const std::string& path);

signals:
    void commandStatesChanged();

private:
    void Close();

    QWidget* m_owner;
    const ChartLook& m_look;
    CSpectrumView* m_pSpectrum = nullptr; // a child of the owner
};
