#include "AnalysisFixture.h"
#include "clsAnalyzer.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using namespace analysisfixture;

namespace {

struct Root {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    std::shared_ptr<clsClassData> cls(const QString& name, qint32 controls) {
        auto c = root->AddClass(name);
        c->setControlCount(controls);
        return c;
    }
};

std::shared_ptr<clsAnalyzer> executed(const QString& className) {
    auto a = std::make_shared<clsAnalyzer>();
    a->AddClass(className);
    a->Execute();
    return a;
}

TEST(AnalyzerRanks, PublishedRanksCountFromHalfOfTheRunners) {
    // Ten runners 600, 610, ... s; the first `published` carry the rank text "P<k>".
    struct Row {
        int published;
        bool usesPublished;
    } rows[] = {{5, true}, {4, false}, {10, true}, {0, false}, {6, true}};
    for (const Row& row : rows) {
        Root r;
        auto c = r.cls(u"M21"_s, 0);
        for (int k = 0; k < 10; ++k)
            addRunner(*c, QString::number(k),
                      basDate::format(basDate::fromSeconds(600 + 10 * k), basDate::Form::HNnSs),
                      {600.0 + 10 * k}, k < row.published ? u"P%1"_s.arg(k + 1) : QString());
        const auto a = executed(u"M21"_s);
        for (int k = 1; k <= 10; ++k) {
            const auto x = a->Item(k);
            EXPECT_EQ(x->RankInDataSet(), QString::number(k));
            const QString expected = row.usesPublished ? x->ResultRank() : QString::number(k);
            EXPECT_EQ(x->Rank(), expected) << row.published << " of 10, runner " << k;
        }
    }
}

TEST(AnalyzerRanks, TiesShareARankAndStatusesFollowTimes) {
    Root r;
    auto c = r.cls(u"W21"_s, 0);
    addRunner(*c, u"dns"_s, u"DNS"_s, {-2}, u"DNS"_s);
    addRunner(*c, u"slow"_s, u"0:12:00"_s, {720});
    addRunner(*c, u"dnf"_s, u"DNF"_s, {300}, u"棄権"_s);
    addRunner(*c, u"tie1"_s, u"0:10:00"_s, {600});
    addRunner(*c, u"tie2"_s, u"0:10:00"_s, {600});
    addRunner(*c, u"mp"_s, u"P2"_s, {-2});
    const auto a = executed(u"W21"_s);
    // Equal keys: the later added first. P2 (2 days) < DNF (90) < DNS (99).
    const char* order[] = {"tie2", "tie1", "slow", "mp", "dnf", "dns"};
    const QString ranks[] = {u"1"_s, u"1"_s, u"3"_s, QString(), u"棄権"_s, u"DNS"_s};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(a->Item(k + 1)->RunnerName(), QString::fromLatin1(order[k]));
        EXPECT_EQ(a->Item(k + 1)->RankInDataSet(), ranks[k]) << order[k];
    }
}

TEST(AnalyzerLegs, SkippedControlsAndGaps) {
    Root r;
    auto c = r.cls(u"M35"_s, 5);
    // 0:05:00, skip, 0:12:00, then a skipped last control with no later time.
    auto s = addRunner(*c, u"skip"_s, u"0:30:00"_s, {300, -1, 720, 200, -1, -1});
    // A missing punch at leg 3: splits invalid from 3 on, leg 4 no single leg, leg 5 valid.
    auto g = addRunner(*c, u"gap"_s, QString(), {300, 400, -2, 500, 100, 90});
    const auto a = executed(u"M35"_s);
    std::shared_ptr<clsAnalyzedRunnerData> skip, gap;
    for (int k = 1; k <= 2; ++k)
        (a->Item(k)->RunnerName() == u"skip"_s ? skip : gap) = a->Item(k);
    EXPECT_EQ(skip->TotalLapFrom(2), 2);
    EXPECT_EQ(skip->TotalLapTo(2), 3);
    EXPECT_EQ(skip->TotalLapTo(3), 3);
    EXPECT_EQ(skip->SplitTime(2).Value(), -1);
    EXPECT_EQ(skip->SplitTime(3).Value(), basDate::fromSeconds(1020));
    EXPECT_TRUE(skip->IsValidSplitTime(3));
    EXPECT_FALSE(skip->IsValidLapTime(3));
    // The trailing skips became no data in the record itself.
    EXPECT_EQ(s->LapValue(5), 0);
    EXPECT_EQ(s->LapValue(6), 0);
    EXPECT_EQ(skip->TotalLapFrom(5), 0);
    EXPECT_FALSE(skip->IsValidSplitTime(5));
    EXPECT_EQ(skip->MissTime(5).ToString(), u"－"_s);
    EXPECT_EQ(skip->LapRelative(2).Value(), 0);         // the skip mark reads as 0 ...
    EXPECT_EQ(skip->LapRelative(2).ToString(), u"↓"_s); // ... and prints as the skip
    for (int i = 3; i <= 6; ++i)
        EXPECT_FALSE(gap->IsValidSplitTime(i)) << i;
    EXPECT_FALSE(gap->IsValidLapTime(3));
    EXPECT_FALSE(gap->IsValidLapTime(4));
    EXPECT_TRUE(gap->IsValidLapTime(5));
    EXPECT_TRUE(gap->IsValidLapTime(6));
    // No result and an invalid last split: empty result, and no totals.
    EXPECT_EQ(gap->Result(), QString());
    EXPECT_EQ(gap->MissTimeTotal().ToString(), u"－"_s);
    (void)g;
}

// A leg without data (missing punch, or no time at all) has no miss time: it reads 0 and prints
// the no-data mark, while a leg in a skip range prints the skip mark.
TEST(AnalyzerLegs, MissTimeOfALegWithoutDataReadsZero) {
    Root r;
    auto c = r.cls(u"M50"_s, 3);
    addRunner(*c, u"ok"_s, u"0:20:00"_s, {300, 300, 300, 300});
    addRunner(*c, u"mp"_s, u"MP"_s, {300, -2, 300, 300});
    addRunner(*c, u"nodata"_s, u"0:21:00"_s, {300, 0, 300, 300});
    addRunner(*c, u"skip"_s, u"0:22:00"_s, {300, -1, 600, 300});
    const auto a = executed(u"M50"_s);
    struct Row {
        const char* name;
        int leg;
        double value;
        QString text;
    } rows[] = {{"mp", 2, 0, u"－"_s}, {"nodata", 2, 0, u"－"_s}, {"skip", 2, -1, u"↓"_s}};
    for (const Row& row : rows) {
        for (int k = 1; k <= a->Count(); ++k) {
            const auto x = a->Item(k);
            if (x->RunnerName() != QString::fromLatin1(row.name))
                continue;
            EXPECT_EQ(x->MissTime(row.leg).Value(), row.value) << row.name;
            EXPECT_EQ(x->MissTime(row.leg).ToString(), row.text) << row.name;
            EXPECT_EQ(x->MissTime(row.leg).ToString(u"plane"_s, false, u"n/a"_s),
                      row.value == 0 ? u"n/a"_s : row.text);
        }
    }
}

TEST(AnalyzerLegs, ResultFallsBackToTheLastValidSplit) {
    Root r;
    auto c = r.cls(u"M40"_s, 2);
    addRunner(*c, u"x"_s, QString(), {600, 1200, 1923});
    const auto a = executed(u"M40"_s);
    EXPECT_EQ(a->Item(1)->Result(), u"1:02:03"_s);
    EXPECT_EQ(a->Item(1)->RankInDataSet(), u"1"_s);
    EXPECT_GT(a->Item(1)->MissRate().storedValue(), -1); // totals computed from that time
}

TEST(AnalyzerLegs, UpperAveragesWithFewRunnersAndEvenPace) {
    Root r;
    auto c = r.cls(u"W40"_s, 1);
    // Leg 2 only two runners; everybody exactly at the upper average on leg 1 would need
    // equal times: the three runners run 300 s on leg 1.
    addRunner(*c, u"a"_s, u"0:11:00"_s, {300, 360});
    addRunner(*c, u"b"_s, u"0:11:40"_s, {300, 400});
    addRunner(*c, u"c"_s, u"DNF"_s, {300, -2});
    const auto a = executed(u"W40"_s);
    const auto g = a->GeneralData();
    EXPECT_NEAR(seconds(g->UpperLapAverage(1).toDouble()), 300, 1e-9);
    EXPECT_NEAR(seconds(g->UpperLapAverage(2).toDouble()), 380, 1e-9); // (360 + 400) / 2
    EXPECT_FALSE(g->IsUpperLapExists(2, 3));
    EXPECT_EQ(seconds(g->UpperLapAverage(3).toDouble()), 0);
    // Runner c: leg 1 exactly the average and nothing else: cruise speed 1, miss 0.
    std::shared_ptr<clsAnalyzedRunnerData> cc;
    for (int k = 1; k <= 3; ++k)
        if (a->Item(k)->RunnerName() == u"c"_s)
            cc = a->Item(k);
    EXPECT_FLOAT_EQ(cc->CruiseSpeed().Value(), 1.0f);
    EXPECT_EQ(cc->MissTime(1).Value(), 0);
}

TEST(AnalyzerLegs, EveryLegAtTheUpperAverageMeansNoLoss) {
    Root r;
    auto c = r.cls(u"H21"_s, 2);
    addRunner(*c, u"a"_s, u"0:10:00"_s, {100, 200, 300});
    addRunner(*c, u"b"_s, u"0:10:00"_s, {100, 200, 300});
    addRunner(*c, u"c"_s, u"0:10:00"_s, {100, 200, 300});
    const auto a = executed(u"H21"_s);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_FLOAT_EQ(a->Item(k)->CruiseSpeed().Value(), 1.0f);
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(a->Item(k)->MissTime(i).Value(), 0);
            EXPECT_EQ(a->Item(k)->LapRank(i).Value(), 1);
        }
        EXPECT_EQ(a->Item(k)->MissTimeTotal().Value(), 0);
        EXPECT_EQ(a->Item(k)->TotalTimeWithoutMiss().Value(), basDate::fromSeconds(600));
    }
}

TEST(AnalyzerDataSet, ClassesCoursesAndNames) {
    Root r;
    auto m = r.cls(u"M21"_s, 4);
    m->setCourseNum(1);
    m->setCutOffRank(30);
    m->setLength(5100);
    auto w = r.cls(u"W21"_s, 0);
    w->setCourseNum(1);
    w->setClimb(120);
    auto x = r.cls(u"M35"_s, 3);
    x->setCourseNum(2);
    addRunner(*m, u"m"_s, u"0:30:00"_s, {300});
    addRunner(*w, u"w"_s, u"0:35:00"_s, {300});
    addRunner(*x, u"x"_s, u"0:40:00"_s, {300});

    clsAnalyzer a;
    a.AddCourse(1);
    EXPECT_EQ(a.DataSetName(), u"M21/W21"_s);
    EXPECT_EQ(a.DataSetFileName(), u"m21_w21"_s);
    EXPECT_TRUE(a.DataSetIsMix());
    EXPECT_EQ(a.CutOffRank(), 0);
    EXPECT_EQ(a.ControlCount(), 4); // W21's 0 does not replace it
    EXPECT_EQ(a.ClassInfo(), u"5100m ↑120m"_s);
    EXPECT_EQ(a.FullSetCount(), 2);

    clsAnalyzer b;
    b.AddClass(3); // by position
    b.AddClass(9); // out of range: nothing
    b.AddClass(u"X99"_s);
    EXPECT_EQ(b.DataSetName(), u"M35"_s);
    EXPECT_FALSE(b.DataSetIsMix());
    EXPECT_EQ(b.FullSetCount(), 1);
    b.setDataSetName(u"Ｍ３５:Final/\"A\"|<>'"_s);
    EXPECT_EQ(b.DataSetFileName(), u"m35finala"_s);
    EXPECT_TRUE(b.DataSetIsMix());
}

TEST(AnalyzerBostrime, NeedsFiveTimedRunnersAndPutsTheLosslessAtTheOrigin) {
    for (int timed : {4, 5, 7}) {
        Root r;
        auto c = r.cls(u"M21"_s, 3);
        // z runs exactly the upper averages (the mean of lo, z, hi on every leg): no loss.
        addRunner(*c, u"lo"_s, u"0:16:00"_s, {90, 190, 290, 390});
        addRunner(*c, u"z"_s, u"0:16:40"_s, {100, 200, 300, 400});
        addRunner(*c, u"hi"_s, u"0:17:20"_s, {110, 210, 310, 410});
        // Slower than hi on every leg, each with its own mistakes.
        const double slow[][4] = {
            {120, 290, 320, 420}, {120, 220, 320, 520}, {160, 220, 360, 420}, {120, 230, 330, 430}};
        for (int k = 0; k < 4; ++k) {
            const bool hasTime = 3 + k < timed;
            addRunner(*c, u"s%1"_s.arg(k), hasTime ? u"0:20:00"_s : u"DNF"_s,
                      {slow[k][0], slow[k][1], slow[k][2], slow[k][3]});
        }
        const auto a = executed(u"M21"_s);
        a->Bostrime();
        double largest = 0;
        for (int k = 1; k <= a->Count(); ++k) {
            const auto x = a->Item(k);
            largest = std::max({largest, std::abs(x->BostrimeX()), std::abs(x->BostrimeY())});
            if (x->RunnerName() == u"z"_s && timed >= 5) {
                EXPECT_NEAR(x->BostrimeX(), 0, 1e-3);
                EXPECT_NEAR(x->BostrimeY(), 0, 1e-3);
            }
            if (x->Result() == u"DNF"_s) {
                EXPECT_EQ(x->BostrimeX(), 0);
                EXPECT_EQ(x->BostrimeY(), 0);
            }
        }
        EXPECT_NEAR(largest, timed >= 5 ? 100 : 0, 1e-9) << timed;
    }
}

TEST(AnalyzerExtra, FirstLegLongerThanSixtyPercentStartsTheSecondHalfAtLegZero) {
    Root r;
    auto c = r.cls(u"M21"_s, 2);
    addRunner(*c, u"a"_s, u"0:13:00"_s, {700, 50, 30});
    addRunner(*c, u"b"_s, u"0:14:00"_s, {720, 60, 60});
    const auto a = executed(u"M21"_s);
    a->ExtraAnalyze();
    // Averages 710, 55, 45 of 810. Leg 1 alone is over 60 % (and 40 %): the first half is leg
    // 1, the second half starts at leg 0 and covers the course. For a: leg 3 (30/45, 45/810),
    // leg 2 (50/55, 100/810 < 0.2), leg 1 reaches the limit: 780/810.
    const auto x = a->Item(1);
    EXPECT_NEAR(x->FirstHalfCruiseSpeed().Value(), 700.0 / 710, 1e-6);
    EXPECT_NEAR(x->SecondHalfCruiseSpeed().Value(), 780.0 / 810, 1e-6);
    // Two qualifying runners at most (ranks below 1.6: only rank 1): raw difficulty 1 on
    // every leg, so every leg has difficulty 1.
    for (int i = 1; i <= 3; ++i)
        EXPECT_FLOAT_EQ(a->GeneralData()->LegDifficulty(i).Value(), 1.0f) << i;
}

} // namespace

namespace {

double spread(const std::vector<double>& x) {
    if (x.size() <= 1)
        return 1;
    double s = 0, ss = 0;
    for (double v : x) {
        s += v;
        ss += v * v;
    }
    const double k = static_cast<double>(x.size());
    const double variance = (k * ss - s * s) / (k * k);
    return variance < 0 ? 1 : std::sqrt(variance);
}

// A finish split that is the missing-punch code is no race time: dividing a loss by -2 days
// would put a near-zero value among the others. Such a runner is left out of the spread.
TEST(AnalyzerExtra, DifficultyLeavesOutRunnersWithoutAFinishTime) {
    Root r;
    auto c = r.cls(u"M21"_s, 1);
    addRunner(*c, u"mp"_s, u"DISQ"_s, {100, -2});
    addRunner(*c, u"a"_s, u"0:05:10"_s, {110, 200});
    addRunner(*c, u"b"_s, u"0:05:40"_s, {120, 220});
    addRunner(*c, u"c"_s, u"0:06:50"_s, {130, 280});
    addRunner(*c, u"d"_s, u"0:06:20"_s, {140, 240});
    addRunner(*c, u"e"_s, u"0:07:30"_s, {150, 300});
    const auto a = executed(u"M21"_s);
    a->ExtraAnalyze();
    // Qualifying: a valid leg ranked below 0.8 x 6 = 4.8 and a finish time.
    std::vector<double> x[3];
    for (int k = 1; k <= a->FullSetCount(); ++k) {
        const auto runner = a->FullSetItem(k);
        const double finish = runner->SplitTime(2).Value();
        for (int i = 1; i <= 2; ++i)
            if (runner->IsValidLapTime(i) && runner->LapRank(i).Value() < 4.8 && finish > 0)
                x[i].push_back(runner->MissTime(i).Value() / finish);
    }
    ASSERT_EQ(x[1].size(), 3u); // a, b, c: mp (rank 1 on leg 1) has no finish time
    ASSERT_EQ(x[2].size(), 4u);
    const double raw1 = spread(x[1]), raw2 = spread(x[2]);
    EXPECT_NEAR(a->GeneralData()->LegDifficulty(1).Value(), raw1 * 2 / (raw1 + raw2), 1e-5);
    EXPECT_NEAR(a->GeneralData()->LegDifficulty(2).Value(), raw2 * 2 / (raw1 + raw2), 1e-5);
}

// The skip mark inside a skip range is a code, not a loss of a whole day: the runner who
// skipped a control must not push every other runner onto the origin.
TEST(AnalyzerBostrime, SkipMarksAreNoLosses) {
    Root r;
    auto c = r.cls(u"M21"_s, 3);
    addRunner(*c, u"z"_s, u"0:16:40"_s, {100, 200, 300, 400});
    addRunner(*c, u"lo"_s, u"0:16:00"_s, {90, 190, 290, 390});
    addRunner(*c, u"hi"_s, u"0:17:20"_s, {110, 210, 310, 410});
    addRunner(*c, u"s1"_s, u"0:19:00"_s, {120, 300, 320, 420});
    addRunner(*c, u"s2"_s, u"0:19:00"_s, {120, 220, 320, 480});
    addRunner(*c, u"skip"_s, u"0:18:20"_s, {120, -1, 560, 420});
    const auto a = executed(u"M21"_s);
    a->Bostrime();
    double othersLargest = 0;
    for (int k = 1; k <= a->Count(); ++k) {
        const auto x = a->Item(k);
        if (x->RunnerName() != u"skip"_s)
            othersLargest = std::max({othersLargest, std::abs(x->BostrimeX()), std::abs(x->BostrimeY())});
    }
    EXPECT_GT(othersLargest, 20);
}

} // namespace

TEST(AnalyzerLimits, ControlCountsAtTheIntegerLimitsAnalyseWithinTheTable) {
    // A lap file may state any control count; the finish leg is one more than the controls.
    struct Row {
        qint32 controls;
        qint32 legs;
    } rows[] = {{std::numeric_limits<qint32>::max(), clsLapData::MaxLegs},
                {std::numeric_limits<qint32>::min(), 0},
                {-1, 0}};
    for (const Row& row : rows) {
        Root r;
        auto c = r.cls(u"M21"_s, row.controls);
        addRunner(*c, u"a"_s, u"0:10:00"_s, {300, 300});
        const auto a = executed(u"M21"_s);
        EXPECT_EQ(a->legCount(), row.legs) << row.controls;
        a->ExtraAnalyze();
    }
}
