// Redrawing the lap chart of a generated class of 500 runners over 30 legs (target 30 ms): the
// series drawn by DrawChart and painted into a 1000 x 700 image, and the same through the chart
// widget as a zoom or a resize redraws it.
#include "LapDataGenerator.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsGraphicControl.h"
#include "clsQuorvelin2.h"
#include "ctlLapChart.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <memory>

namespace {

struct ChartClass {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    std::shared_ptr<clsAnalyzer> analyzer = root->NewAnalyzer();

    ChartClass() {
        lapdatagenerator::Options o;
        o.runners = 500;
        o.legs = 30;
        o.seed = 13;
        lapdatagenerator::GenerateClass(*root, QStringLiteral("Open"), o);
        analyzer->AddClass(QStringLiteral("Open"));
        analyzer->Execute();
        analyzer->ExtraAnalyze();
    }
};

const ChartClass& chartClass() {
    static const ChartClass data;
    return data;
}

void BM_LapChartRedraw500x30(benchmark::State& state) {
    const ChartClass& data = chartClass();
    clsChartObject chart;
    chart.setWidth(1000);
    chart.setHeight(700);
    QImage image(1000, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        data.root->GraphicControl()->DrawChart(data.analyzer, &chart, 0, 1, 1, 0, 0);
        QPainter painter(&image);
        clsChartRenderer::paint(painter, chart);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_LapChartRedraw500x30)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LapChartWidgetRedraw500x30(benchmark::State& state) {
    const ChartClass& data = chartClass();
    ctlLapChart widget;
    widget.setRoot(data.root);
    widget.setAnalyzer(data.analyzer);
    // The drawing area of 1000 x 700 inside the widget's tools, scroll bars and legend.
    widget.show();
    widget.resize(1000, 700);
    QCoreApplication::processEvents();
    widget.resize(1000 + (1000 - widget.canvas()->width()), 700 + (700 - widget.canvas()->height()));
    QCoreApplication::processEvents();
    QImage image(widget.canvas()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        widget.setZoom(1, 1);
        widget.canvas()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = widget.canvas()->width();
    state.counters["height"] = widget.canvas()->height();
}
BENCHMARK(BM_LapChartWidgetRedraw500x30)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
