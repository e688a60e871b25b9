// The spectrum window: the vowel just played, or a recording of the wave list, as its
// spectrum, docked below the main window.
#pragma once

#include "drawing/ChartDrawing.h"
#include "drawing/SpectrumDrawing.h"
#include "spectrum/VowelSpectrum.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <optional>

class QCheckBox;
class QPushButton;
class QSpinBox;

// The window itself: hands Escape and the title bar's close box to its owner.
class CSpectrumWindow : public QDialog {
    Q_OBJECT

public:
    explicit CSpectrumWindow(QWidget* parent);

signals:
    void closeRequested();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
};

// Paints the spectrum shown, at the canvas's size.
class CSpectrumCanvas : public QWidget {
    Q_OBJECT

public:
    CSpectrumCanvas(const VowelSpectrum& spectrum, const SpectrumOptions& options,
                    const ChartLook& look, QWidget* parent);

signals:
    // A spectrum has been drawn (after every paint that shows one).
    void drawn();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const VowelSpectrum& m_spectrum;
    const SpectrumOptions& m_options;
    const ChartLook& m_look;
};

// The spectrum of the chart view. The object lives as long as its owner; its window is
// created and destroyed as the user shows and hides it, and the options stay meanwhile
// (they are kept in the settings as the user changes them).
class CSpectrumView : public QObject {
    Q_OBJECT

public:
    CSpectrumView(QWidget* owner, const ChartLook& look);
    ~CSpectrumView() override;

    // Creates and shows the window docked below the owner's main window.
    void Create();
    // Closes the window (deleted once control is back in the event loop).
    void DestroyWindow();
    bool IsWindow() const { return m_window != nullptr; }
    // Moves the window, keeping its size, so that its top-left corner lies at the
    // bottom-left corner of frameRect (screen coordinates).
    void DockTo(const QRect& frameRect);

    // Measures the vowel (it has already been played) and draws it when control is back in
    // the event loop; nothing while the window is closed.
    void ShowVowel(const VowelRequest& request);
    // Measures a recording over its middle; a file that cannot be read is said in the
    // window, not in a box.
    void ShowRecording(const std::string& path);
    // The window's Export button: the spectrum shown to SVG, PDF or PNG.
    void OnExport();

    // --- State, for the view and the tests ---------------------------------------------
    const VowelSpectrum& Shown() const { return m_spectrum; }
    const SpectrumOptions& Options() const { return m_options; }
    QDialog* Window() const { return m_window; }
    CSpectrumCanvas* Canvas() const { return m_canvas; }
    QCheckBox* SourceBox() const { return m_source; }
    QCheckBox* LogBox() const { return m_log; }
    QSpinBox* TopBox() const { return m_top; }
    QSpinBox* RangeBox() const { return m_range; }

signals:
    // Close the window: Escape or the close box.
    void closeRequested();
    // A spectrum was drawn in the window.
    void drawn();

private:
    void CreateControls();
    void OptionsChanged();
    void AnalysePending();

    QWidget* m_pOwner;
    const ChartLook& m_look;
    VowelSpectrum m_spectrum;
    std::optional<VowelRequest> m_pending; // the vowel played last, not yet measured
    SpectrumOptions m_options;
    QPointer<CSpectrumWindow> m_window;
    CSpectrumCanvas* m_canvas = nullptr;
    QCheckBox* m_source = nullptr;
    QCheckBox* m_log = nullptr;
    QSpinBox* m_top = nullptr;
    QSpinBox* m_range = nullptr;
};
