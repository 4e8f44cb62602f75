#include "ChartFixture.h"
#include "basChartSeries.h"
#include "basConstants.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsGraphicControl.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;
using chartfixture::Analysis;

namespace {

// Pixels of exactly one colour: a runner's line or point.
int countColor(const QImage& source, QRgb color) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += (line[x] & 0xffffff) == (color & 0xffffff);
    }
    return n;
}

// Pixels clearly of one primary colour (antialiased edges included): 0 red, 1 green, 2 blue.
int countTinted(const QImage& image, int channel) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int v[] = {c.red(), c.green(), c.blue()};
            n += v[channel] > 150 && v[(channel + 1) % 3] < 110 && v[(channel + 2) % 3] < 110;
        }
    return n;
}

// Pixels that are neither white nor grey: the coloured ink of the image.
int countColoured(const QImage& image, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 40;
        }
    return n;
}

QString chartFolder() {
    const QString folder = QStringLiteral(BREVANTO_BINARY_DIR "/charts");
    QDir().mkpath(folder);
    return folder;
}

TEST(ChartRenderer, JapaneseTextHasANotoCjkFont) {
    bool found = false;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese))
        found = found || family.startsWith(u"Noto Sans CJK"_s);
    EXPECT_TRUE(found) << "fonts-noto-cjk is needed for Japanese labels";
}

// Every mode of a realistic class, written into the build folder to be looked at.
TEST(ChartRenderer, EveryModeOfARealisticClassAsPng) {
    Analysis a;
    chartfixture::realisticClass(a, 24);
    for (qint32 mode = 0; mode < basChartSeries::ModeCount; ++mode) {
        SCOPED_TRACE(mode);
        clsChartObject chart;
        chart.setWidth(800);
        chart.setHeight(600);
        const double ratio = basChartSeries::FitRatioX(*a.analyzer, mode, chart.Width());
        a.root->GraphicControl()->DrawChart(a.analyzer, &chart, mode, ratio, 1, 0, 0);
        const QString path = chartFolder() + u"/chart_mode_%1.png"_s.arg(mode);
        ASSERT_TRUE(clsChartRenderer::savePng(chart, path));
        QImage image(path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(800, 600));
        // Some runner of the chart is visible in its own colour.
        ASSERT_FALSE(chart.description().runners.empty());
        int inked = 0;
        for (const auto& s : chart.description().runners)
            inked += countColor(image, clsChartRenderer::color(chart.runnerSetting(s.index).color).rgb());
        EXPECT_GT(inked, 100);
    }
}

TEST(ChartRenderer, ManyRunnersStayReadable) {
    Analysis a;
    chartfixture::realisticClass(a, 500);
    for (qint32 mode : {QV_CHART_NORMAL, QV_CHART_CRUISE_MISSRATE}) {
        clsChartObject chart;
        a.root->GraphicControl()->DrawChart(a.analyzer, &chart, mode,
                                            basChartSeries::FitRatioX(*a.analyzer, mode, 800), 1, 0, 0);
        EXPECT_TRUE(clsChartRenderer::savePng(chart, chartFolder() + u"/chart_500_mode_%1.png"_s.arg(mode)));
    }
}

TEST(ChartRenderer, RunnerColourAndWidthAsSet) {
    Analysis a;
    chartfixture::smallClass(a);
    clsChartObject chart;
    chart.setWidth(400);
    chart.setHeight(300);
    a.root->GraphicControl()->DrawChart(a.analyzer, &chart, QV_CHART_NORMAL, 2, 1, 0, 0);
    const qint32 red = 0x0000ff, green = 0x00ff00, blue = 0xff0000; // 0x00BBGGRR
    chart.SetRunnerSetting(1, red, 1, 0);
    chart.SetRunnerSetting(2, green, 1, 0);
    chart.SetRunnerSetting(3, blue, 1, 0);
    const QImage thin = clsChartRenderer::render(chart);
    EXPECT_EQ(thin.size(), QSize(400, 300));
    const int redThin = countTinted(thin, 0);
    EXPECT_GT(redThin, 100);
    EXPECT_GT(countTinted(thin, 1), 100);
    EXPECT_GT(countTinted(thin, 2), 100);

    chart.SetRunnerSetting(1, red, 5, 0);
    const QImage wide = clsChartRenderer::render(chart);
    EXPECT_GT(countTinted(wide, 0), 3 * redThin);

    // A background line of its own colour and width under the runner's line.
    chart.SetRunnerSetting2(2, 0x00ffff, 3);
    EXPECT_GT(countColor(clsChartRenderer::render(chart), qRgb(255, 255, 0)), 50);
}

TEST(ChartRenderer, PointsAreLargeEnoughToSee) {
    Analysis a;
    chartfixture::cruiseClass(a);
    clsChartObject chart;
    a.root->GraphicControl()->DrawChart(a.analyzer, &chart, QV_CHART_CRUISE_MISSRATE, 1, 1, 0, 0);
    for (qint32 i = 1; i <= 6; ++i)
        chart.SetRunnerSetting(i, 0x0000ff, 1, 0);
    const QImage image = clsChartRenderer::render(chart);
    // Three points of at least a 7-pixel disc each.
    EXPECT_GE(countColor(image, qRgb(255, 0, 0)), 3 * 30);
}

TEST(ChartRenderer, EdgeChartsRenderWithoutError) {
    Analysis none;
    auto cls = none.root->AddClass(u"A"_s);
    cls->setControlCount(1);
    chartfixture::addRunner(*cls, u"X"_s, u"0:05:00"_s, {100, 200});
    none.run();
    for (qint32 mode = 0; mode < basChartSeries::ModeCount; ++mode) {
        clsChartObject chart;
        chart.setWidth(120);
        chart.setHeight(90);
        none.root->GraphicControl()->DrawChart(none.analyzer, &chart, mode, 1, 1, 0, 0);
        const QImage image = clsChartRenderer::render(chart);
        EXPECT_EQ(image.size(), QSize(120, 90)) << mode;
    }
    // A chart object never drawn, and one of no size, still make an image.
    clsChartObject blank;
    EXPECT_FALSE(clsChartRenderer::render(blank).isNull());
    blank.setWidth(0);
    blank.setHeight(-5);
    EXPECT_EQ(clsChartRenderer::render(blank).size(), QSize(1, 1));
}

TEST(ChartRenderer, SavePngFailsWhereNoFileCanBeWritten) {
    Analysis a;
    chartfixture::smallClass(a);
    clsChartObject chart;
    a.root->GraphicControl()->DrawChart(a.analyzer, &chart, QV_CHART_NORMAL, 1, 1, 0, 0);
    QTemporaryDir dir;
    EXPECT_FALSE(clsChartRenderer::savePng(chart, dir.filePath(u"missing/folder/chart.png"_s)));
    const QString path = dir.filePath(u"chart.png"_s);
    ASSERT_TRUE(clsChartRenderer::savePng(chart, path));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    EXPECT_GT(countColoured(QImage(path), QRect(0, 0, 800, 600)), 100);
}

} // namespace
