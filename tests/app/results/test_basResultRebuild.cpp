#include "CclsSort.h"
#include "LiteralPenaCheck.h"
#include "ResultTestSupport.h"
#include "TestFolder.h"
#include "basDate.h"
#include "basResultRebuild.h"
#include "basTypedResult.h"
#include "clsEcardTagStock.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"
#include "clsResultManager.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

// One line per result of a class list: rank, name, result, and the read it came from.
QStringList rendered(const clsResultManager& m, const clsCourseDataTable& courses) {
    QStringList out;
    for (int c = 1; c <= courses.CourseCount(); ++c) {
        const auto list = m.ResultList(c);
        out.append(u"# "_s + courses.CourseData(c)->CourseName());
        for (int i = 1; i <= list->Count(); ++i) {
            const auto r = list->ObjectItem<clsResultData>(i);
            const auto tag = r->TagData();
            out.append(r->Rank() + u'|' + r->RunnerName() + u'|' + r->ClubName() + u'|' + r->Result() + u'|' +
                       (tag ? tag->UniqueKey() : u"typed"_s));
        }
    }
    return out;
}

// A small event with something of every kind: names in both folders, a read's own name, a
// class list, a reference runner, a repeated read, typed results, a typed result of a deleted
// class.
struct Sample {
    std::vector<QString> courseLines{u"M21A,0,31,32,33,34,100"_s, u"M21B,0,31,34,100"_s, u"W21,0,41,42,100"_s,
                                     u"Open,0,100"_s};
    std::vector<std::shared_ptr<clsEcardTagData>> reads;

    Sample() {
        double t = 45000.5;
        reads.push_back(runOf(101, {31, 32, 33, 34}, 3000, t += 0.001));
        reads.push_back(runOf(102, {31, 32, 33, 34}, 3100, t += 0.001));
        reads.push_back(runOf(103, {31, 34}, 2000, t += 0.001));
        reads.push_back(runOf(104, {41, 42}, 2500, t += 0.001));
        reads.push_back(runOf(105, {41, 42}, 2500, t += 0.001));         // ties with 104
        reads.push_back(runOf(106, {41}, 2600, t += 0.001));             // DNF in W21
        reads.push_back(runOf(107, {}, 600, t += 0.001));                // Open
        reads.push_back(runOf(108, {31, 32, 33, 34}, 3050, t += 0.001)); // reference
        reads.push_back(runOf(109, {41, 42}, 2400, t += 0.001));         // class list M21B, W21
        reads.push_back(readOf(110, {{0, 0}, {31, 50}}, t += 0.001));    // no finish: DNQ
    }
};

} // namespace

TEST(ResultRebuild, DataFolderRoundTripOnRealFiles) {
    TestFolder app, data;
    const Sample sample;
    {
        auto courses = std::make_shared<clsCourseDataTable>();
        courses->OpenFolder(data.path());
        for (const QString& l : sample.courseLines)
            courses->AddByString(l);
        courses->AddByString(u"Gone,0,77,100"_s);
        ASSERT_TRUE(courses->Save());

        clsEcardTagStock stock;
        stock.OpenFolder(data.path());
        for (auto read : sample.reads) {
            bool hasRead = false;
            std::shared_ptr<clsEcardTagStock::TagList> list;
            ASSERT_TRUE(stock.AddAndAppend(read, hasRead, list));
        }
        auto again = std::make_shared<clsEcardTagData>(*sample.reads[0]);
        bool hasRead = false;
        std::shared_ptr<clsEcardTagStock::TagList> list;
        ASSERT_TRUE(stock.AddAndAppend(again, hasRead, list));
        EXPECT_TRUE(hasRead);

        clsNameDataTable names(app.path());
        names.OpenFolder(data.path());
        ASSERT_TRUE(
            names.AddToApplicationFolder(std::make_shared<clsNameData>(101, u"App Name"_s, u"App Club"_s)));
        ASSERT_TRUE(names.AddToApplicationFolder(std::make_shared<clsNameData>(102, u"鈴木"_s, u"ＯＬＣ"_s)));
        ASSERT_TRUE(names.AddToDataFolder(std::make_shared<clsNameData>(101, u"山田"_s, u"東京OLC"_s)));

        clsOtherDataTable other;
        other.OpenFolder(data.path());
        auto own = std::make_shared<clsSpecificData>();
        own->EcardTagUniqueKey = sample.reads[2]->UniqueKey();
        own->NameData = std::make_shared<clsNameData>(103, u"Own"_s, u"Mine"_s);
        ASSERT_TRUE(other.AddSpecificData(own));
        auto reference = std::make_shared<clsSpecificData>();
        reference->EcardTagUniqueKey = sample.reads[7]->UniqueKey();
        reference->IsNotCompete = true;
        ASSERT_TRUE(other.AddSpecificData(reference));
        auto listed = std::make_shared<clsSpecificData>();
        listed->EcardTagUniqueKey = sample.reads[8]->UniqueKey();
        listed->CourseList = QStringList{u"w21"_s, u"M21B"_s};
        ASSERT_TRUE(other.AddSpecificData(listed));
        for (const auto& [course, result] : {std::pair{u"M21A"_s, u"12345"_s}, std::pair{u"W21"_s, u"DNF"_s},
                                             std::pair{u"Gone"_s, u"0:30:00"_s}}) {
            auto o = std::make_shared<clsOtherResultData>();
            o->CourseName = course;
            o->Result = basTypedResult::ReadTypedTime(result).text;
            o->NameData = std::make_shared<clsNameData>(0, u"Typed "_s + course, u"X"_s);
            ASSERT_TRUE(other.AddOtherResultData(o));
        }
    }
    // The class is deleted later, as the class window would do it; its typed result stays in
    // Other.txt.
    {
        auto courses = std::make_shared<clsCourseDataTable>();
        courses->OpenFolder(data.path());
        courses->Clear();
        for (const QString& l : sample.courseLines)
            courses->AddByString(l);
        ASSERT_TRUE(courses->Save());
    }
    EXPECT_TRUE(data.read(u"Other.txt"_s).contains("CourseName=Gone;"));
    EXPECT_TRUE(data.read(u"Other.txt"_s).contains("Result=01:23:45;"));

    // Open the folder as the main window does: clear, load in order, rebuild.
    auto names = std::make_shared<clsNameDataTable>(app.path());
    clsEcardTagStock stock;
    auto courses = std::make_shared<clsCourseDataTable>();
    auto other = std::make_shared<clsOtherDataTable>();
    clsResultManager manager;
    names->Clear();
    stock.Clear();
    courses->Clear();
    other->Clear();
    manager.Clear();
    names->OpenFolder(data.path() + u"\\"_s);
    ASSERT_TRUE(stock.OpenFolder(data.path()));
    ASSERT_TRUE(courses->OpenFolder(data.path()));
    other->OpenFolder(data.path());
    ASSERT_EQ(stock.TagTable().Count(), 10);
    ASSERT_EQ(courses->CourseCount(), 4);
    basResultRebuild::RefreshData(manager, stock.TagTable(), names, courses, other, -9);

    const auto key = [&](int i) { return sample.reads[static_cast<size_t>(i)]->UniqueKey(); };
    const QStringList expected = {
        u"# M21A"_s,
        u"1|山田|東京OLC|0:50:00|"_s + key(0),
        u"参考|(108)||0:50:50|"_s + key(7),
        u"2|鈴木|ＯＬＣ|0:51:40|"_s + key(1),
        u"3|Typed M21A|X|01:23:45|typed"_s,
        u"|(106)||DNF|"_s + key(5),
        u"|(110)||DNQ|"_s + key(9),
        u"# M21B"_s,
        u"1|Own|Mine|0:33:20|"_s + key(2),
        u"|(109)||DNF|"_s + key(8),
        u"# W21"_s,
        u"1|(109)||0:40:00|"_s + key(8),
        u"2|(105)||0:41:40|"_s + key(4),
        u"2|(104)||0:41:40|"_s + key(3),
        u"|Typed W21|X|DNF|typed"_s,
        u"# Open"_s,
        u"1|(107)||0:10:00|"_s + key(6),
    };
    EXPECT_EQ(rendered(manager, *courses), expected);
    EXPECT_EQ(manager.ResultDataList().size(), 13u);

    // A new read into the open event: Add and Refresh, as after a read from the unit.
    const auto late = runOf(111, {31, 32, 33, 34}, 2900, 45001.0);
    ASSERT_EQ(manager.Add(late).size(), 1u);
    manager.Refresh();
    const auto list = manager.ResultList(u"M21A"_s);
    EXPECT_EQ(list->ObjectItem<clsResultData>(1)->RunnerName(), u"(111)"_s);
    EXPECT_EQ(list->ObjectItem<clsResultData>(1)->Rank(), u"1"_s);
    EXPECT_EQ(list->ObjectItem<clsResultData>(2)->Rank(), u"2"_s);
    EXPECT_EQ(list->ObjectItem<clsResultData>(5)->RunnerName(), u"Typed M21A"_s);
    EXPECT_EQ(list->ObjectItem<clsResultData>(5)->Rank(), u"4"_s);
}

namespace {

// The result lists computed the long way: the literal check of every class for every read,
// the selection rules as written, records made and sorted one at a time.
QStringList referenceLists(const clsEcardTagStock::TagList& tags, const clsCourseDataTable& courses,
                           const clsOtherDataTable& other, qint32 rule) {
    std::vector<CclsSort> lists(static_cast<size_t>(courses.CourseCount()));
    std::vector<std::vector<QString>> texts(lists.size());
    for (const auto& e : tags) {
        const clsEcardTagData& tag = *e.value;
        const auto specific = other.SpecificData(tag.UniqueKey());
        std::vector<std::pair<int, LiteralPenaCheck>> selected;
        int best = -1;
        LiteralPenaCheck bestCheck;
        for (int c = 1; c <= courses.CourseCount(); ++c) {
            const auto& course = *courses.CourseData(c);
            if (!course.IsLiftUpStart() || !course.IsPunchingFinish())
                continue;
            LiteralPenaCheck check;
            check.run(tag, course);
            if (specific && specific->CourseList) {
                if (specific->listsCourse(course.CourseName()))
                    selected.emplace_back(c, check);
            } else if (rule == -9) {
                if (best < 0 || check.status < bestCheck.status ||
                    (check.status == bestCheck.status &&
                     course.ControlCount() > courses.CourseData(best)->ControlCount())) {
                    best = c;
                    bestCheck = check;
                }
            } else if (rule == -1 || check.status <= rule) {
                selected.emplace_back(c, check);
            }
        }
        if (!(specific && specific->CourseList) && rule == -9 && best > 0)
            selected.emplace_back(best, bestCheck);
        for (const auto& [c, check] : selected) {
            const auto& course = *courses.CourseData(c);
            QString result;
            float key;
            if (check.status != 0) {
                result = check.result;
                key = static_cast<float>(check.status);
            } else {
                const qint64 s =
                    basDate::toSeconds(check.elapsed[static_cast<size_t>(course.ControlCount() + 1)]) -
                    basDate::toSeconds(check.elapsed[0]);
                result = basDate::format(basDate::fromSeconds(s), basDate::Form::HNnSs);
                key = static_cast<float>(basDate::fromSeconds(s));
            }
            const bool notCompete = specific && specific->IsNotCompete;
            lists[static_cast<size_t>(c - 1)].AddString(
                key, QString::number(texts[static_cast<size_t>(c - 1)].size()) + u'|' + result + u'|' +
                         (check.status != 0 ? u"Q"_s
                          : notCompete      ? u"R"_s
                                            : u"C"_s) +
                         u'|' + tag.UniqueKey());
            texts[static_cast<size_t>(c - 1)].push_back(result);
        }
    }
    QStringList out;
    for (size_t c = 0; c < lists.size(); ++c) {
        out.append(u"# "_s + courses.CourseData(static_cast<int>(c) + 1)->CourseName());
        int n = 0, previousRank = 0;
        QString previous = u"$$$$$"_s;
        for (int i = 1; i <= lists[c].Count(); ++i) {
            const QStringList f = lists[c].StringItem(i).split(u'|');
            QString rank;
            if (f[2] == u"Q"_s) {
            } else if (f[2] == u"R"_s) {
                rank = u"参考"_s;
            } else {
                ++n;
                if (f[1] != previous) {
                    previousRank = n;
                    previous = f[1];
                }
                rank = QString::number(previousRank);
            }
            out.append(rank + u'|' + f[1] + u'|' + f[3]);
        }
    }
    return out;
}

QStringList managerLists(const clsResultManager& m, const clsCourseDataTable& courses) {
    QStringList out;
    for (int c = 1; c <= courses.CourseCount(); ++c) {
        out.append(u"# "_s + courses.CourseData(c)->CourseName());
        const auto list = m.ResultList(c);
        for (int i = 1; i <= list->Count(); ++i) {
            const auto r = list->ObjectItem<clsResultData>(i);
            out.append(r->Rank() + u'|' + r->Result() + u'|' + r->TagData()->UniqueKey());
        }
    }
    return out;
}

} // namespace

TEST(ResultRebuild, ListsAreThoseOfTheLiteralAlgorithms) {
    std::mt19937 rng(4242);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const qint32 rules[] = {-9, -1, 0, 2, 98};
    int results = 0;
    for (int event = 0; event < 30; ++event) {
        auto courses = std::make_shared<clsCourseDataTable>();
        const int classes = pick(1, 12);
        const int alphabet = pick(4, 30);
        for (int c = 0; c < classes; ++c) {
            QString line = u"C"_s + QString::number(c) + u",0"_s;
            const int cc = pick(0, 8) == 0 ? 0 : pick(1, 25);
            for (int k = 0; k < cc; ++k)
                line += u',' + QString::number(31 + pick(0, alphabet));
            line += pick(0, 5) ? u",100"_s : u",101"_s;
            courses->AddByString(line);
        }
        clsEcardTagStock stock;
        auto other = std::make_shared<clsOtherDataTable>();
        for (int r = 0; r < 150; ++r) {
            const auto& course = *courses->CourseData(pick(1, classes));
            std::vector<std::pair<int, int>> punches;
            int t = 0;
            for (int p = 0; p <= course.ControlCount() + 1; ++p) {
                const int roll = pick(0, 29);
                if (roll == 0)
                    continue;
                punches.emplace_back(course.UnitCode(p, 1), t += pick(30, 400) / (roll == 1 ? 10 : 1));
                if (roll == 2)
                    punches.emplace_back(31 + pick(0, alphabet), t += 5);
            }
            if (punches.size() > 49)
                punches.resize(49);
            auto read = readOf(pick(1, 120), punches, 45000.0 + r / 1000.0);
            stock.Add(read);
            const int roll = pick(0, 24);
            if (roll < 3) {
                auto s = std::make_shared<clsSpecificData>();
                s->EcardTagUniqueKey = read->UniqueKey();
                s->IsNotCompete = roll == 0;
                if (roll == 1)
                    s->CourseList = QStringList{u"c"_s + QString::number(pick(0, classes - 1))};
                if (roll == 2)
                    s->CourseList = QStringList{};
                other->readLine(clsOtherDataTable::specificLine(*s));
            }
        }
        for (const qint32 rule : rules) {
            clsResultManager m;
            basResultRebuild::RefreshData(m, stock.TagTable(), nullptr, courses, other, rule);
            const QStringList want = referenceLists(stock.TagTable(), *courses, *other, rule);
            ASSERT_EQ(managerLists(m, *courses), want) << "event " << event << " rule " << rule;
            results += static_cast<int>(m.ResultDataList().size());
        }
    }
    EXPECT_GT(results, 10000);
}
