#pragma once

#include "FileControlHost.h"

#include <QTextStream>

// The file control's host on a console: progress as a percentage rewritten in place, the
// archive's lap files as a numbered list to answer, messages as lines. Everything it shows goes
// to one stream (standard error for the tool, so that standard output keeps the results).
class clsConsoleFileHost : public FileControlHost {
public:
    // With takeFirst set, an archive's first lap file is taken without asking.
    clsConsoleFileHost(QTextStream& in, QTextStream& out, bool takeFirst = false);
    ~clsConsoleFileHost() override;

    void showProgress() override;
    void setProgress(int percent) override;
    void closeProgress() override;
    std::optional<QString> chooseFile(const QString& folder, const QStringList& files) override;
    void message(const QString& text, const QString& title) override;

private:
    QTextStream& m_in;
    QTextStream& m_out;
    bool m_takeFirst;
    bool m_progressOpen = false;
    int m_lastPercent = -1;
    bool m_lineStarted = false; // a progress line is on the screen and not yet ended
};
