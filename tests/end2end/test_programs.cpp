// Every program answers as a command-line program does: usage on standard output and status 0
// for -h and --help, its name and version for --version, usage on the error stream and a
// failing status for an unknown option.
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Program {
    QString name;
    QString path;
    QString usage;   // how its usage begins
    QString version; // how its version line begins
};

const Program Programs[] = {
    {u"brevanto2"_s, QStringLiteral(BREVANTO2_EXE), u"usage: brevanto2 [--data FOLDER]"_s,
     u"brevanto2 2.16\n"_s},
    {u"brevanto2-console"_s, QStringLiteral(BREVANTO2_CONSOLE_EXE),
     u"usage: brevanto2-console [--console] --data"_s, u"brevanto2-console 2.16\n"_s},
    {u"ecard250-sim"_s, QStringLiteral(ECARD250_SIM_EXE), u"Usage: "_s, u"ecard250-sim 2.16"_s},
    {u"quorvelin2"_s, QStringLiteral(QUORVELIN2_EXE), u"Usage:\n  quorvelin2 "_s, u"quorvelin2 2.16"_s},
};

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome run(const QString& path, const QStringList& args) {
    QProcess p;
    // No display: help and version never need one.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);
    p.setProcessEnvironment(env);
    p.start(path, args);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

TEST(Programs, AnswerHelpAndVersion) {
    for (const Program& program : Programs) {
        SCOPED_TRACE(program.name.toStdString());
        for (const QString& help : {u"-h"_s, u"--help"_s}) {
            const Outcome r = run(program.path, {help});
            EXPECT_EQ(r.status, 0) << help.toStdString();
            EXPECT_TRUE(r.out.startsWith(program.usage)) << r.out.toStdString();
            EXPECT_TRUE(r.out.contains(u"--version"_s)) << r.out.toStdString();
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
        const Outcome v = run(program.path, {u"--version"_s});
        EXPECT_EQ(v.status, 0);
        EXPECT_TRUE(v.out.startsWith(program.version)) << v.out.toStdString();

        const Outcome bad = run(program.path, {u"--no-such-option"_s});
        EXPECT_GT(bad.status, 0);
        EXPECT_TRUE(bad.out.isEmpty()) << bad.out.toStdString();
        EXPECT_TRUE(bad.err.contains(u"--no-such-option"_s) || bad.err.contains(u"no-such-option"_s))
            << bad.err.toStdString();
    }
}

} // namespace

namespace {

// Both finish programs run the console station on request; neither waits without a folder.
TEST(Programs, TheConsoleWithoutAFolderEndsAtOnce) {
    for (const QString& path : {QStringLiteral(BREVANTO2_EXE), QStringLiteral(BREVANTO2_CONSOLE_EXE)}) {
        const Outcome r = run(path, {u"--console"_s});
        EXPECT_EQ(r.status, 2) << path.toStdString();
        EXPECT_TRUE(r.err.contains(u"needs a data folder: --data FOLDER"_s)) << r.err.toStdString();
    }
}

} // namespace
