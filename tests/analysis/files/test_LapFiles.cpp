#include "FileTestSupport.h"
#include "TestFolder.h"
#include "basConstants.h"
#include "basDate.h"
#include "basText.h"
#include "clsQuorvelin2.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QString LxmFailure = u"ファイルを開けません\r\nclsFileControl.LoadQuorvelin2\r\n"_s;
const QString LapFailure = u"ファイルを開けません\r\nclsFileControl.LoadQuorvelin1\r\n"_s;

QString joinCrlf(const QStringList& lines) {
    return lines.join(u"\r\n"_s);
}

std::shared_ptr<clsLapData> runner(const clsQuorvelin2& root, const QString& cls, int index) {
    const auto c = root.Classes().Item(cls);
    return c ? c->LapData(index) : nullptr;
}

QString legs(const clsLapData& lap) {
    QStringList out;
    for (int i = 1; i <= lap.LegCount(); ++i)
        out << clsTimeValue(lap.LapValue(i)).ToString();
    return out.join(u' ');
}

} // namespace

TEST(LxmFile, RoundTripsKeepWhatEachSaveModeWrites) {
    struct Case {
        qint32 saveMode;
        bool keepsRankFixAndAge;
    };
    for (const Case& c : {Case{QV_SAVEMODE_FULL, true}, Case{QV_SAVEMODE_NORMAL, false}}) {
        SCOPED_TRACE(c.saveMode);
        TestFolder folder;
        auto source = makeSampleEvent();
        source->SortLap();
        const QString path = folder.file(u"event.lxm"_s);
        ASSERT_TRUE(source->FileControl()->SaveLapFile(path, QV_FILETYPE_AUTODETECT, c.saveMode));
        clsQuorvelin2 loaded;
        ASSERT_TRUE(loaded.FileControl()->LoadLapFile(path)) << loaded.ErrorComment().toStdString();
        Keeps keeps;
        keeps.rankFixAndAge = c.keepsRankFixAndAge;
        EXPECT_EQ(picture(loaded, keeps), picture(*source, keeps));
        EXPECT_EQ(loaded.FileName(), path);
        EXPECT_GT(loaded.FileDate(), 0);
        const auto yamada = runner(loaded, u"M21"_s, 1);
        ASSERT_TRUE(yamada);
        EXPECT_EQ(yamada->RankFix(), c.keepsRankFixAndAge ? u"1"_s : QString());
        EXPECT_EQ(yamada->Age(), c.keepsRankFixAndAge ? u"30"_s : QString());
    }
}

TEST(LxmFile, WritesElementsAttributesAndRunnerOrderAsTheFormatFixes) {
    TestFolder folder;
    auto source = makeSampleEvent();
    const QString path = folder.file(u"event.lxm"_s);
    ASSERT_TRUE(source->FileControl()->SaveLapFile(path, QV_FILETYPE_QUORVELIN2, QV_SAVEMODE_FULL));
    const QString xml = QString::fromUtf8(folder.read(u"event.lxm"_s));
    EXPECT_TRUE(xml.startsWith(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"_s))
        << xml.left(60).toStdString();
    EXPECT_TRUE(xml.contains(u"type=\"application/x-quorvelin2\""_s));
    const qsizetype meta = xml.indexOf(u"<meta>"_s), event = xml.indexOf(u"<event "_s),
                    classes = xml.indexOf(u"<classes>"_s), courses = xml.indexOf(u"<courses>"_s);
    EXPECT_TRUE(meta > 0 && meta < event && event < classes && classes < courses);
    const QStringList expected = {
        u"<file type=\"create\" application=\"Brevanto2\" date=\"2024/04/21 09:30:00\" username=\"organiser\"/>"_s,
        u"<file type=\"last-update\" application=\"Quorvelin2\" date=\"2024/04/22 18:05:07\"/>"_s,
        u"<event name=\"春の大会\" date=\"2024/04/21\" terrain=\"高尾山\" memo=\"雨天決行\" homepage=\"http://example.org/spring\" filename=\"spring\"/>"_s,
        // The file name m21 equals the class name apart from case: no attribute.
        u"<class name=\"M21\" length=\"4200\" climb=\"150\" controls=\"3\" course=\"1\" cutoffrank=\"10\">"_s,
        u"<class name=\"W21\" controls=\"2\" course=\"2\" filename=\"women21\">"_s,
        u"<runner name=\"山田 太郎\" id=\"101\" ecard=\"50101\" seed=\"A\" club=\"OLC\" start=\"10:00:00\" result=\"0:30:00\" rank=\"1\" sex=\"M\" rankfix=\"1\" age=\"30\">"_s,
        // No start time, no start attribute; a leg without data is written as the no-data mark.
        u"<runner name=\"Lee\" id=\"103\"><leg index=\"1\" laptime=\"00:06:10\"/><leg index=\"2\" laptime=\"－\"/>"_s,
        u"<leg index=\"2\" laptime=\"×\"/><leg index=\"3\" laptime=\"↓\"/>"_s,
        u"<course number=\"1\" controls=\"3\"><control index=\"1\" unit-number=\"31\"/>"_s,
        u"<course number=\"2\" controls=\"\"/>"_s,
    };
    for (const QString& piece : expected)
        EXPECT_TRUE(xml.contains(piece)) << piece.toStdString();
    // Results-holder order: times, then statuses; the runner without a result comes last.
    const qsizetype yamada = xml.indexOf(u"山田"_s), sato = xml.indexOf(u"佐藤"_s),
                    dns = xml.indexOf(u"No Legs"_s), lee = xml.indexOf(u"\"Lee\""_s);
    EXPECT_TRUE(yamada < sato && sato < dns && dns < lee)
        << yamada << " " << sato << " " << dns << " " << lee;
}

TEST(LxmFile, LoadingIntoExistingDataMergesRunnersOnly) {
    TestFolder folder;
    const QString path = folder.file(u"event.lxm"_s);
    ASSERT_TRUE(makeSampleEvent()->FileControl()->SaveLapFile(path));

    clsQuorvelin2 root;
    root.EventData()->setEventName(u"Mine"_s);
    root.MetaData()->setCreateApplication(u"Host"_s);
    auto m21 = root.AddClass(u"M21"_s);
    m21->setLength(9999);
    m21->setControlCount(7);
    m21->setCutOffRank(3);
    m21->setFileName(u"keep"_s);
    m21->AddLap()->setRunnerName(u"Existing"_s);
    ASSERT_TRUE(root.FileControl()->LoadLapFile(path, QV_FILETYPE_AUTODETECT, QV_LOADMODE_APPEND));
    EXPECT_EQ(root.EventData()->EventName(), u"Mine"_s);
    EXPECT_EQ(root.MetaData()->CreateApplication(), u"Host"_s);
    EXPECT_GT(root.FileDate(), 0);
    EXPECT_EQ(m21->Length(), 9999);
    EXPECT_EQ(m21->ControlCount(), 7);
    EXPECT_EQ(m21->CutOffRank(), 3);
    EXPECT_EQ(m21->FileName(), u"keep"_s);
    EXPECT_EQ(m21->LapCount(), 5);
    EXPECT_EQ(root.ClassCount(), 3);
    EXPECT_EQ(root.CourseCount(), 2);
    // Loading the same file again keeps the courses it already has and still succeeds.
    ASSERT_TRUE(root.FileControl()->LoadLapFile(path, QV_FILETYPE_AUTODETECT, QV_LOADMODE_APPEND))
        << root.ErrorComment().toStdString();
    EXPECT_EQ(root.CourseCount(), 2);
    EXPECT_EQ(m21->LapCount(), 9);
}

TEST(LxmFile, BadDocumentsFailWithTheCommentAndKeepWhatWasMerged) {
    struct Case {
        const char* what;
        QString name;
        QString data;
        int runnersKept;
    };
    const QString twoRunners =
        u"<?xml version=\"1.0\"?><quorvelin><classes><class name=\"A\"><runner name=\"ok\"><leg index=\"1\" "
        u"laptime=\"00:01:00\"/></runner>"
        u"<runner name=\"bad\"><leg index=\"%1\" laptime=\"00:01:00\"/></runner></class></classes></quorvelin>"_s;
    const std::vector<Case> cases = {
        {"leg index 31", u"a.lxm"_s, twoRunners.arg(31), 1},
        {"leg index 0", u"a.lxm"_s, twoRunners.arg(0), 1},
        {"leg index -1", u"a.lxm"_s, twoRunners.arg(-1), 1},
        {"IOF document under .xml", u"a.xml"_s, u"<?xml version=\"1.0\"?><ResultList status=\"complete\"/>"_s,
         0},
        {"unterminated", u"a.lxm"_s, u"<quorvelin><classes><class name=\"A\"><runner name=\"x\"/>"_s, 1},
        {"not XML", u"a.lxm"_s, u"just text\r\nmore\r\nand more"_s, 0},
        {"huge id", u"a.lxm"_s,
         u"<quorvelin><classes><class name=\"A\"><runner name=\"x\" id=\"99999999999\"/></class></classes></quorvelin>"_s,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clsQuorvelin2 root;
        EXPECT_FALSE(
            root.FileControl()->LoadLapFile(c.name, QV_FILETYPE_AUTODETECT, QV_LOADMODE_NORMAL, c.data));
        EXPECT_TRUE(root.ErrorComment().startsWith(LxmFailure)) << root.ErrorComment().toStdString();
        EXPECT_GT(root.ErrorComment().size(), LxmFailure.size());
        const auto a = root.Classes().Item(u"A"_s);
        EXPECT_EQ(a ? a->LapCount() : 0, c.runnersKept);
        EXPECT_TRUE(root.FileName().isEmpty());
    }
}

TEST(LxmFile, LegTextsReadBack) {
    struct Case {
        QString text;
        double value;
    };
    for (const Case& c : std::vector<Case>{{u"00:01:05"_s, basDate::fromSeconds(65)},
                                           {u"×"_s, -2},
                                           {u"X"_s, -2},
                                           {u"↓"_s, -1},
                                           {u"→"_s, -1},
                                           {u"+"_s, -1},
                                           {u"－"_s, 0},
                                           {u"junk"_s, 0}}) {
        clsQuorvelin2 root;
        const QString data =
            u"<quorvelin><classes><class name=\"A\"><runner name=\"x\" start=\"09:30:00\"><leg index=\"2\" laptime=\"%1\"/></runner></class></classes></quorvelin>"_s
                .arg(c.text);
        ASSERT_TRUE(root.FileControl()->LoadLapFile(u"a.lxm"_s, 0, 0, data))
            << root.ErrorComment().toStdString();
        const auto lap = runner(root, u"A"_s, 1);
        ASSERT_TRUE(lap);
        EXPECT_EQ(lap->LegCount(), 2);
        EXPECT_EQ(lap->LapValue(2), c.value) << c.text.toStdString();
        EXPECT_EQ(lap->StartTime()->ToString(), u"09:30:00"_s);
    }
}

TEST(LapFile, WritesTheLayoutLineByLine) {
    clsQuorvelin2 root;
    root.EventData()->setEventName(u"大会"_s);
    root.EventData()->EventDate()->setValue(basDate::dateSerial(2004, 5, 16));
    root.EventData()->setFileName(u"kw"_s);
    auto a = root.AddClass(u"A"_s);
    a->setControlCount(2);
    a->setLength(2500);
    a->setCourseNum(4);
    auto lap = a->AddLap();
    lap->setRunnerName(u"山田"_s);
    lap->setResult(u"×"_s);
    lap->Lap(1)->setValue(basDate::fromSeconds(65));
    lap->Lap(2)->setValue(-1);
    a->AddLap()->setRunnerName(u"no legs"_s);
    root.AddClass(u"NoControls"_s)->AddLap()->Lap(1)->setValue(0.01);
    TestFolder folder;
    const QString path = folder.file(u"event.lap"_s);
    ASSERT_TRUE(root.FileControl()->SaveLapFile(path));
    const QStringList expected = {
        u"$LAPFILE Ver=2"_s,
        u"$LAPFILE Rev=3"_s,
        u"$名称=大会"_s,
        u"$日時=2004/05/16"_s,
        u"$場所="_s,
        u"$備考="_s,
        u"$公式サイト="_s,
        u"$ファイル名キーワード=kw"_s,
        u"$距離:A=2500"_s,
        u"$登距離:A=0"_s,
        u"$コントロール数:A=2"_s,
        u"$コース番号:A=4"_s,
        QString(),
        u"クラス,名前,所属,シード,性別,スタート時刻,総タイム,順位,△→１,１→２,２→◎"_s,
        // Result "×" is written n/a (the result setter keeps × as a status text).
        u"A,山田,,,,－,"_s + (lap->Result() == u"×"_s ? u"n/a"_s : lap->Result()) + u",,00:01:05,→,n/a"_s,
    };
    EXPECT_EQ(folder.read(u"event.lap"_s), basText::toWindows31J(QString(joinCrlf(expected) + u"\r\n"_s)));
}

TEST(LapFile, RoundTripLosesWhatTheFormatDoesNotKeep) {
    TestFolder folder;
    auto source = makeSampleEvent();
    source->SortLap();
    const QString path = folder.file(u"event.lap"_s);
    ASSERT_TRUE(source->FileControl()->SaveLapFile(path));
    clsQuorvelin2 loaded;
    ASSERT_TRUE(loaded.FileControl()->LoadLapFile(path)) << loaded.ErrorComment().toStdString();
    Keeps keeps;
    keeps.rankFixAndAge = false;
    keeps.idAndEcard = false;
    keeps.courses = false;
    keeps.meta = false;
    keeps.classDetails = false;
    keeps.noDataLegs = false;
    keeps.classesWithoutControls = false;
    keeps.runnersWithoutLegs = false;
    EXPECT_EQ(picture(loaded, keeps), picture(*source, keeps));
    EXPECT_FALSE(loaded.IsClassExists(u"Open"_s));
    EXPECT_EQ(loaded.Classes().Item(u"M21"_s)->LapCount(), 3); // the runner without legs is gone
    std::shared_ptr<clsLapData> lee;
    for (int i = 1; i <= 3; ++i)
        if (runner(loaded, u"M21"_s, i)->RunnerName() == u"Lee"_s)
            lee = runner(loaded, u"M21"_s, i);
    ASSERT_TRUE(lee);
    EXPECT_EQ(lee->LapValue(2), -2); // no data reads back as disqualified
}

TEST(LapFile, ReadsUtf16AndLegHeaders) {
    const QString text =
        u"$LAPFILE Ver=2\r\n$名称=UTF16大会\r\n$距離:A=3100\r\n$距離:Missing=1\r\n\r\n"
        u"クラス,名前,△→１,１→２,２→３,３→４,４→５,５→６,６→７,７→８,８→９,９→10,10→11,11→12,12→◎\r\n"
        u"A,田中,1,2,3,4,5,6,7,8,9,10,11,12,13\r\n"_s;
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    TestFolder folder;
    const QString path = folder.write(u"utf16.lap"_s, bytes);
    clsQuorvelin2 root;
    ASSERT_TRUE(root.FileControl()->LoadLapFile(path)) << root.ErrorComment().toStdString();
    EXPECT_EQ(root.EventData()->EventName(), u"UTF16大会"_s);
    const auto a = root.Classes().Item(u"A"_s);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Length(), 3100);
    EXPECT_EQ(a->ControlCount(), 12);
    EXPECT_FALSE(root.IsClassExists(u"Missing"_s));
    const auto lap = a->LapData(1);
    ASSERT_TRUE(lap);
    ASSERT_EQ(lap->LegCount(), 13);
    EXPECT_EQ(lap->LapValue(10), basDate::fromSeconds(10));
    EXPECT_EQ(lap->LapValue(13), basDate::fromSeconds(13));
}

TEST(LapFile, LegColumnsBeyondThirtyFail) {
    QString header = u"クラス,名前"_s;
    for (int i = 1; i <= 31; ++i)
        header += u",%1→%2"_s.arg(i - 1).arg(i);
    clsQuorvelin2 root;
    EXPECT_FALSE(root.FileControl()->LoadLapFile(u"x.lap"_s, 0, 0,
                                                 u"$LAPFILE Ver=2\r\n\r\n"_s + header + u"\r\nA,x\r\n"_s));
    EXPECT_TRUE(root.ErrorComment().startsWith(LapFailure)) << root.ErrorComment().toStdString();
}

TEST(CsvList, SplitTimesAreRecognisedUntilARowIsNotIncreasing) {
    const QString data = u"名前,1,2,F\r\nA,5:00,12:30,20:00\r\nB,6:00,5:00,7:00\r\nC,1:00,2:00,3:00\r\n"_s;
    clsQuorvelin2 root;
    ASSERT_TRUE(root.FileControl()->LoadLapFile(u"list.csv"_s, 0, QV_LOADMODE_APPEND, data))
        << root.ErrorComment().toStdString();
    const auto cls = root.Classes().Item(u"名称未設定"_s);
    ASSERT_TRUE(cls);
    ASSERT_EQ(cls->LapCount(), 3);
    std::map<QString, QString> byName;
    for (int i = 1; i <= 3; ++i)
        byName[cls->LapData(i)->RunnerName()] = legs(*cls->LapData(i));
    EXPECT_EQ(byName[u"A"_s], u"00:05:00 00:07:30 00:07:30"_s);
    EXPECT_EQ(byName[u"B"_s], u"00:06:00 00:05:00 00:07:00"_s);
    EXPECT_EQ(byName[u"C"_s], u"00:01:00 00:02:00 00:03:00"_s);
}

TEST(CsvList, ListsOfEveryShapeLoadAlike) {
    struct Case {
        const char* what;
        QString data;
    };
    const std::vector<Case> cases = {
        {"names in the first row",
         u"NAME,SYOZOKU,1,2,3,F\r\nYamada,OLC,1:00,1:30,2:00,2:30\r\nSato,KOC,1:10,1:40,2:10,2:40"_s},
        {"names down the first column",
         u"NAME,Yamada,Sato\r\nSYOZOKU,OLC,KOC\r\n1,1:00,1:10\r\n2,1:30,1:40\r\n3,2:00,2:10\r\nF,2:30,2:40"_s},
        {"space separated",
         u"NAME   SYOZOKU  1 2 3 F\r\nYamada  OLC  1:00 1:30 2:00 2:30\r\nSato KOC 1:10  1:40 2:10 2:40"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clsQuorvelin2 root;
        ASSERT_TRUE(root.FileControl()->LoadLapFile(u"list.txt"_s, QV_FILETYPE_QUORVELIN1, 0, c.data))
            << root.ErrorComment().toStdString();
        ASSERT_EQ(root.ClassCount(), 1);
        const auto cls = root.Classes().Item(u"名称未設定"_s);
        ASSERT_TRUE(cls);
        EXPECT_EQ(cls->ControlCount(), 3);
        ASSERT_EQ(cls->LapCount(), 2);
        const bool yamadaFirst = cls->LapData(1)->RunnerName() == u"Yamada"_s;
        const auto yamada = cls->LapData(yamadaFirst ? 1 : 2);
        const auto sato = cls->LapData(yamadaFirst ? 2 : 1);
        EXPECT_EQ(yamada->RunnerName(), u"Yamada"_s);
        EXPECT_EQ(yamada->ClubName(), u"OLC"_s);
        // Times from the start become leg times.
        EXPECT_EQ(legs(*yamada), u"00:01:00 00:00:30 00:00:30 00:00:30"_s);
        EXPECT_EQ(sato->RunnerName(), u"Sato"_s);
        EXPECT_EQ(sato->ClubName(), u"KOC"_s);
        EXPECT_EQ(root.EventData()->EventName(), u"名称未設定"_s);
    }
}

TEST(CsvList, DashHeadersBecomeLegs) {
    clsQuorvelin2 root;
    ASSERT_TRUE(root.FileControl()->LoadLapFile(u"l.csv"_s, 0, 0,
                                                u"CLASS,NAME,S-1,1-2,2-F\r\nM21,Ito,0:30,0:45,0:20\r\n"_s));
    const auto cls = root.Classes().Item(u"M21"_s);
    ASSERT_TRUE(cls);
    EXPECT_EQ(cls->ControlCount(), 2);
    EXPECT_EQ(legs(*cls->LapData(1)), u"00:00:30 00:00:45 00:00:20"_s);
}

TEST(CsvList, WithoutFieldNamesTheUserIsToldAndNothingChanges) {
    const QString data = u"Yamada,OLC,Tokyo\r\nSato,KOC,Osaka\r\nSuzuki,TOC,Kyoto"_s;
    {
        clsQuorvelin2 root;
        root.AddClass(u"Keep"_s);
        RecordingHost host;
        root.FileControl()->setHost(&host);
        EXPECT_FALSE(
            root.FileControl()->LoadLapFile(u"l.csv"_s, QV_FILETYPE_QUORVELIN1, QV_LOADMODE_APPEND, data));
        EXPECT_EQ(host.messages,
                  QStringList{u"ＣＳＶファイルの１行目か１列目にフィールド名を入力してください"_s});
        EXPECT_TRUE(root.ErrorComment().isEmpty());
        EXPECT_EQ(root.ClassCount(), 1);
    }
    {
        // Without a host the message is left as the error comment.
        clsQuorvelin2 root;
        EXPECT_FALSE(
            root.FileControl()->LoadLapFile(u"l.csv"_s, QV_FILETYPE_QUORVELIN1, QV_LOADMODE_APPEND, data));
        EXPECT_EQ(root.ErrorComment(), u"ＣＳＶファイルの１行目か１列目にフィールド名を入力してください"_s);
    }
}

TEST(CsvList, OurOwnTextOutputIsRefused) {
    clsQuorvelin2 root;
    EXPECT_FALSE(root.FileControl()->LoadLapFile(u"l.csv"_s, QV_FILETYPE_QUORVELIN1, QV_LOADMODE_APPEND,
                                                 u"名前,1\r\nA,1:00\r\nMade with Quorvelin2 1.00"_s));
    EXPECT_EQ(root.ClassCount(), 0);
}
