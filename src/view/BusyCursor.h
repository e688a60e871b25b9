// The busy cursor over the program's windows while a task of some length runs.
#pragma once

#include <QApplication>
#include <QCursor>

// Shows the busy cursor from its making to its end.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
