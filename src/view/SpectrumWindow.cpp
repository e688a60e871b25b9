#include "view/SpectrumWindow.h"

#include "audio/SoundFile.h"
#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Report.h"
#include "base/Settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kCanvasWidth = 600;
constexpr int kCanvasHeight = 380;

} // namespace

CSpectrumWindow::CSpectrumWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setModal(false);
    setWindowTitle(QStringLiteral("Spectrum"));
}

void CSpectrumWindow::reject() {
    emit closeRequested();
}

void CSpectrumWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

CSpectrumCanvas::CSpectrumCanvas(const VowelSpectrum& spectrum, const SpectrumOptions& options,
                                 const ChartLook& look, QWidget* parent)
    : QWidget(parent), m_spectrum(spectrum), m_options(options), m_look(look) {
    setMinimumSize(400, 250);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSpectrumCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_spectrum.soundDb.empty()) {
        painter.setFont(m_look.labelFont);
        const QString text = m_spectrum.report.Ok()
                                 ? QStringLiteral("Play a vowel to see its spectrum.")
                                 : QStringLiteral("No spectrum: the sound could not be read.");
        painter.drawText(rect(), Qt::AlignCenter, text);
        return;
    }
    DrawSpectrum(painter, QRectF(rect()), m_spectrum, m_options, m_look);
    emit drawn();
}

CSpectrumView::CSpectrumView(QWidget* owner, const ChartLook& look)
    : QObject(owner), m_pOwner(owner), m_look(look) {
    m_options.showSource = ReadSetting(settings::kSpectrumSource) == 1;
    m_options.logFrequency = ReadSetting(settings::kSpectrumLog) == 1;
    m_options.topDb = ReadSetting(settings::kSpectrumTopDb);
    m_options.rangeDb = ReadSetting(settings::kSpectrumRangeDb);
}

CSpectrumView::~CSpectrumView() {
    delete m_window.data();
}

void CSpectrumView::Create() {
    if (m_window)
        return;
    // A child of the main window: it stays above it and goes with it.
    m_window = new CSpectrumWindow(m_pOwner ? m_pOwner->window() : nullptr);
    connect(m_window, &CSpectrumWindow::closeRequested, this, &CSpectrumView::closeRequested);
    CreateControls();
    if (m_pOwner)
        DockTo(m_pOwner->window()->frameGeometry());
    m_window->show();
}

void CSpectrumView::CreateControls() {
    auto* layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(4, 4, 4, 4);
    m_canvas = new CSpectrumCanvas(m_spectrum, m_options, m_look, m_window);
    m_canvas->resize(kCanvasWidth, kCanvasHeight);
    m_canvas->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(m_canvas, &CSpectrumCanvas::drawn, this, &CSpectrumView::drawn);
    layout->addWidget(m_canvas, 1);
    auto* row = new QHBoxLayout;
    m_source = new QCheckBox(QStringLiteral("&Source"), m_window);
    m_source->setChecked(m_options.showSource);
    m_log = new QCheckBox(QStringLiteral("&Log frequency"), m_window);
    m_log->setChecked(m_options.logFrequency);
    m_top = new QSpinBox(m_window);
    m_top->setRange(kSpectrumTopDbMin, kSpectrumTopDbMax);
    m_top->setValue(m_options.topDb);
    m_top->setSuffix(QStringLiteral(" dB"));
    m_range = new QSpinBox(m_window);
    m_range->setRange(kSpectrumRangeDbMin, kSpectrumRangeDbMax);
    m_range->setSingleStep(10);
    m_range->setValue(m_options.rangeDb);
    m_range->setSuffix(QStringLiteral(" dB"));
    auto* exportButton = new QPushButton(QStringLiteral("&Export..."), m_window);
    row->addWidget(m_source);
    row->addWidget(m_log);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("Top"), m_window));
    row->addWidget(m_top);
    row->addWidget(new QLabel(QStringLiteral("Range"), m_window));
    row->addWidget(m_range);
    row->addStretch(1);
    row->addWidget(exportButton);
    layout->addLayout(row);
    m_window->resize(kCanvasWidth + 8, kCanvasHeight + 44);
    connect(m_source, &QCheckBox::toggled, this, &CSpectrumView::OptionsChanged);
    connect(m_log, &QCheckBox::toggled, this, &CSpectrumView::OptionsChanged);
    connect(m_top, &QSpinBox::valueChanged, this, &CSpectrumView::OptionsChanged);
    connect(m_range, &QSpinBox::valueChanged, this, &CSpectrumView::OptionsChanged);
    connect(exportButton, &QPushButton::clicked, this, &CSpectrumView::OnExport);
}

void CSpectrumView::OptionsChanged() {
    if (!m_window)
        return;
    m_options.showSource = m_source->isChecked();
    m_options.logFrequency = m_log->isChecked();
    m_options.topDb = m_top->value();
    m_options.rangeDb = m_range->value();
    WriteSetting(settings::kSpectrumSource, m_options.showSource ? 1 : 0);
    WriteSetting(settings::kSpectrumLog, m_options.logFrequency ? 1 : 0);
    WriteSetting(settings::kSpectrumTopDb, m_options.topDb);
    WriteSetting(settings::kSpectrumRangeDb, m_options.rangeDb);
    m_canvas->update();
}

void CSpectrumView::DestroyWindow() {
    if (!m_window)
        return;
    CSpectrumWindow* window = m_window;
    m_window = nullptr;
    m_canvas = nullptr;
    m_source = m_log = nullptr;
    m_top = m_range = nullptr;
    window->disconnect(this);
    window->hide();
    window->deleteLater();
}

void CSpectrumView::DockTo(const QRect& frameRect) {
    if (m_window)
        m_window->move(frameRect.x(), frameRect.y() + frameRect.height());
}

void CSpectrumView::ShowVowel(const VowelRequest& request) {
    if (!m_window)
        return;
    // Measured once control is back in the event loop (the chart plays from its paint), and
    // only the last of several vowels played in between.
    if (!m_pending)
        QTimer::singleShot(0, this, &CSpectrumView::AnalysePending);
    m_pending = request;
}

void CSpectrumView::AnalysePending() {
    if (!m_pending)
        return;
    const VowelRequest request = *m_pending;
    m_pending.reset();
    if (!m_window)
        return;
    m_spectrum = AnalyseVowel(request);
    m_canvas->update();
}

void CSpectrumView::ShowRecording(const std::string& path) {
    if (!m_window)
        return;
    m_pending.reset();
    DecodedSound sound;
    if (!DecodeSoundFile(path, sound) || sound.channels <= 0) {
        m_spectrum = VowelSpectrum();
        m_spectrum.report.Fail();
        m_canvas->update();
        return;
    }
    // The channels are averaged into one.
    std::vector<double> mono(sound.Frames());
    for (size_t i = 0; i < mono.size(); ++i) {
        double sum = 0;
        for (int c = 0; c < sound.channels; ++c)
            sum += sound.samples[i * static_cast<size_t>(sound.channels) + c];
        mono[i] = sum / sound.channels;
    }
    m_spectrum = AnalyseRecording(mono, sound.sampleRate);
    m_canvas->update();
}

void CSpectrumView::OnExport() {
    if (m_spectrum.soundDb.empty()) {
        ShowMessage("Play a vowel first: there is no spectrum to export yet.", "Export Spectrum",
                    MsgIcon::Information);
        return;
    }
    const FileChoice choice = GetFileDialogs().SaveFile(
        "Export Spectrum", g_strVowDir, "vowel-spectrum.svg",
        "SVG drawing (*.svg);;PDF document (*.pdf);;PNG picture (*.png)", "svg");
    if (!choice.accepted)
        return;
    ShowReport(WriteSpectrumFigure(choice.path, m_spectrum, m_options, m_look));
}
