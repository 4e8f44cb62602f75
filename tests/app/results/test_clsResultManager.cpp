#include "ResultTestSupport.h"
#include "basDate.h"
#include "basResultRebuild.h"
#include "basText.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"
#include "clsResultManager.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

struct Event {
    std::shared_ptr<clsCourseDataTable> courses;
    std::shared_ptr<clsNameDataTable> names = std::make_shared<clsNameDataTable>(u"/nonexistent"_s);
    std::shared_ptr<clsOtherDataTable> other = std::make_shared<clsOtherDataTable>();
    clsResultManager manager;

    explicit Event(const std::vector<QString>& courseLines, qint32 rule = -9)
        : courses(tableOf(courseLines)) {
        manager.setNameDataTable(names);
        manager.setPenacheckRule(rule);
        manager.setCourseDataTable(courses);
        manager.setOtherDataTable(other);
    }
};

std::vector<std::shared_ptr<clsResultData>> listOf(const clsResultManager& m, const QString& course) {
    std::vector<std::shared_ptr<clsResultData>> v;
    const auto list = m.ResultList(course);
    for (int i = 1; i <= list->Count(); ++i)
        v.push_back(list->ObjectItem<clsResultData>(i));
    return v;
}

QStringList column(const std::vector<std::shared_ptr<clsResultData>>& list,
                   QString (clsResultData::*get)() const) {
    QStringList v;
    for (const auto& r : list)
        v.append(((*r).*get)());
    return v;
}

clsOtherResultDataPtr typed(const QString& course, const QString& result, const QString& name = u"T"_s,
                            bool notCompete = false) {
    auto o = std::make_shared<clsOtherResultData>();
    o->CourseName = course;
    o->Result = result;
    o->NameData = std::make_shared<clsNameData>(0, name, u"Club"_s);
    o->IsNotCompete = notCompete;
    return o;
}

} // namespace

TEST(ResultManagerRanks, CompetitionRanksAndReference) {
    struct Entry {
        int seconds;     // finish time; 0: the read misses control 32 (P1)
        bool notCompete; // a reference record of the read
    };
    struct Case {
        const char* what;
        std::vector<Entry> entries; // in reading order
        QStringList results;        // in list order
        QStringList ranks;
    } cases[] = {
        {"1, 2, 2, 4",
         {{3000, false}, {3100, false}, {3100, false}, {3200, false}},
         {u"0:50:00"_s, u"0:51:40"_s, u"0:51:40"_s, u"0:53:20"_s},
         {u"1"_s, u"2"_s, u"2"_s, u"4"_s}},
        {"three equal",
         {{60, false}, {60, false}, {60, false}, {59, false}},
         {u"0:00:59"_s, u"0:01:00"_s, u"0:01:00"_s, u"0:01:00"_s},
         {u"1"_s, u"2"_s, u"2"_s, u"2"_s}},
        {"reference between two",
         {{3000, false}, {3050, true}, {3100, false}},
         {u"0:50:00"_s, u"0:50:50"_s, u"0:51:40"_s},
         {u"1"_s, u"参考"_s, u"2"_s}},
        {"reference equal to a ranked time",
         {{3000, false}, {3000, true}, {3100, false}},
         {u"0:50:00"_s, u"0:50:00"_s, u"0:51:40"_s},
         {u"参考"_s, u"1"_s, u"2"_s}},
        {"failed results have no rank",
         {{0, false}, {3000, false}, {0, true}},
         {u"0:50:00"_s, u"P1"_s, u"P1"_s},
         {u"1"_s, u""_s, u""_s}},
        {"over ten hours",
         {{36000 + 5, false}, {3599, false}},
         {u"0:59:59"_s, u"10:00:05"_s},
         {u"1"_s, u"2"_s}},
    };
    for (const Case& c : cases) {
        Event ev({u"A,0,31,32,100"_s});
        int number = 1000;
        for (const Entry& e : c.entries) {
            auto card = e.seconds ? runOf(++number, {31, 32}, e.seconds) : runOf(++number, {32}, 4000);
            if (e.notCompete) {
                auto s = std::make_shared<clsSpecificData>();
                s->EcardTagUniqueKey = card->UniqueKey();
                s->IsNotCompete = true;
                ev.other->readLine(clsOtherDataTable::specificLine(*s));
            }
            ASSERT_EQ(ev.manager.Add(card).size(), 1u) << c.what;
        }
        ev.manager.Refresh();
        const auto list = listOf(ev.manager, u"A"_s);
        EXPECT_EQ(column(list, &clsResultData::Result), c.results) << c.what;
        EXPECT_EQ(column(list, &clsResultData::Rank), c.ranks) << c.what;
    }
}

TEST(ResultManagerRanks, RanksAreStaleUntilRefresh) {
    Event ev({u"A,0,31,100"_s});
    ev.manager.Add(runOf(1, {31}, 200));
    ev.manager.Refresh();
    const auto first = ev.manager.ResultDataList().front();
    EXPECT_EQ(first->Rank(), u"1"_s);
    ev.manager.Add(runOf(2, {31}, 100));
    EXPECT_EQ(first->Rank(), u"1"_s);
    ev.manager.Refresh();
    EXPECT_EQ(first->Rank(), u"2"_s);
}

TEST(ResultManagerTyped, OrderKeysQualificationAndPlaces) {
    struct Typed {
        QString result;
        bool notCompete;
    };
    struct Case {
        const char* what;
        std::vector<int> cardSeconds; // card results read first
        std::vector<Typed> typedResults;
        QStringList results; // list order
        QStringList ranks;
    } cases[] = {
        {"typed dnf, P3, empty, a time",
         {3000},
         {{u"dnf"_s, false}, {u"P3"_s, false}, {u""_s, false}, {u"13:00:00"_s, false}},
         {u""_s, u"0:50:00"_s, u"13:00:00"_s, u"P3"_s, u"dnf"_s},
         {u"1"_s, u"2"_s, u"3"_s, u""_s, u""_s}},
        {"card 1:23:45 and typed 01:23:45 stand together but rank apart",
         {5025, 5100},
         {{u"01:23:45"_s, false}},
         {u"01:23:45"_s, u"1:23:45"_s, u"1:25:00"_s},
         {u"1"_s, u"2"_s, u"3"_s}},
        {"typed reference",
         {3000},
         {{u"00:40:00"_s, true}},
         {u"00:40:00"_s, u"0:50:00"_s},
         {u"参考"_s, u"1"_s}},
        {"typed DNQ and words",
         {},
         {{u"DNQ"_s, false}, {u"棄権"_s, false}, {u"P0"_s, false}},
         {u"P0"_s, u"棄権"_s, u"DNQ"_s},
         {u""_s, u""_s, u""_s}},
    };
    for (const Case& c : cases) {
        Event ev({u"A,0,31,100"_s});
        int number = 0;
        for (int s : c.cardSeconds)
            ev.manager.Add(runOf(++number, {31}, s));
        for (const Typed& t : c.typedResults)
            ASSERT_TRUE(ev.manager.AddOtherResultData(typed(u"A"_s, t.result, u"T"_s, t.notCompete)))
                << c.what;
        ev.manager.Refresh();
        const auto list = listOf(ev.manager, u"A"_s);
        EXPECT_EQ(column(list, &clsResultData::Result), c.results) << c.what;
        EXPECT_EQ(column(list, &clsResultData::Rank), c.ranks) << c.what;
    }
}

TEST(ResultManagerTyped, TypedResultRecord) {
    Event ev({u"A,0,31,100"_s, u"B,0,32,100"_s});
    EXPECT_FALSE(ev.manager.AddOtherResultData(typed(u"Gone"_s, u"1:00:00"_s)));
    const auto r = ev.manager.AddOtherResultData(typed(u"b"_s, u"dnf"_s, u"山田"_s));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->ResultListOrderKey(), 98.0f);
    EXPECT_TRUE(r->IsNotQualify());
    EXPECT_FALSE(r->PenaChecker());
    EXPECT_FALSE(r->TagData());
    EXPECT_EQ(r->CourseData().get(), ev.courses->CourseData(2).get());
    EXPECT_EQ(r->RunnerName(), u"山田"_s);
    EXPECT_EQ(r->ClubName(), u"Club"_s);
    EXPECT_FALSE(r->IsNotCompete());
    EXPECT_EQ(ev.manager.ResultDataList().size(), 1u);
    EXPECT_EQ(ev.manager.ResultList(2)->Count(), 1);
    EXPECT_EQ(ev.manager.ResultList(1)->Count(), 0);
    EXPECT_TRUE(ev.manager.ResultDataListOfEcardAll(0).empty());
}

TEST(ResultManagerAdd, CardResults) {
    Event ev({u"A,0,31,32,100"_s, u"B,0,31,100"_s, u"C,0,40,101"_s});
    const auto card = runOf(401739, {31, 32}, 3600);
    const auto made = ev.manager.Add(card);
    ASSERT_EQ(made.size(), 1u);
    const auto& r = made[0];
    EXPECT_EQ(r->CourseData()->CourseName(), u"A"_s);
    EXPECT_EQ(r->Result(), u"1:00:00"_s);
    EXPECT_EQ(r->ResultListOrderKey(), static_cast<float>(basDate::fromSeconds(3600)));
    EXPECT_FALSE(r->IsNotQualify());
    EXPECT_EQ(r->TagData().get(), card.get());
    EXPECT_EQ(r->PenaChecker()->PenaCheckResult(), u"OK"_s);
    EXPECT_EQ(r->RunnerName(), u"(401739)"_s);
    EXPECT_EQ(r->ClubName(), QString());
    EXPECT_EQ(ev.manager.ResultList(u"a"_s)->Count(), 1);
    ASSERT_EQ(ev.manager.ResultDataListOfEcard(card->UniqueKey()).size(), 1u);
    EXPECT_FALSE(ev.manager.ResultList(u"Z"_s));
    EXPECT_FALSE(ev.manager.ResultList(4));
    EXPECT_FALSE(ev.manager.ResultList(0));

    ev.manager.setPenacheckRule(-1);
    const auto all = ev.manager.Add(runOf(401739, {31}, 1800, 45000.75));
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(column(all, &clsResultData::Result), (QStringList{u"DNF"_s, u"0:30:00"_s, u"DNQ"_s}));
    EXPECT_EQ(all[0]->ResultListOrderKey(), 98.0f);
    EXPECT_EQ(all[2]->ResultListOrderKey(), 99.0f);
    EXPECT_TRUE(all[0]->IsNotQualify());
    EXPECT_EQ(ev.manager.ResultDataList().size(), 4u);
    EXPECT_EQ(ev.manager.ResultDataListOfEcard(card->UniqueKey()).size(), 1u);
    EXPECT_EQ(ev.manager.ResultDataListOfEcard(all[0]->TagData()->UniqueKey()).size(), 3u);
    EXPECT_EQ(ev.manager.ResultDataListOfEcardAll(401739).size(), 4u);
    // Results made after a look-up are found by the next one.
    ev.manager.setPenacheckRule(0);
    ASSERT_EQ(ev.manager.Add(card).size(), 2u);
    const auto again = ev.manager.ResultDataListOfEcard(card->UniqueKey());
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[0].get(), r.get());
    EXPECT_EQ(again[2]->CourseData()->CourseName(), u"B"_s);
    EXPECT_TRUE(ev.manager.ResultDataListOfEcardAll(5).empty());
    EXPECT_TRUE(ev.manager.ResultDataListOfEcard(u"nothing"_s).empty());
}

TEST(ResultManagerAdd, SelectionCases) {
    struct Case {
        const char* what;
        std::vector<QString> courses;
        qint32 rule;
        std::optional<QStringList> classList;
        QStringList expected; // classes of the results made, in order
    } cases[] = {
        {"best fitting", {u"A,0,31,32,33,34,100"_s, u"B,0,31,34,100"_s}, -9, std::nullopt, {u"B"_s}},
        {"class list of two, whatever status",
         {u"A,0,31,32,33,34,100"_s, u"B,0,31,34,100"_s, u"C,0,99,100"_s},
         -9,
         QStringList{u"C"_s, u"A"_s},
         {u"A"_s, u"C"_s}},
        {"empty class list", {u"A,0,31,34,100"_s}, -1, QStringList{}, {}},
        {"no class fits the pattern", {u"A,0,31,32,33,34,100"_s}, 0, std::nullopt, {}},
        {"no class", {}, -9, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        Event ev(c.courses, c.rule);
        const auto card = runOf(7, {31, 34}, 1000);
        if (c.classList) {
            auto s = std::make_shared<clsSpecificData>();
            s->EcardTagUniqueKey = card->UniqueKey();
            s->CourseList = c.classList;
            ev.other->readLine(clsOtherDataTable::specificLine(*s));
        }
        const auto made = ev.manager.Add(card);
        QStringList got;
        for (const auto& r : made)
            got.append(r->CourseData()->CourseName());
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

TEST(ResultManagerAdd, ClassWithoutFinishNeverGetsCardResults) {
    auto table = tableOf({u"A,0,31,100"_s});
    auto noFinish = std::make_shared<clsEcardCourseData>();
    noFinish->setCourseName(u"N"_s);
    noFinish->setControlCount(1);
    noFinish->AddUnitCode(0, 0);
    noFinish->AddUnitCode(1, 31);
    // Put in by hand: a table read from Course.txt always has a finish code.
    const_cast<clsCourseDataTable::CourseCollection&>(table->CourseList()).Add(noFinish, u"N"_s);
    clsResultManager m;
    m.setPenacheckRule(-1);
    m.setCourseDataTable(table);
    EXPECT_EQ(m.Add(runOf(1, {31}, 100)).size(), 1u);
    EXPECT_EQ(m.ResultList(u"N"_s)->Count(), 0);
    EXPECT_TRUE(m.AddOtherResultData(typed(u"N"_s, u"1:00:00"_s))); // typed results may stand in it
}

TEST(ResultManagerNames, RunnerAndClub) {
    struct Case {
        const char* what;
        bool tableName;
        QString ownName; // empty: specific data without a name; "-": no specific data
        QString runner;
        QString club;
    } cases[] = {
        {"no name", false, u"-"_s, u"(401739)"_s, u""_s},
        {"name table", true, u"-"_s, u"Table"_s, u"TC"_s},
        {"own name wins", true, u"Own"_s, u"Own"_s, u"OC"_s},
        {"specific without a name", true, u""_s, u"Table"_s, u"TC"_s},
    };
    for (const Case& c : cases) {
        Event ev({u"A,0,31,100"_s});
        const auto card = runOf(401739, {31}, 100);
        if (c.tableName) {
            ev.names->loadBytes(basText::toWindows31J(u"Ｅカード番号,氏名,所属\r\n401739,Table,TC\r\n"_s),
                                false);
        }
        if (c.ownName != u"-"_s) {
            auto s = std::make_shared<clsSpecificData>();
            s->EcardTagUniqueKey = card->UniqueKey();
            if (!c.ownName.isEmpty())
                s->NameData = std::make_shared<clsNameData>(401739, c.ownName, u"OC"_s);
            ev.other->readLine(clsOtherDataTable::specificLine(*s));
        }
        const auto made = ev.manager.Add(card);
        ASSERT_EQ(made.size(), 1u) << c.what;
        EXPECT_EQ(made[0]->RunnerName(), c.runner) << c.what;
        EXPECT_EQ(made[0]->ClubName(), c.club) << c.what;
    }
}

TEST(ResultManagerRanks, ChangesToldToTheManagerAreRankedByTheNextRefresh) {
    using Change = std::function<void(clsResultManager&, const std::shared_ptr<clsResultData>&)>;
    // A change made on the result itself, then told to the manager.
    const auto onResult = [](std::function<void(clsResultData&)> change) -> Change {
        return [change](clsResultManager& m, const std::shared_ptr<clsResultData>& r) {
            change(*r);
            m.ResultChanged(*r);
        };
    };
    const auto reference = [] {
        auto s = std::make_shared<clsSpecificData>();
        s->IsNotCompete = true;
        return s;
    };
    struct Case {
        const char* what;
        Change change; // on the first result of class B
        QStringList ranksOfB;
    } cases[] = {
        {"nothing changed",
         [](clsResultManager&, const std::shared_ptr<clsResultData>&) {},
         {u"1"_s, u"2"_s, u"3"_s}},
        {"made a reference",
         onResult([&](clsResultData& r) { r.setSpecificData(reference()); }),
         {u"参考"_s, u"1"_s, u"2"_s}},
        {"made a reference through the read's specific data",
         [&](clsResultManager& m, const std::shared_ptr<clsResultData>& r) {
             m.SpecificDataChanged(r->TagData()->UniqueKey(), reference());
         },
         {u"参考"_s, u"1"_s, u"2"_s}},
        {"disqualified",
         onResult([](clsResultData& r) { r.setIsNotQualify(true); }),
         {u""_s, u"1"_s, u"2"_s}},
        {"same text as the next",
         onResult([](clsResultData& r) { r.setResult(u"0:01:50"_s); }),
         {u"1"_s, u"1"_s, u"3"_s}},
        {"rank typed over", onResult([](clsResultData& r) { r.setRank(u"9"_s); }), {u"1"_s, u"2"_s, u"3"_s}},
    };
    for (const Case& c : cases) {
        Event ev({u"A,0,31,100"_s, u"B,0,41,100"_s});
        ev.manager.Add(runOf(1, {31}, 100));
        for (int s : {100, 110, 120})
            ev.manager.Add(runOf(10 + s, {41}, s));
        ev.manager.Refresh();
        c.change(ev.manager, listOf(ev.manager, u"B"_s)[0]);
        ev.manager.Add(runOf(2, {31}, 90)); // only class A gets a result
        ev.manager.Refresh();
        EXPECT_EQ(column(listOf(ev.manager, u"B"_s), &clsResultData::Rank), c.ranksOfB) << c.what;
        EXPECT_EQ(column(listOf(ev.manager, u"A"_s), &clsResultData::Rank), (QStringList{u"1"_s, u"2"_s}))
            << c.what;
    }
}

TEST(ResultManagerNames, ANameRecordReachesEveryResultOfItsNumber) {
    Event ev({u"A,0,31,100"_s});
    ev.manager.Add(runOf(7, {31}, 100));
    ev.manager.Add(runOf(7, {31}, 120, 45100.5)); // a second read of the same card
    ev.manager.Add(runOf(8, {31}, 130));
    ev.manager.Refresh();
    ASSERT_EQ(ev.manager.ResultDataListOfEcardAll(7).size(), 2u);
    ev.manager.NameDataChanged(7, std::make_shared<clsNameData>(7, u"新しい 名前"_s, u"Club"_s));
    for (const auto& r : ev.manager.ResultDataListOfEcardAll(7))
        EXPECT_EQ(r->RunnerName(), u"新しい 名前"_s);
    EXPECT_EQ(ev.manager.ResultDataListOfEcardAll(8)[0]->RunnerName(), u"(8)"_s);
}
