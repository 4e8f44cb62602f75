#include "FileTestSupport.h"
#include "TestFolder.h"
#include "basConstants.h"
#include "basDate.h"
#include "basIofResultList.h"
#include "clsQuorvelin2.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

// Saves the root as IOF XML through the file control, checks it against the DTD and returns
// its text.
QString saveValidated(clsQuorvelin2& root) {
    TestFolder folder;
    const QString path = folder.file(u"results.xml"_s);
    EXPECT_TRUE(root.FileControl()->SaveLapFile(path)); // .xml saves IOF XML
    const QString errors = iofValidationErrors(path);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    return QString::fromUtf8(folder.read(u"results.xml"_s));
}

QString personResultOf(const QString& xml, const QString& family) {
    const qsizetype at = xml.indexOf(u"<Family>"_s + family + u"</Family>"_s);
    if (at < 0)
        return {};
    const qsizetype start = xml.lastIndexOf(u"<PersonResult>"_s, at);
    const qsizetype end = xml.indexOf(u"</PersonResult>"_s, at);
    return xml.mid(start, end - start);
}

} // namespace

TEST(IofResultList, SampleEventValidatesAndCarriesTheMappedData) {
    auto root = makeSampleEvent();
    const QString xml = saveValidated(*root);
    EXPECT_TRUE(xml.startsWith(u"<?xml version=\"1.0\"?>\n<!DOCTYPE ResultList SYSTEM \"IOFdata.dtd\">\n"_s));
    const QStringList pieces = {
        u"<ResultList status=\"complete\"><IOFVersion "
        u"version=\"2.0.3\"/><Event><EventId/><Name>春の大会</Name><EventClassificationId/>"
        u"<StartDate><Date dateFormat=\"YYYY-MM-DD\">2024-04-21</Date></StartDate><WebURL>http://example.org/spring</WebURL></Event>"_s,
        u"<ClassResult><ClassShortName>M21</ClassShortName>"_s,
        u"<ModifyDate><Date dateFormat=\"YYYY-MM-DD\">2024-04-22</Date><Clock clockFormat=\"HH:MM:SS\">18:05:07</Clock></ModifyDate></ResultList>"_s,
    };
    for (const QString& p : pieces)
        EXPECT_TRUE(xml.contains(p)) << p.toStdString();

    const QString yamada = personResultOf(xml, u"山田"_s);
    EXPECT_EQ(
        yamada,
        u"<PersonResult><Person "
        u"sex=\"M\"><PersonName><Family>山田</Family><Given>太郎</Given></PersonName><PersonId/></Person>"
        u"<Club><ClubId/><ShortName>OLC</ShortName><CountryId value=\"other\"/></Club>"
        u"<Result><StartNumber>101</StartNumber><CCardId>50101</CCardId>"
        u"<StartTime><Clock clockFormat=\"HH:MM:SS\">10:00:00</Clock></StartTime>"
        u"<FinishTime><Clock clockFormat=\"HH:MM:SS\">10:30:00</Clock></FinishTime>"
        u"<Time timeFormat=\"MM:SS\">30:00</Time><ResultPosition>1</ResultPosition><CompetitorStatus "
        u"value=\"OK\"/>"
        u"<CourseVariation><CourseVariationId>1</CourseVariationId><CourseLength "
        u"unit=\"m\">4200</CourseLength>"
        u"<CourseClimb unit=\"m\">150</CourseClimb>"
        u"<CourseControl><Sequence>1</Sequence><ControlCode>31</ControlCode></CourseControl>"
        u"<CourseControl><Sequence>2</Sequence><ControlCode>32</ControlCode></CourseControl>"
        u"<CourseControl><Sequence>3</Sequence><ControlCode>33</ControlCode></CourseControl></"
        u"CourseVariation>"
        u"<SplitTime sequence=\"1\"><ControlCode>31</ControlCode><Time "
        u"timeFormat=\"MM:SS\">5:00</Time></SplitTime>"
        u"<SplitTime sequence=\"2\"><ControlCode>32</ControlCode><Time "
        u"timeFormat=\"MM:SS\">12:30</Time></SplitTime>"
        u"<SplitTime sequence=\"3\"><ControlCode>33</ControlCode><Time "
        u"timeFormat=\"MM:SS\">22:30</Time></SplitTime></Result>"_s);

    // Full-width space between the name parts; a status result takes the sum of the legs; the
    // disqualified and skipped legs write nothing and the sequence counts only what is written;
    // the finish leg, which has no control code, is in Time only.
    const QString sato = personResultOf(xml, u"佐藤"_s);
    EXPECT_TRUE(sato.contains(u"<Family>佐藤</Family><Given>花子</Given>"_s));
    EXPECT_TRUE(sato.contains(u"<Person sex=\"F\">"_s));
    EXPECT_TRUE(
        sato.contains(u"<Time timeFormat=\"MM:SS\">18:00</Time><CompetitorStatus value=\"Disqualified\"/>"
                      u"<CourseVariationId>1</CourseVariationId>"
                      u"<SplitTime sequence=\"1\"><ControlCode>31</ControlCode><Time "
                      u"timeFormat=\"MM:SS\">6:00</Time></SplitTime></Result>"_s))
        << sato.toStdString();
    EXPECT_FALSE(sato.contains(u"StartTime"_s));

    const QString lee = personResultOf(xml, u"Lee"_s);
    EXPECT_TRUE(lee.contains(u"<Given></Given>"_s) || lee.contains(u"<Given/>"_s)) << lee.toStdString();
    EXPECT_TRUE(lee.contains(u"<CompetitorStatus value=\"OK\"/>"_s));
    EXPECT_TRUE(lee.contains(u"<SplitTime sequence=\"2\"><ControlCode>33</ControlCode>"_s))
        << lee.toStdString();

    const QString dns = personResultOf(xml, u"No"_s);
    EXPECT_TRUE(dns.contains(u"<CompetitorStatus value=\"Inactive\"/>"_s));
    EXPECT_FALSE(dns.contains(u"SplitTime"_s));
    EXPECT_FALSE(dns.contains(u"ResultPosition"_s));

    // A course without controls is named by its number; a class without a course names none.
    const QString suzuki = personResultOf(xml, u"鈴木"_s);
    EXPECT_TRUE(
        suzuki.contains(u"<CompetitorStatus value=\"OK\"/><CourseVariationId>2</CourseVariationId>"_s))
        << suzuki.toStdString();
    const QString guest = personResultOf(xml, u"Guest"_s);
    EXPECT_FALSE(guest.contains(u"CourseVariation"_s));
    EXPECT_FALSE(guest.contains(u"SplitTime"_s)); // its one leg is the finish leg
}

TEST(IofResultList, CompetitorStatusRules) {
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
        {u"DNS"_s, QString(), {0, 0}, u"Inactive"_s},
        {u"DNF"_s, QString(), {}, u"Disqualified"_s},
        {u"2P"_s, u"5"_s, {}, u"Disqualified"_s},
        {QString(), QString(), {0.001, -2}, u"Disqualified"_s},
        {QString(), QString(), {0.001, -1, 0.002}, u"OK"_s},
    };
    clsQuorvelin2 root;
    auto cls = root.AddClass(u"A"_s);
    for (const Case& c : cases) {
        auto lap = cls->AddLap();
        lap->setRunnerName(u"R"_s + QString::number(cls->LapCount()));
        lap->setResult(c.result);
        lap->setRank(c.rank);
        for (size_t i = 0; i < c.legs.size(); ++i)
            lap->Lap(int(i) + 1)->setValue(c.legs[i]);
        EXPECT_EQ(basIofResultList::competitorStatus(*lap), c.status)
            << c.result.toStdString() << "/" << c.rank.toStdString();
    }
    // Every one of them also validates as a document.
    saveValidated(root);
}

TEST(IofResultList, TextForms) {
    struct Case {
        qint64 seconds;
        QString text;
    };
    for (const Case& c : std::vector<Case>{
             {3907, u"65:07"_s}, {0, u"0:00"_s}, {59, u"0:59"_s}, {600, u"10:00"_s}, {36000, u"600:00"_s}})
        EXPECT_EQ(basIofResultList::minutesAndSeconds(c.seconds), c.text);
    struct Sex {
        QString in;
        QString out;
    };
    for (const Sex& s : std::vector<Sex>{{u"M"_s, u"M"_s},
                                         {u"m"_s, u"M"_s},
                                         {u"男"_s, u"M"_s},
                                         {u"男性"_s, u"M"_s},
                                         {u"F"_s, u"F"_s},
                                         {u"f"_s, u"F"_s},
                                         {u"女"_s, u"F"_s},
                                         {u"女性"_s, u"F"_s},
                                         {u"W"_s, QString()},
                                         {QString(), QString()}})
        EXPECT_EQ(basIofResultList::sexAttribute(s.in), s.out) << s.in.toStdString();
}

TEST(IofResultList, EdgeEventsStillValidate) {
    {
        clsQuorvelin2 empty;
        const QString xml = saveValidated(empty);
        EXPECT_FALSE(xml.contains(u"WebURL"_s));
        EXPECT_FALSE(xml.contains(u"ClassResult"_s));
    }
    {
        // A course number without a course, special start values, markup characters in names.
        clsQuorvelin2 root;
        auto cls = root.AddClass(u"<A&B>"_s);
        cls->setCourseNum(7);
        auto lap = cls->AddLap();
        lap->setRunnerName(u"\"Tom\" & <Jerry>"_s);
        lap->setResult(u"1:05:07"_s);
        lap->StartTime()->setValue(-2);
        lap->Lap(1)->setValue(basDate::fromSeconds(3907));
        const QString xml = saveValidated(root);
        EXPECT_TRUE(xml.contains(u"<Time timeFormat=\"MM:SS\">65:07</Time>"_s));
        EXPECT_FALSE(xml.contains(u"CourseVariation"_s));
    }
    {
        clsQuorvelin2 generated;
        fillGeneratedEvent(generated, 3, 5, 12);
        saveValidated(generated);
    }
}
