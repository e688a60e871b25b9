// The wave list window: its controls, the list of entries, playback and the list files.
#include "view/WaveListDlg.h"

#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "audio/WaveListFile.h"
#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Report.h"
#include "base/Settings.h"
#include "view/DialogUnits.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <filesystem>

namespace {

constexpr const char* kWaveFilter = "Wave PCM (*.wav)";
constexpr const char* kListFilter = "Wave List (*.wlist)";
constexpr const char* kListExtension = "wlist";

// The name shown for an entry: the part after the last separator ("\" in lists written on
// Windows, "/" here).
QString LineText(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return QString::fromStdString(separator == std::string::npos ? path
                                                                 : path.substr(separator + 1));
}

std::string FolderOf(const std::string& file) {
    return std::filesystem::path(file).parent_path().string();
}

// The list file's name with its extension made ".wlist": any other extension is replaced,
// a name without one gets it added. Only the file name is looked at, so a "." in a folder
// name is left alone.
std::string WithListExtension(const std::string& path) {
    const size_t nameStart = path.find_last_of('/') + 1; // 0 when there is no folder
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return path + "." + kListExtension;
    return path.substr(0, dot + 1) + kListExtension;
}

// The extension was changed after the save dialog asked about the chosen name, so a list
// that already has the new name is only replaced when the user agrees.
bool MayReplace(const std::string& chosen, const std::string& path) {
    std::error_code error;
    if (path == chosen || !std::filesystem::exists(path, error))
        return true;
    const std::string text = path + " already exists.\nDo you want to replace it?";
    return ShowMessage(text, "Save As", MsgIcon::Warning, MsgButtons::YesNo) == MsgAnswer::Yes;
}

} // namespace

// --- The window ----------------------------------------------------------------------------

CWaveListWindow::CWaveListWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setModal(false);
    setWindowTitle(QStringLiteral("Wave List"));
}

void CWaveListWindow::reject() {
    emit cancelRequested();
}

void CWaveListWindow::closeEvent(QCloseEvent* event) {
    // The owner decides; it closes the window through the view.
    event->ignore();
    emit cancelRequested();
}

// --- Creation ------------------------------------------------------------------------------

CWaveListDlg::CWaveListDlg(QWidget* owner, ISoundPlayer* player)
    : QObject(owner), m_pOwner(owner), m_pPlayer(player) {}

CWaveListDlg::~CWaveListDlg() {
    delete m_window.data();
}

bool CWaveListDlg::Create(CVolumeCtrl* volume, int vowelVolume) {
    if (m_window)
        return true;
    // A child of the main window: it stays above it and goes with it.
    m_window = new CWaveListWindow(m_pOwner ? m_pOwner->window() : nullptr);
    connect(m_window, &CWaveListWindow::cancelRequested, this, &CWaveListDlg::OnCancel);
    CreateControls();
    if (m_pOwner)
        DockTo(m_pOwner->window()->frameGeometry());
    m_strDir = StoredFolder();
    Refill();
    m_pVolume = volume && volume->IsAvailable() ? volume : nullptr;
    if (m_pVolume) {
        SetUpSliders(vowelVolume);
    } else {
        m_wavSlider->hide();
        m_synthSlider->hide();
    }
    m_window->show();
    if (!m_pVolume)
        ShowMessage("Volume Sliders are not available.", "Error", MsgIcon::Error);
    return true;
}

void CWaveListDlg::CreateControls() {
    m_window->setFont(DialogFont());
    const DialogUnits units(m_window->font());
    m_window->setFixedSize(units.Size(184, 222));
    // Created in the template's order, which is also the tab order.
    QPushButton* play = AddButton(IDC_WAVELIST_PLAY, "Play", 127, 95);
    play->setDefault(true);
    connect(play, &QPushButton::clicked, this, &CWaveListDlg::OnPlay);
    connect(AddButton(IDC_WAVELIST_ADD, "Add", 127, 25), &QPushButton::clicked, this,
            &CWaveListDlg::OnAdd);
    connect(AddButton(IDC_WAVELIST_REMOVE, "Remove", 127, 40), &QPushButton::clicked, this,
            &CWaveListDlg::OnRemove);
    connect(AddButton(IDC_WAVELIST_OPEN, "Open", 127, 60), &QPushButton::clicked, this,
            &CWaveListDlg::OnOpen);
    connect(AddButton(IDC_WAVELIST_SAVE, "Save", 127, 75), &QPushButton::clicked, this,
            &CWaveListDlg::OnSave);
    m_list = new QListWidget(m_window);
    m_list->setObjectName(QString::number(IDC_WAVELIST_LIST));
    m_list->setGeometry(units.Rect(7, 7, 112, 208));
    m_list->setSortingEnabled(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CWaveListDlg::OnPlay);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<size_t>(row) < m_files.size())
            emit recordingSelected(m_files[static_cast<size_t>(row)]);
    });
    connect(AddButton(IDC_WAVELIST_CLOSE, "Close", 127, 7), &QPushButton::clicked, this,
            &CWaveListDlg::OnCancel);
    m_wavSlider = AddSlider(IDC_WAVELIST_WAV_SLIDER, 160, 120);
    m_synthSlider = AddSlider(IDC_WAVELIST_SYNTH_SLIDER, 127, 120);
    connect(m_wavSlider, &QSlider::valueChanged, this, &CWaveListDlg::OnWavSliderMoved);
    connect(m_synthSlider, &QSlider::valueChanged, this, &CWaveListDlg::OnSynthSliderMoved);
    AddLabel("Wav", 159, 205, 16, 10);
    AddLabel("Synth", 123, 205, 25, 10);
    // The view's play command reaches this window too: Space plays the chart's vowel.
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), m_window);
    connect(space, &QShortcut::activated, this, &CWaveListDlg::vowelPlayRequested);
}

QPushButton* CWaveListDlg::AddButton(int id, const char* text, int x, int y) {
    auto* button = new QPushButton(QString::fromLatin1(text), m_window);
    button->setObjectName(QString::number(id));
    button->setGeometry(DialogUnits(m_window->font()).Rect(x, y, 50, 14));
    return button;
}

// A vertical slider without ticks; Qt draws its maximum at the top.
QSlider* CWaveListDlg::AddSlider(int id, int x, int y) {
    auto* slider = new QSlider(Qt::Vertical, m_window);
    slider->setObjectName(QString::number(id));
    slider->setGeometry(DialogUnits(m_window->font()).Rect(x, y, 17, 85));
    slider->setTickPosition(QSlider::NoTicks);
    return slider;
}

void CWaveListDlg::AddLabel(const char* text, int x, int y, int cx, int cy) {
    auto* label = new QLabel(QString::fromLatin1(text), m_window);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(DialogUnits(m_window->font()).Rect(x, y, cx, cy));
}

void CWaveListDlg::SetUpSliders(int vowelVolume) {
    const int minimum = m_pVolume->GetMinimum();
    const int maximum = m_pVolume->GetMaximum();
    if (m_nWavVolume == 0)
        m_nWavVolume = std::clamp(m_pVolume->GetVolume(), minimum, maximum);
    const QSignalBlocker wavBlocker(m_wavSlider);
    const QSignalBlocker synthBlocker(m_synthSlider);
    for (QSlider* slider : {m_wavSlider, m_synthSlider}) {
        slider->setRange(minimum, maximum);
        slider->setPageStep(std::max(1, (maximum - minimum) / 5));
    }
    m_wavSlider->setValue(m_nWavVolume);
    m_synthSlider->setValue(vowelVolume);
}

void CWaveListDlg::DestroyWindow() {
    if (!m_window)
        return;
    m_nClosedSelection = SelectedIndex();
    CWaveListWindow* window = m_window;
    m_window = nullptr;
    m_list = nullptr;
    m_wavSlider = m_synthSlider = nullptr;
    window->disconnect(this);
    window->hide();
    window->deleteLater();
}

void CWaveListDlg::DockTo(const QRect& frameRect) {
    if (m_window)
        m_window->move(frameRect.x() + frameRect.width(), frameRect.y());
}

// --- The list ------------------------------------------------------------------------------

int CWaveListDlg::SelectedIndex() const {
    if (!m_list) {
        const bool held =
            m_nClosedSelection >= 0 && static_cast<size_t>(m_nClosedSelection) < m_files.size();
        return held ? m_nClosedSelection : -1;
    }
    const QListWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? m_list->row(item) : -1;
}

void CWaveListDlg::Refill() {
    m_list->clear();
    for (const std::string& path : m_files)
        m_list->addItem(LineText(path));
    for (int row = 0; row < m_list->count(); ++row)
        ShowMark(row);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

void CWaveListDlg::AddLine(const std::string& path) {
    m_files.push_back(path);
    m_list->addItem(LineText(path));
}

void CWaveListDlg::ShowMark(int row) {
    QListWidgetItem* item = m_list ? m_list->item(row) : nullptr;
    if (!item || static_cast<size_t>(row) >= m_files.size())
        return;
    const size_t index = static_cast<size_t>(row);
    const std::string mark = index < m_marks.size() ? m_marks[index] : std::string();
    const std::string tip = index < m_tips.size() ? m_tips[index] : std::string();
    const QString text = LineText(m_files[index]) + QString::fromStdString(mark);
    if (item->text() != text)
        item->setText(text);
    item->setToolTip(QString::fromStdString(tip));
}

void CWaveListDlg::SetMarks(std::vector<std::string> marks, std::vector<std::string> tips) {
    m_marks = std::move(marks);
    m_tips = std::move(tips);
    if (m_list)
        for (int row = 0; row < m_list->count(); ++row)
            ShowMark(row);
}

// The folder of the file chosen in a dialog becomes the working directory, as the
// platform's own dialogs leave it, and the folder the next dialog starts in.
void CWaveListDlg::RememberDirectory(const std::string& chosenFile) {
    const std::string folder = FolderOf(chosenFile);
    if (folder.empty())
        return;
    ChangeDirectory(folder);
    m_strDir = folder;
    StoreFolder(m_strDir);
}

std::string CWaveListDlg::StoredFolder() {
    return ReadSetting(settings::kWaveListFolder);
}

void CWaveListDlg::StoreFolder(const std::string& folder) {
    WriteSetting(settings::kWaveListFolder, folder);
}

// --- Commands ------------------------------------------------------------------------------

void CWaveListDlg::OnPlay() {
    const int index = SelectedIndex();
    if (index < 0 || !m_pPlayer)
        return;
    m_pPlayer->Stop();
    if (m_pVolume)
        m_pVolume->SetVolume(static_cast<unsigned>(m_nWavVolume));
    m_pPlayer->Play(m_files[static_cast<size_t>(index)]);
}

void CWaveListDlg::OnAdd() {
    if (!m_window)
        return;
    const FileChoice choice = GetFileDialogs().OpenFiles("Open", m_strDir, kWaveFilter);
    if (!choice.accepted || choice.paths.empty())
        return;
    // The first file added is selected, so that Play plays it.
    const int first = m_list->count();
    for (const std::string& path : choice.paths)
        AddLine(path);
    m_list->setCurrentRow(first);
    RememberDirectory(choice.paths.front());
    emit entriesChanged();
}

void CWaveListDlg::AddRecording(const std::string& path) {
    if (m_list) {
        AddLine(path);
        m_list->setCurrentRow(m_list->count() - 1);
    } else {
        m_files.push_back(path);
    }
    emit entriesChanged();
}

void CWaveListDlg::OnRemove() {
    const int index = SelectedIndex();
    if (!m_list || index < 0)
        return;
    delete m_list->takeItem(index);
    m_files.erase(m_files.begin() + index);
    const int count = m_list->count();
    if (count == 0) {
        m_list->setCurrentRow(-1);
        m_list->clearSelection();
    } else {
        m_list->setCurrentRow(std::min(index, count - 1));
    }
    emit entriesChanged();
}

void CWaveListDlg::OnOpen() {
    if (!m_window)
        return;
    const FileChoice choice = GetFileDialogs().OpenFile("Open", m_strDir, kListFilter);
    if (!choice.accepted)
        return;
    RememberDirectory(choice.path);
    if (OpenList(choice.path))
        OnPlay();
}

bool CWaveListDlg::OpenList(const std::string& path) {
    // A list that cannot be read is reported and leaves the entries as they were.
    const Report loaded = LoadWaveList(m_files, path);
    ShowReport(loaded);
    if (!loaded.Ok())
        return false;
    if (m_window)
        Refill();
    emit entriesChanged();
    return true;
}

void CWaveListDlg::OnSave() {
    if (!m_window)
        return;
    const FileChoice choice =
        GetFileDialogs().SaveFile("Save As", m_strDir, "", kListFilter, kListExtension);
    if (!choice.accepted)
        return;
    const std::string path = WithListExtension(choice.path);
    if (!MayReplace(choice.path, path))
        return;
    // A list that could not be written is reported; its folder is not kept.
    const Report saved = SaveWaveList(m_files, path);
    ShowReport(saved);
    if (saved.Ok())
        RememberDirectory(path);
}

void CWaveListDlg::OnCancel() {
    if (isSignalConnected(QMetaMethod::fromSignal(&CWaveListDlg::closeRequested)))
        emit closeRequested();
    else
        DestroyWindow();
}

void CWaveListDlg::OnWavSliderMoved(int volume) {
    m_nWavVolume = volume;
}

void CWaveListDlg::OnSynthSliderMoved(int volume) {
    emit vowelVolumeChanged(volume);
}
