// Charts of a generated class of 500 runners over 30 legs, started a minute apart: the series
// of every mode (DrawChart, target 5 ms) and the 800 x 600 picture of mode 0 rendered and
// packed as PNG (target 50 ms).
#include "LapDataGenerator.h"
#include "basDate.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsGraphicControl.h"
#include "clsQuorvelin2.h"

#include <benchmark/benchmark.h>

#include <QBuffer>

#include <memory>

namespace {

struct ChartData {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    std::shared_ptr<clsAnalyzer> analyzer = root->NewAnalyzer();

    explicit ChartData(int runners) {
        lapdatagenerator::Options o;
        o.runners = runners;
        o.legs = 30;
        o.seed = 500;
        auto cls = lapdatagenerator::GenerateClass(*root, QStringLiteral("Open"), o);
        const double ten = basDate::dateSerial(2024, 6, 2) + basDate::timeSerial(10, 0, 0);
        for (int k = 1; k <= cls->LapCount(); ++k)
            cls->LapData(k)->StartTime()->setValue(ten + basDate::fromSeconds(30 * k));
        analyzer->AddClass(QStringLiteral("Open"));
        analyzer->Execute();
        analyzer->ExtraAnalyze();
        analyzer->Bostrime();
    }
};

const ChartData& data500() {
    static const ChartData data(500);
    return data;
}

void BM_DrawChart(benchmark::State& state) {
    const ChartData& d = data500();
    const auto mode = static_cast<qint32>(state.range(0));
    clsChartObject chart;
    for (auto _ : state) {
        d.root->GraphicControl()->DrawChart(d.analyzer, &chart, mode, 1, 1, 0, 0);
        benchmark::DoNotOptimize(chart.description().runners.size());
    }
}

void BM_RenderChartPng(benchmark::State& state) {
    const ChartData& d = data500();
    clsChartObject chart;
    chart.setWidth(800);
    chart.setHeight(600);
    d.root->GraphicControl()->DrawChart(d.analyzer, &chart, 0, 0.5, 1, 0, 0);
    for (auto _ : state) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        clsChartRenderer::writePng(clsChartRenderer::render(chart), png);
        benchmark::DoNotOptimize(png.data().size());
    }
}

// The two halves of the PNG: painting, and packing what was painted.
void BM_RenderChart(benchmark::State& state) {
    const ChartData& d = data500();
    clsChartObject chart;
    d.root->GraphicControl()->DrawChart(d.analyzer, &chart, 0, 0.5, 1, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(clsChartRenderer::render(chart).bits());
}

void BM_PackChartPng(benchmark::State& state) {
    const ChartData& d = data500();
    clsChartObject chart;
    d.root->GraphicControl()->DrawChart(d.analyzer, &chart, 0, 0.5, 1, 0, 0);
    const QImage image = clsChartRenderer::render(chart);
    for (auto _ : state) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        clsChartRenderer::writePng(image, png);
        benchmark::DoNotOptimize(png.data().size());
    }
}

} // namespace

BENCHMARK(BM_DrawChart)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderChartPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderChart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackChartPng)->Unit(benchmark::kMillisecond);
