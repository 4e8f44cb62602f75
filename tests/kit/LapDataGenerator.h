#pragma once

// Realistic classes for benchmarks and tests: leg times around per-leg reference times scaled by
// each runner's ability, small day-to-day noise, mistakes on some legs, now and then a skipped
// control (a leg time of -1, covered by the next leg), missing punches (-2, result DISQ),
// runners who gave up (DNF) and published ranks for about half of the classes.

#include "basDate.h"
#include "clsQuorvelin2.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <random>

namespace lapdatagenerator {

struct Options {
    int runners = 200;
    int legs = 30;
    unsigned seed = 1;
    double mistakeRate = 0.12;  // per leg
    double skipRate = 0.01;     // per leg but the last
    double missingRate = 0.03;  // per runner: one control not punched
    double giveUpRate = 0.02;   // per runner: DNF after some leg
    bool publishedRanks = true; // finishers carry their rank text
};

inline std::shared_ptr<clsClassData> GenerateClass(clsQuorvelin2& root, const QString& name,
                                                   const Options& o) {
    std::mt19937 rng(o.seed);
    std::uniform_real_distribution<double> unit(0, 1);
    std::normal_distribution<double> noise(0, 0.05);
    std::lognormal_distribution<double> ability(0.25, 0.18);

    auto cls = root.AddClass(name);
    cls->setControlCount(o.legs - 1);
    std::vector<double> reference(static_cast<size_t>(o.legs));
    for (double& r : reference)
        r = 60 + unit(rng) * 480;

    for (int k = 0; k < o.runners; ++k) {
        auto lap = cls->AddLap();
        lap->setRunnerName(QStringLiteral("Runner %1").arg(k + 1));
        lap->setClubName(QStringLiteral("Club %1").arg(k % 37));
        lap->setID(k + 1);
        lap->setEcard(100000 + k);
        lap->setSex(k % 3 == 0 ? QStringLiteral("W") : QStringLiteral("M"));
        const double a = ability(rng);
        const int missing = unit(rng) < o.missingRate ? static_cast<int>(unit(rng) * o.legs) + 1 : 0;
        const int gaveUp = unit(rng) < o.giveUpRate ? static_cast<int>(unit(rng) * o.legs) + 1 : 0;
        qint64 total = 0;
        for (int i = 1; i <= o.legs; ++i) {
            double value;
            if (gaveUp && i >= gaveUp) {
                value = 0;
            } else if (i == missing) {
                value = -2;
            } else if (i < o.legs && unit(rng) < o.skipRate) {
                value = -1;
            } else {
                double s = reference[static_cast<size_t>(i - 1)] * a * (1 + noise(rng));
                if (unit(rng) < o.mistakeRate)
                    s += reference[static_cast<size_t>(i - 1)] * (0.2 + 1.8 * unit(rng) * unit(rng));
                // A skipped control's time is carried by this leg.
                for (int j = i - 1; j >= 1 && lap->LapValue(j) == -1; --j)
                    s += reference[static_cast<size_t>(j - 1)] * a;
                const qint64 whole = std::max<qint64>(1, std::llround(s));
                total += whole;
                value = basDate::fromSeconds(whole);
            }
            lap->Lap(i)->setValue(value);
        }
        if (gaveUp)
            lap->setResult(QStringLiteral("DNF"));
        else if (missing)
            lap->setResult(QStringLiteral("DISQ"));
        else
            lap->setResult(basDate::format(basDate::fromSeconds(total), basDate::Form::HNnSs));
    }
    if (o.publishedRanks) {
        cls->SortLap();
        for (int k = 1; k <= cls->LapCount(); ++k) {
            const auto lap = cls->LapData(k);
            if (basDate::isDate(lap->Result()))
                lap->setRank(QString::number(k));
        }
    }
    return cls;
}

} // namespace lapdatagenerator
