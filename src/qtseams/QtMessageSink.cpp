#include "qtseams/QtMessageSink.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons BoxButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MsgAnswer Answer(int button, MsgButtons buttons) {
    switch (button) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    default:
        // Closing the box with Escape or the title bar: Cancel where there is one.
        return buttons == MsgButtons::YesNo ? MsgAnswer::No
               : buttons == MsgButtons::Ok  ? MsgAnswer::Ok
                                            : MsgAnswer::Cancel;
    }
}

} // namespace

MsgAnswer QtMessageSink::Show(const MessageRequest& request) {
    QMessageBox box(BoxIcon(request.icon), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), BoxButtons(request.buttons),
                    m_parent.data());
    return Answer(box.exec(), request.buttons);
}
