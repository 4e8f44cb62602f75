#pragma once

// Output benchmarks share one generated data set: a class of n runners over 30 legs, executed,
// as the analysis benchmark generates it.

#include "LapDataGenerator.h"
#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

#include <memory>

namespace benchoutputs {

struct DataSet {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    std::shared_ptr<clsAnalyzer> analyzer = root->NewAnalyzer();
    std::shared_ptr<clsResultsHolder> results = root->NewResultsHolder();

    explicit DataSet(int runners) {
        lapdatagenerator::Options o;
        o.runners = runners;
        o.legs = 30;
        o.seed = static_cast<unsigned>(runners);
        lapdatagenerator::GenerateClass(*root, QStringLiteral("Open"), o);
        analyzer->AddClass(QStringLiteral("Open"));
        analyzer->Execute();
        results->AddClass(QStringLiteral("Open"));
        results->CalcRank();
    }
};

} // namespace benchoutputs
