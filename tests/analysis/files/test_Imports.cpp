#include "FileTestSupport.h"
#include "TestFolder.h"
#include "basConstants.h"
#include "basDate.h"
#include "basImportFiles.h"
#include "basText.h"
#include "clsQuorvelin2.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

QString legs(const clsLapData& lap) {
    QStringList out;
    for (int i = 1; i <= lap.LegCount(); ++i)
        out << clsTimeValue(lap.LapValue(i)).ToString();
    return out.join(u' ');
}

std::shared_ptr<clsLapData> byName(const clsQuorvelin2& root, const QString& cls, const QString& name) {
    const auto c = root.Classes().Item(cls);
    for (int i = 1; c && i <= c->LapCount(); ++i)
        if (c->LapData(i)->RunnerName() == name)
            return c->LapData(i);
    return nullptr;
}

// A fixed-width line: each text placed at its byte column (texts are ASCII or start at the
// column given in bytes, counted in Windows-31J).
QString columns(std::initializer_list<std::pair<int, QString>> parts) {
    QString line;
    for (const auto& [column, text] : parts) {
        while (basText::byteWidth(line) < column)
            line += u' ';
        line += text;
    }
    return line;
}

// Right-aligned so that the text ends at byte column end.
std::pair<int, QString> endingAt(int end, const QString& text) {
    return {end - basText::byteWidth(text), text};
}

const QString OEventList = u"Spring Cup\r\n"
                           u"Split times of all classes\r\n"
                           u"----------------------------\r\n"
                           u"M21\r\n"
                           u"1.,Yamada Taro,OLC,,0:30:00\r\n"
                           u",,,,,1:00,,2:30,,--:--,,6:00,,8:00\r\n"
                           u"2.,Sato,KOC,,40:00\r\n"
                           u",,,,,2:00,,1:50,,4:00\r\n"
                           u"\r\n"
                           u"W21\r\n"
                           u"1.,Suzuki,TOC,,0:25:00\r\n"
                           u",,,,,1:00,,2:00,,3:00,,4:00,,5:00,,6:00,,7:00,,8:00,,9:00,,10:00\r\n"
                           u",,,,,\r\n"
                           u",,,,,11:00,,12:00\r\n"
                           u"Created with OEvent\r\n"
                           u"2024.04.21\r\n"_s;

} // namespace

TEST(OEvent, SplitTimesBecomeLegsAndDashesDisqualify) {
    TestFolder folder;
    const QString path = folder.write(u"splits.txt"_s, basText::toWindows31J(OEventList));
    clsQuorvelin2 root;
    ASSERT_TRUE(root.FileControl()->LoadLapFile(path)) << root.ErrorComment().toStdString();
    EXPECT_EQ(root.EventData()->EventName(), u"Spring Cup"_s);
    EXPECT_EQ(root.MetaData()->CreateApplication(), u"OEvent"_s);
    EXPECT_EQ(root.MetaData()->CreateDate(), basDate::dateSerial(2024, 4, 21));
    const auto yamada = byName(root, u"M21"_s, u"Yamada Taro"_s);
    ASSERT_TRUE(yamada);
    EXPECT_EQ(yamada->Rank(), u"1"_s);
    EXPECT_EQ(yamada->Result(), u"0:30:00"_s);
    // The third split is --:--: leg 3 disqualified, leg 4 measured from the second split.
    EXPECT_EQ(legs(*yamada), u"00:01:00 00:01:30 × 00:03:30 00:02:00"_s);
    const auto sato = byName(root, u"M21"_s, u"Sato"_s);
    ASSERT_TRUE(sato);
    // A split not later than the one before leaves its leg without data.
    EXPECT_EQ(legs(*sato), u"00:02:00 － 00:02:00"_s);
    EXPECT_EQ(sato->Result(), u"0:40:00"_s);
    EXPECT_EQ(root.Classes().Item(u"M21"_s)->ControlCount(), 4);
    const auto suzuki = byName(root, u"W21"_s, u"Suzuki"_s);
    ASSERT_TRUE(suzuki);
    EXPECT_EQ(suzuki->LegCount(), 12);
    EXPECT_EQ(suzuki->LapValue(12), basDate::fromSeconds(60));
    EXPECT_EQ(root.Classes().Item(u"W21"_s)->ControlCount(), 11);
}

TEST(OEvent, WithoutItsMarkerTheLoadFails) {
    clsQuorvelin2 root;
    EXPECT_FALSE(root.FileControl()->LoadLapFile(u"x.txt"_s, QV_FILETYPE_OEVENT, 0, u"a\r\nb\r\nc"_s));
    EXPECT_TRUE(root.ErrorComment().startsWith(u"ファイルを開けません\r\nclsFileControl.LoadOEvent\r\n"_s))
        << root.ErrorComment().toStdString();
}

namespace {

// Column anchors of the printout used below.
constexpr int Pl = 1, Stno = 6, NameAt = 12, TimeAt = 40;

QStringList sportIdentPrintout() {
    const QString header =
        columns({{Pl, u"Pl"_s}, {Stno, u"Stno"_s}, {NameAt, u"Name"_s}, {TimeAt, u"Time"_s}});
    auto controls1 = columns({endingAt(52, u"1(31)"_s), endingAt(60, u"2(32)"_s), endingAt(68, u"3(33)"_s),
                              endingAt(76, u"4(34)"_s)});
    auto controls2 = columns(
        {endingAt(52, u"5(35)"_s), endingAt(60, u"6(36)"_s), endingAt(68, u"7(37)"_s), endingAt(76, u"F"_s)});
    auto runner = [&](const QString& rank, const QString& id, const QString& name, const QString& result) {
        return columns({{0, rank}, endingAt(Stno + 4, id), {NameAt, name}, endingAt(TimeAt + 4, result)});
    };
    auto times = [&](const QString& club, const QStringList& t) {
        return columns(
            {{NameAt, club}, endingAt(52, t[0]), endingAt(60, t[1]), endingAt(68, t[2]), endingAt(76, t[3])});
    };
    return {
        u"SPORTident"_s,
        u"Spring Cup  2024/04/21 10:00"_s,
        u"SPORTident results"_s,
        u"----SIWin 1.0----"_s,
        QString(),
        header,
        u"M21 (12)  4.2 km  150 m"_s,
        controls1,
        controls2,
        runner(u" 1"_s, u"1234"_s, u"山田太郎"_s, u"30:00"_s),
        times(u"OLC_Tokyo"_s, {u"1:00"_s, u"2:00"_s, u"3:00"_s, u"4:00"_s}),
        times(QString(), {u"1:00"_s, u"3:00"_s, u"6:00"_s, u"10:00"_s}),
        times(QString(), {u"5:00"_s, u"6:00"_s, u"7:00"_s, u"8:00"_s}),
        runner(QString(), u"1235"_s, u"Sato"_s, u"mp"_s),
        times(u"KOC"_s, {u"1:00"_s, u"2:00"_s, u"3:00"_s, u"-----"_s}),
        times(QString(), {u"1:00"_s, u"3:00"_s, u"6:00"_s, u"-----"_s}),
        times(QString(), {u"5:00"_s, u"6:00"_s, u"-----"_s, u"8:00"_s}),
        runner(QString(), u"1236"_s, u"Ito"_s, u"mp"_s),
        times(QString(), {u"1:00"_s, u"2:00"_s, u"3:00"_s, u"4:00"_s}),
        times(QString(), {u"1:00"_s, u"2:00"_s, u"3:00"_s, u"4:00"_s}),
        times(QString(), {u"5:00"_s, u"6:00"_s, u"7:00"_s, u"-----"_s}),
        runner(QString(), u"1237"_s, u"Kato"_s, u"dnf"_s),
        runner(QString(), u"1238"_s, u"Abe"_s, u"disq"_s),
        QString(),
        u"W21 3.1 km"_s,
        controls1,
        controls2,
        runner(u" 1"_s, u"2001"_s, u"鈴木"_s, u"40:00"_s),
        times(u"TOC"_s, {u"1:00"_s, u"2:00"_s, u"3:00"_s, u"4:00"_s}),
    };
}

} // namespace

TEST(SportIdent, PrintoutColumnsGiveRunnersLegsAndCourses) {
    clsQuorvelin2 root;
    const QString text = sportIdentPrintout().join(u"\r\n"_s);
    ASSERT_TRUE(root.FileControl()->LoadLapFile(u"si.txt"_s, 0, 0, text))
        << root.ErrorComment().toStdString();
    EXPECT_EQ(root.EventData()->EventName(), u"Spring Cup"_s);
    EXPECT_EQ(root.MetaData()->CreateDate(),
              basDate::dateSerial(2024, 4, 21) + basDate::timeSerial(10, 0, 0));
    EXPECT_EQ(root.MetaData()->CreateApplication(), u"SIWin"_s);
    const auto m21 = root.Classes().Item(u"M21"_s);
    ASSERT_TRUE(m21);
    EXPECT_EQ(m21->Length(), 4200);
    EXPECT_EQ(m21->Climb(), 150);
    EXPECT_EQ(m21->ControlCount(), 7);
    EXPECT_EQ(m21->CourseNum(), 1);
    ASSERT_EQ(root.CourseCount(), 1);
    const auto course = root.Courses().Item(1);
    EXPECT_EQ(course->ControlCount(), 7);
    EXPECT_EQ(course->ControlNum(1), 31);
    EXPECT_EQ(course->ControlNum(7), 37);
    // The second class runs the same codes: the same course.
    EXPECT_EQ(root.Classes().Item(u"W21"_s)->CourseNum(), 1);
    EXPECT_EQ(root.Classes().Item(u"W21"_s)->Length(), 3100);

    const auto yamada = byName(root, u"M21"_s, u"山田太郎"_s);
    ASSERT_TRUE(yamada);
    EXPECT_EQ(yamada->ID(), 1234);
    EXPECT_EQ(yamada->Rank(), u"1"_s);
    EXPECT_EQ(yamada->ClubName(), u"OLCTokyo"_s);
    EXPECT_EQ(yamada->Result(), u"0:30:00"_s);
    EXPECT_EQ(legs(*yamada), u"00:01:00 00:02:00 00:03:00 00:04:00 00:05:00 00:06:00 00:07:00 00:08:00"_s);

    struct Status {
        QString name;
        QString result;
    };
    for (const Status& s : std::vector<Status>{
             {u"Sato"_s, u"2P"_s}, {u"Ito"_s, u"DNF"_s}, {u"Kato"_s, u"DNF"_s}, {u"Abe"_s, u"DISQ"_s}}) {
        const auto lap = byName(root, u"M21"_s, s.name);
        ASSERT_TRUE(lap) << s.name.toStdString();
        EXPECT_EQ(lap->Result(), s.result) << s.name.toStdString();
    }
    const auto sato = byName(root, u"M21"_s, u"Sato"_s);
    EXPECT_EQ(sato->LapValue(4), -2);
    EXPECT_EQ(sato->LapValue(7), -2);
    EXPECT_EQ(sato->LapValue(8), basDate::fromSeconds(8 * 60));
}

TEST(SportIdent, MarkerAndCodeLimits) {
    clsQuorvelin2 root;
    EXPECT_FALSE(
        root.FileControl()->LoadLapFile(u"x.txt"_s, QV_FILETYPE_SPORTIDENT, 0, u"a\r\nb\r\nc\r\nd"_s));
    EXPECT_TRUE(
        root.ErrorComment().startsWith(u"ファイルを開けません\r\nclsFileControl.LoadSportIdent\r\n"_s));
    // More than 50 control codes in the two header lines.
    QStringList lines = sportIdentPrintout().mid(0, 7);
    QString many1 = u"            "_s, many2 = u"            "_s;
    for (int i = 1; i <= 26; ++i)
        many1 += u" %1(%2)"_s.arg(i).arg(30 + i);
    for (int i = 27; i <= 52; ++i)
        many2 += u" %1(%2)"_s.arg(i).arg(30 + i);
    lines << many1 << many2;
    EXPECT_FALSE(
        root.FileControl()->LoadLapFile(u"x.txt"_s, QV_FILETYPE_SPORTIDENT, 0, lines.join(u"\r\n"_s)));
    EXPECT_TRUE(
        root.ErrorComment().startsWith(u"ファイルを開けません\r\nclsFileControl.LoadSportIdent\r\n"_s));
}

TEST(SportIdent, ByteColumnsCountDoubleByteCharactersTwice) {
    EXPECT_EQ(basImportFiles::byteMid(u"ab山田cd"_s, 2, 4), u"山田"_s);
    EXPECT_EQ(basImportFiles::byteMid(u"ab山田cd"_s, 3, 4), u"田c"_s); // half a character is left out
    EXPECT_EQ(basImportFiles::byteMid(u"abc"_s, -2, 4), u"ab"_s);
    EXPECT_EQ(basImportFiles::byteMid(u"abc"_s, 5, 4), QString());
}

TEST(ImportOnly, CompletesClubAndSexOfLoadedRunners) {
    const QString list =
        u"$IMPORT_ONLY\r\n名前,所属,性別\r\nYamada Taro,NewClub,M\r\nsato,KOC,F\r\nNobody,X,M\r\nSuzuki,Other,F\r\n"_s;
    struct Case {
        qint32 mode;
        QString suzukiClub;
    };
    for (const Case& c : {Case{QV_LOADMODE_APPEND, u"TOC"_s},
                          Case{QV_LOADMODE_APPEND + QV_LOADMODE_PRIORITY_NEWDATA, u"Other"_s}}) {
        clsQuorvelin2 root;
        auto cls = root.AddClass(u"M21"_s);
        auto yamada = cls->AddLap();
        yamada->setRunnerName(u"YamadaTaro"_s); // differs only in spaces
        auto sato = cls->AddLap();
        sato->setRunnerName(u"Sato"_s); // differs in letter case
        auto suzuki = root.AddClass(u"W21"_s)->AddLap();
        suzuki->setRunnerName(u"Suzuki"_s);
        suzuki->setClubName(u"TOC"_s);
        suzuki->setSex(u"X"_s);
        ASSERT_TRUE(root.FileControl()->LoadLapFile(u"list.txt"_s, 0, c.mode, list))
            << root.ErrorComment().toStdString();
        EXPECT_EQ(yamada->ClubName(), u"NewClub"_s);
        EXPECT_EQ(yamada->Sex(), u"M"_s);
        EXPECT_TRUE(sato->ClubName().isEmpty());
        EXPECT_EQ(suzuki->ClubName(), c.suzukiClub);
        EXPECT_EQ(suzuki->Sex(), u"X"_s);
        EXPECT_EQ(cls->LapCount(), 2); // nobody is added
        EXPECT_EQ(root.ClassCount(), 2);
    }
}

TEST(ImportOnly, SexValuesThatLookLikeFieldNamesStayAsTheyAre) {
    clsQuorvelin2 root;
    auto lap = root.AddClass(u"W21"_s)->AddLap();
    lap->setRunnerName(u"Ann"_s);
    ASSERT_TRUE(root.FileControl()->LoadLapFile(u"l.txt"_s, 0, QV_LOADMODE_APPEND,
                                                u"$IMPORT_ONLY\r\nNAME,SYOZOKU,性別\r\nAnn,F,F\r\n"_s));
    EXPECT_EQ(lap->Sex(), u"F"_s);
    EXPECT_EQ(lap->ClubName(), u"F"_s);
}

TEST(ImportOnly, WithoutHeaderRowNothingChanges) {
    auto root = makeSampleEvent();
    const QStringList before = picture(*root);
    EXPECT_TRUE(root->FileControl()->LoadLapFile(u"l.txt"_s, 0, QV_LOADMODE_APPEND,
                                                 u"$IMPORT_ONLY\r\nLee,OLC,M\r\n,,\r\n"_s));
    EXPECT_EQ(picture(*root), before);
}
