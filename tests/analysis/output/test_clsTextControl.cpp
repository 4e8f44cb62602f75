#include "AnalysisFixture.h"
#include "ProjectError.h"
#include "basAutomation.h"
#include "basText.h"
#include "clsAnalyzer.h"
#include "clsResultsHolder.h"
#include "clsTextControl.h"

#include <QObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace analysisfixture;

namespace {

// Lines written with \n in the expectations; the texts end every line with CR LF.
QString crlf(const QString& lines) {
    QString text = lines;
    return text.replace(u"\n"_s, u"\r\n"_s);
}

// The part of a text from the line that starts with from up to (without) the line that starts
// with to, or to the end.
QString section(const QString& text, const QString& from, const QString& to = QString()) {
    const qsizetype start = text.indexOf(u"\r\n"_s + from);
    if (start < 0)
        return QString();
    const qsizetype end = to.isEmpty() ? text.size() : text.indexOf(u"\r\n"_s + to, start + 2);
    return text.mid(start + 2, (end < 0 ? text.size() : end) - start - 2 + 2);
}

struct Event {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    Event() {
        root->EventData()->setEventName(u"春の大会"_s);
        root->EventData()->EventDate()->setValue(basDate::dateSerial(2024, 4, 21));
    }
    std::shared_ptr<clsClassData> cls(const QString& name, qint32 controls, qint32 length = 0,
                                      qint32 climb = 0) {
        auto c = root->AddClass(name);
        c->setControlCount(controls);
        c->setLength(length);
        c->setClimb(climb);
        return c;
    }
    std::shared_ptr<clsAnalyzer> analyzer(std::initializer_list<QString> classes) const {
        auto a = root->NewAnalyzer();
        for (const QString& c : classes)
            a->AddClass(c);
        a->Execute();
        return a;
    }
    clsTextControl& text() const { return *root->TextControl(); }
};

std::shared_ptr<clsLapData> runner(clsClassData& cls, const QString& name, const QString& club,
                                   const QString& result, std::initializer_list<double> legs,
                                   double startSeconds = 0) {
    auto lap = addRunner(cls, name, result, legs);
    lap->setClubName(club);
    if (startSeconds > 0)
        lap->StartTime()->setValue(basDate::fromSeconds(static_cast<qint64>(startSeconds)));
    return lap;
}

// Two runners over two controls, worked out by hand: upper averages 315, 390, 530 s (total
// 1235 s); cruise speeds 800/845 and 710/705.
struct TwoRunners : Event {
    TwoRunners() {
        auto c = cls(u"M21"_s, 2, 3200, 120);
        runner(*c, u"山田太郎"_s, u"OLC"_s, u"0:20:00"_s, {300, 400, 500}, 10 * 3600);
        runner(*c, u"Suzuki"_s, u"Tokyo OL"_s, u"0:21:10"_s, {330, 380, 560});
    }
};

TEST(TextMail, TwoRunnersOverTwoControlsByteForByte) {
    TwoRunners e;
    const QString expected = crlf(u"◎ M21 3200m ↑120m\n"
                                  u"    - 春の大会 2024年04月21日\n"
                                  u"\n"
                                  u"■ ラップタイム (mmmss)\n"
                                  u"\n"
                                  u"  山田太Suzuki  Ave3\n"
                                  u" 1   500   530   515\n"
                                  u" 2   640   620   630\n"
                                  u" F   820   920   850\n"
                                  u"TT  2000  2110  2035\n"
                                  u"\n"
                                  u"■積算タイム (mmmss)\n"
                                  u"\n"
                                  u"  山田太Suzuki  Ave3\n"
                                  u" 1   500   530   515\n"
                                  u" 2  1140  1150  1145\n"
                                  u" F  2000  2110  2035\n"
                                  u"\n"
                                  u"■相対値 (%)\n"
                                  u"\n"
                                  u"  山田太Suzuki\n"
                                  u" 1    95   105\n"
                                  u" 2   103    97\n"
                                  u" F    94   106\n"
                                  u"TT    97   103\n"
                                  u"\n"
                                  u"■巡航速度 (%)\n"
                                  u"  山田太Suzuki\n"
                                  u"      95   101\n"
                                  u"\n"
                                  u"■ミス率 (%)\n"
                                  u"  山田太Suzuki\n"
                                  u"     2.7   3.1\n"
                                  u"\n"
                                  u"■ミスタイム (mmmss)\n"
                                  u"  山田太Suzuki\n"
                                  u" 1     2    13\n"
                                  u" 2    31   -13\n"
                                  u" F    -2    26\n"
                                  u"TT    33    39\n"
                                  u"\n"
                                  u"Made with Quorvelin Ver.2.16\n"_s);
    const QString text = e.text().OutputTextMail(e.analyzer({u"M21"_s}));
    ASSERT_TRUE(text.startsWith(expected)) << text.toStdString();
    // One acknowledgement line closes the text, without names.
    const QString last = text.mid(expected.size());
    EXPECT_TRUE(last.endsWith(u"\r\n"_s));
    EXPECT_EQ(last.count(u"\r\n"_s), 1);
    EXPECT_GT(last.size(), 4);
    // The lap-time table: five lines of 20 bytes each.
    const QStringList lines =
        section(text, u"  山田太"_s, u" 1   500   530   515\r\n 2  1140"_s).split(u"\r\n"_s);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(basText::byteWidth(lines[k]), 20) << lines[k].toStdString();
}

TEST(TextCsv, TwoRunnersInBothLayouts) {
    TwoRunners e;
    const QVariant a = QVariant::fromValue(e.analyzer({u"M21"_s}));
    EXPECT_EQ(e.text().OutputCsvVennelMacro(a),
              crlf(u"クラス,氏名,所属,順位,記録,スタート時刻,→１,→２,→◎\n"
                   u"M21,山田太郎,OLC,1,0:20:00,10:00:00,00:05:00,00:11:40,00:20:00\n"
                   u"M21,Suzuki,Tokyo OL,2,0:21:10,－,00:05:30,00:11:50,00:21:10\n"_s));
    EXPECT_EQ(e.text().OutputCsvSplitsBrowser(a), crlf(u"M21,2\n"
                                                       u"山田太郎,,OLC,10:00:00,5:00,6:40,8:20\n"
                                                       u"Suzuki,,Tokyo OL,9:00:00,5:30,6:20,9:20\n"_s));
}

// SplitsBrowser's documented CSV input: "class,controls", then per competitor forename,
// surname, club, start time and one time per leg; a line with another field count is dropped.
// The viewer adds the leg times up into splits.
struct ViewerRunner {
    QString forename, surname, club;
    int start = -1;
    std::vector<int> splits;
};

int viewerSeconds(const QString& text) {
    int seconds = 0;
    for (const QString& part : text.split(u':'))
        seconds = seconds * 60 + part.toInt();
    return seconds;
}

std::vector<ViewerRunner> readAsTheViewer(const QString& csv, QString& className) {
    QStringList lines = csv.split(u"\r\n"_s);
    EXPECT_EQ(lines.takeLast(), QString());
    const QStringList head = lines.takeFirst().split(u',');
    className = head.value(0);
    const int controls = head.value(1).toInt();
    std::vector<ViewerRunner> runners;
    for (const QString& line : lines) {
        const QStringList f = line.split(u',');
        if (f.size() != controls + 5)
            continue;
        ViewerRunner r{f[0], f[1], f[2], viewerSeconds(f[3]), {}};
        int sum = 0;
        for (int i = 4; i < f.size(); ++i)
            r.splits.push_back(sum += viewerSeconds(f[i]));
        runners.push_back(r);
    }
    return runners;
}

TEST(TextCsv, SplitsBrowserReadsEveryRunner) {
    TwoRunners e;
    QString className;
    const auto runners = readAsTheViewer(
        e.text().OutputCsvSplitsBrowser(QVariant::fromValue(e.analyzer({u"M21"_s}))), className);
    EXPECT_EQ(className, u"M21"_s);
    ASSERT_EQ(runners.size(), 2u);
    EXPECT_EQ(runners[0].forename, u"山田太郎"_s);
    EXPECT_EQ(runners[0].surname, QString());
    EXPECT_EQ(runners[0].club, u"OLC"_s);
    EXPECT_EQ(runners[0].start, 10 * 3600);
    EXPECT_EQ(runners[0].splits, (std::vector<int>{300, 700, 1200}));
    EXPECT_EQ(runners[1].forename, u"Suzuki"_s);
    EXPECT_EQ(runners[1].club, u"Tokyo OL"_s);
    EXPECT_EQ(runners[1].start, 9 * 3600);
    EXPECT_EQ(runners[1].splits, (std::vector<int>{330, 710, 1270}));
}

// A status result, a missing punch and a runner without a start time.
struct Statuses : Event {
    Statuses() {
        auto c = cls(u"W35"_s, 2);
        runner(*c, u"Ito"_s, u"A"_s, u"0:25:00"_s, {300, 400, 800}, 9 * 3600 + 30 * 60);
        runner(*c, u"Kato"_s, u"B"_s, u"0:30:00"_s, {400, -2, 1000});
        runner(*c, u"Sato"_s, u"C"_s, u"DNF"_s, {350, 450, -2}, 9 * 3600);
    }
};

TEST(TextCsv, StatusResultsAreLeftOutAndMissingTimesMarked) {
    Statuses e;
    const QVariant a = QVariant::fromValue(e.analyzer({u"W35"_s}));
    EXPECT_EQ(e.text().OutputCsvVennelMacro(a),
              crlf(u"クラス,氏名,所属,順位,記録,スタート時刻,→１,→２,→◎\n"
                   u"W35,Ito,A,1,0:25:00,09:30:00,00:05:00,00:11:40,00:25:00\n"
                   u"W35,Kato,B,2,0:30:00,－,00:06:40,－,00:23:20\n"_s));
    EXPECT_EQ(e.text().OutputCsvSplitsBrowser(a), crlf(u"W35,2\n"
                                                       u"Ito,,A,9:30:00,5:00,6:40,13:20\n"
                                                       u"Kato,,B,9:00:00,6:40,0:00,0:00\n"_s));
}

TEST(TextMail, StatusResultStandsInItsTotalCell) {
    Statuses e;
    const QString text = e.text().OutputTextMail(e.analyzer({u"W35"_s}));
    // Ave3 of leg 1: (300 + 350 + 400) / 3 = 350; leg 2 the two valid legs 400, 450; leg 3
    // Ito's 800 alone (a leg after a gap is no single leg); total 1575 s.
    EXPECT_EQ(section(text, u"■ ラップタイム"_s, u"■積算"_s), crlf(u"■ ラップタイム (mmmss)\n"
                                                                   u"\n"
                                                                   u"     Ito  Kato  Sato  Ave3\n"
                                                                   u" 1   500   640   550   550\n"
                                                                   u" 2   640    ×   730   705\n"
                                                                   u" F  1320  1640    ×  1320\n"
                                                                   u"TT  2500  3000   DNF  2615\n"
                                                                   u"\n"_s));
}

TEST(TextMail, ThirteenRunnersMakeTwoBlocks) {
    Event e;
    auto c = e.cls(u"Open"_s, 0);
    for (int k = 1; k <= 13; ++k)
        runner(*c, u"R%1"_s.arg(k, 2, 10, QLatin1Char('0')), QString(),
               basDate::format(basDate::fromSeconds(590 + 10 * k), u"h:nn:ss"), {590.0 + 10 * k});
    const QString text = e.text().OutputTextMail(e.analyzer({u"Open"_s}));
    EXPECT_EQ(section(text, u"■ ラップタイム"_s, u"■積算"_s),
              crlf(u"■ ラップタイム (mmmss)\n"
                   u"\n"
                   u"     R01   R02   R03   R04   R05   R06   R07   R08   R09   R10   R11   R12\n"
                   u" F  1000  1010  1020  1030  1040  1050  1100  1110  1120  1130  1140  1150\n"
                   u"TT  1000  1010  1020  1030  1040  1050  1100  1110  1120  1130  1140  1150\n"
                   u"\n"
                   u"     R13  Ave3\n"
                   u" F  1200  1010\n"
                   u"TT  1200  1010\n"
                   u"\n"_s));
    EXPECT_EQ(section(text, u"■巡航速度"_s, u"■ミス率"_s),
              crlf(u"■巡航速度 (%)\n"
                   u"     R01   R02   R03   R04   R05   R06   R07   R08   R09   R10   R11   R12\n"
                   u"      98   100   102   103   105   107   108   110   111   113   115   116\n"
                   u"\n"
                   u"     R13\n"
                   u"     118\n"
                   u"\n"_s));
}

TEST(TextMail, MinutesAndSecondsInTheAverageColumn) {
    Event e;
    auto c = e.cls(u"Sprint"_s, 1);
    for (const QString& name : {u"a"_s, u"b"_s, u"c"_s})
        runner(*c, name, QString(), u"0:01:00"_s, {59, 1});
    const QString text = e.text().OutputTextMail(e.analyzer({u"Sprint"_s}));
    EXPECT_EQ(section(text, u"■ ラップタイム"_s, u"■積算"_s), crlf(u"■ ラップタイム (mmmss)\n"
                                                                   u"\n"
                                                                   u"       c     b     a  Ave3\n"
                                                                   u" 1    59    59    59    59\n"
                                                                   u" F     1     1     1    01\n"
                                                                   u"TT   100   100   100   100\n"
                                                                   u"\n"_s));
    EXPECT_EQ(section(text, u"■積算"_s, u"■相対値"_s), crlf(u"■積算タイム (mmmss)\n"
                                                            u"\n"
                                                            u"       c     b     a  Ave3\n"
                                                            u" 1    59    59    59    59\n"
                                                            u" F   100   100   100   100\n"
                                                            u"\n"_s));
}

TEST(TextMail, EmptyDataSetKeepsTheAverageColumnAndHeadingsOnly) {
    Event e;
    e.cls(u"Empty"_s, 1);
    auto a = e.root->NewAnalyzer();
    a->setDataSetName(u"Empty"_s);
    a->setControlCount(1);
    a->Execute();
    const QString text = e.text().OutputTextMail(a);
    EXPECT_EQ(section(text, u"■ ラップタイム"_s, u"Made with"_s), crlf(u"■ ラップタイム (mmmss)\n"
                                                                       u"\n"
                                                                       u"    Ave3\n"
                                                                       u" 1    00\n"
                                                                       u" F    00\n"
                                                                       u"TT    00\n"
                                                                       u"\n"
                                                                       u"■積算タイム (mmmss)\n"
                                                                       u"\n"
                                                                       u"    Ave3\n"
                                                                       u" 1     0\n"
                                                                       u" F     0\n"
                                                                       u"\n"
                                                                       u"■相対値 (%)\n"
                                                                       u"\n"
                                                                       u"■巡航速度 (%)\n"
                                                                       u"■ミス率 (%)\n"
                                                                       u"■ミスタイム (mmmss)\n"_s));
}

TEST(TextResult, SingleClassAndMixedDataSet) {
    Event e;
    auto m = e.cls(u"M21"_s, 1, 3200, 120);
    auto w = e.cls(u"W21"_s, 1);
    runner(*m, u"山田太郎"_s, u"OLC"_s, u"0:20:00"_s, {600, 600});
    runner(*m, u"とても長い名前の選手"_s, u"Club"_s, u"DNF"_s, {600, -2});
    runner(*w, u"ｽｽﾞｷ ﾊﾅｺ"_s, u"京葉OL"_s, u"0:19:30"_s, {500, 670});

    auto single = e.root->NewResultsHolder();
    single->AddClass(u"M21"_s);
    single->CalcRank();
    EXPECT_EQ(e.text().OutputTextResult(single), crlf(u"* M21 3200m ↑120m\n"
                                                      u"     1  山田太郎         0:20:00  OLC\n"
                                                      u"        とても長い名前       DNF  Club\n"
                                                      u"\n"_s));

    auto mixed = e.root->NewResultsHolder();
    mixed->AddClass(u"M21"_s);
    mixed->AddClass(u"W21"_s);
    mixed->CalcRank();
    EXPECT_EQ(e.text().OutputTextResult(mixed),
              crlf(u"* M21/W21 3200m ↑120m\n"
                   u"     1 (W21     )    ｽｽﾞｷ ﾊﾅｺ         0:19:30  京葉OL\n"
                   u"     2 (M21     )    山田太郎         0:20:00  OLC\n"
                   u"       (M21     )    とても長い名前       DNF  Club\n"
                   u"\n"_s));
}

// Odd data sets give complete texts: every line ended, every CSV line with its fields, the
// mail text closed by its last two lines.
TEST(TextOddData, CompleteTextsForEveryShapeOfClass) {
    Event e;
    auto statuses = e.cls(u"Statuses"_s, 2);
    runner(*statuses, u"ﾊﾝｶｸ ｶﾀｶﾅ ﾅﾏｴ"_s, u"ｸﾗﾌﾞ"_s, u"MP"_s, {300, -2, 400});
    runner(*statuses, u"Latin Letters Far Too Long"_s, u"A Club With A Long Name"_s, u"DNS"_s, {-2, -2, -2});
    auto one = e.cls(u"One"_s, 1);
    runner(*one, u"とても長い名前の選手さん"_s, u"とても長いクラブ名"_s, u"0:08:00"_s, {240, 240});
    auto noLegs = e.cls(u"NoLegs"_s, 3);
    runner(*noLegs, u"x"_s, QString(), u"0:10:00"_s, {});
    auto thirty = e.cls(u"Thirty"_s, 30);
    for (const QString& name : {u"t1"_s, u"t2"_s}) {
        auto lap = runner(*thirty, name, QString(), u"2:00:00"_s, {});
        for (int i = 1; i <= 30; ++i)
            lap->Lap(i)->setValue(basDate::fromSeconds(name == u"t1"_s ? 240 : 250));
    }
    for (const QString& name : {u"Statuses"_s, u"One"_s, u"NoLegs"_s, u"Thirty"_s}) {
        const auto a = e.analyzer({name});
        auto results = e.root->NewResultsHolder();
        results->AddClass(name);
        results->CalcRank();
        const QString mail = e.text().OutputTextMail(a);
        const QString result = e.text().OutputTextResult(results);
        const QString vennel = e.text().OutputCsvVennelMacro(QVariant::fromValue(a));
        const QString splits = e.text().OutputCsvSplitsBrowser(QVariant::fromValue(a));
        for (const QString* text : {&mail, &result, &vennel, &splits}) {
            EXPECT_TRUE(text->endsWith(u"\r\n"_s)) << name.toStdString();
            EXPECT_EQ(text->count(u'\n'), text->count(u"\r\n"_s)) << name.toStdString();
        }
        EXPECT_TRUE(mail.contains(u"\r\nMade with Quorvelin Ver.2.16\r\n"_s)) << name.toStdString();
        EXPECT_EQ(result.count(u"\r\n"_s), 2 + results->Count()) << name.toStdString();
        const int legs = a->ControlCount() + 1;
        QStringList lines = vennel.split(u"\r\n"_s);
        lines.removeLast();
        for (const QString& line : lines)
            EXPECT_EQ(line.count(u','), 5 + legs) << name.toStdString() << line.toStdString();
        lines = splits.split(u"\r\n"_s);
        lines.removeLast();
        for (const QString& line : lines.mid(1))
            EXPECT_EQ(line.count(u','), 3 + legs) << name.toStdString() << line.toStdString();
        // Status results are left out of both exports.
        EXPECT_EQ(lines.size(), 1 + (name == u"Statuses"_s ? 0 : a->Count())) << name.toStdString();
    }
}

// Only the members the exports name: an object that lacks one is an error to the caller.
class PartialAnalyzer : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE qint32 ControlCount() const { return 1; }
    Q_INVOKABLE QString DataSetName() const { return u"X"_s; }
    Q_INVOKABLE qint32 Count() const { return 1; }
    Q_INVOKABLE QObject* Item(qint32) { return this; }
    Q_INVOKABLE QString Result() const { return u"0:10:00"_s; }
    Q_INVOKABLE QString RunnerName() const { return u"x"_s; }
};

TEST(TextErrors, MissingMembersAndTooManyControlsRaise) {
    Event e;
    PartialAnalyzer partial;
    const QVariant object = QVariant::fromValue(static_cast<QObject*>(&partial));
    for (auto output : {&clsTextControl::OutputCsvVennelMacro, &clsTextControl::OutputCsvSplitsBrowser}) {
        try {
            (e.text().*output)(object);
            ADD_FAILURE() << "no error";
        } catch (const ProjectError& error) {
            EXPECT_EQ(error.number(), ProjectError::InvalidCall);
            EXPECT_TRUE(error.description().contains(u"ClubName"_s) ||
                        error.description().contains(u"OtherData"_s))
                << error.description().toStdString();
        }
    }
    EXPECT_THROW(e.text().OutputCsvVennelMacro(QVariant(42)), ProjectError);
    EXPECT_THROW(e.text().OutputTextMail(nullptr), ProjectError);

    for (int controls : {30, 31}) {
        auto c = e.cls(u"C%1"_s.arg(controls), controls);
        auto lap = c->AddLap();
        lap->setRunnerName(u"r"_s);
        for (int i = 1; i <= std::min(controls + 1, 30); ++i)
            lap->Lap(i)->setValue(basDate::fromSeconds(60));
        const auto a = e.analyzer({c->ClassName()});
        if (controls == 30) {
            const QString text = e.text().OutputTextMail(a);
            EXPECT_TRUE(text.contains(u"\r\n30   100   100\r\n F    －    00\r\n"_s)) << text.toStdString();
        } else {
            EXPECT_THROW(e.text().OutputTextMail(a), ProjectError);
        }
    }
}

// The exports are reachable by name, as hosts call them.
TEST(TextAutomation, MembersInSlotOrderAndByName) {
    EXPECT_EQ(basAutomation::MemberNames(clsTextControl::staticMetaObject),
              (QStringList{u"OutputCsvVennelMacro"_s, u"OutputCsvSplitsBrowser"_s, u"OutputTextMail"_s,
                           u"OutputTextResult"_s}));
    TwoRunners e;
    const QVariant root = QVariant::fromValue(static_cast<QObject*>(e.root.get()));
    const QVariant control = basAutomation::Get(root, u"TextControl");
    const QVariant a = QVariant::fromValue(e.analyzer({u"M21"_s}));
    EXPECT_EQ(basAutomation::Call(control, u"OutputTextMail", {a}).toString(),
              e.text().OutputTextMail(a.value<std::shared_ptr<clsAnalyzer>>()));
    EXPECT_TRUE(
        basAutomation::Call(control, u"outputcsvsplitsbrowser", {a}).toString().startsWith(u"M21,2\r\n"_s));
}

} // namespace

#include "test_clsTextControl.moc"
