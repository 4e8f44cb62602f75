#pragma once

// The hourglass pointer while a rebuild runs; restored however the work ends.

#include <QApplication>
#include <QCursor>

namespace basWaitCursor {

template <typename Work> void run(Work&& work) {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    struct Restore {
        ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;
    work();
}

} // namespace basWaitCursor
