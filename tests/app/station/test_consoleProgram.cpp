// The console program run for real: what it says about its folder and port, that it refuses
// to wait without a folder, that its output reaches a pipe or a file card by card, that it
// counts what a noisy line spoils, and that it runs without the widget library.
#include "TestFolder.h"
#include "WaitFor.h"
#include "basTextFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

const QString Separator = u"----------------------------------------\n"_s;
constexpr int DemoCards = 13;      // cards laid on the unit
constexpr int DemoEcardLines = 12; // one of them is laid twice

QString demoEvent(const TestFolder& work) {
    const QString data = work.file(u"event"_s);
    QDir().mkpath(data);
    const QDir demo(sourcePath(u"examples/demo-event"_s));
    for (const QString& name : {u"Course.txt"_s, u"Name.csv"_s, u"Other.txt"_s, u"Brevanto2.ini"_s})
        QFile::copy(demo.filePath(name), QDir(data).filePath(name));
    return data;
}

// Starts the simulator on a pseudo-terminal with the demo cards; the terminal's path.
QString startSimulator(QProcess& sim, const QStringList& extra = {}) {
    sim.start(QStringLiteral(ECARD250_SIM_EXE),
              QStringList{u"--cards"_s, sourcePath(u"examples/demo-event/demo-cards.txt"_s), u"--fast"_s,
                          u"--gap"_s, u"100"_s, u"--linger"_s, u"3000"_s} +
                  extra);
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000))
        return {};
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

int ecardLines(const QString& data) {
    QStringList lines;
    return basTextFile::readLines(QDir(data).filePath(u"Ecard.txt"_s), &lines)
               ? static_cast<int>(lines.size())
               : 0;
}

void stop(QProcess& p) {
    p.kill();
    p.waitForFinished(3000);
}

TEST(ConsoleProgram, WithoutAFolderItEndsAtOnceAndSaysWhy) {
    TestFolder work;
    struct Case {
        QStringList args;
        QString error;
    } cases[] = {
        {{}, u"needs a data folder: --data FOLDER"_s},
        {{u"--console"_s, u"--port"_s, u"/dev/null"_s}, u"needs a data folder: --data FOLDER"_s},
        {{u"--data"_s, work.file(u"no-such-event"_s)},
         u"データフォルダがありません: "_s + work.file(u"no-such-event"_s)},
    };
    for (const Case& c : cases) {
        const std::string what = c.args.join(u' ').toStdString();
        QProcess station;
        station.start(QStringLiteral(BREVANTO2_CONSOLE_EXE), c.args);
        ASSERT_TRUE(station.waitForFinished(10000)) << what << ": still waiting";
        EXPECT_EQ(station.exitStatus(), QProcess::NormalExit) << what;
        EXPECT_EQ(station.exitCode(), 2) << what;
        EXPECT_TRUE(QString::fromUtf8(station.readAllStandardError()).contains(c.error)) << what;
    }
}

TEST(ConsoleProgram, SaysWhichFolderAndPortItOpenedWithoutWidgets) {
    TestFolder work;
    const QString data = demoEvent(work);
    const QString folderLine = u"第３回　ブレバント練習会  "_s + QDir(data).absolutePath() + u"/\n"_s;

    // No port: it says that none is connected, and keeps serving.
    QProcess station;
    station.start(QStringLiteral(BREVANTO2_CONSOLE_EXE), {u"--data"_s, data});
    ASSERT_TRUE(station.waitForStarted());
    QString out;
    ASSERT_TRUE(waitUntil(
        [&] {
            station.waitForReadyRead(50);
            out += QString::fromUtf8(station.readAllStandardOutput());
            return out.contains(u"接続していません"_s);
        },
        10000))
        << out.toStdString();
    EXPECT_TRUE(out.startsWith(folderLine)) << out.toStdString();
    EXPECT_TRUE(out.contains(u"\n× 接続していません (--port DEVICE)\n"_s)) << out.toStdString();
    EXPECT_EQ(station.state(), QProcess::Running);

    // The console program runs without the widget library.
    QFile maps(u"/proc/%1/maps"_s.arg(station.processId()));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    EXPECT_TRUE(mapped.contains("libQt6Core")) << "the maps are read";
    EXPECT_FALSE(mapped.contains("libQt6Widgets"));
    stop(station);

    // A port that cannot be opened: said on the error stream, and the program ends.
    QProcess refused;
    refused.start(QStringLiteral(BREVANTO2_CONSOLE_EXE),
                  {u"--data"_s, data, u"--port"_s, work.file(u"no-such-tty"_s)});
    ASSERT_TRUE(refused.waitForFinished(10000));
    EXPECT_EQ(refused.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(refused.readAllStandardError())
                    .startsWith(u"× 接続できません: "_s + work.file(u"no-such-tty"_s) + u" ("_s));

    // A port that opens: named with the panel's text.
    QProcess sim;
    const QString pty = startSimulator(sim);
    ASSERT_TRUE(pty.startsWith(u"/dev/"_s)) << pty.toStdString();
    QProcess connected;
    connected.start(QStringLiteral(BREVANTO2_CONSOLE_EXE), {u"--data"_s, data, u"--port"_s, pty});
    out.clear();
    ASSERT_TRUE(waitUntil(
        [&] {
            connected.waitForReadyRead(50);
            out += QString::fromUtf8(connected.readAllStandardOutput());
            return out.contains(u"○ 接続しました"_s);
        },
        10000))
        << out.toStdString();
    EXPECT_TRUE(out.contains(u"\n○ 接続しました: "_s + pty + u"\n"_s)) << out.toStdString();

    // The unit goes away: said, and the station keeps serving.
    stop(sim);
    EXPECT_TRUE(waitUntil(
        [&] {
            connected.waitForReadyRead(50);
            out += QString::fromUtf8(connected.readAllStandardOutput());
            return out.contains(u"\n× 接続していません: "_s + pty + u" ("_s);
        },
        10000))
        << out.toStdString();
    EXPECT_EQ(connected.state(), QProcess::Running);
    stop(connected);
}

// The output goes card by card into a pipe or a file: killed without warning once the last
// card is stored, the log holds every card.
TEST(ConsoleProgram, ALogIsCompleteUpToTheLastCardWhenKilled) {
    for (const bool toFile : {false, true}) {
        SCOPED_TRACE(toFile ? "file" : "pipe");
        TestFolder work;
        const QString data = demoEvent(work);
        QProcess sim;
        const QString pty = startSimulator(sim);
        ASSERT_TRUE(pty.startsWith(u"/dev/"_s)) << pty.toStdString();

        QProcess station;
        const QString log = work.file(u"console.log"_s);
        if (toFile)
            station.setStandardOutputFile(log);
        station.start(QStringLiteral(BREVANTO2_CONSOLE_EXE), {u"--data"_s, data, u"--port"_s, pty});
        ASSERT_TRUE(station.waitForStarted());
        ASSERT_TRUE(waitUntil([&] { return ecardLines(data) == DemoEcardLines; }, 60000));
        // The last card is printed right behind its line in Ecard.txt.
        QThread::msleep(300);
        ::kill(static_cast<pid_t>(station.processId()), SIGKILL);
        ASSERT_TRUE(station.waitForFinished(5000));
        EXPECT_EQ(station.exitStatus(), QProcess::CrashExit);
        stop(sim);

        QString out;
        if (toFile) {
            QFile file(log);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            out = QString::fromUtf8(file.readAll());
        } else {
            out = QString::fromUtf8(station.readAllStandardOutput());
        }
        EXPECT_EQ(out.count(Separator), DemoCards) << out.toStdString();
        EXPECT_TRUE(out.contains(u"氏名     吉田 和子\n"_s)) << "the last card";
    }
}

// A noisy line: every card comes with a copy of wrong sum and a broken one ahead of it. The
// cards still arrive, and the console counts each dropped frame by kind.
TEST(ConsoleProgram, CountsTheFramesANoisyLineSpoils) {
    TestFolder work;
    const QString data = demoEvent(work);
    QProcess sim;
    const QString pty =
        startSimulator(sim, {u"--wrong-sum"_s, u"1"_s, u"--broken-frame"_s, u"1"_s, u"--seed"_s, u"5"_s});
    ASSERT_TRUE(pty.startsWith(u"/dev/"_s)) << pty.toStdString();
    QProcess station;
    station.start(QStringLiteral(BREVANTO2_CONSOLE_EXE), {u"--data"_s, data, u"--port"_s, pty});
    QString out;
    const QString last =
        u"不良フレーム %1 (合計値の誤り %2、途切れ %2)\n"_s.arg(2 * DemoCards).arg(DemoCards);
    waitUntil(
        [&] {
            station.waitForReadyRead(50);
            out += QString::fromUtf8(station.readAllStandardOutput());
            return out.count(Separator) == DemoCards && out.contains(last);
        },
        60000);
    stop(station);
    stop(sim);
    EXPECT_EQ(out.count(Separator), DemoCards) << out.toStdString();
    EXPECT_EQ(out.count(u"不良フレーム "_s), 2 * DemoCards) << out.toStdString();
    EXPECT_TRUE(out.contains(u"\n不良フレーム 1 (合計値の誤り 1、途切れ 0)\n"_s)) << out.toStdString();
    EXPECT_TRUE(out.contains(last)) << out.toStdString();
    EXPECT_EQ(ecardLines(data), DemoEcardLines);
}

} // namespace
