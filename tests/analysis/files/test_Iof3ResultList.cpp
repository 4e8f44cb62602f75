#include "FileTestSupport.h"
#include "TestFolder.h"
#include "basConstants.h"
#include "basDate.h"
#include "basIof3ResultList.h"
#include "clsQuorvelin2.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

// Saves as IOF XML 3.0, checks the document against the schema and returns its text.
QString saveValidated(clsQuorvelin2& root, TestFolder& folder, const QString& name = u"results.xml"_s) {
    const QString path = folder.file(name);
    EXPECT_TRUE(root.FileControl()->SaveLapFile(path, QV_FILETYPE_IOF_XML_30_RESULT));
    const QString errors = iof3ValidationErrors(path);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    return QString::fromUtf8(folder.read(name));
}

QString personResultOf(const QString& xml, const QString& family) {
    const qsizetype at = xml.indexOf(u"<Family>"_s + family + u"</Family>"_s);
    if (at < 0)
        return {};
    const qsizetype start = xml.lastIndexOf(u"<PersonResult>"_s, at);
    const qsizetype end = xml.indexOf(u"</PersonResult>"_s, at);
    return xml.mid(start, end - start + 15);
}

} // namespace

TEST(Iof3ResultList, SampleEventValidatesAndCarriesTheMappedData) {
    auto root = makeSampleEvent();
    TestFolder folder;
    const QString xml = saveValidated(*root, folder);
    EXPECT_TRUE(xml.contains(u"<ResultList xmlns=\"http://www.orienteering.org/datastandard/3.0\" "
                             u"iofVersion=\"3.0\" createTime=\""_s));
    EXPECT_TRUE(xml.contains(u"creator=\"Quorvelin2 "_s));
    EXPECT_TRUE(xml.contains(u"<Event><Name>春の大会</Name><StartTime><Date>2024-04-21</Date></StartTime>"
                             u"<URL type=\"Website\">http://example.org/spring</URL></Event>"_s));
    EXPECT_TRUE(xml.contains(u"<ClassResult><Class><Name>M21</Name></Class><Course><Id>1</Id><Length>4200</"
                             u"Length><Climb>150</Climb><NumberOfControls>3</NumberOfControls></Course>"_s));

    EXPECT_EQ(
        personResultOf(xml, u"山田"_s),
        u"<PersonResult><Person sex=\"M\"><Name><Family>山田</Family><Given>太郎</Given></Name></Person>"
        u"<Organisation><Name>OLC</Name></Organisation><Result><BibNumber>101</BibNumber>"
        u"<StartTime>2024-04-21T10:00:00</StartTime><FinishTime>2024-04-21T10:30:00</FinishTime>"
        u"<Time>1800</Time><Position>1</Position><Status>OK</Status>"
        u"<SplitTime><ControlCode>31</ControlCode><Time>300</Time></SplitTime>"
        u"<SplitTime><ControlCode>32</ControlCode><Time>750</Time></SplitTime>"
        u"<SplitTime><ControlCode>33</ControlCode><Time>1350</Time></SplitTime>"
        u"<ControlCard>50101</ControlCard></Result></PersonResult>"_s);
    // A missed control and a control inside a skip are both missing; the covering leg's split
    // still counts from the start.
    const QString sato = personResultOf(xml, u"佐藤"_s);
    EXPECT_TRUE(
        sato.contains(u"<Time>1080</Time><Status>MissingPunch</Status>"
                      u"<SplitTime><ControlCode>31</ControlCode><Time>360</Time></SplitTime>"
                      u"<SplitTime status=\"Missing\"><ControlCode>32</ControlCode></SplitTime>"
                      u"<SplitTime status=\"Missing\"><ControlCode>33</ControlCode></SplitTime></Result>"_s))
        << sato.toStdString();
    // A leg without data is missing too.
    EXPECT_TRUE(personResultOf(xml, u"Lee"_s)
                    .contains(u"<SplitTime status=\"Missing\"><ControlCode>32</ControlCode></SplitTime>"
                              u"<SplitTime><ControlCode>33</ControlCode><Time>919</Time></SplitTime>"_s));
    const QString dns = personResultOf(xml, u"No"_s);
    EXPECT_TRUE(dns.contains(u"<Status>DidNotStart</Status></Result>"_s)) << dns.toStdString();
    EXPECT_FALSE(dns.contains(u"<Time>"_s));
    // Without controls there are no split times: the total is the one time.
    EXPECT_FALSE(personResultOf(xml, u"Guest"_s).contains(u"SplitTime"_s));
}

TEST(Iof3ResultList, StatusMapping) {
    struct Case {
        QString result;
        QString rank;
        std::vector<double> legs;
        QString status;
    };
    const std::vector<Case> cases = {
        {u"0:30:00"_s, u"1"_s, {}, u"OK"_s},
        {u"0:30:00"_s, u"OP"_s, {}, u"NotCompeting"_s},
        {u"0:30:00"_s, u"(3)"_s, {}, u"OverTime"_s},
        {u"DNS"_s, QString(), {0, 0}, u"DidNotStart"_s},
        {u"dnf"_s, QString(), {0.001}, u"DidNotFinish"_s},
        {u"P2"_s, QString(), {0.001, -2, -2}, u"MissingPunch"_s},
        {u"1P"_s, QString(), {}, u"MissingPunch"_s},
        {u"MP"_s, QString(), {}, u"MissingPunch"_s},
        {u"DISQ"_s, QString(), {}, u"Disqualified"_s},
        {u"DNQ"_s, QString(), {}, u"Disqualified"_s},
        {QString(), QString(), {0.001, -2}, u"MissingPunch"_s},
        {QString(), QString(), {0.001, -1, 0.002}, u"OK"_s},
    };
    clsQuorvelin2 root;
    root.EventData()->EventDate()->setValue(basDate::dateSerial(2025, 1, 2));
    auto cls = root.AddClass(u"A"_s);
    for (const Case& c : cases) {
        auto lap = cls->AddLap();
        lap->setRunnerName(u"R"_s + QString::number(cls->LapCount()));
        lap->setResult(c.result);
        lap->setRank(c.rank);
        lap->StartTime()->setValue(basDate::timeSerial(23, 50, 0)); // finishes after midnight
        for (size_t i = 0; i < c.legs.size(); ++i)
            lap->Lap(int(i) + 1)->setValue(c.legs[i]);
        EXPECT_EQ(basIof3ResultList::resultStatus(*lap), c.status)
            << c.result.toStdString() << "/" << c.rank.toStdString();
    }
    TestFolder folder;
    const QString xml = saveValidated(root, folder);
    EXPECT_TRUE(xml.contains(u"<FinishTime>2025-01-03T00:20:00</FinishTime>"_s)) << xml.toStdString();
    // Who did not finish has neither a time nor a finish time.
    EXPECT_TRUE(
        personResultOf(xml, u"R5"_s)
            .contains(u"<Result><StartTime>2025-01-02T23:50:00</StartTime><Status>DidNotFinish</Status>"_s))
        << personResultOf(xml, u"R5"_s).toStdString();
}

TEST(Iof3ResultList, EdgeEventsStillValidate) {
    TestFolder folder;
    clsQuorvelin2 empty;
    const QString xml = saveValidated(empty, folder, u"empty.xml"_s);
    EXPECT_FALSE(xml.contains(u"StartTime"_s)); // no date, no start
    EXPECT_FALSE(xml.contains(u"ClassResult"_s));

    clsQuorvelin2 root;
    auto cls = root.AddClass(u"<A&B>"_s);
    cls->setCourseNum(7); // a course the data set does not have
    auto lap = cls->AddLap();
    lap->setRunnerName(u"\"Tom\" & <Jerry>"_s);
    lap->setClubName(u"R&D"_s);
    lap->setRank(u"2.0"_s);
    lap->setResult(u"1:05:07"_s);
    lap->StartTime()->setValue(-2);
    lap->Lap(1)->setValue(basDate::fromSeconds(3907));
    const QString edge = saveValidated(root, folder, u"edge.xml"_s);
    EXPECT_TRUE(edge.contains(u"<Time>3907</Time><Position>2</Position>"_s)) << edge.toStdString();
    EXPECT_FALSE(edge.contains(u"<StartTime>"_s));

    clsQuorvelin2 generated;
    fillGeneratedEvent(generated, 3, 5, 30);
    saveValidated(generated, folder, u"generated.xml"_s);
}

TEST(Iof3ResultList, RoundTripKeepsWhatTheFormatHolds) {
    // The event as the finish program makes it: its own words for a missed control.
    clsQuorvelin2 original;
    fillGeneratedEvent(original, 3, 60, 12);
    for (int c = 1; c <= original.ClassCount(); ++c)
        for (int r = 1; r <= original.ClassData(c)->LapCount(); ++r)
            if (auto lap = original.ClassData(c)->LapData(r); lap->Result() == u"1P"_s)
                lap->setResult(u"P1"_s);
    struct Case {
        qint32 kind;
        QString missedControl; // what a runner with a missed control reads back as
    };
    // 2.0.3 has no word for a missing punch that its writer uses: it says Disqualified.
    for (const Case& c :
         {Case{QV_FILETYPE_IOF_XML_30_RESULT, u"P1"_s}, Case{QV_FILETYPE_IOF_XML_20_RESULT, u"DISQ"_s}}) {
        SCOPED_TRACE(c.kind);
        TestFolder folder;
        const QString path = folder.file(u"event.xml"_s);
        ASSERT_TRUE(original.FileControl()->SaveLapFile(path, c.kind));
        const QString errors =
            c.kind == QV_FILETYPE_IOF_XML_30_RESULT ? iof3ValidationErrors(path) : iofValidationErrors(path);
        EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
        clsQuorvelin2 loaded;
        ASSERT_TRUE(loaded.FileControl()->LoadLapFile(path, c.kind)) << loaded.ErrorComment().toStdString();
        Keeps keeps;
        keeps.rankFixAndAge = false;
        keeps.meta = false;
        keeps.classDetails = false;
        QStringList expected = picture(original, keeps);
        expected.replaceInStrings(u"|P1|"_s, u'|' + c.missedControl + u'|');
        EXPECT_EQ(picture(loaded, keeps), expected);
    }
}

TEST(Iof3ResultList, SampleRoundTripShowsWhatIsLost) {
    auto original = makeSampleEvent();
    TestFolder folder;
    const QString path = folder.file(u"sample.xml"_s);
    ASSERT_TRUE(original->FileControl()->SaveLapFile(path, QV_FILETYPE_IOF_XML_30_RESULT));
    EXPECT_EQ(iof3ValidationErrors(path), QString());
    clsQuorvelin2 loaded;
    ASSERT_TRUE(loaded.FileControl()->LoadLapFile(path, QV_FILETYPE_IOF_XML_30_RESULT));
    struct Case {
        QString cls;
        QString name;
        QString result;
        QString rank;
        QString legs;
    };
    const std::vector<Case> cases = {
        {u"M21"_s, u"山田 太郎"_s, u"0:30:00"_s, u"1"_s, u"00:05:00 00:07:30 00:10:00 00:07:30"_s},
        // Skipped and empty legs come back missing; a name's full-width space half-width; the
        // library's own word for the missed controls.
        {u"M21"_s, u"佐藤 花子"_s, u"P2"_s, QString(), u"00:06:00 × × 00:12:00"_s},
        // A runner without a result comes back with its time.
        {u"M21"_s, u"Lee"_s, u"0:23:19"_s, QString(), u"00:06:10 × 00:09:09 00:08:00"_s},
        {u"M21"_s, u"No Legs"_s, u"DNS"_s, QString(), QString()},
        // A course without controls has no split times: one leg from start to finish.
        {u"W21"_s, u"鈴木 一"_s, u"0:20:05"_s, QString(), u"00:20:05"_s},
        {u"Open"_s, u"Guest"_s, u"0:40:00"_s, QString(), u"00:40:00"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const auto cls = loaded.ClassData(c.cls);
        ASSERT_TRUE(cls);
        std::shared_ptr<clsLapData> lap;
        for (int r = 1; r <= cls->LapCount() && !lap; ++r)
            if (cls->LapData(r)->RunnerName() == c.name)
                lap = cls->LapData(r);
        ASSERT_TRUE(lap);
        EXPECT_EQ(lap->Result(), c.result);
        EXPECT_EQ(lap->Rank(), c.rank);
        QStringList legs;
        for (int i = 1; i <= lap->LegCount(); ++i)
            legs << lap->Lap(i)->ToString();
        EXPECT_EQ(legs.join(u' '), c.legs);
    }
    EXPECT_EQ(loaded.ClassData(u"M21"_s)->CourseNum(), 1);
    EXPECT_EQ(loaded.ClassData(u"M21"_s)->Length(), 4200);
    EXPECT_EQ(loaded.ClassData(u"W21"_s)->CourseNum(), 0);
    EXPECT_EQ(loaded.CourseCount(), 1);
    EXPECT_EQ(loaded.EventData()->OfficialSite(), u"http://example.org/spring"_s);
    EXPECT_TRUE(loaded.EventData()->Terrain().isEmpty()); // not in the format
}
