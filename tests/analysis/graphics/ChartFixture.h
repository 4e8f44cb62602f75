#pragma once

// Small classes whose chart values are worked out by hand, and a realistic one to look at.

#include "AnalysisFixture.h"
#include "LapDataGenerator.h"
#include "basDate.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"

#include <memory>

namespace chartfixture {

using analysisfixture::addRunner;

struct Analysis {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    std::shared_ptr<clsAnalyzer> analyzer;

    void run(const QString& className = QStringLiteral("A")) {
        analyzer = root->NewAnalyzer();
        analyzer->AddClass(className);
        analyzer->Execute();
        analyzer->ExtraAnalyze();
        analyzer->Bostrime();
    }
};

// Three runners over two controls. Upper averages 110, 230 and 330 s, so the course positions
// are 0, 110, 340 and 670 s. Splits: A 100 300 600, B 110 370 700, C 120 350 710. A starts at
// 10:00:00, B at 10:02:00, C has no start time.
inline void smallClass(Analysis& a, bool withMissedControl = false) {
    auto cls = a.root->AddClass(QStringLiteral("A"));
    cls->setControlCount(2);
    addRunner(*cls, QStringLiteral("Aoki"), QStringLiteral("0:10:00"), {100, 200, 300})
        ->StartTime()
        ->setValue(basDate::dateSerial(2024, 6, 2) + basDate::timeSerial(10, 0, 0));
    addRunner(*cls, QStringLiteral("Baba"), QStringLiteral("0:11:40"), {110, 260, 330})
        ->StartTime()
        ->setValue(basDate::dateSerial(2024, 6, 2) + basDate::timeSerial(10, 2, 0));
    addRunner(*cls, QStringLiteral("Chiba"), QStringLiteral("0:11:50"), {120, 230, 360});
    // Missed the second control: slower than the three on leg 1, so the averages stay.
    if (withMissedControl)
        addRunner(*cls, QStringLiteral("Doi"), QStringLiteral("DISQ"), {130, -2, 340});
    a.run();
}

// Four legs with upper averages of 100 s each (R1 to R3 run them all in 100 s).
// Cruise speed / miss rate / half-course ratio, worked out by hand:
//   R1-R3 100 % / 0 / 100 %;  R 115 % / 10.78 % / 109.09 %;  S 100 % / 33.33 % / 50 %;
//   T 140 % / 22.39 % / 180 %.
inline void cruiseClass(Analysis& a) {
    auto cls = a.root->AddClass(QStringLiteral("A"));
    cls->setControlCount(3);
    for (const char* name : {"R1", "R2", "R3"})
        addRunner(*cls, QString::fromLatin1(name), QStringLiteral("0:06:40"), {100, 100, 100, 100});
    addRunner(*cls, QStringLiteral("R"), QStringLiteral("0:08:30"), {110, 130, 120, 150});
    addRunner(*cls, QStringLiteral("S"), QStringLiteral("0:10:00"), {200, 200, 100, 100});
    addRunner(*cls, QStringLiteral("T"), QStringLiteral("0:11:10"), {100, 190, 180, 200});
    a.run();
}

// A generated class of n runners over 12 legs, started every minute from 10:00.
inline void realisticClass(Analysis& a, int runners, unsigned seed = 7, int legs = 12) {
    lapdatagenerator::Options o;
    o.runners = runners;
    o.legs = legs;
    o.seed = seed;
    auto cls = lapdatagenerator::GenerateClass(*a.root, QStringLiteral("A"), o);
    static const char16_t* const family[] = {u"佐藤", u"鈴木", u"高橋", u"田中", u"伊藤",
                                             u"渡辺", u"山本", u"中村", u"小林", u"加藤"};
    static const char16_t* const given[] = {u"太郎", u"花子", u"健", u"美咲", u"翔", u"陽菜", u"大輔"};
    const double day = basDate::dateSerial(2024, 6, 2);
    for (int k = 1; k <= cls->LapCount(); ++k) {
        auto lap = cls->LapData(k);
        lap->setRunnerName(QString::fromUtf16(family[k % 10]) + u' ' +
                           QString::fromUtf16(given[(k * 3) % 7]));
        lap->StartTime()->setValue(day + basDate::timeSerial(10, 0, 0) + basDate::fromSeconds(60 * k));
    }
    a.run();
}

} // namespace chartfixture
