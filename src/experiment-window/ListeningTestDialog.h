// Tools > Listening Test: sets up a test from a continuum or a list of sound files, saves
// and opens it as a .qexp file, and starts the session window.
#pragma once

#include "experiment/Experiment.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

class ListeningTestDialog : public QDialog {
    Q_OBJECT

public:
    explicit ListeningTestDialog(QWidget* parent = nullptr);

    // Fills the form from a .qexp file; false (with the message shown) when it is refused.
    bool OpenTest(const std::string& path);
    // The test as the form describes it; "" on success, otherwise why it cannot run.
    std::string ReadForm(Experiment& experiment) const;

private:
    void ChooseContinuum();
    void ChooseFiles();
    void Open();
    void Save();
    void Start();
    void ShowForm(const Experiment& experiment);
    void UpdateTask();
    void UpdateResponsesName();

    // The stimuli as chosen: a manifest (absolute) or absolute file paths.
    std::string m_manifest;
    std::vector<Stimulus> m_stimuli;
    std::string m_soundFolder;
    std::string m_testPath; // the .qexp last opened or saved
    std::string m_title;    // the opened test's, kept when it is saved again

    QLabel* m_stimuliLabel;
    QComboBox* m_task;
    QLineEdit* m_labels;
    QCheckBox* m_rating;
    QComboBox* m_kind;
    QComboBox* m_distances;
    QSpinBox* m_isi;
    QSpinBox* m_repetitions;
    QComboBox* m_order;
    QSpinBox* m_practice;
    QSpinBox* m_replays;
    QSpinBox* m_iti;
    QSpinBox* m_breakEvery;
    QPlainTextEdit* m_instructions;
    QLineEdit* m_participant;
    QLineEdit* m_responses;
    bool m_responsesTyped = false;
    bool m_labelsTyped = false;
};
