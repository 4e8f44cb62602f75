#include "AnalysisFixture.h"
#include "clsResultsHolder.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace analysisfixture;

namespace {

QStringList namesOf(const clsResultsHolder& h) {
    QStringList out;
    for (int k = 1; k <= h.Count(); ++k)
        out << h.Item(k)->RunnerName();
    return out;
}

TEST(ResultsHolder, OrderRanksAndStatuses) {
    auto root = std::make_shared<clsQuorvelin2>();
    auto c = root->AddClass(u"M21"_s);
    addRunner(*c, u"none"_s, QString(), {100});
    addRunner(*c, u"dnf"_s, u"DNF"_s, {100});
    addRunner(*c, u"b"_s, u"0:30:00"_s, {100});
    addRunner(*c, u"a"_s, u"0:25:00"_s, {100});
    addRunner(*c, u"b2"_s, u"0:30:00"_s, {100});
    addRunner(*c, u"c"_s, u"0:31:00"_s, {100});
    clsResultsHolder h;
    h.AddClass(u"M21"_s);
    // The record without a result is left out; equal times: the later first; DNF last.
    EXPECT_EQ(namesOf(h), (QStringList{u"a"_s, u"b2"_s, u"b"_s, u"c"_s, u"dnf"_s}));
    EXPECT_EQ(h.FullSetCount(), 5);
    EXPECT_EQ(h.RankInDataSet(1), u"0"_s); // before CalcRank
    h.CalcRank();
    const QString ranks[] = {u"1"_s, u"2"_s, u"2"_s, u"4"_s, QString()};
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(h.RankInDataSet(k), ranks[k - 1]) << k;
    EXPECT_EQ(h.RankInDataSet(6), QString());
    EXPECT_EQ(h.Item(6), nullptr);
    EXPECT_EQ(h.FullSetItem(0), nullptr);
    EXPECT_EQ(h.DataSetName(), u"M21"_s);
    EXPECT_EQ(h.DataSetFileName(), u"m21"_s);
}

TEST(ResultsHolder, RankAvailabilityFromHalfOfTheSelection) {
    struct Row {
        int published, total;
        bool available;
    } rows[] = {{4, 8, true}, {3, 8, false}, {8, 8, true}, {0, 8, false}, {1, 1, true}, {1, 3, false}};
    for (const Row& row : rows) {
        auto root = std::make_shared<clsQuorvelin2>();
        auto c = root->AddClass(u"W21"_s);
        for (int k = 0; k < row.total; ++k)
            addRunner(*c, QString::number(k), u"0:40:0%1"_s.arg(k), {100},
                      k < row.published ? QString::number(k + 1) : QString());
        clsResultsHolder h;
        h.AddClass(1);
        h.CalcRank();
        EXPECT_EQ(h.RankIsAvalilable(), row.available) << row.published << " of " << row.total;
    }
}

TEST(ResultsHolder, SelectionMembersKeepResultOrder) {
    auto root = std::make_shared<clsQuorvelin2>();
    auto c = root->AddClass(u"M21"_s);
    auto x = addRunner(*c, u"x"_s, u"0:50:00"_s, {100});
    auto y = addRunner(*c, u"y"_s, u"0:40:00"_s, {100});
    addRunner(*c, u"z"_s, u"0:45:00"_s, {100});
    clsResultsHolder h;
    h.AddClass(u"M21"_s);
    h.SelectNone();
    EXPECT_EQ(h.Count(), 0);
    h.CalcRank(); // an empty selection: nothing happens
    EXPECT_FALSE(h.RankIsAvalilable());
    h.SelectItem(x->SerialNum());
    h.SelectItem(y->SerialNum());
    EXPECT_EQ(namesOf(h), (QStringList{u"y"_s, u"x"_s}));
    h.SelectAll();
    EXPECT_EQ(namesOf(h), (QStringList{u"y"_s, u"z"_s, u"x"_s}));
    h.setDataSetName(u"Final A/B"_s);
    EXPECT_EQ(h.DataSetFileName(), u"final ab"_s);
    EXPECT_TRUE(h.DataSetIsMix());
    h.setLength(3000);
    h.Clear();
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(h.FullSetCount(), 0);
    EXPECT_EQ(h.DataSetName(), QString());
    EXPECT_FALSE(h.DataSetIsMix());
    EXPECT_EQ(h.ClassInfo(), u"3000m"_s); // the numeric fields keep their values
}

TEST(ResultsHolder, CourseOfTwoClasses) {
    auto root = std::make_shared<clsQuorvelin2>();
    auto m = root->AddClass(u"M21"_s);
    m->setCourseNum(2);
    m->setCutOffRank(10);
    auto w = root->AddClass(u"W21"_s);
    w->setCourseNum(2);
    root->AddClass(u"M35"_s)->setCourseNum(3);
    addRunner(*m, u"m"_s, u"0:30:00"_s, {100});
    addRunner(*w, u"w"_s, u"0:29:00"_s, {100});
    clsResultsHolder h;
    h.AddCourse(2);
    EXPECT_EQ(h.DataSetName(), u"M21/W21"_s);
    EXPECT_EQ(h.DataSetFileName(), u"m21_w21"_s);
    EXPECT_EQ(h.CutOffRank(), 0);
    EXPECT_EQ(namesOf(h), (QStringList{u"w"_s, u"m"_s}));
}

} // namespace
