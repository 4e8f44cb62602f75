#pragma once

// Waiting on the event loop, for tests of sockets, serial ports and child programs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

// Runs the event loop until the condition holds or the time is up.
template <typename Pred> bool waitUntil(Pred pred, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

// Runs the event loop for a while, for what must not happen.
inline void settle(int ms = 100) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
}
