#include "view/AboutDlg.h"

#include "QuirnelVersion.h"
#include "reference/ReferenceSet.h"
#include "view/DialogUnits.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {

QLabel* AddText(QDialog* dialog, const QRect& rect, const QString& text) {
    auto* label = new QLabel(text, dialog);
    label->setGeometry(rect);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About this Program"));
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.Size(185, 156));
    auto* picture = new QLabel(this);
    picture->setGeometry(units.Rect(10, 8, 70, 62));
    picture->setPixmap(AboutPicture(picture->size()));
    QLabel* name = AddText(this, units.Rect(88, 10, 90, 12), QStringLiteral("Quirnel"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    AddText(this, units.Rect(88, 24, 90, 20),
            QStringLiteral("Vowel synthesis for phoneticians, file format 1.1"));
    AddText(this, units.Rect(88, 48, 90, 10), QStringLiteral("Version ") + kQuirnelVersion);
    AddText(this, units.Rect(7, 76, 171, 26),
            QStringLiteral("Click in the vowel chart and hear the vowel, made by a cascade "
                           "formant synthesizer voiced by recorded natural voicing."));
    AddText(this, units.Rect(7, 104, 171, 28),
            QStringLiteral("Written by the Quirnel project. Free software under the GNU "
                           "General Public License, version 3 or later (GPL-3.0-or-later)."));
    // The papers whose measurements the reference vowels show, below the credits; the box
    // grows by their height.
    QString papers = QStringLiteral("Reference vowels: published measurements from");
    for (const std::string& citation : ReferenceCitations())
        papers += QStringLiteral("\n") + QString::fromStdString(citation);
    QLabel* citations = AddText(this, units.Rect(7, 134, 171, 0), papers);
    citations->setFixedHeight(citations->heightForWidth(citations->width()));
    const QRect okRect = units.Rect(7, 0, 167, 14);
    const int gap = units.Size(0, 4).height();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(okRect.translated(0, citations->geometry().bottom() + gap));
    ok->setDefault(true);
    setFixedSize(units.Size(185, 0).width(),
                 ok->geometry().bottom() + 1 + units.Size(0, 7).height());
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

int CAboutDlg::DoModal() {
    return exec() == QDialog::Accepted ? 1 : 2;
}

QPixmap AboutPicture(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    // The vowel quadrilateral: front vowels on the left, open vowels at the bottom.
    const QPointF corners[] = {
        {0.08 * w, 0.10 * h}, {0.92 * w, 0.10 * h}, {0.92 * w, 0.90 * h}, {0.45 * w, 0.90 * h}};
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPolygon(corners, 4);
    painter.drawLine(QPointF(0.22 * w, 0.50 * h), QPointF(0.92 * w, 0.50 * h));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 200));
    for (const QPointF& corner : corners)
        painter.drawEllipse(corner, 2.5, 2.5);
    painter.setBrush(QColor(220, 0, 0));
    painter.drawEllipse(QPointF(0.55 * w, 0.45 * h), 4, 4);
    return pixmap;
}
