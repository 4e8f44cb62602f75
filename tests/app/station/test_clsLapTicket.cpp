// Lap tickets from a real station on a temporary data folder: their lines for both roll widths,
// the PDF they become, and destinations that fail.
#include "TestFolder.h"
#include "WaitFor.h"
#include "Windows31J.h"
#include "basText.h"
#include "clsEcardTagData.h"
#include "clsFinishStation.h"
#include "clsLapTicket.h"
#include "clsTicketPrinter.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct TicketEvent {
    TestFolder folder;
    clsFinishStation station{nullptr, folder.file(u"app"_s)};

    TicketEvent() {
        QDir().mkpath(folder.file(u"app"_s));
        folder.write(u"event/Course.txt"_s, sjis(u"M21A,0,31,32,33,100\r\nW21A,0,31,33,100\r\n"_s));
        folder.write(
            u"event/Name.csv"_s,
            sjis(
                u"Ｅカード番号,名前,所属\r\n401001,山田 太郎,東京OLクラブ\r\n402001,伊藤 花子,みちの会\r\n"_s));
        // Every class a card fits counts: one read, two results.
        station.openFolder(folder.file(u"event/"_s), -1);
    }
    std::shared_ptr<clsEcardTagData> read(const QString& line) {
        auto tag = std::make_shared<clsEcardTagData>();
        tag->setRegnlyFormat(line);
        return station.readTag(tag).tag;
    }
    // Runner A clean in both classes; runner B misses control 32 of M21A, W21A has no 32.
    std::shared_ptr<clsEcardTagData> twoRunners() {
        read(
            u"26/12/08 10:20:00, Card No. (401001), (2019,Week 23), 0, 00:00:00, 31, 00:05:00, 32, 00:12:00, "
            u"33, 00:20:00, 100, 00:25:00, 250, 00:25:10"_s);
        return read(u"26/12/08 10:30:00, Card No. (402001), (2019,Week 23), 0, 00:00:00, 31, 00:04:40, "
                    u"33, 00:20:50, 100, 00:26:00, 250, 00:26:10"_s);
    }
};

QString trimmedRight(QString s) {
    while (s.endsWith(u' '))
        s.chop(1);
    return s;
}

TEST(LapTicket, LinesOfAReadWithTwoResultsAndAMissedControl) {
    TicketEvent e;
    const auto ticket = clsLapTicket::make(e.station, e.twoRunners(), u"テスト大会"_s, 46364.0);
    ASSERT_TRUE(ticket);
    struct Case {
        clsLapTicket::Paper paper;
        QStringList golden;
    } cases[] = {
        {clsLapTicket::Paper::Roll58,
         {u"テスト大会"_s, u"2026/12/08"_s, QString(32, u'-'), u"Ｅカード番号 402001"_s,
          u"氏名         伊藤 花子"_s, u"所属         みちの会"_s, QString(32, u'-'),
          u"クラス             記録     順位"_s, u"M21A                 P1"_s,
          u"W21A            0:26:00      2位"_s, QString(32, u'-'), u"M21A のラップ"_s,
          u"区間      ラップ     通過   順位"_s, u"△→１   0:04:40  0:04:40    1位"_s,
          u"１→２     --:--    --:--"_s, u"２→３   0:16:10  0:20:50"_s, u"３→◎   0:05:10  0:26:00    2位"_s,
          QString(32, u'-'), u"読取時刻     2026/12/08 10:30:00"_s}},
        {clsLapTicket::Paper::Roll80,
         {u"テスト大会"_s, u"2026/12/08"_s, QString(48, u'-'), u"Ｅカード番号  402001"_s,
          u"氏名          伊藤 花子"_s, u"所属          みちの会"_s, QString(48, u'-'),
          u"クラス                         記録         順位"_s, u"M21A                             P1"_s,
          u"W21A                        0:26:00          2位"_s, QString(48, u'-'), u"M21A のラップ"_s,
          u"区間              ラップ         通過       順位"_s,
          u"△→１           0:04:40      0:04:40        1位"_s, u"１→２             --:--        --:--"_s,
          u"２→３           0:16:10      0:20:50"_s, u"３→◎           0:05:10      0:26:00        2位"_s,
          QString(48, u'-'), u"読取時刻      2026/12/08 10:30:00"_s}},
    };
    for (const Case& c : cases) {
        const int width = clsLapTicket::widthOf(c.paper);
        SCOPED_TRACE(width);
        const QStringList lines = ticket->lines(c.paper);
        QStringList shown;
        for (const QString& line : lines) {
            // Every line fills the roll exactly, so the columns stand under each other.
            EXPECT_EQ(basText::byteWidth(line), width) << line.toStdString();
            shown << trimmedRight(line);
        }
        EXPECT_EQ(shown, c.golden);
    }
}

TEST(LapTicket, APdfPerTicketShowsRunnerResultRankAndLegs) {
    TicketEvent e;
    const auto ticket = clsLapTicket::make(e.station, e.twoRunners(), u"テスト大会"_s, 46364.0);
    ASSERT_TRUE(ticket);
    const QString out = e.folder.file(u"tickets"_s);
    QDir().mkpath(out);
    struct Case {
        clsLapTicket::Paper paper;
        double widthPt;
    } cases[] = {{clsLapTicket::Paper::Roll80, 80 / 25.4 * 72},
                 {clsLapTicket::Paper::Roll58, 58 / 25.4 * 72}};
    clsTicketPrinter printer;
    printer.setFolder(out);
    QStringList written;
    QObject::connect(&printer, &clsTicketPrinter::printed, [&](const QString& path) { written << path; });
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.paper));
        printer.setPaper(c.paper);
        QString error;
        ASSERT_TRUE(printer.print(*ticket, &error)) << error.toStdString();
        ASSERT_FALSE(written.isEmpty());
        const QString pdf = written.last();
        EXPECT_TRUE(QFileInfo(pdf).fileName().startsWith(u"ticket-402001-20261208-103000"_s))
            << pdf.toStdString();

        QProcess info;
        info.start(u"pdfinfo"_s, {pdf});
        ASSERT_TRUE(info.waitForFinished(10000));
        const QString meta = QString::fromUtf8(info.readAllStandardOutput());
        const auto size = QRegularExpression(u"Page size:\\s+([0-9.]+) x ([0-9.]+) pts"_s).match(meta);
        ASSERT_TRUE(size.hasMatch()) << meta.toStdString();
        EXPECT_NEAR(size.captured(1).toDouble(), c.widthPt, 1.0);
        EXPECT_GT(size.captured(2).toDouble(), size.captured(1).toDouble()) << "as long as its lines";
        EXPECT_TRUE(meta.contains(QRegularExpression(u"Pages:\\s+1\n"_s))) << meta.toStdString();

        QProcess text;
        text.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        ASSERT_TRUE(text.waitForFinished(10000));
        // The font maps some ideographs and their radical forms to one glyph, so the text read
        // back may name either: compared in compatibility form.
        const QString shown =
            QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
        for (const QString& expected :
             {u"伊藤 花子"_s, u"402001"_s, u"0:26:00"_s, u"2位"_s, u"△→１"_s, u"0:04:40"_s, u"0:16:10"_s,
              u"0:05:10"_s, u"--:--"_s, u"2026/12/08 10:30:00"_s})
            EXPECT_TRUE(shown.contains(expected.normalized(QString::NormalizationForm_KC)))
                << expected.toStdString() << " in\n"
                << shown.toStdString();
    }
    // A second ticket of the same read goes beside the first.
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 2);
    EXPECT_NE(written[0], written[1]);
    // For a person to look at (pdftoppm -png).
    for (const QString& name : {u"/lap-ticket-80mm.pdf"_s, u"/lap-ticket-58mm.pdf"_s}) {
        const QString copy = QStringLiteral(BREVANTO_BINARY_DIR) + name;
        QFile::remove(copy);
        QFile::copy(written[name.contains(u"58"_s) ? 1 : 0], copy);
    }
}

// A destination that fails is said once however many tickets fail after it; the first ticket
// that goes through ends the run, and a new failure is said again.
TEST(LapTicket, AFailingDestinationIsReportedOnceAndTicketsGoOn) {
    TicketEvent e;
    const auto tag = e.twoRunners();
    struct Case {
        QString name;
        std::function<void(clsTicketPrinter&)> target;
        QString reason;
    } cases[] = {
        {u"missing folder"_s, [&](clsTicketPrinter& p) { p.setFolder(e.folder.file(u"gone"_s)); },
         u"フォルダがありません"_s},
        {u"unwritable folder"_s, [](clsTicketPrinter& p) { p.setFolder(u"/proc"_s); },
         u"/proc/ticket-402001"_s},
        {u"printer without print support"_s, [](clsTicketPrinter& p) { p.setPrinter(u"roll"_s); },
         u"プリンタに印刷できません"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        clsTicketPrinter printer;
        c.target(printer);
        QStringList failures;
        int printed = 0;
        QObject::connect(&printer, &clsTicketPrinter::failed, [&](const QString& why) { failures << why; });
        QObject::connect(&printer, &clsTicketPrinter::printed, [&] { ++printed; });
        printer.setEnabled(true);
        for (int i = 0; i < 3; ++i)
            printer.enqueue(*clsLapTicket::make(e.station, tag, QString(), 0));
        EXPECT_EQ(printer.pending(), 3) << "nothing is printed before the event loop runs";
        ASSERT_TRUE(waitUntil([&] { return printer.pending() == 0; }));
        settle(20);
        ASSERT_EQ(failures.size(), 1);
        EXPECT_TRUE(failures[0].startsWith(u"ラップ票を印刷できません: "_s)) << failures[0].toStdString();
        EXPECT_TRUE(failures[0].contains(c.reason)) << failures[0].toStdString();

        const QString good = e.folder.file(u"good-"_s + c.name.left(4));
        QDir().mkpath(good);
        printer.setFolder(good);
        printer.enqueue(*clsLapTicket::make(e.station, tag, QString(), 0));
        ASSERT_TRUE(waitUntil([&] { return printed == 1; }));
        c.target(printer);
        printer.enqueue(*clsLapTicket::make(e.station, tag, QString(), 0));
        ASSERT_TRUE(waitUntil([&] { return failures.size() == 2; }));
    }
}

} // namespace
