#pragma once

// A pseudo-terminal for tests: the test writes on the master side what a device would send,
// the code under test opens the slave path as its serial port.

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

class PseudoTerminal {
public:
    PseudoTerminal() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            if (const char* name = ptsname(m_master))
                m_path = QString::fromLocal8Bit(name);
    }
    ~PseudoTerminal() { close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return m_master >= 0 && !m_path.isEmpty(); }
    QString path() const { return m_path; }
    bool write(const QByteArray& bytes) {
        qsizetype at = 0;
        while (at < bytes.size()) {
            const ssize_t n =
                ::write(m_master, bytes.constData() + at, static_cast<size_t>(bytes.size() - at));
            if (n <= 0)
                return false;
            at += n;
        }
        return true;
    }
    // The far end goes away, as an unplugged adapter does.
    void close() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_path;
};
