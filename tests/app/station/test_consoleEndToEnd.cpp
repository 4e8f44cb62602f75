#include "TestFolder.h"
#include "basText.h"
#include "basTextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void copyFolder(const QString& from, const QString& to) {
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
}

// The simulator lays the demo cards on a pseudo-terminal; the console station reads them.
TEST(ConsoleEndToEnd, DemoCardsArriveCheckedNamedAndRanked) {
    TestFolder work;
    const QString data = work.file(u"event"_s);
    QDir().mkpath(data);
    copyFolder(sourcePath(u"examples/demo-event"_s), data);
    ASSERT_FALSE(QFile::exists(QDir(data).filePath(u"Ecard.txt"_s)));

    QProcess sim;
    sim.start(QStringLiteral(ECARD250_SIM_EXE),
              {u"--cards"_s, sourcePath(u"examples/demo-event/demo-cards.txt"_s), u"--fast"_s, u"--gap"_s,
               u"150"_s, u"--linger"_s, u"3000"_s});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(pty.startsWith(u"/dev/"_s)) << pty.toStdString();

    QProcess station;
    station.setProcessChannelMode(QProcess::SeparateChannels);
    station.start(QStringLiteral(BREVANTO2_CONSOLE_EXE),
                  {u"--console"_s, u"--data"_s, data, u"--port"_s, pty});
    ASSERT_TRUE(station.waitForStarted());

    struct Expected {
        QString name;
        QString results;
    } expected[] = {
        {u"氏名     山田 太郎"_s, u"M21A     0:52:10    1位"_s},
        {u"氏名     佐藤 健一"_s, u"M21A     0:48:40    1位"_s},
        {u"氏名     鈴木 一郎"_s, u"M21A          P1  "_s},
        {u"氏名     佐藤 健一"_s, u"M21A     0:48:40    1位\n※読み込み済み"_s},
        {u"氏名     高橋 誠"_s, u"M21A     0:55:02    3位"_s},
        {u"氏名     田中 浩二"_s, u"M21A         DNF  "_s},
        {u"氏名     伊藤 花子"_s, u"W21A     0:58:31    1位"_s},
        {u"氏名     渡辺 美咲"_s, u"W21A     1:01:07    2位"_s},
        {u"氏名     中村 由美"_s, u"W21A     0:58:31    1位"_s},
        {u"氏名     小林 翔太"_s, u"M15      0:35:20    1位"_s},
        {u"氏名     加藤 大輝"_s, u"M15      0:33:05    1位"_s},
        {u"番号     403003\n氏名     未登録"_s, u"M15      0:40:00    3位"_s},
        {u"氏名     吉田 和子"_s, u"OPEN     0:25:00    1位"_s},
    };
    const int cards = static_cast<int>(std::size(expected));
    QString out;
    QElapsedTimer clock;
    clock.start();
    const QString separator = u"----------------------------------------\n"_s;
    while (out.count(separator) < cards && clock.elapsed() < 60000) {
        station.waitForReadyRead(500);
        out += QString::fromUtf8(station.readAllStandardOutput());
        if (station.state() != QProcess::Running)
            break;
    }
    // Let the last output settle, then stop both.
    station.waitForReadyRead(300);
    out += QString::fromUtf8(station.readAllStandardOutput());
    station.terminate();
    station.waitForFinished(3000);
    sim.kill();
    sim.waitForFinished(3000);
    const QString errors = QString::fromUtf8(station.readAllStandardError());

    QStringList blocks = out.split(separator);
    ASSERT_GE(blocks.size(), 1);
    blocks.removeFirst(); // the folder's title lines
    ASSERT_EQ(blocks.size(), cards) << out.toStdString() << errors.toStdString();
    for (int i = 0; i < cards; ++i) {
        EXPECT_TRUE(blocks[i].contains(expected[i].name)) << i << ": " << blocks[i].toStdString();
        EXPECT_TRUE(blocks[i].contains(expected[i].results + u"\n"_s))
            << i << ": " << blocks[i].toStdString();
    }
    EXPECT_FALSE(blocks[1].contains(u"※読み込み済み"_s));

    QStringList lines;
    ASSERT_TRUE(basTextFile::readLines(QDir(data).filePath(u"Ecard.txt"_s), &lines));
    EXPECT_EQ(lines.size(), cards - 1) << "the repeated card is not appended";
    for (const QString& line : lines)
        EXPECT_TRUE(line.endsWith(u";"_s) && line.contains(u"] Card No. ("_s)) << line.toStdString();
}

// With --ticket-folder every new read leaves one PDF ticket; the card laid twice leaves one.
TEST(ConsoleEndToEnd, EveryNewReadLeavesOnePdfTicket) {
    TestFolder work;
    const QString data = work.file(u"event"_s);
    const QString tickets = work.file(u"tickets"_s);
    QDir().mkpath(data);
    QDir().mkpath(tickets);
    copyFolder(sourcePath(u"examples/demo-event"_s), data);

    // Without print support a printer is refused at once, and said why.
    QProcess refused;
    refused.start(QStringLiteral(BREVANTO2_CONSOLE_EXE),
                  {u"--data"_s, data, u"--print-tickets"_s, u"roll"_s});
    ASSERT_TRUE(refused.waitForFinished(10000));
    EXPECT_EQ(refused.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(refused.readAllStandardError()).contains(u"--ticket-folder DIR"_s));

    QProcess sim;
    sim.start(QStringLiteral(ECARD250_SIM_EXE),
              {u"--cards"_s, sourcePath(u"examples/demo-event/demo-cards.txt"_s), u"--fast"_s, u"--gap"_s,
               u"100"_s, u"--linger"_s, u"3000"_s});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QProcess station;
    station.start(
        QStringLiteral(BREVANTO2_CONSOLE_EXE),
        {u"--data"_s, data, u"--port"_s, pty, u"--ticket-folder"_s, tickets, u"--ticket-paper"_s, u"58"_s});
    ASSERT_TRUE(station.waitForStarted());
    constexpr int NewReads = 12;
    QString out;
    QElapsedTimer clock;
    clock.start();
    while (out.count(u"ラップ票 → "_s) < NewReads && clock.elapsed() < 60000 &&
           station.state() == QProcess::Running) {
        station.waitForReadyRead(500);
        out += QString::fromUtf8(station.readAllStandardOutput());
    }
    station.waitForReadyRead(500);
    out += QString::fromUtf8(station.readAllStandardOutput());
    station.kill();
    station.waitForFinished(3000);
    sim.kill();
    sim.waitForFinished(3000);

    EXPECT_TRUE(out.contains(u"ラップ票を印刷します (58 mm): "_s)) << out.toStdString();
    const QStringList pdfs = QDir(tickets).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
    ASSERT_EQ(pdfs.size(), NewReads) << out.toStdString();
    EXPECT_EQ(pdfs.filter(u"ticket-401002-"_s).size(), 1) << "the card laid twice";
    // Each ticket follows its card's block on the output.
    const qsizetype lastBlock = out.lastIndexOf(u"氏名     吉田 和子"_s);
    const QStringList last = pdfs.filter(u"ticket-404001-"_s);
    ASSERT_EQ(last.size(), 1);
    EXPECT_GT(out.indexOf(u"ラップ票 → "_s + QDir::toNativeSeparators(QDir(tickets).filePath(last[0]))),
              lastBlock);

    QProcess text;
    text.start(u"pdftotext"_s, {u"-layout"_s, QDir(tickets).filePath(last[0]), u"-"_s});
    ASSERT_TRUE(text.waitForFinished(10000));
    const QString shown =
        QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    for (const QString& expected : {u"吉田 和子"_s, u"404001"_s, u"OPEN"_s, u"0:25:00"_s, u"1位"_s, u"△→１"_s,
                                    u"0:04:19"_s, u"0:06:18"_s, u"４→◎"_s, u"0:05:23"_s})
        EXPECT_TRUE(shown.contains(expected.normalized(QString::NormalizationForm_KC)))
            << expected.toStdString() << " in\n"
            << shown.toStdString();
}

} // namespace
