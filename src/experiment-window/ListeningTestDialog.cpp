#include "experiment-window/ListeningTestDialog.h"

#include "base/FileDialogs.h"
#include "base/SafeFile.h"
#include "doc/VowelInventory.h"
#include "experiment-window/SessionWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <filesystem>

namespace {

const char* const kTitle = "Listening Test";
const char* const kTestFilters = "Listening tests (*.qexp);;All Files (*)";

QSpinBox* Spin(int lowest, int highest, int value, const QString& suffix = QString()) {
    auto* spin = new QSpinBox;
    spin->setRange(lowest, highest);
    spin->setValue(value);
    spin->setSuffix(suffix);
    return spin;
}

std::string Folder(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// path as seen from folder, when it lies below it; else as it is.
std::string RelativeTo(const std::string& path, const std::string& folder) {
    const std::filesystem::path relative =
        std::filesystem::path(path).lexically_relative(Absolute(folder));
    return relative.empty() || *relative.begin() == ".." ? path : relative.string();
}

// The symbol of the chart's preset vowel (primary and rounded, male table) nearest to the
// formants on a logarithmic scale; "" when they are not known.
std::string NearestVowelSymbol(double f1, double f2) {
    if (f1 <= 0 || f2 <= 0)
        return "";
    std::string nearest;
    double best = INFINITY;
    for (int type = 0; type < 2; ++type) {
        for (int position = 0; position < kPositionsPerType; ++position) {
            const VowelEntry& vowel = kPresetVowels[kMale][type][position];
            if (!vowel.symbol || static_cast<unsigned char>(vowel.symbol[0]) == kBlankSymbolByte)
                continue;
            const double distance =
                std::pow(std::log(vowel.f1 / f1), 2) + std::pow(std::log(vowel.f2 / f2), 2);
            if (distance < best) {
                best = distance;
                nearest = SymbolToUtf8(static_cast<unsigned char>(vowel.symbol[0]));
            }
        }
    }
    return nearest;
}

} // namespace

ListeningTestDialog::ListeningTestDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kTitle);
    auto* form = new QFormLayout;
    m_stimuliLabel = new QLabel(tr("none chosen"));
    m_stimuliLabel->setWordWrap(true);
    auto* continuum = new QPushButton(tr("&Continuum..."));
    auto* files = new QPushButton(tr("&Files..."));
    auto* stimuliRow = new QHBoxLayout;
    stimuliRow->addWidget(m_stimuliLabel, 1);
    stimuliRow->addWidget(continuum);
    stimuliRow->addWidget(files);
    form->addRow(tr("Stimuli:"), stimuliRow);

    m_task = new QComboBox;
    m_task->addItems({tr("Identification"), tr("Discrimination")});
    form->addRow(tr("&Task:"), m_task);
    m_labels = new QLineEdit(QStringLiteral("A, B"));
    m_labels->setToolTip(tr("2 to 8 response labels separated by commas (keys 1 to 8)"));
    form->addRow(tr("&Labels:"), m_labels);
    m_rating = new QCheckBox(tr("Goodness &rating (1 to 7) after each answer"));
    form->addRow(QString(), m_rating);
    m_kind = new QComboBox;
    m_kind->addItems({tr("AX (same or different)"), tr("ABX")});
    form->addRow(tr("&Discrimination:"), m_kind);
    m_distances = new QComboBox;
    m_distances->addItems({tr("1 step apart"), tr("2 steps apart"), tr("1 and 2 steps apart")});
    form->addRow(tr("&Pairs:"), m_distances);
    m_isi = Spin(0, kLongestPauseMs, 500, tr(" ms"));
    form->addRow(tr("&Inter-stimulus interval:"), m_isi);
    m_repetitions = Spin(1, kMostRepetitions, 10);
    form->addRow(tr("R&epetitions:"), m_repetitions);
    m_order = new QComboBox;
    m_order->addItems(
        {tr("Balanced (no immediate repeats)"), tr("Fixed cyclic"), tr("Fully random")});
    form->addRow(tr("&Order:"), m_order);
    m_practice = Spin(0, kMostRepetitions, 0, tr(" x each end point"));
    form->addRow(tr("Pr&actice:"), m_practice);
    m_replays = Spin(0, kMostReplays, 0);
    form->addRow(tr("Re&plays allowed:"), m_replays);
    m_iti = Spin(0, kLongestPauseMs, 1000, tr(" ms"));
    form->addRow(tr("Inter-trial &interval:"), m_iti);
    m_breakEvery = Spin(0, 100000, 0, tr(" trials"));
    m_breakEvery->setSpecialValueText(tr("no breaks"));
    form->addRow(tr("&Break every:"), m_breakEvery);
    m_instructions = new QPlainTextEdit;
    m_instructions->setPlaceholderText(tr("Shown to the listener before the first trial"));
    m_instructions->setMaximumHeight(80);
    form->addRow(tr("I&nstructions:"), m_instructions);
    m_participant = new QLineEdit;
    form->addRow(tr("Participant &code:"), m_participant);
    m_responses = new QLineEdit;
    m_responses->setToolTip(tr("Answers are added to this file; a session of the same "
                               "participant in it is resumed"));
    form->addRow(tr("Responses &file:"), m_responses);

    auto* buttons = new QDialogButtonBox;
    QPushButton* open = buttons->addButton(tr("&Open..."), QDialogButtonBox::ActionRole);
    QPushButton* save = buttons->addButton(tr("&Save..."), QDialogButtonBox::ActionRole);
    QPushButton* start = buttons->addButton(tr("S&tart"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Close);
    start->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(continuum, &QPushButton::clicked, this, &ListeningTestDialog::ChooseContinuum);
    connect(files, &QPushButton::clicked, this, &ListeningTestDialog::ChooseFiles);
    connect(open, &QPushButton::clicked, this, &ListeningTestDialog::Open);
    connect(save, &QPushButton::clicked, this, &ListeningTestDialog::Save);
    connect(start, &QPushButton::clicked, this, &ListeningTestDialog::Start);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_task, &QComboBox::currentIndexChanged, this, &ListeningTestDialog::UpdateTask);
    connect(m_participant, &QLineEdit::textChanged, this,
            &ListeningTestDialog::UpdateResponsesName);
    connect(m_responses, &QLineEdit::textEdited, this, [this] { m_responsesTyped = true; });
    connect(m_labels, &QLineEdit::textEdited, this, [this] { m_labelsTyped = true; });
    UpdateTask();
}

void ListeningTestDialog::UpdateTask() {
    const bool identification = m_task->currentIndex() == 0;
    m_labels->setEnabled(identification);
    m_rating->setEnabled(identification);
    m_kind->setEnabled(!identification);
    m_distances->setEnabled(!identification);
    m_isi->setEnabled(!identification);
}

// responses-CODE.csv beside the stimuli, until a name is typed.
void ListeningTestDialog::UpdateResponsesName() {
    if (m_responsesTyped)
        return;
    std::string code = m_participant->text().trimmed().toStdString();
    for (char& c : code) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    const std::string folder = !m_testPath.empty()     ? Folder(m_testPath)
                               : m_soundFolder.empty() ? std::string(".")
                                                       : m_soundFolder;
    m_responses->setText(
        code.empty() ? QString() : QString::fromStdString(folder + "/responses-" + code + ".csv"));
}

void ListeningTestDialog::ChooseContinuum() {
    const FileChoice choice = GetFileDialogs().OpenFile(
        kTitle, m_soundFolder, "Continuum manifests (*.csv);;All Files (*)");
    if (!choice.accepted)
        return;
    std::vector<Stimulus> stimuli;
    const Report read = ReadContinuumManifest(choice.path, stimuli);
    if (!read.Ok()) {
        QMessageBox::warning(this, kTitle, QString::fromStdString(read.Text()));
        return;
    }
    m_manifest = Absolute(choice.path);
    m_stimuli = stimuli;
    // The labels default to the end points' vowel symbols.
    const std::string first = NearestVowelSymbol(stimuli.front().f1Hz, stimuli.front().f2Hz);
    const std::string last = NearestVowelSymbol(stimuli.back().f1Hz, stimuli.back().f2Hz);
    if (!m_labelsTyped && !first.empty() && !last.empty() && first != last)
        m_labels->setText(QString::fromStdString(first + ", " + last));
    m_soundFolder = Folder(m_manifest);
    m_stimuliLabel->setText(
        tr("%1 steps of %2")
            .arg(stimuli.size())
            .arg(QString::fromStdString(std::filesystem::path(m_manifest).filename().string())));
    UpdateResponsesName();
}

void ListeningTestDialog::ChooseFiles() {
    const FileChoice choice = GetFileDialogs().OpenFiles(
        kTitle, m_soundFolder, "Sound files (*.wav *.flac);;All Files (*)");
    if (!choice.accepted || choice.paths.size() < 2) {
        if (choice.accepted)
            QMessageBox::warning(this, kTitle, tr("A test needs at least two sound files."));
        return;
    }
    m_manifest.clear();
    m_stimuli.clear();
    for (const std::string& path : choice.paths)
        m_stimuli.push_back({static_cast<int>(m_stimuli.size()) + 1, Absolute(path), 0, 0});
    m_soundFolder = Folder(choice.paths.front());
    m_stimuliLabel->setText(tr("%1 sound files").arg(m_stimuli.size()));
    UpdateResponsesName();
}

std::string ListeningTestDialog::ReadForm(Experiment& experiment) const {
    Experiment e;
    e.title = m_title;
    e.manifest = m_manifest;
    e.stimuli = m_stimuli;
    e.soundFolder = m_manifest.empty() ? std::string() : m_soundFolder;
    e.task = m_task->currentIndex() == 0 ? TestTask::Identification : TestTask::Discrimination;
    e.rating = m_rating->isChecked();
    e.kind = m_kind->currentIndex() == 0 ? DiscriminationKind::AX : DiscriminationKind::ABX;
    e.pairDistances = m_distances->currentIndex() == 0   ? std::vector<int>{1}
                      : m_distances->currentIndex() == 1 ? std::vector<int>{2}
                                                         : std::vector<int>{1, 2};
    e.isiMs = m_isi->value();
    e.repetitions = m_repetitions->value();
    e.order = static_cast<TrialOrder>(m_order->currentIndex());
    e.practiceRepetitions = m_practice->value();
    e.replays = m_replays->value();
    e.itiMs = m_iti->value();
    e.breakEvery = m_breakEvery->value();
    e.instructions = m_instructions->toPlainText().toStdString();
    e.participant = m_participant->text().trimmed().toStdString();
    // The labels are read as the file reads them, with the same refusals.
    Experiment labels;
    const std::string problem =
        ParseExperiment("[test]\nlabels = " + m_labels->text().toStdString() +
                            "\n[stimuli]\nfile = a\nfile = b\n",
                        ".", labels)
            .Text();
    if (!problem.empty() && e.task == TestTask::Identification)
        return "The labels: " + problem.substr(problem.find(": ") + 2);
    e.labels = labels.labels;
    if (m_stimuli.empty())
        return "Choose the stimuli first: a continuum's manifest or sound files.";
    if (std::string check = CheckExperiment(e); !check.empty())
        return check;
    experiment = e;
    return "";
}

void ListeningTestDialog::ShowForm(const Experiment& e) {
    m_manifest = e.manifest.empty()
                     ? std::string()
                     : Absolute((std::filesystem::path(Folder(m_testPath)) / e.manifest).string());
    m_stimuli = e.stimuli;
    m_soundFolder = e.soundFolder;
    m_title = e.title;
    if (e.manifest.empty()) {
        for (Stimulus& s : m_stimuli)
            s.file = Absolute((std::filesystem::path(e.soundFolder) / s.file).string());
    }
    m_stimuliLabel->setText(
        e.manifest.empty()
            ? tr("%1 sound files").arg(m_stimuli.size())
            : tr("%1 steps of %2").arg(m_stimuli.size()).arg(QString::fromStdString(e.manifest)));
    m_task->setCurrentIndex(e.task == TestTask::Identification ? 0 : 1);
    QStringList labels;
    for (const std::string& label : e.labels)
        labels << QString::fromStdString(label);
    m_labels->setText(labels.join(QStringLiteral(", ")));
    m_labelsTyped = true; // the file's labels stay when another continuum is chosen
    m_rating->setChecked(e.rating);
    m_kind->setCurrentIndex(e.kind == DiscriminationKind::AX ? 0 : 1);
    m_distances->setCurrentIndex(e.pairDistances.size() == 2 ? 2 : e.pairDistances[0] - 1);
    m_isi->setValue(e.isiMs);
    m_repetitions->setValue(e.repetitions);
    m_order->setCurrentIndex(static_cast<int>(e.order));
    m_practice->setValue(e.practiceRepetitions);
    m_replays->setValue(e.replays);
    m_iti->setValue(e.itiMs);
    m_breakEvery->setValue(e.breakEvery);
    m_instructions->setPlainText(QString::fromStdString(e.instructions));
    m_responsesTyped = false;
    m_participant->setText(QString::fromStdString(e.participant));
    UpdateResponsesName();
}

bool ListeningTestDialog::OpenTest(const std::string& path) {
    Experiment experiment;
    const Report read = ReadExperimentFile(path, experiment);
    if (!read.Ok()) {
        QMessageBox::warning(this, kTitle, QString::fromStdString(read.Text()));
        return false;
    }
    m_testPath = Absolute(path);
    ShowForm(experiment);
    return true;
}

void ListeningTestDialog::Open() {
    const FileChoice choice = GetFileDialogs().OpenFile(
        kTitle, m_testPath.empty() ? m_soundFolder : Folder(m_testPath), kTestFilters);
    if (choice.accepted)
        OpenTest(choice.path);
}

void ListeningTestDialog::Save() {
    Experiment e;
    if (const std::string problem = ReadForm(e); !problem.empty()) {
        QMessageBox::warning(this, kTitle, QString::fromStdString(problem));
        return;
    }
    const FileChoice choice =
        GetFileDialogs().SaveFile(kTitle, m_testPath.empty() ? m_soundFolder : Folder(m_testPath),
                                  "test.qexp", kTestFilters, "qexp");
    if (!choice.accepted)
        return;
    // Names relative to the test's folder, so that the folder can be moved as a whole.
    const std::string folder = Folder(Absolute(choice.path));
    if (!e.manifest.empty())
        e.manifest = RelativeTo(e.manifest, folder);
    else
        for (Stimulus& s : e.stimuli)
            s.file = RelativeTo(s.file, folder);
    const std::string problem = WriteOutputFile(choice.path, ExperimentText(e));
    if (!problem.empty()) {
        QMessageBox::warning(this, kTitle, QString::fromStdString(problem));
        return;
    }
    m_testPath = Absolute(choice.path);
}

void ListeningTestDialog::Start() {
    Experiment e;
    std::string problem = ReadForm(e);
    if (problem.empty() && e.participant.empty())
        problem = "Type the participant's code: the answers are kept under it, and the same "
                  "code resumes an interrupted session.";
    if (problem.empty() && m_responses->text().trimmed().isEmpty())
        problem = "Name the responses file.";
    if (!problem.empty()) {
        QMessageBox::warning(this, kTitle, QString::fromStdString(problem));
        return;
    }
    auto* window = new SessionWindow;
    problem = window->Begin(e, m_responses->text().trimmed().toStdString());
    if (!problem.empty()) {
        delete window;
        QMessageBox::warning(this, kTitle, QString::fromStdString(problem));
        return;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}
