#include "AnalysisFixture.h"
#include "ProjectError.h"
#include "basQuorvelin2.h"
#include "clsAnalyzer.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace analysisfixture;

namespace {

// Six runners over four legs (three controls). D skipped control 2 (leg 2 is -1, leg 3's
// 560 s covers legs 2 and 3); E missed control 3 (leg 3 is -2) and is DISQ.
//
//        leg1  leg2  leg3  leg4  result
//   A     100   200   300   400  0:16:40 (1000)
//   B     110   220   330   440  0:18:20 (1100)
//   C     120   210   360   420  0:18:30 (1110)
//   D     130    -1   560   450  0:19:00 (1140)
//   E     150   240    -2   480  DISQ
//   F     140   230   320   500  0:19:50 (1190)
class WorkedExample : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::make_shared<clsQuorvelin2>();
        auto cls = root->AddClass(u"M21"_s);
        cls->setControlCount(3);
        cls->setLength(4200);
        cls->setClimb(150);
        addRunner(*cls, u"A"_s, u"0:16:40"_s, {100, 200, 300, 400});
        addRunner(*cls, u"B"_s, u"0:18:20"_s, {110, 220, 330, 440});
        addRunner(*cls, u"C"_s, u"0:18:30"_s, {120, 210, 360, 420});
        addRunner(*cls, u"D"_s, u"0:19:00"_s, {130, -1, 560, 450});
        addRunner(*cls, u"E"_s, u"DISQ"_s, {150, 240, -2, 480});
        addRunner(*cls, u"F"_s, u"0:19:50"_s, {140, 230, 320, 500});
        analyzer = std::make_shared<clsAnalyzer>();
        analyzer->AddClass(u"M21"_s);
        analyzer->Execute();
        for (int k = 1; k <= analyzer->Count(); ++k)
            byName[analyzer->Item(k)->RunnerName()] = analyzer->Item(k);
    }
    std::shared_ptr<clsAnalyzedRunnerData> runner(const char* name) {
        return byName.value(QString::fromLatin1(name));
    }

    std::shared_ptr<clsQuorvelin2> root;
    std::shared_ptr<clsAnalyzer> analyzer;
    QHash<QString, std::shared_ptr<clsAnalyzedRunnerData>> byName;
};

constexpr double secondTolerance = 1e-3; // shares of legs go through single-precision lengths

TEST_F(WorkedExample, DataSetTakesTheClassFacts) {
    EXPECT_EQ(analyzer->DataSetName(), u"M21"_s);
    EXPECT_EQ(analyzer->DataSetFileName(), u"m21"_s);
    EXPECT_FALSE(analyzer->DataSetIsMix());
    EXPECT_EQ(analyzer->ControlCount(), 3);
    EXPECT_EQ(analyzer->ClassInfo(), u"4200m ↑150m"_s);
    EXPECT_TRUE(analyzer->IsExecuted());
    EXPECT_EQ(analyzer->FullSetCount(), 6);
}

TEST_F(WorkedExample, ResultOrderAndRanks) {
    // Times first in order, the status DISQ (code 93) last with its own (empty) rank text; no
    // published ranks at all, so the computed ones are shown.
    const char* order[] = {"A", "B", "C", "D", "F", "E"};
    const char* ranks[] = {"1", "2", "3", "4", "5", ""};
    for (int k = 0; k < 6; ++k) {
        const auto r = analyzer->Item(k + 1);
        EXPECT_EQ(r->RunnerName(), QString::fromLatin1(order[k]));
        EXPECT_EQ(r->RankInDataSet(), QString::fromLatin1(ranks[k])) << order[k];
        EXPECT_EQ(r->Rank(), QString::fromLatin1(ranks[k])) << order[k];
        EXPECT_EQ(analyzer->FullSetItem(k + 1), r);
    }
    EXPECT_EQ(analyzer->Item(0), nullptr);
    EXPECT_EQ(analyzer->Item(7), nullptr);
}

TEST_F(WorkedExample, SkipRangesSplitsAndValidity) {
    const auto d = runner("D");
    // Leg 3's 560 s covers legs 2 and 3.
    EXPECT_EQ(d->TotalLapFrom(2), 2);
    EXPECT_EQ(d->TotalLapTo(2), 3);
    EXPECT_EQ(d->TotalLapFrom(3), 2);
    EXPECT_EQ(d->TotalLapTo(3), 3);
    EXPECT_EQ(d->TotalLapFrom(4), 0);
    EXPECT_EQ(d->SplitTime(2).Value(), -1);
    EXPECT_EQ(d->SplitTime(3).Value(), basDate::fromSeconds(690)); // 130 + 560
    EXPECT_EQ(d->SplitTime(4).Value(), basDate::fromSeconds(1140));
    struct Row {
        const char* name;
        bool lap[4];
        bool split[4];
    } rows[] = {
        {"A", {true, true, true, true}, {true, true, true, true}},
        {"D", {true, false, false, true}, {true, true, true, true}},
        // The missing punch ends the valid splits; leg 4 follows the gap and is no single leg.
        {"E", {true, true, false, false}, {true, true, false, false}},
    };
    for (const Row& r : rows)
        for (int i = 1; i <= 4; ++i) {
            EXPECT_EQ(runner(r.name)->IsValidLapTime(i), r.lap[i - 1]) << r.name << i;
            EXPECT_EQ(runner(r.name)->IsValidSplitTime(i), r.split[i - 1]) << r.name << i;
        }
    EXPECT_EQ(runner("E")->SplitTime(3).Value(), -2);
    EXPECT_EQ(runner("E")->SplitTime(4).Value(), basDate::fromSeconds(870)); // 390 + 480, not valid
    EXPECT_EQ(runner("D")->LapTime(2)->Value(), -1);                         // the record's own object
    EXPECT_EQ(runner("D")->LapTime(2), runner("D")->OtherData()->Lap(2));
}

TEST_F(WorkedExample, LegAndSplitRanks) {
    // Leg ranks among valid single legs; splits: B and C tie at 330 after leg 2, C, D and F tie
    // at 690 after leg 3.
    struct Row {
        const char* name;
        int lap[4];
        int split[4];
        int modLap[4];
        int modSplit[4];
    } rows[] = {
        //       lap ranks       split ranks     modified lap    modified split
        {"A", {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}},
        {"B", {2, 3, 3, 3}, {2, 2, 2, 2}, {2, 3, 3, 3}, {2, 2, 2, 2}},
        {"C", {3, 2, 4, 2}, {3, 2, 3, 3}, {3, 2, 5, 2}, {3, 2, 3, 3}},
        // D: modified legs 2 and 3 are 560 x 63/158 = 223.29 and 560 x 95/158 = 336.71; its
        // modified split 2 is 130 + 223.29 = 353.29.
        {"D", {4, 0, 0, 4}, {4, 0, 3, 4}, {4, 4, 4, 4}, {4, 4, 3, 4}},
        {"E", {6, 5, 0, 0}, {6, 5, 0, 0}, {6, 6, 0, 0}, {6, 6, 0, 0}},
        {"F", {5, 4, 2, 5}, {5, 4, 3, 5}, {5, 5, 2, 5}, {5, 5, 3, 5}},
    };
    for (const Row& r : rows)
        for (int i = 1; i <= 4; ++i) {
            const auto x = runner(r.name);
            EXPECT_EQ(x->LapRank(i).Value(), r.lap[i - 1]) << r.name << " leg " << i;
            EXPECT_EQ(x->SplitRank(i).Value(), r.split[i - 1]) << r.name << " split " << i;
            EXPECT_EQ(x->ModifiedLapRank(i).Value(), r.modLap[i - 1]) << r.name << " mod leg " << i;
            EXPECT_EQ(x->ModifiedSplitRank(i).Value(), r.modSplit[i - 1]) << r.name << " mod split " << i;
        }
    EXPECT_NEAR(seconds(runner("D")->ModifiedLapTime(2).Value()), 560.0 * 63 / 158, secondTolerance);
    EXPECT_NEAR(seconds(runner("D")->ModifiedLapTime(3).Value()), 560.0 * 95 / 158, secondTolerance);
    EXPECT_NEAR(seconds(runner("D")->ModifiedSplitTime(2).Value()), 130 + 560.0 * 63 / 158, secondTolerance);
    EXPECT_EQ(runner("D")->ModifiedSplitTime(3).Value(), basDate::fromSeconds(690));
    EXPECT_EQ(runner("E")->ModifiedLapTime(3).Value(), 0);
    EXPECT_EQ(runner("E")->ModifiedSplitTime(3).Value(), 0);
    EXPECT_EQ(runner("A")->ModifiedLapTime(4).Value(), basDate::fromSeconds(400));
}

TEST_F(WorkedExample, UpperLapsAveragesAndLegLengths) {
    const auto g = analyzer->GeneralData();
    // Means of the three best: leg 1 (100+110+120)/3 = 110, leg 2 (200+210+220)/3 = 210,
    // leg 3 (300+320+330)/3 = 316.67, leg 4 (400+420+440)/3 = 420; total 3170/3 = 1056.67.
    // Lengths 330/3170, 630/3170, 950/3170, 1260/3170 = 33/317, 63/317, 95/317, 126/317.
    const double averages[] = {110, 210, 950.0 / 3, 420};
    const double lengths[] = {33.0 / 317, 63.0 / 317, 95.0 / 317, 126.0 / 317};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(seconds(g->UpperLapAverage(i).toDouble()), averages[i - 1], 1e-9) << i;
        EXPECT_NEAR(g->LegLength(i), lengths[i - 1], 1e-7) << i;
    }
    EXPECT_NEAR(seconds(g->UpperLapTotal()), 3170.0 / 3, 1e-9);
    // Leg 2's order: A 200, C 210, B 220, F 230, E 240 (D's leg follows a skip).
    const char* leg2[] = {"A", "C", "B", "F", "E"};
    for (int p = 1; p <= 5; ++p) {
        ASSERT_TRUE(g->IsUpperLapExists(2, p));
        EXPECT_EQ(g->UpperLapObject(2, p)->RunnerName(), QString::fromLatin1(leg2[p - 1]));
    }
    EXPECT_FALSE(g->IsUpperLapExists(2, 6));
    EXPECT_FALSE(g->IsUpperLapExists(3, 5)); // only A, F, B, C have a valid leg 3
    EXPECT_TRUE(g->IsUpperLapExists(3, 4));
    EXPECT_EQ(g->UpperLapObject(3, 2)->RunnerName(), u"F"_s);
    EXPECT_THROW(g->UpperLapAverage(32), ProjectError);
    EXPECT_THROW(g->IsUpperLapExists(1, 7), ProjectError);
}

TEST_F(WorkedExample, RelativesCruiseSpeedsMissTimesAndTotals) {
    // Cruise speed: legs by modified time / upper average, best first, lengths summed up to
    // one half. A: 0.909 (leg 1), 0.947 (leg 3), then legs 4 and 2 tie at 20/21 and leg 4,
    // added later, comes first: 33+95+126 = 254/317 >= 1/2, so c = (100+300+400) /
    // (110+316.67+420) = 120/127. Miss = leg - c x average: -500/127, 200/127, 100/127, 400/127.
    // B = 1.1 x A: c = 132/127, misses -550/127, 220/127, 110/127, 440/127.
    // C: legs 4 and 2 at exactly 1 (63+126 = 189/317 >= 1/2): c = 1; misses 10, 0, 43.33, 0.
    // D: legs 2 and 3 share 1680/1580, then leg 4 (158+126 = 284/317): c = 1010/946.67 = 303/284;
    //    misses 130 - 110c = 12.64, skip mark, 560 - 526.67c = -1.90 on the range's last leg,
    //    450 - 420c = 1.90.
    // E: legs 2 (1.143) and 1 (1.364) only, 96/317 < 1/2: c = 390/320 = 1.21875; misses
    //    15.94, -15.94, no data (missing punch), no data (leg after the gap).
    // F: leg 3 (1.0105), leg 2 (1.0952), leg 4 (1.1905): 95+63+126 = 284/317: c = 1050/946.67
    //    = 315/284; misses 17.99, -2.92, -31.23, 34.15.
    struct Row {
        const char* name;
        double cruise;
        double miss[4]; // seconds; NAN = no data, -1e9 = skip mark
        double relative[4];
        double totalRelative;
    };
    const double skip = -1e9;
    const Row rows[] = {
        {"A",
         120.0 / 127,
         {-500.0 / 127, 200.0 / 127, 100.0 / 127, 400.0 / 127},
         {100.0 / 110, 200.0 / 210, 300 / (950.0 / 3), 400.0 / 420},
         1000 / (3170.0 / 3)},
        {"B",
         132.0 / 127,
         {-550.0 / 127, 220.0 / 127, 110.0 / 127, 440.0 / 127},
         {1, 220.0 / 210, 330 / (950.0 / 3), 440.0 / 420},
         1100 / (3170.0 / 3)},
        {"C", 1, {10, 0, 360 - 950.0 / 3, 0}, {120.0 / 110, 1, 360 / (950.0 / 3), 1}, 1110 / (3170.0 / 3)},
        {"D",
         303.0 / 284,
         {130 - 110 * 303.0 / 284, skip, 560 - 1580.0 / 3 * 303.0 / 284, 450 - 420 * 303.0 / 284},
         {130.0 / 110, -1, 560 / (1580.0 / 3), 450.0 / 420},
         1140 / (3170.0 / 3)},
        {"E",
         1.21875,
         {150 - 110 * 1.21875, 240 - 210 * 1.21875, NAN, NAN},
         {150.0 / 110, 240.0 / 210, 0, 0},
         0},
        {"F",
         315.0 / 284,
         {140 - 110 * 315.0 / 284, 230 - 210 * 315.0 / 284, 320 - 950.0 / 3 * 315.0 / 284,
          500 - 420 * 315.0 / 284},
         {140.0 / 110, 230.0 / 210, 320 / (950.0 / 3), 500.0 / 420},
         1190 / (3170.0 / 3)},
    };
    for (const Row& r : rows) {
        const auto x = runner(r.name);
        EXPECT_NEAR(x->CruiseSpeed().Value(), r.cruise, 1e-6) << r.name;
        EXPECT_NEAR(x->TotalTimeRelative().Value(), r.totalRelative, 1e-6) << r.name;
        for (int i = 1; i <= 4; ++i) {
            const clsMissTimeValue m = x->MissTime(i);
            if (std::isnan(r.miss[i - 1])) {
                EXPECT_EQ(m.Value(), 0) << r.name << i; // no data reads 0
                EXPECT_EQ(m.ToString(), u"－"_s) << r.name << i;
            } else if (r.miss[i - 1] == skip) {
                EXPECT_EQ(m.ToString(), u"↓"_s) << r.name << i;
            } else {
                EXPECT_NEAR(seconds(m.Value()), r.miss[i - 1], secondTolerance) << r.name << i;
            }
            if (r.relative[i - 1] == -1)
                EXPECT_EQ(x->LapRelative(i).ToString(), u"↓"_s);
            else
                EXPECT_NEAR(x->LapRelative(i).Value(), r.relative[i - 1], 1e-6) << r.name << i;
        }
    }
    EXPECT_EQ(runner("A")->MissTime(1).ToString(u"hh:nn:ss"_s, true), u"-0:04"_s);

    // Totals: M = sum of the positive misses, S = sum of modified legs, rate M/S, and the
    // result x (1 - rate). A: 700/127 of 1000; B: 770/127 of 1100; C: 53.33 of 1110;
    // D: 12.64 + 1.90 = 14.54 of 130 + 223.29 + 336.71 + 450 = 1140; F: 17.99 + 34.15 = 52.15 of 1190.
    struct Total {
        const char* name;
        double lost, sum, result;
    } totals[] = {
        {"A", 700.0 / 127, 1000, 1000},
        {"B", 770.0 / 127, 1100, 1100},
        {"C", 10 + 360 - 950.0 / 3, 1110, 1110},
        {"D", 130 - 110 * 303.0 / 284 + 450 - 420 * 303.0 / 284, 1140, 1140},
        {"F", 140 - 110 * 315.0 / 284 + 500 - 420 * 315.0 / 284, 1190, 1190},
    };
    for (const Total& t : totals) {
        const auto x = runner(t.name);
        EXPECT_NEAR(seconds(x->MissTimeTotal().Value()), t.lost, secondTolerance) << t.name;
        EXPECT_NEAR(x->MissRate().Value(), t.lost / t.sum, 1e-6) << t.name;
        EXPECT_NEAR(seconds(x->TotalTimeWithoutMiss().Value()), t.result * (1 - t.lost / t.sum),
                    secondTolerance)
            << t.name;
    }
    // E's result is no time: its totals keep their initial values.
    EXPECT_EQ(runner("E")->MissTimeTotal().ToString(), u"－"_s);
    EXPECT_EQ(runner("E")->MissRate().Value(), 0);
    EXPECT_EQ(runner("E")->TotalTimeWithoutMiss().Value(), 0);
}

TEST_F(WorkedExample, HalfCourseSpeedsAndLegDifficulty) {
    analyzer->ExtraAnalyze();
    // Summed lengths 33, 96, 191, 317 (/317): the first part ends at leg 3 (191/317 >= 0.4),
    // the last part starts one before leg 3 (the first >= 0.6), i.e. at leg 2.
    // A first part: leg 1 (33/317 < 0.2), leg 3 -> (100+300)/(110+316.67) = 0.9375;
    //   last part: leg 3 alone (95/317 >= 0.2) -> 300/316.67.
    // E first part: leg 2 (63/317), leg 1 -> 390/320; last part: leg 2 only -> 240/210.
    struct Row {
        const char* name;
        double first, second;
    } rows[] = {
        {"A", 400 / (110 + 950.0 / 3), 300 / (950.0 / 3)},
        {"B", 440 / (110 + 950.0 / 3), 330 / (950.0 / 3)},
        {"D", 560 / (1580.0 / 3), 560 / (1580.0 / 3)},
        {"E", 390.0 / 320, 240.0 / 210},
    };
    for (const Row& r : rows) {
        EXPECT_NEAR(runner(r.name)->FirstHalfCruiseSpeed().Value(), r.first, 1e-6) << r.name;
        EXPECT_NEAR(runner(r.name)->SecondHalfCruiseSpeed().Value(), r.second, 1e-6) << r.name;
    }

    // Difficulty: x = miss / finish split of the runners with a valid leg ranked below
    // 0.8 x 6 = 4.8; the spread sqrt((k Sx2 - Sx^2) / k^2) per leg, then scaled to mean 1.
    const double cA = 120.0 / 127, cB = 132.0 / 127, cD = 303.0 / 284, cF = 315.0 / 284;
    const std::vector<std::vector<double>> xs = {
        // leg 1: A, B, C, D (ranks 1-4)
        {(100 - 110 * cA) / 1000, (110 - 110 * cB) / 1100, 10.0 / 1110, (130 - 110 * cD) / 1140},
        // leg 2: A, C, B, F (D's leg follows the skip)
        {(200 - 210 * cA) / 1000, 0.0 / 1110, (220 - 210 * cB) / 1100, (230 - 210 * cF) / 1190},
        // leg 3: A, F, B, C
        {(300 - 950.0 / 3 * cA) / 1000, (320 - 950.0 / 3 * cF) / 1190, (330 - 950.0 / 3 * cB) / 1100,
         (360 - 950.0 / 3) / 1110},
        // leg 4: A, C, B, D (F is fifth)
        {(400 - 420 * cA) / 1000, 0.0 / 1110, (440 - 420 * cB) / 1100, (450 - 420 * cD) / 1140},
    };
    std::vector<double> raw;
    double rawSum = 0;
    for (const auto& x : xs) {
        double s = 0, ss = 0;
        for (double v : x) {
            s += v;
            ss += v * v;
        }
        const double k = static_cast<double>(x.size());
        raw.push_back(std::sqrt((k * ss - s * s) / (k * k)));
        rawSum += raw.back();
    }
    const auto g = analyzer->GeneralData();
    double mean = 0;
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(g->LegDifficulty(i).Value(), raw[static_cast<size_t>(i - 1)] * 4 / rawSum, 1e-4) << i;
        mean += g->LegDifficulty(i).Value() / 4;
    }
    EXPECT_NEAR(mean, 1.0, 1e-6);
    // The selection becomes the full set again.
    EXPECT_EQ(analyzer->Count(), 6);
}

TEST_F(WorkedExample, BostrimeTakesTheTimedRunnersAndScalesTo100) {
    analyzer->Bostrime();
    double largest = 0;
    for (int k = 1; k <= analyzer->Count(); ++k) {
        const auto r = analyzer->Item(k);
        largest = std::max({largest, std::abs(r->BostrimeX()), std::abs(r->BostrimeY())});
        EXPECT_LE(std::abs(r->BostrimeX()), 100 + 1e-9);
        EXPECT_LE(std::abs(r->BostrimeY()), 100 + 1e-9);
    }
    EXPECT_NEAR(largest, 100, 1e-9);
    EXPECT_EQ(runner("E")->BostrimeX(), 0); // DISQ takes no part
    EXPECT_EQ(runner("E")->BostrimeY(), 0);
}

TEST_F(WorkedExample, SelectionMembers) {
    const qint32 serialOfC = runner("C")->SerialNum();
    const qint32 serialOfA = runner("A")->SerialNum();
    analyzer->SelectNone();
    EXPECT_EQ(analyzer->Count(), 0);
    analyzer->SelectItem(serialOfC);
    analyzer->SelectItem(serialOfA);
    analyzer->SelectItem(-5); // no such runner
    ASSERT_EQ(analyzer->Count(), 2);
    EXPECT_EQ(analyzer->Item(1)->RunnerName(), u"C"_s);
    analyzer->SelectSort();
    EXPECT_EQ(analyzer->Item(1)->RunnerName(), u"A"_s);
    EXPECT_EQ(analyzer->Item(2)->RunnerName(), u"C"_s);
    analyzer->SelectAll();
    EXPECT_EQ(analyzer->Count(), 6);
    EXPECT_EQ(analyzer->FullSetCount(), 6);
}

TEST_F(WorkedExample, AddingARunnerInvalidatesAndClearEmpties) {
    auto extra = std::make_shared<clsLapData>();
    extra->Lap(1)->setValue(legValue(100));
    analyzer->AddLap(extra);
    EXPECT_FALSE(analyzer->IsExecuted());
    EXPECT_EQ(analyzer->FullSetCount(), 7);
    analyzer->AddLap(std::make_shared<clsLapData>()); // no legs: not added
    EXPECT_EQ(analyzer->FullSetCount(), 7);
    analyzer->setCutOffRank(12);
    analyzer->Clear();
    EXPECT_EQ(analyzer->FullSetCount(), 0);
    EXPECT_EQ(analyzer->Count(), 0);
    EXPECT_EQ(analyzer->ControlCount(), 0);
    EXPECT_EQ(analyzer->DataSetName(), QString());
    EXPECT_FALSE(analyzer->DataSetIsMix());
    EXPECT_EQ(analyzer->CutOffRank(), 12); // left as it was
}

} // namespace
