#include "ShellFixture.h"
#include "basBrevanto2.h"
#include "basCommandLine.h"
#include "basDate.h"
#include "basText.h"
#include "clsConsolePrompt.h"
#include "clsFinishStation.h"
#include "clsQuorvelin2.h"
#include "ctlDataFolder.h"
#include "frmExportTypeSelect.h"

#include <QProcess>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

struct ExportTest : ShellFixture {
    void SetUp() override {
        ecardTxt = cardLine(401001, coursePunches({31, 32, 33}, 100, 3000), 0) + u";\r\n"_s +
                   cardLine(402001, coursePunches({31, 33}, 100, 2000), 1) + u";\r\n"_s +
                   cardLine(403003, {{31, 600}, {32, 1200}, {100, 2400}}, 2) + u";\r\n"_s;
    }
};

TEST_F(ExportTest, CsvPerCardReadByPattern) {
    const QString header = u"Ｅカード番号,名前,所属,M21A,,W21A,,合計,"_s;
    struct Case {
        qint32 rule;
        QStringList lines;
    } cases[] = {
        {-1,
         {header, u"401001,山田 太郎,東京OLクラブ,0:50:00,1,0:50:00,2,1:40:00"_s,
          u"402001,伊藤 花子,みちの会,P1,,0:33:20,1,"_s, u"403003,,,DNF,,DNF,,"_s}},
        {0,
         {header, u"401001,山田 太郎,東京OLクラブ,0:50:00,1,0:50:00,2,1:40:00"_s,
          u"402001,伊藤 花子,みちの会,,,0:33:20,1,0:33:20"_s, u"403003,,,,,,,0:00:00"_s}},
    };
    for (const Case& c : cases) {
        ini = u"テスト大会\r\n2026/12/08\r\n%1\r\n"_s.arg(c.rule);
        open();
        EXPECT_EQ(main->station()->csvLines(), c.lines) << c.rule;
        main.reset();
    }
}

TEST_F(ExportTest, ExportWindowWritesTheCsvOrStaysOpen) {
    open();
    frmExportTypeSelect dialog(*main->station(), &prompt, {u"テスト大会"_s, 0, u"Brevanto2"_s});
    EXPECT_EQ(dialog.windowTitle(), u"出力"_s);
    // The per-card choice has no output and keeps the window open.
    dialog.optCsvPerCard()->setChecked(true);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), 0);
    // A cancelled save keeps it open too.
    dialog.optCsvPerRead()->setChecked(true);
    prompt.answerSaveFile(std::nullopt);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), 0);
    // A write error is shown, and the window stays.
    prompt.answerSaveFile(home.file(u"missing/folder/out.csv"_s)).answerMessage(UserPrompt::Ok);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), 0);
    prompt.answerSaveFile(home.file(u"out.csv"_s));
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    const QByteArray csv = home.read(u"out.csv"_s);
    EXPECT_TRUE(
        csv.startsWith(basText::toWindows31J(u"Ｅカード番号,名前,所属,M21A,,W21A,,合計,\r\n401001,"_s)));
    EXPECT_TRUE(csv.endsWith("\r\n"));
}

TEST_F(ExportTest, HandOverBuildsClassesCoursesAndLegTimes) {
    ini = u"テスト大会\r\n2026/12/08\r\n-1\r\n"_s;
    open();
    const auto root = main->Quorvelin2Object();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->EventData()->EventName(), u"テスト大会"_s);
    EXPECT_EQ(root->EventData()->EventDate()->Value(), basDate::dateSerial(2026, 12, 8));
    EXPECT_EQ(root->MetaData()->CreateApplication(), basBrevanto2::windowCaption());
    ASSERT_EQ(root->ClassCount(), 2);
    ASSERT_EQ(root->CourseCount(), 2);
    const auto m21a = root->ClassData(u"M21A"_s);
    ASSERT_NE(m21a, nullptr);
    EXPECT_EQ(m21a->ControlCount(), 3);
    EXPECT_EQ(m21a->CourseNum(), 1);
    EXPECT_EQ(root->CourseData(1)->ControlNum(2), 32);
    // M21A in ranked order: 401001 (OK), then 402001 (P1: control 32 missed), then 403003 (DNF).
    ASSERT_EQ(m21a->LapCount(), 3);
    const auto ok = m21a->LapData(1);
    EXPECT_EQ(ok->Ecard(), 401001);
    EXPECT_EQ(ok->ID(), 401001);
    EXPECT_EQ(ok->RunnerName(), u"山田 太郎"_s);
    EXPECT_EQ(ok->Rank(), u"1"_s);
    for (int j = 1; j <= 4; ++j)
        EXPECT_EQ(ok->Lap(j)->Value(), basDate::fromSeconds(750)) << j;
    const auto missed = m21a->LapData(2);
    EXPECT_EQ(missed->Ecard(), 402001);
    EXPECT_EQ(missed->Result(), u"P1"_s);
    EXPECT_EQ(missed->Lap(1)->Value(), basDate::fromSeconds(666));
    EXPECT_EQ(missed->Lap(2)->Value(), -2);
    EXPECT_EQ(missed->Lap(3)->Value(), basDate::fromSeconds(667)) << "spans from control 1 to control 3";
    EXPECT_EQ(missed->Lap(4)->Value(), basDate::fromSeconds(667));
}

TEST_F(ExportTest, BatchExportsWriteTheFilesOrFailClearly) {
    open();
    clsConsolePrompt console;
    basCommandLine::Options o;
    o.data = event.path();
    o.exportCsv = home.file(u"batch.csv"_s);
    EXPECT_EQ(basCommandLine::runExport(o, console), 0);
    EXPECT_EQ(basText::fromWindows31J(home.read(u"batch.csv"_s)).split(u"\r\n"_s).first(),
              u"Ｅカード番号,名前,所属,M21A,,W21A,,合計,"_s);
    o.exportCsv = home.file(u"no/such/folder/batch.csv"_s);
    EXPECT_EQ(basCommandLine::runExport(o, console), 2);
    o.exportCsv.clear();
    o.data = home.file(u"no-such-event"_s);
    o.exportLap = home.file(u"x.lxm"_s);
    EXPECT_EQ(basCommandLine::runExport(o, console), 2);
    EXPECT_EQ(basCommandLine::libraryVersion()().value_or(QString()), basBrevanto2::programVersion());
}

TEST_F(ExportTest, BatchLapExportSavesTheKindTheExtensionNames) {
    open();
    clsConsolePrompt console;
    struct Case {
        QString file;
        QByteArray start;
    } cases[] = {
        {u"event.lxm"_s, "<?xml"},
        {u"event.lap"_s, QByteArray()},
    };
    for (const Case& c : cases) {
        basCommandLine::Options o;
        o.data = event.path();
        o.exportLap = home.file(c.file);
        EXPECT_EQ(basCommandLine::runExport(o, console), 0) << c.file.toStdString();
        const QByteArray bytes = home.read(c.file);
        EXPECT_FALSE(bytes.isEmpty()) << c.file.toStdString();
        EXPECT_TRUE(bytes.startsWith(c.start)) << c.file.toStdString();
        // Every runner's name goes into the file.
        EXPECT_TRUE(bytes.contains(c.start.isEmpty() ? basText::toWindows31J(u"伊藤 花子"_s)
                                                     : u"伊藤 花子"_s.toUtf8()))
            << c.file.toStdString();
    }
}

// xmllint's verdict on an IOF XML 3.0 document; empty when it is valid.
QString schemaErrors(const QString& path) {
    QProcess p;
    p.start(u"xmllint"_s, {u"--noout"_s, u"--nonet"_s, u"--schema"_s, QStringLiteral(IOF_XSD_PATH), path});
    if (!p.waitForFinished(60000))
        return u"xmllint did not finish"_s;
    return p.exitCode() == 0 ? QString() : QString::fromLocal8Bit(p.readAllStandardError());
}

TEST_F(ExportTest, IofXml3FromTheBatchAndTheExportWindow) {
    const basCommandLine::Options parsed =
        basCommandLine::parse({u"brevanto2"_s, u"--data"_s, u"/d"_s, u"--export-iof"_s, u"o.xml"_s});
    EXPECT_TRUE(parsed.error.isEmpty());
    EXPECT_EQ(parsed.exportIof, u"o.xml"_s);
    EXPECT_FALSE(basCommandLine::parse({u"brevanto2"_s, u"--export-iof"_s, u"o.xml"_s}).error.isEmpty());

    ini = u"テスト大会\r\n2026/12/08\r\n-1\r\n"_s;
    open();
    clsConsolePrompt console;
    basCommandLine::Options o;
    o.data = event.path();
    o.exportIof = home.file(u"batch.lxm"_s); // the kind does not follow the extension
    ASSERT_EQ(basCommandLine::runExport(o, console), 0);
    const QByteArray batch = home.read(u"batch.lxm"_s);
    EXPECT_TRUE(batch.contains("<ResultList xmlns=\"http://www.orienteering.org/datastandard/3.0\""));
    EXPECT_TRUE(batch.contains(u"<Family>伊藤</Family><Given>花子</Given>"_s.toUtf8()));
    EXPECT_TRUE(batch.contains("<Status>MissingPunch</Status>"));
    EXPECT_TRUE(batch.contains("<Status>DidNotFinish</Status>"));
    EXPECT_EQ(schemaErrors(home.file(u"batch.lxm"_s)), QString());
    o.exportIof = home.file(u"no/such/folder/x.xml"_s);
    EXPECT_EQ(basCommandLine::runExport(o, console), 2);

    frmExportTypeSelect dialog(*main->station(), &prompt,
                               {main->DataFolderControl()->EventName(),
                                main->DataFolderControl()->EventDate(), main->windowTitle()});
    ASSERT_EQ(dialog.optIofXml3()->text(), u"IOF XML 3.0 形式ファイル"_s);
    dialog.optIofXml3()->setChecked(true);
    // Cancelled or failed, the window stays open; saved, it closes.
    prompt.answerSaveFile(std::nullopt);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), 0);
    prompt.answerSaveFile(home.file(u"missing/folder/out.xml"_s)).answerMessage(UserPrompt::Ok);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), 0);
    prompt.answerSaveFile(home.file(u"window.xml"_s));
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(prompt.asked().back().title, u"出力"_s);
    EXPECT_EQ(schemaErrors(home.file(u"window.xml"_s)), QString());
    // The same data set as the batch wrote (the documents differ only in their creation time).
    QByteArray window = home.read(u"window.xml"_s);
    const auto withoutCreateTime = [](QByteArray b) {
        const qsizetype at = b.indexOf("createTime=\"");
        return b.remove(at, b.indexOf('"', at + 12) - at);
    };
    o.exportIof = home.file(u"again.xml"_s);
    ASSERT_EQ(basCommandLine::runExport(o, console), 0);
    EXPECT_EQ(withoutCreateTime(window), withoutCreateTime(home.read(u"again.xml"_s)));
}

} // namespace
