#include "clsConsoleFileHost.h"

using namespace Qt::StringLiterals;

clsConsoleFileHost::clsConsoleFileHost(QTextStream& in, QTextStream& out, bool takeFirst)
    : m_in(in), m_out(out), m_takeFirst(takeFirst) {}

clsConsoleFileHost::~clsConsoleFileHost() {
    closeProgress();
}

void clsConsoleFileHost::showProgress() {
    // Nothing is printed until a loader reports, so a file that does not open shows no line.
    m_progressOpen = true;
    m_lastPercent = -1;
    m_lineStarted = false;
}

void clsConsoleFileHost::setProgress(int percent) {
    // Loaders report per class; only a change is worth a rewrite of the line.
    if (!m_progressOpen || percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    m_lineStarted = true;
    m_out << u"\r%1 %"_s.arg(percent, 3);
    m_out.flush();
}

void clsConsoleFileHost::closeProgress() {
    if (!m_progressOpen)
        return;
    m_progressOpen = false;
    if (m_lineStarted)
        m_out << u'\n';
    m_lineStarted = false;
    m_out.flush();
}

std::optional<QString> clsConsoleFileHost::chooseFile(const QString& folder, const QStringList& files) {
    (void)folder;
    if (files.isEmpty())
        return std::nullopt;
    if (m_takeFirst)
        return files.first();
    m_out << u"The archive holds %1 lap files:\n"_s.arg(files.size());
    for (qsizetype k = 0; k < files.size(); ++k)
        m_out << u"%1  %2\n"_s.arg(k + 1, 3).arg(files[k]);
    // A few tries, then the question counts as cancelled; so does the end of the input.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_out << u"Load which file (1-%1, Enter for 1, 0 to cancel)? "_s.arg(files.size());
        m_out.flush();
        QString answer;
        if (!m_in.readLineInto(&answer)) {
            m_out << u'\n';
            m_out.flush();
            return std::nullopt;
        }
        answer = answer.trimmed();
        if (answer.isEmpty())
            return files.first();
        bool ok = false;
        const int n = answer.toInt(&ok);
        if (ok && n == 0)
            return std::nullopt;
        if (ok && n >= 1 && n <= files.size())
            return files[n - 1];
        if (files.contains(answer))
            return answer;
        m_out << u"There is no file %1.\n"_s.arg(answer);
    }
    return std::nullopt;
}

void clsConsoleFileHost::message(const QString& text, const QString& title) {
    // A message in the middle of a progress line starts a line of its own.
    if (m_lineStarted) {
        m_out << u'\n';
        m_lineStarted = false;
        m_lastPercent = -1;
    }
    m_out << (title.isEmpty() ? text : title + u": "_s + text) << u'\n';
    m_out.flush();
}
