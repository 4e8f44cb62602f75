#include "ChartFixture.h"
#include "ProjectError.h"
#include "basAutomation.h"
#include "basChartSeries.h"
#include "basConstants.h"
#include "clsChartObject.h"
#include "clsGraphicControl.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;
using chartfixture::Analysis;
using Description = clsChartObject::Description;
using LabelEdge = clsChartObject::LabelEdge;
using LineKind = clsChartObject::LineKind;

namespace {

constexpr double Eps = 1e-6;

// A chart of 800 x 670 units: with the small class's course of 670 s one second is one unit
// upwards.
std::unique_ptr<clsChartObject> draw(const Analysis& a, qint32 mode, double ratioX = 1, double ratioY = 1,
                                     double positionX = 0, double positionY = 0, int width = 800,
                                     int height = 670) {
    auto chart = std::make_unique<clsChartObject>();
    chart->setWidth(width);
    chart->setHeight(height);
    a.root->GraphicControl()->DrawChart(a.analyzer, chart.get(), mode, ratioX, ratioY, positionX, positionY);
    return chart;
}

std::vector<double> verticalLines(const Description& d, LineKind kind) {
    std::vector<double> xs;
    for (const auto& g : d.grid)
        if (g.line.x1() == g.line.x2() && g.kind == kind)
            xs.push_back(g.line.x1());
    return xs;
}

std::vector<double> horizontalLines(const Description& d) {
    std::vector<double> ys;
    for (const auto& g : d.grid)
        if (g.line.y1() == g.line.y2())
            ys.push_back(g.line.y1());
    return ys;
}

QStringList labels(const Description& d, LabelEdge edge) {
    QStringList texts;
    for (const auto& l : d.labels)
        if (l.edge == edge)
            texts << u"%1@%2"_s.arg(l.text).arg(std::round(l.position * 100) / 100);
    return texts;
}

const clsChartObject::Series* runner(const Description& d, qint32 index) {
    for (const auto& s : d.runners)
        if (s.index == index)
            return &s;
    return nullptr;
}

std::vector<QPointF> points(const Description& d, qint32 index) {
    const auto* s = runner(d, index);
    return s ? s->points : std::vector<QPointF>{};
}

void expectPoints(const std::vector<QPointF>& actual, std::initializer_list<QPointF> expected,
                  double tolerance = Eps) {
    ASSERT_EQ(actual.size(), expected.size());
    size_t k = 0;
    for (const QPointF& e : expected) {
        EXPECT_NEAR(actual[k].x(), e.x(), tolerance) << "point " << k;
        EXPECT_NEAR(actual[k].y(), e.y(), tolerance) << "point " << k;
        ++k;
    }
}

TEST(ChartSeries, CoursePositionsAreTheSummedUpperAverages) {
    Analysis a;
    chartfixture::smallClass(a);
    for (qint32 mode : {0, 1, 2, 3, 4}) {
        const auto chart = draw(a, mode);
        EXPECT_EQ(chart->description().positions, (std::vector<double>{0, 110, 340, 670})) << mode;
        // One second per unit upwards; the course fills the height.
        EXPECT_DOUBLE_EQ(chart->description().vertical.scale, 1.0) << mode;
        EXPECT_EQ(horizontalLines(chart->description()), (std::vector<double>{0, 110, 340, 670})) << mode;
        EXPECT_EQ(labels(chart->description(), LabelEdge::Left),
                  QStringList({u"S@0"_s, u"1@110"_s, u"2@340"_s, u"F@670"_s}));
    }
}

TEST(ChartSeries, TimeChartRangesScalesAndRunnerLines) {
    Analysis a;
    chartfixture::smallClass(a);
    struct Case {
        qint32 mode;
        double lo, hi, origin, content;
        std::initializer_list<QPointF> aoki; // runner 1
    } cases[] = {
        // 0..710 s, 120 s margins: content (710 + 240) * 0.2, value 0 at 120 * 0.2.
        {QV_CHART_NORMAL, 0, 710, 24, 190, {{24, 0}, {44, 110}, {84, 340}, {144, 670}}},
        // From the first start 10:00:00 to Baba's finish 10:13:40.
        {QV_CHART_REALTIME, 36000, 36820, 24 - 7200, 212, {{24, 0}, {44, 110}, {84, 340}, {144, 670}}},
        // Behind the upper averages: Aoki -10 -40 -70, Baba 0 30 30, Chiba 10 10 40.
        {QV_CHART_RELATIVE, -70, 40, 38, 70, {{38, 0}, {36, 110}, {30, 340}, {24, 670}}},
        // Behind 130 %: Aoki -43 -142 -271; the slowest Chiba -23 -92 -161; 0 stays in.
        {QV_CHART_RELATIVE_130, -271, 0, 78.2, 102.2, {{78.2, 0}, {69.6, 110}, {49.8, 340}, {24, 670}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const auto chart = draw(a, c.mode);
        const Description& d = chart->description();
        EXPECT_NEAR(d.horizontal.lo, c.lo, Eps);
        EXPECT_NEAR(d.horizontal.hi, c.hi, Eps);
        EXPECT_NEAR(d.horizontal.start, c.lo - 120, Eps);
        EXPECT_DOUBLE_EQ(d.horizontal.scale, 0.2);
        EXPECT_NEAR(d.horizontal.origin, c.origin, Eps);
        EXPECT_NEAR(d.horizontal.content, c.content, Eps);
        expectPoints(points(d, 1), c.aoki);
    }
}

TEST(ChartSeries, TimeGridEveryMinuteLabelledEveryTenMinutes) {
    Analysis a;
    chartfixture::smallClass(a);
    struct Case {
        qint32 mode;
        double firstValue, lastValue; // seconds
        QStringList bottomLabels;
    } cases[] = {
        // (0 div 60) * 60 - 120 to (710 div 60 + 1) * 60.
        {QV_CHART_NORMAL, -120, 720, {u"0:00@24"_s, u"0:10@144"_s}},
        {QV_CHART_REALTIME, 35880, 36840, {u"10:00@24"_s, u"10:10@144"_s}},
        // -70 div 60 is -1 (toward zero): from -180; the 0 line is there though all lie left.
        {QV_CHART_RELATIVE, -180, 60, {u"0:00@38"_s}},
        // -271 div 60 is -4: from -360 (not -420), to 60.
        {QV_CHART_RELATIVE_130, -360, 60, {u"0:00@78.2"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const auto chart = draw(a, c.mode);
        const Description& d = chart->description();
        std::vector<double> all = verticalLines(d, LineKind::Minor);
        for (LineKind k : {LineKind::Major, LineKind::Zero})
            for (double x : verticalLines(d, k))
                all.push_back(x);
        std::sort(all.begin(), all.end());
        ASSERT_EQ(all.size(), static_cast<size_t>((c.lastValue - c.firstValue) / 60 + 1));
        EXPECT_NEAR(all.front(), d.horizontal.coordinate(c.firstValue), Eps);
        EXPECT_NEAR(all.back(), d.horizontal.coordinate(c.lastValue), Eps);
        EXPECT_NEAR(all[1] - all[0], 12, Eps);
        EXPECT_EQ(labels(d, LabelEdge::Bottom), c.bottomLabels);
        // Vertical lines span the course from S to F.
        for (const auto& g : d.grid)
            if (g.line.x1() == g.line.x2()) {
                EXPECT_DOUBLE_EQ(g.line.y1(), 0);
                EXPECT_DOUBLE_EQ(g.line.y2(), 670);
            }
    }
    // The relative charts mark the reference line.
    EXPECT_EQ(verticalLines(draw(a, QV_CHART_RELATIVE)->description(), LineKind::Zero),
              std::vector<double>{38});
    // Horizontal lines run from the content's start; short content goes on to the right edge.
    const auto normal = draw(a, QV_CHART_NORMAL);
    for (const auto& g : normal->description().grid)
        if (g.line.y1() == g.line.y2()) {
            EXPECT_DOUBLE_EQ(g.line.x1(), 0);
            EXPECT_DOUBLE_EQ(g.line.x2(), 800);
        }
}

TEST(ChartSeries, RunnerWhoMissedAControlIsDrawnToThePreviousOne) {
    Analysis a;
    chartfixture::smallClass(a, true);
    ASSERT_EQ(a.analyzer->Item(4)->RunnerName(), u"Doi"_s);
    for (qint32 mode : {0, 2, 3, 4}) {
        const auto chart = draw(a, mode);
        const auto& d = chart->description();
        const auto doi = points(d, 4);
        ASSERT_EQ(doi.size(), 2u) << mode; // start and control 1
        EXPECT_DOUBLE_EQ(doi[1].y(), 110);
        EXPECT_EQ(points(d, 1).size(), 4u);
    }
    // Doi's split after the gap (130 + 340) still widens the relative range: 470 - 670.
    EXPECT_NEAR(draw(a, QV_CHART_RELATIVE)->description().horizontal.lo, -200, Eps);
}

TEST(ChartSeries, RealTimeChartDrawsOnlyRunnersWithAStartTime) {
    Analysis a;
    chartfixture::smallClass(a);
    const auto chart = draw(a, QV_CHART_REALTIME);
    ASSERT_EQ(chart->description().runners.size(), 2u);
    EXPECT_EQ(runner(chart->description(), 3), nullptr);
    // Baba starts two minutes after Aoki: 24 units further right.
    EXPECT_NEAR(points(chart->description(), 2).front().x(), 48, Eps);

    Analysis none;
    auto cls = none.root->AddClass(u"A"_s);
    cls->setControlCount(1);
    chartfixture::addRunner(*cls, u"X"_s, u"0:05:00"_s, {100, 200});
    none.run();
    const auto empty = draw(none, QV_CHART_REALTIME);
    EXPECT_TRUE(empty->description().runners.empty());
    EXPECT_EQ(empty->description().horizontal.lo, 0);
    EXPECT_EQ(empty->description().horizontal.hi, 0);
    EXPECT_NEAR(empty->description().horizontal.content, 240 * 0.2, Eps);
}

TEST(ChartSeries, CruiseMissRateChart) {
    Analysis a;
    chartfixture::cruiseClass(a);
    ASSERT_NEAR(a.analyzer->Item(4)->CruiseSpeed().Value(), 1.15, 1e-6); // R, the single-precision trap
    const auto chart = draw(a, QV_CHART_CRUISE_MISSRATE, 1, 1, 0, 0, 800, 340);
    const Description& d = chart->description();
    // Cruise 100 % to 140 %: 100 to 141, two percent on each side, ten units a percent.
    EXPECT_EQ(d.horizontal.lo, 100);
    EXPECT_EQ(d.horizontal.hi, 141);
    EXPECT_EQ(d.horizontal.start, 98);
    EXPECT_EQ(d.horizontal.scale, 10);
    EXPECT_EQ(d.horizontal.content, 450);
    EXPECT_EQ(d.horizontal.origin, -980);
    // Miss rate up to 33.3 %: 0 to 34, ten units a percent on 340.
    EXPECT_EQ(d.vertical.lo, 0);
    EXPECT_EQ(d.vertical.hi, 34);
    EXPECT_EQ(d.vertical.scale, 10);
    // Points of R, S and T only: the others lost nothing.
    ASSERT_EQ(d.runners.size(), 3u);
    expectPoints(points(d, 4), {{170, 107.843137}}, 1e-3);
    expectPoints(points(d, 5), {{20, 333.333333}}, 1e-3);
    expectPoints(points(d, 6), {{420, 223.880597}}, 1e-3);
    // Columns 98..143, labelled every ten; rows 0..34 labelled every two below 340 - 20.
    EXPECT_EQ(verticalLines(d, LineKind::Major), (std::vector<double>{20, 120, 220, 320, 420}));
    EXPECT_EQ(labels(d, LabelEdge::Bottom),
              QStringList({u"100@20"_s, u"110@120"_s, u"120@220"_s, u"130@320"_s, u"140@420"_s}));
    QStringList rows = labels(d, LabelEdge::Left);
    EXPECT_EQ(rows.size(), 16); // 0, 2, ..., 30; 32 lies within 20 units of the top
    EXPECT_EQ(rows.front(), u"0@0"_s);
    EXPECT_EQ(rows.back(), u"30@300"_s);
    EXPECT_EQ(horizontalLines(d).size(), 35u);
    ASSERT_EQ(d.titles.size(), 2u);
    EXPECT_EQ(d.titles[0].lines, QStringList{u"巡行速度"_s});
    EXPECT_EQ(d.titles[1].lines, QStringList{u"ミス率"_s});
}

TEST(ChartSeries, CruiseHalfRatioChart) {
    Analysis a;
    chartfixture::cruiseClass(a);
    const auto chart = draw(a, QV_CHART_CRUISE_HALFRATIO, 1, 1, 0, 0, 800, 1020);
    const Description& d = chart->description();
    EXPECT_EQ(d.horizontal.lo, 100);
    EXPECT_EQ(d.horizontal.hi, 141);
    // Ratios 50 % (S) to 180 % (T): 48 to 150 at most.
    EXPECT_EQ(d.vertical.lo, 48);
    EXPECT_EQ(d.vertical.hi, 150);
    EXPECT_EQ(d.vertical.scale, 10);
    ASSERT_EQ(d.runners.size(), 6u);
    expectPoints(points(d, 1), {{20, 520}});
    expectPoints(points(d, 4), {{170, 610.909090}}, 1e-3);
    expectPoints(points(d, 5), {{20, 20}});
    expectPoints(points(d, 6), {{420, 1320}}); // above the top: outside what is drawn
    const QStringList rows = labels(d, LabelEdge::Left);
    EXPECT_EQ(rows.front(), u"48%@0"_s);
    EXPECT_EQ(rows.back(), u"146%@980"_s); // 148 % and 150 % lie within 30 units of the top
    ASSERT_EQ(d.titles.size(), 2u);
    EXPECT_EQ(d.titles[1].lines, QStringList({u"後巡行　"_s, u"／前巡行"_s}));
}

TEST(ChartSeries, BostrimeRangeWidenedByATenth) {
    Analysis a;
    chartfixture::cruiseClass(a);
    const double xs[] = {0, -50, 100, 20, 0, 0}, ys[] = {0, 0, -100, 40, 0, 0};
    for (int i = 1; i <= 6; ++i) {
        a.analyzer->Item(i)->setBostrimeX(xs[i - 1]);
        a.analyzer->Item(i)->setBostrimeY(ys[i - 1]);
    }
    const auto chart = draw(a, QV_CHART_BOSTRIME, 1, 1, 0, 0, 900, 700);
    const Description& d = chart->description();
    // -50..100 widened by 15: -65..115, 900 units over 180; the axis starts 2 before.
    EXPECT_NEAR(d.horizontal.lo, -65, Eps);
    EXPECT_NEAR(d.horizontal.hi, 115, Eps);
    EXPECT_NEAR(d.horizontal.scale, 5, Eps);
    EXPECT_NEAR(d.horizontal.content, 900, Eps);
    EXPECT_NEAR(d.horizontal.origin, 335, Eps);
    // -100..40 widened by 14: -114..54, 700 units over 168.
    EXPECT_NEAR(d.vertical.lo, -114, Eps);
    EXPECT_NEAR(d.vertical.hi, 54, Eps);
    EXPECT_NEAR(d.vertical.scale, 700.0 / 168, Eps);
    expectPoints(points(d, 3), {{835, 14 * 700.0 / 168}});
    // Lines every 2 from -64 to 114; labels every 10; the zero lines black.
    const auto zero = verticalLines(d, LineKind::Zero);
    EXPECT_EQ(zero, std::vector<double>{335});
    EXPECT_EQ(verticalLines(d, LineKind::Minor).size() + verticalLines(d, LineKind::Major).size() + 1, 90u);
    const QStringList columns = labels(d, LabelEdge::Bottom);
    EXPECT_EQ(columns.size(), 18);
    EXPECT_EQ(columns.front(), u"-60@35"_s);
    EXPECT_TRUE(columns.contains(u"0@335"_s));

    for (int i = 1; i <= 6; ++i) {
        a.analyzer->Item(i)->setBostrimeX(0);
        a.analyzer->Item(i)->setBostrimeY(0);
    }
    const auto flat = draw(a, QV_CHART_BOSTRIME);
    EXPECT_EQ(flat->description().horizontal.lo, -100);
    EXPECT_EQ(flat->description().horizontal.hi, 100);
    EXPECT_EQ(flat->description().vertical.lo, -100);
    EXPECT_EQ(flat->description().vertical.hi, 100);
    EXPECT_EQ(flat->description().runners.size(), 6u);
}

TEST(ChartSeries, BostrimePointsOnlyForRunnersWithATime) {
    Analysis a;
    chartfixture::smallClass(a, true);
    const auto chart = draw(a, QV_CHART_BOSTRIME);
    EXPECT_EQ(chart->description().runners.size(), 3u);
    EXPECT_EQ(runner(chart->description(), 4), nullptr); // Doi, DISQ
    // A coordinate that is no number is left out, of the range too.
    a.analyzer->Item(1)->setBostrimeX(std::nan(""));
    a.analyzer->Item(2)->setBostrimeX(50);
    const auto odd = draw(a, QV_CHART_BOSTRIME);
    EXPECT_EQ(runner(odd->description(), 1), nullptr);
    EXPECT_NEAR(odd->description().horizontal.hi, 55, Eps);
}

TEST(ChartSeries, ZoomAndScrollClamps) {
    Analysis a;
    chartfixture::smallClass(a);
    struct Case {
        double ratioX, ratioY, positionX, positionY;
        double keptRatioX, keptRatioY, keptPositionX, keptPositionY;
        double scaleX, originX, originY;
    } cases[] = {
        // Too small a zoom becomes 0.5 and 1; positions outside 0..1 are clamped.
        {0.1, 0.2, -3, -1, 0.5, 1, 0, 0, 0.1, 12, 0},
        // Content 950 * 0.8 = 760 fits 800 wide: the horizontal position counts as 0.
        {4, 2, 0.5, 1, 4, 2, 0, 1, 0.8, 96, -670},
        // Content 950 * 1.6 = 1520: scrolled by (800 - 1520) * 0.25; offset 670 * 2 * 0.5.
        {8, 3, 0.25, 0.5, 8, 3, 0.25, 0.5, 1.6, 192 - 180, -670},
        {8, 3, 7, 9, 8, 3, 1, 1, 1.6, 192 - 720, -1340},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ratioX);
        const auto chart = draw(a, QV_CHART_NORMAL, c.ratioX, c.ratioY, c.positionX, c.positionY);
        EXPECT_EQ(chart->RatioX(), c.keptRatioX);
        EXPECT_EQ(chart->RatioY(), c.keptRatioY);
        EXPECT_EQ(chart->PositionX(), c.keptPositionX);
        EXPECT_EQ(chart->PositionY(), c.keptPositionY);
        EXPECT_EQ(chart->ChartMode(), QV_CHART_NORMAL);
        const Description& d = chart->description();
        EXPECT_NEAR(d.horizontal.scale, c.scaleX, Eps);
        EXPECT_NEAR(d.horizontal.origin, c.originX, Eps);
        EXPECT_NEAR(d.vertical.origin, c.originY, Eps);
        EXPECT_NEAR(d.vertical.scale, c.keptRatioY, Eps);
        // Control 1 of Aoki at 110 s upwards.
        EXPECT_NEAR(points(d, 1)[1].y(), 110 * c.keptRatioY + c.originY, Eps);
    }
}

TEST(ChartSeries, OutOfRangeValuesDrawWithoutError) {
    // Cruise speed 400 % and a miss rate of 66.7 % beyond the drawn ranges.
    Analysis a;
    auto cls = a.root->AddClass(u"A"_s);
    cls->setControlCount(3);
    for (const char* name : {"R1", "R2", "R3"})
        chartfixture::addRunner(*cls, QString::fromLatin1(name), u"0:06:40"_s, {100, 100, 100, 100});
    chartfixture::addRunner(*cls, u"Slow"_s, u"0:26:40"_s, {400, 400, 400, 400});
    chartfixture::addRunner(*cls, u"Lost"_s, u"0:20:00"_s, {100, 100, 100, 900});
    a.run();
    const auto missRate = draw(a, QV_CHART_CRUISE_MISSRATE);
    EXPECT_EQ(missRate->description().horizontal.hi, 300);
    EXPECT_EQ(missRate->description().vertical.hi, 50);
    ASSERT_EQ(a.analyzer->Item(5)->RunnerName(), u"Slow"_s);
    const auto lost = points(missRate->description(), 4);
    const auto slow = points(missRate->description(), 5);
    // Slow lost nothing (no point); Lost lies above the top.
    EXPECT_TRUE(slow.empty());
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_GT(lost[0].y(), 670);
    const auto halfRatio = draw(a, QV_CHART_CRUISE_HALFRATIO);
    ASSERT_EQ(points(halfRatio->description(), 5).size(), 1u);
    EXPECT_GT(points(halfRatio->description(), 5)[0].x(),
              halfRatio->description().horizontal.coordinate(300));

    // One runner alone, in every mode; no Bostrime map (fewer than five).
    Analysis one;
    auto single = one.root->AddClass(u"A"_s);
    single->setControlCount(1);
    chartfixture::addRunner(*single, u"X"_s, u"0:05:00"_s, {100, 200});
    one.run();
    for (qint32 mode = 0; mode < basChartSeries::ModeCount; ++mode) {
        const auto chart = draw(one, mode);
        const Description& d = chart->description();
        EXPECT_TRUE(std::isfinite(d.horizontal.origin) && std::isfinite(d.vertical.origin)) << mode;
        EXPECT_LE(d.runners.size(), 1u) << mode;
        for (const auto& s : d.runners)
            for (const QPointF& p : s.points)
                EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y())) << mode;
    }
    EXPECT_EQ(draw(one, QV_CHART_NORMAL)->description().runners.size(), 1u);
    EXPECT_EQ(draw(one, QV_CHART_BOSTRIME)->description().vertical.lo, -100);
}

TEST(ChartSeries, UnknownModeDrawsNothingMissingObjectsRaise) {
    Analysis a;
    chartfixture::smallClass(a);
    const auto chart = draw(a, 8);
    EXPECT_TRUE(chart->description().runners.empty());
    EXPECT_TRUE(chart->description().grid.empty());
    EXPECT_EQ(chart->ChartMode(), 8);
    clsChartObject untouched;
    EXPECT_THROW(a.root->GraphicControl()->DrawChart(nullptr, &untouched, 0), ProjectError);
    EXPECT_THROW(a.root->GraphicControl()->DrawChart(a.analyzer, nullptr, 0), ProjectError);
    EXPECT_EQ(untouched.description().mode, -1);
}

TEST(ChartSeries, FitRatioPutsTheWholeContentIntoTheWidth) {
    Analysis a;
    chartfixture::smallClass(a);
    // Content 950 s at 0.2: 190 units; 380 wide needs 2.
    EXPECT_DOUBLE_EQ(basChartSeries::FitRatioX(*a.analyzer, QV_CHART_NORMAL, 380), 2);
    // Never below the smallest zoom.
    EXPECT_DOUBLE_EQ(basChartSeries::FitRatioX(*a.analyzer, QV_CHART_NORMAL, 50), 0.5);
    EXPECT_DOUBLE_EQ(basChartSeries::FitRatioX(*a.analyzer, QV_CHART_BOSTRIME, 600), 1);
}

TEST(ChartSeries, SignedSecondsDropWholeDays) {
    struct Case {
        double value;
        qint64 seconds;
    } cases[] = {
        {basDate::fromSeconds(710), 710},
        {-basDate::fromSeconds(710), -710},
        {basDate::dateSerial(2024, 6, 2) + basDate::timeSerial(10, 0, 1), 36001},
        {2 + basDate::fromSeconds(5), 5},
        {0, 0},
        {std::nan(""), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(basChartSeries::SignedSeconds(c.value), c.seconds) << c.value;
}

TEST(ChartObject, MembersInSlotOrderAndReachableByName) {
    EXPECT_EQ(basAutomation::MemberNames(clsChartObject::staticMetaObject),
              QStringList({u"Width"_s, u"Height"_s, u"SetRunnerSetting"_s, u"SetRunnerSetting2"_s,
                           u"MousePointRunnerIndex"_s, u"ChartMode"_s, u"RatioX"_s, u"RatioY"_s,
                           u"PositionX"_s, u"PositionY"_s}));
    EXPECT_EQ(basAutomation::MemberNames(clsGraphicControl::staticMetaObject),
              QStringList({u"DrawChart"_s, u"DrawGrid"_s}));
    Analysis a;
    chartfixture::smallClass(a);
    clsChartObject chart;
    const QVariant object = QVariant::fromValue(static_cast<QObject*>(&chart));
    basAutomation::Let(object, u"Width", 400);
    basAutomation::Let(object, u"Height", 335);
    basAutomation::Call(QVariant::fromValue(static_cast<QObject*>(a.root->GraphicControl())), u"DrawChart",
                        {QVariant::fromValue(a.analyzer), object, 2, 2.0});
    EXPECT_EQ(basAutomation::Get(object, u"ChartMode").toInt(), 2);
    EXPECT_EQ(basAutomation::Get(object, u"RatioX").toDouble(), 2.0);
    EXPECT_EQ(chart.description().runners.size(), 3u);
}

TEST(ChartObject, RunnerSettingsKeepWhatTheyAreGiven) {
    clsChartObject chart;
    chart.SetRunnerSetting(2, 0x0000ff, 3, 1);
    chart.SetRunnerSetting2(2, 0xffffff, 2);
    chart.SetRunnerSetting2(3, 0x00ff00, 4);
    const auto two = chart.runnerSetting(2), three = chart.runnerSetting(3), one = chart.runnerSetting(1);
    EXPECT_EQ(two.color, 0x0000ff);
    EXPECT_EQ(two.lineWidth, 3);
    EXPECT_EQ(two.flag, 1);
    EXPECT_EQ(two.backColor, 0xffffff);
    EXPECT_EQ(two.backWidth, 2);
    // A background set alone keeps the runner's own colour from the palette.
    EXPECT_EQ(three.color, clsChartObject::defaultColor(3));
    EXPECT_EQ(three.backWidth, 4);
    EXPECT_EQ(one.color, clsChartObject::defaultColor(1));
    EXPECT_EQ(one.backWidth, 0);
    EXPECT_NE(clsChartObject::defaultColor(1), clsChartObject::defaultColor(2));
}

TEST(ChartObject, MousePointFindsTheRunnerUnderIt) {
    Analysis a;
    chartfixture::smallClass(a);
    const auto chart = draw(a, QV_CHART_NORMAL, 4); // 0.8 units a second
    const auto& d = chart->description();
    // Halfway along Aoki's last leg, and Chiba's finish, in image pixels.
    const QPointF aoki = chart->toImage((points(d, 1)[2] + points(d, 1)[3]) / 2);
    const QPointF chibaEnd = chart->toImage(points(d, 3)[3]);
    struct Case {
        QPointF at;
        qint32 index;
    } cases[] = {
        {aoki, 1},
        {aoki + QPointF(2.5, 0), 1},
        {chibaEnd, 3},
        {aoki + QPointF(0, -40), 0},
        {QPointF(-50, -50), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chart->MousePointRunnerIndex(c.at.x(), c.at.y()), c.index) << c.at.x() << "," << c.at.y();
    // Image and chart coordinates convert both ways.
    const QPointF back = chart->toChart(chart->toImage(QPointF(123, 45)));
    EXPECT_NEAR(back.x(), 123, Eps);
    EXPECT_NEAR(back.y(), 45, Eps);

    Analysis c;
    chartfixture::cruiseClass(c);
    const auto cruise = draw(c, QV_CHART_CRUISE_MISSRATE, 1, 1, 0, 0, 800, 340);
    const QPointF t = cruise->toImage(points(cruise->description(), 6)[0]);
    EXPECT_EQ(cruise->MousePointRunnerIndex(t.x() + 4, t.y() - 4), 6);
    EXPECT_EQ(cruise->MousePointRunnerIndex(t.x() + 20, t.y()), 0);
    // R1 to R3 lie on one spot (all at 100 %, no misses) in the half-course chart: the last is
    // on top, unless an earlier one stands out.
    const auto half = draw(c, QV_CHART_CRUISE_HALFRATIO);
    const QPointF same = half->toImage(points(half->description(), 1)[0]);
    EXPECT_EQ(half->MousePointRunnerIndex(same.x(), same.y()), 3);
    half->SetRunnerSetting(2, 0, 1, 1);
    EXPECT_EQ(half->MousePointRunnerIndex(same.x(), same.y()), 2);
}

} // namespace
