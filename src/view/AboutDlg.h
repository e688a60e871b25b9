// The About box: the program's name, a small vowel-chart picture and the credits.
#pragma once

#include <QDialog>

// "About this Program", shown modally by the application's About command.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    int DoModal();
};

// The About box's picture: a vowel quadrilateral with a few cardinal vowels, drawn here.
QPixmap AboutPicture(const QSize& size);
