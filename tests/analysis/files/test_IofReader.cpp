#include "FileTestSupport.h"
#include "TestFolder.h"
#include "basConstants.h"
#include "basDate.h"
#include "basIofReader.h"
#include "clsQuorvelin2.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QString Failure = u"ファイルを開けません\r\nclsFileControl.LoadIofResultList\r\n"_s;

// An individual result list after the standard's example: a butterfly class whose runners ran
// two courses, a missing punch, a non-starter, a disqualification and a runner not competing.
const QByteArray Individual30 = R"(<?xml version="1.0" encoding="UTF-8"?>
<ResultList xmlns="http://www.orienteering.org/datastandard/3.0"
            xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
            iofVersion="3.0" createTime="2011-07-31T22:37:38+02:00" creator="Example Software" status="Complete">
  <Event>
    <Id>1</Id>
    <Name>Example event</Name>
    <StartTime><Date>2011-07-30</Date><Time>10:00:00+01:00</Time></StartTime>
    <EndTime><Date>2011-07-30</Date><Time>14:00:00+01:00</Time></EndTime>
  </Event>
  <ClassResult>
    <Class><Id>1</Id><Name>Men Elite</Name></Class>
    <Course><Length>4500</Length><Climb>120</Climb></Course>
    <PersonResult>
      <Person sex="M"><Id>1</Id><Name><Family>Smith</Family><Given>John</Given></Name></Person>
      <Organisation><Id>1</Id><Name>Orienteering club</Name><Country code="GBR">Great Britain</Country></Organisation>
      <Result>
        <BibNumber>101</BibNumber>
        <StartTime>2011-07-30T10:00:00+01:00</StartTime>
        <FinishTime>2011-07-30T10:33:21+01:00</FinishTime>
        <Time>2001</Time>
        <TimeBehind>0</TimeBehind>
        <Position>1</Position>
        <Status>OK</Status>
        <Course><Name>A</Name><Length>4500</Length></Course>
        <SplitTime><ControlCode>31</ControlCode><Time>501</Time></SplitTime>
        <SplitTime><ControlCode>32</ControlCode><Time>950</Time></SplitTime>
        <SplitTime status="Additional"><ControlCode>99</ControlCode><Time>1000</Time></SplitTime>
        <SplitTime><ControlCode>33</ControlCode><Time>1421</Time></SplitTime>
        <SplitTime><ControlCode>100</ControlCode><Time>1905</Time></SplitTime>
        <ControlCard punchingSystem="SI">123456</ControlCard>
        <Extensions><Something>ignored</Something></Extensions>
      </Result>
    </PersonResult>
    <PersonResult>
      <Person><Name><Family>Jones</Family><Given>Peter</Given></Name></Person>
      <Result>
        <BibNumber>102</BibNumber>
        <Time>2100</Time>
        <Position>2</Position>
        <Status>OK</Status>
        <Course><Name>B</Name></Course>
        <SplitTime><ControlCode>33</ControlCode><Time>480</Time></SplitTime>
        <SplitTime><ControlCode>32</ControlCode><Time>1000</Time></SplitTime>
        <SplitTime><ControlCode>31</ControlCode><Time>1500</Time></SplitTime>
        <SplitTime><ControlCode>100</ControlCode><Time>2000</Time></SplitTime>
      </Result>
    </PersonResult>
    <PersonResult>
      <Person><Name><Family>Brown</Family><Given>Bill</Given></Name></Person>
      <Organisation><Name>Other club</Name></Organisation>
      <Result>
        <Time>2200</Time>
        <Status>MissingPunch</Status>
        <SplitTime><ControlCode>31</ControlCode><Time>600</Time></SplitTime>
        <SplitTime status="Missing"><ControlCode>32</ControlCode></SplitTime>
        <SplitTime><ControlCode>33</ControlCode><Time>1500</Time></SplitTime>
        <SplitTime><ControlCode>100</ControlCode><Time>2100</Time></SplitTime>
      </Result>
    </PersonResult>
    <PersonResult>
      <Person><Name><Family>Green</Family><Given>Gary</Given></Name></Person>
      <Result><BibNumber>104</BibNumber><Status>DidNotStart</Status></Result>
    </PersonResult>
    <PersonResult>
      <Person><Name><Family>White</Family><Given>Walter</Given></Name></Person>
      <Result>
        <Time>1800</Time>
        <Status>Disqualified</Status>
        <SplitTime><ControlCode>31</ControlCode><Time>400</Time></SplitTime>
        <SplitTime><ControlCode>32</ControlCode><Time>350</Time></SplitTime>
        <SplitTime><ControlCode>33</ControlCode><Time>1200</Time></SplitTime>
        <SplitTime><ControlCode>100</ControlCode><Time>1700</Time></SplitTime>
      </Result>
    </PersonResult>
    <PersonResult>
      <Person><Name><Family>Black</Family><Given>Bob</Given></Name></Person>
      <Result>
        <Time>1950</Time>
        <Status>NotCompeting</Status>
        <SplitTime><ControlCode>31</ControlCode><Time>500</Time></SplitTime>
        <SplitTime><ControlCode>32</ControlCode><Time>900</Time></SplitTime>
        <SplitTime><ControlCode>33</ControlCode><Time>1400</Time></SplitTime>
        <SplitTime><ControlCode>100</ControlCode><Time>1900</Time></SplitTime>
      </Result>
    </PersonResult>
  </ClassResult>
</ResultList>
)";

// The same kind of list in 2.0.3, as older software writes it: the controls in a course
// variation, times as clock texts, a missed control simply left out.
const QByteArray Individual203 = R"(<?xml version="1.0" encoding="ISO-8859-1"?>
<!DOCTYPE ResultList SYSTEM "IOFdata.dtd">
<ResultList>
  <IOFVersion version="2.0.3"/>
  <Event><EventId>1</EventId><Name>Old event</Name>
    <StartDate><Date dateFormat="YYYY-MM-DD">2005-05-05</Date></StartDate></Event>
  <ClassResult>
    <ClassShortName>H21</ClassShortName>
    <PersonResult>
      <Person sex="M"><PersonName><Family>Eriksson</Family><Given sequence="1">Erik</Given></PersonName><PersonId>7</PersonId></Person>
      <Club><ClubId>3</ClubId><ShortName>OK Skogen</ShortName><CountryId value="SWE"/></Club>
      <Result>
        <StartNumber>12</StartNumber>
        <CCard><CCardId>765432</CCardId><PunchingUnitType value="Emit"/></CCard>
        <StartTime><Clock clockFormat="HH:MM:SS">11:02:00</Clock></StartTime>
        <Time timeFormat="HH:MM:SS">01:02:03</Time>
        <ResultPosition>1</ResultPosition>
        <CompetitorStatus value="OK"/>
        <CourseVariation><CourseVariationId>1</CourseVariationId><CourseLength unit="m">8000</CourseLength>
          <CourseControl><Sequence>1</Sequence><ControlCode>41</ControlCode></CourseControl>
          <CourseControl><Sequence>2</Sequence><ControlCode>42</ControlCode></CourseControl>
          <CourseControl><Sequence>3</Sequence><ControlCode>43</ControlCode></CourseControl>
        </CourseVariation>
        <SplitTime sequence="1"><ControlCode>41</ControlCode><Time timeFormat="MM:SS">10:00</Time></SplitTime>
        <SplitTime sequence="2"><ControlCode>42</ControlCode><Time timeFormat="MM:SS">25:30</Time></SplitTime>
        <SplitTime sequence="3"><ControlCode>43</ControlCode><Time timeFormat="MM:SS">55:00</Time></SplitTime>
        <SplitTime sequence="4"><Time timeFormat="MM:SS">62:03</Time></SplitTime>
      </Result>
    </PersonResult>
    <PersonResult>
      <Person><PersonName><Family>Nilsson</Family><Given>Nils</Given></PersonName><PersonId/></Person>
      <Result>
        <Time timeFormat="MM:SS">70:00</Time>
        <CompetitorStatus value="MisPunch"/>
        <CourseVariationId>1</CourseVariationId>
        <SplitTime sequence="1"><ControlCode>41</ControlCode><Time>12:00</Time></SplitTime>
        <SplitTime sequence="2"><ControlCode>43</ControlCode><Time>60:00</Time></SplitTime>
      </Result>
    </PersonResult>
    <PersonResult>
      <Person><PersonName><Family>Karlsson</Family><Given>Karl</Given></PersonName><PersonId/></Person>
      <Result><CompetitorStatus value="Inactive"/></Result>
    </PersonResult>
  </ClassResult>
</ResultList>
)";

const QByteArray Relay30 = R"(<?xml version="1.0" encoding="UTF-8"?>
<ResultList xmlns="http://www.orienteering.org/datastandard/3.0" iofVersion="3.0">
  <Event><Name>Relay</Name></Event>
  <ClassResult>
    <Class><Name>Open</Name></Class>
    <TeamResult>
      <Name>Club A 1</Name><BibNumber>5</BibNumber>
      <TeamMemberResult>
        <Person><Name><Family>First</Family><Given>A</Given></Name></Person>
        <Result><Leg>1</Leg><Time>900</Time><Status>OK</Status>
          <SplitTime><ControlCode>31</ControlCode><Time>400</Time></SplitTime></Result>
      </TeamMemberResult>
      <TeamMemberResult>
        <Person><Name><Family>Second</Family><Given>A</Given></Name></Person>
        <Result><Leg>2</Leg><Time>1000</Time><Status>OK</Status>
          <SplitTime><ControlCode>41</ControlCode><Time>300</Time></SplitTime></Result>
      </TeamMemberResult>
    </TeamResult>
  </ClassResult>
</ResultList>
)";

// Records the progress display only.
class ProgressHost : public FileControlHost {
public:
    void showProgress() override { calls << u"show"_s; }
    void setProgress(int percent) override { calls << u"set "_s + QString::number(percent); }
    void closeProgress() override { calls << u"close"_s; }
    std::optional<QString> chooseFile(const QString&, const QStringList&) override { return std::nullopt; }
    void message(const QString&, const QString&) override {}
    QStringList calls;
};

struct Loaded {
    std::unique_ptr<clsQuorvelin2> root = std::make_unique<clsQuorvelin2>();
    bool ok = false;
};

Loaded load(const QByteArray& bytes, qint32 kind, qint32 mode = QV_LOADMODE_NORMAL) {
    TestFolder folder;
    Loaded l;
    l.ok = l.root->FileControl()->LoadLapFile(folder.write(u"list.xml"_s, bytes), kind, mode);
    return l;
}

std::shared_ptr<clsLapData> runner(const clsQuorvelin2& root, const QString& cls, const QString& name) {
    const auto c = root.ClassData(cls);
    for (int r = 1; c && r <= c->LapCount(); ++r)
        if (c->LapData(r)->RunnerName() == name)
            return c->LapData(r);
    return nullptr;
}

QString legs(const std::shared_ptr<clsLapData>& lap) {
    QStringList out;
    for (int i = 1; lap && i <= lap->LegCount(); ++i)
        out << lap->Lap(i)->ToString();
    return out.join(u' ');
}

struct Expect {
    QString cls;
    QString name;
    QString result;
    QString rank;
    QString legs;
};

void check(const clsQuorvelin2& root, const std::vector<Expect>& expected) {
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.name.toStdString());
        const auto lap = runner(root, e.cls, e.name);
        ASSERT_TRUE(lap);
        EXPECT_EQ(lap->Result(), e.result);
        EXPECT_EQ(lap->Rank(), e.rank);
        EXPECT_EQ(legs(lap), e.legs);
    }
}

} // namespace

TEST(IofReader, Individual30WithAButterflyClass) {
    const Loaded l = load(Individual30, QV_FILETYPE_IOF_XML_30_RESULT);
    ASSERT_TRUE(l.ok) << l.root->ErrorComment().toStdString();
    const clsQuorvelin2& root = *l.root;
    EXPECT_EQ(root.EventData()->EventName(), u"Example event"_s);
    EXPECT_EQ(root.EventData()->EventDate()->Value(), basDate::dateSerial(2011, 7, 30));
    ASSERT_EQ(root.ClassCount(), 1);
    const auto cls = root.ClassData(1);
    // Two courses (31-32-33-100 and 33-32-31-100): the class is on neither alone.
    EXPECT_EQ(cls->CourseNum(), 0);
    EXPECT_EQ(cls->ControlCount(), 4);
    EXPECT_EQ(cls->Length(), 4500);
    EXPECT_EQ(cls->Climb(), 120);
    ASSERT_EQ(root.CourseCount(), 2);
    EXPECT_EQ(root.CourseData(2)->ControlNum(1), 33);
    check(root, {
                    {u"Men Elite"_s, u"Smith John"_s, u"0:33:21"_s, u"1"_s,
                     u"00:08:21 00:07:29 00:07:51 00:08:04 00:01:36"_s},
                    {u"Men Elite"_s, u"Jones Peter"_s, u"0:35:00"_s, u"2"_s,
                     u"00:08:00 00:08:40 00:08:20 00:08:20 00:01:40"_s},
                    {u"Men Elite"_s, u"Brown Bill"_s, u"P1"_s, QString(),
                     u"00:10:00 × 00:15:00 00:10:00 00:01:40"_s},
                    {u"Men Elite"_s, u"Green Gary"_s, u"DNS"_s, QString(), QString()},
                    // A split earlier than the one before: that leg is missing, the next counts
                    // from the last good split.
                    {u"Men Elite"_s, u"White Walter"_s, u"DISQ"_s, QString(),
                     u"00:06:40 × 00:13:20 00:08:20 00:01:40"_s},
                    {u"Men Elite"_s, u"Black Bob"_s, u"0:32:30"_s, u"OP"_s,
                     u"00:08:20 00:06:40 00:08:20 00:08:20 00:00:50"_s},
                });
    const auto smith = runner(root, u"Men Elite"_s, u"Smith John"_s);
    EXPECT_EQ(smith->ClubName(), u"Orienteering club"_s);
    EXPECT_EQ(smith->ID(), 101);
    EXPECT_EQ(smith->Ecard(), 123456);
    EXPECT_EQ(smith->Sex(), u"M"_s);
    EXPECT_EQ(smith->StartTime()->ToString(), u"10:00:00"_s);
}

TEST(IofReader, Individual203WithCourseVariations) {
    const Loaded l = load(Individual203, QV_FILETYPE_IOF_XML_20_RESULT);
    ASSERT_TRUE(l.ok) << l.root->ErrorComment().toStdString();
    const clsQuorvelin2& root = *l.root;
    EXPECT_EQ(root.EventData()->EventName(), u"Old event"_s);
    const auto cls = root.ClassData(u"H21"_s);
    ASSERT_TRUE(cls);
    EXPECT_EQ(cls->CourseNum(), 1);
    EXPECT_EQ(cls->ControlCount(), 3);
    EXPECT_EQ(cls->Length(), 8000);
    check(root,
          {
              // The old finish split without a code is the total, not a control.
              {u"H21"_s, u"Eriksson Erik"_s, u"1:02:03"_s, u"1"_s, u"00:10:00 00:15:30 00:29:30 00:07:03"_s},
              // The missed control 42 is not in the list: found by the codes.
              {u"H21"_s, u"Nilsson Nils"_s, u"P1"_s, QString(), u"00:12:00 × 00:48:00 00:10:00"_s},
              {u"H21"_s, u"Karlsson Karl"_s, u"DNS"_s, QString(), QString()},
          });
    const auto erik = runner(root, u"H21"_s, u"Eriksson Erik"_s);
    EXPECT_EQ(erik->ClubName(), u"OK Skogen"_s);
    EXPECT_EQ(erik->ID(), 12);
    EXPECT_EQ(erik->Ecard(), 765432);
    EXPECT_EQ(erik->StartTime()->ToString(), u"11:02:00"_s);
}

TEST(IofReader, RelayMembersGoToTheirLegClasses) {
    const Loaded l = load(Relay30, QV_FILETYPE_IOF_XML_30_RESULT);
    ASSERT_TRUE(l.ok) << l.root->ErrorComment().toStdString();
    ASSERT_EQ(l.root->ClassCount(), 2);
    check(*l.root, {{u"Open-1"_s, u"First A"_s, u"0:15:00"_s, QString(), u"00:06:40 00:08:20"_s},
                    {u"Open-2"_s, u"Second A"_s, u"0:16:40"_s, QString(), u"00:05:00 00:11:40"_s}});
    EXPECT_EQ(runner(*l.root, u"Open-2"_s, u"Second A"_s)->ClubName(), u"Club A 1"_s);
    EXPECT_EQ(runner(*l.root, u"Open-2"_s, u"Second A"_s)->ID(), 5);
}

// A document the fast reader takes and the same document in forms it leaves to QXmlStreamReader
// (another encoding, a document type with an internal subset) load alike.
TEST(IofReader, BothXmlReadersLoadTheSameData) {
    const auto latin1 = [](const QByteArray& utf8) {
        QByteArray b = QString::fromUtf8(utf8).toLatin1();
        return b.replace("encoding=\"UTF-8\"", "encoding=\"ISO-8859-1\"");
    };
    const auto subset = [](QByteArray b) {
        return b.insert(b.indexOf("?>") + 2, "<!DOCTYPE ResultList [<!ELEMENT ResultList ANY>]>");
    };
    QByteArray accented = Individual30;
    accented.replace("Smith", "Sm\xC3\xA9th &amp; &#x4E00;");
    for (const QByteArray& doc : {Individual30, Relay30, accented}) {
        const Loaded fast = load(doc, QV_FILETYPE_IOF_XML_30_RESULT);
        ASSERT_TRUE(fast.ok) << fast.root->ErrorComment().toStdString();
        for (const QByteArray& other : {subset(doc), latin1(doc)}) {
            const Loaded l = load(other, QV_FILETYPE_IOF_XML_30_RESULT);
            ASSERT_TRUE(l.ok) << l.root->ErrorComment().toStdString();
            EXPECT_EQ(picture(*l.root), picture(*fast.root));
        }
    }
}

TEST(IofReader, BadDocumentsAreRefusedAndLoseNothing) {
    struct Case {
        const char* what;
        QByteArray bytes;
        QString description; // part of the error comment
    };
    QByteArray parallel = Relay30;
    parallel.replace("<Leg>2</Leg>", "<Leg>1</Leg><LegOrder>2</LegOrder>");
    const std::vector<Case> cases = {
        {"another IOF document",
         R"(<StartList xmlns="http://www.orienteering.org/datastandard/3.0" iofVersion="3.0"/>)",
         u"root element is StartList"_s},
        {"a lap file", R"(<?xml version="1.0"?><quorvelin/>)", u"root element is quorvelin"_s},
        {"not XML", "just text\r\nmore", QString()},
        {"empty", "", QString()},
        {"broken off", Individual30.left(Individual30.size() / 2), u"line"_s},
        {"entity expansion",
         R"(<?xml version="1.0"?><!DOCTYPE ResultList [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;">]>
<ResultList><Event><Name>&b;</Name></Event></ResultList>)",
         u"entities"_s},
        {"external entity",
         R"(<?xml version="1.0"?><!DOCTYPE ResultList [<!ENTITY x SYSTEM "file:///etc/passwd">]>
<ResultList><Event><Name>&x;</Name></Event></ResultList>)",
         u"entities"_s},
        {"parallel relay legs", parallel, u"several members"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto root = makeSampleEvent();
        const QStringList before = picture(*root);
        TestFolder folder;
        EXPECT_FALSE(root->FileControl()->LoadLapFile(folder.write(u"bad.xml"_s, c.bytes),
                                                      QV_FILETYPE_IOF_XML_30_RESULT, QV_LOADMODE_NORMAL));
        EXPECT_TRUE(root->ErrorComment().startsWith(Failure)) << root->ErrorComment().toStdString();
        EXPECT_GT(root->ErrorComment().size(), Failure.size());
        EXPECT_TRUE(root->ErrorComment().contains(c.description)) << root->ErrorComment().toStdString();
        EXPECT_EQ(picture(*root), before);
    }
    auto root = makeSampleEvent();
    EXPECT_FALSE(root->FileControl()->LoadLapFile(u"/no/such/list.xml"_s, QV_FILETYPE_IOF_XML_20_RESULT));
    EXPECT_TRUE(root->ErrorComment().startsWith(Failure));
}

TEST(IofReader, LoadModesProgressAndFileData) {
    // Merge by name without adding: the one runner the data set has gets the document's card.
    clsQuorvelin2 root;
    auto cls = root.AddClass(u"Men Elite"_s);
    cls->AddLap()->setRunnerName(u"SMITH john"_s);
    ProgressHost host;
    root.FileControl()->setHost(&host);
    root.FileControl()->setProgressVisible(true);
    std::vector<int> raised;
    QObject::connect(root.FileControl(), &clsFileControl::Progress, [&](int p) { raised.push_back(p); });
    const QString data = QString::fromUtf8(Individual30);
    ASSERT_TRUE(root.FileControl()->LoadLapFile(u"x.xml"_s, QV_FILETYPE_IOF_XML_30_RESULT,
                                                QV_LOADMODE_MERGE_NAME | QV_LOADMODE_NOTADD_NEWDATA, data));
    ASSERT_EQ(cls->LapCount(), 1);
    EXPECT_EQ(cls->LapData(1)->Ecard(), 123456);
    EXPECT_EQ(cls->LapData(1)->Result(), u"0:33:21"_s);
    EXPECT_EQ(raised, (std::vector<int>{0, 100, 100}));
    EXPECT_EQ(host.calls, (QStringList{u"show"_s, u"set 100"_s, u"close"_s}));

    // Appending the same document twice doubles the runners and reuses the courses.
    clsQuorvelin2 twice;
    ASSERT_TRUE(twice.FileControl()->LoadLapFile(u"x.xml"_s, QV_FILETYPE_IOF_XML_30_RESULT, 0, data));
    ASSERT_TRUE(twice.FileControl()->LoadLapFile(u"x.xml"_s, QV_FILETYPE_IOF_XML_30_RESULT, 1, data));
    EXPECT_EQ(twice.ClassData(1)->LapCount(), 12);
    EXPECT_EQ(twice.CourseCount(), 2);
}

TEST(IofReader, DocumentKindByRootElementAndNamespace) {
    struct Case {
        QByteArray bytes;
        qint32 kind;
    };
    const std::vector<Case> cases = {
        {Individual30, QV_FILETYPE_IOF_XML_30_RESULT},
        {Individual203, QV_FILETYPE_IOF_XML_20_RESULT},
        {R"(<!-- c --><x:ResultList xmlns:x="http://www.orienteering.org/datastandard/3.0"/>)",
         QV_FILETYPE_IOF_XML_30_RESULT},
        {R"(<ResultList iofVersion="3.0"/>)", QV_FILETYPE_IOF_XML_30_RESULT},
        {R"(<?xml version="1.0"?><quorvelin version="2.15"/>)", 0},
        {R"(<StartList xmlns="http://www.orienteering.org/datastandard/3.0"/>)", 0},
        {"$LAPFILE Ver=2\r\n", 0},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(basIofReader::documentKind(c.bytes), c.kind) << c.bytes.left(60).toStdString();
}
