#include "basChartSeries.h"

#include "basConstants.h"
#include "basDate.h"
#include "basResultKey.h"
#include "basRuntime.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace basChartSeries {

namespace {

using Axis = clsChartObject::Axis;
using Description = clsChartObject::Description;
using LineKind = clsChartObject::LineKind;
using LabelEdge = clsChartObject::LabelEdge;

// Margin of the time charts on each side, and their grid steps, in seconds.
constexpr double TimeMargin = 120;
constexpr qint64 TimeGridStep = 60;
constexpr qint64 TimeMajorStep = 600;
// Scale of the time charts (chart units per second) and of the cruise charts (per percent).
constexpr double TimeScale = 0.2;
constexpr double PercentScale = 10;
constexpr double CruiseHighest = 300;
constexpr double MissRateHighest = 50;
constexpr double RatioHighest = 150;
// Labels of horizontal lines keep away from the top edge, where the title stands.
constexpr double MissRateLabelGap = 20;
constexpr double RatioLabelGap = 30;
// More grid lines than this on one axis come only from absurd values; they are left out.
constexpr qint64 MostGridLines = 20000;

struct Frame {
    double width = 0;
    double height = 0;
    double ratioX = 1;
    double ratioY = 1;
    double positionX = 0;
    double positionY = 0;
};

// The runtime's integer division: both sides rounded to whole numbers, the quotient truncated.
qint64 integerDivide(double value, qint64 divisor) {
    return static_cast<qint64>(basRuntime::roundHalfEven(value)) / divisor;
}

// A ratio as a percentage, computed in single precision as the values are held, so that 1.15
// reads as 115 and not 114.99999.
double percentOf(float ratio) {
    return static_cast<double>(ratio * 100.0f);
}

Axis verticalAxis(double bottom, double top, const Frame& f) {
    Axis a;
    a.lo = bottom;
    a.hi = top;
    a.start = bottom;
    const double length = top > bottom ? top - bottom : 1;
    a.scale = f.height / length * f.ratioY;
    const double offset = f.height * (f.ratioY - 1) * f.positionY;
    a.origin = -bottom * a.scale - offset;
    a.content = f.height * f.ratioY;
    return a;
}

Axis horizontalAxis(double lo, double hi, double start, double scale, double content, const Frame& f) {
    Axis a;
    a.lo = lo;
    a.hi = hi;
    a.start = start;
    a.scale = scale;
    a.content = content;
    const double position = content > f.width ? f.positionX : 0;
    a.origin = (f.width - content) * position - start * scale;
    return a;
}

class Builder {
public:
    Builder(Description& d, const Frame& f) : m_d(d), m_f(f) {}

    // A line across the content at a value of the vertical axis; when the content ends before
    // the right edge, the line goes on to that edge.
    void horizontalLine(double value, LineKind kind) {
        const double y = m_d.vertical.coordinate(value);
        const double from = m_d.horizontal.coordinate(m_d.horizontal.start);
        const double to = std::max(from + m_d.horizontal.content, m_f.width);
        m_d.grid.push_back({QLineF(from, y, to, y), kind});
    }
    void verticalLine(double value, LineKind kind) {
        const double x = m_d.horizontal.coordinate(value);
        m_d.grid.push_back(
            {QLineF(x, m_d.vertical.coordinate(m_d.vertical.lo), x, m_d.vertical.coordinate(m_d.vertical.hi)),
             kind});
    }
    void leftLabel(double value, const QString& text) {
        m_d.labels.push_back({LabelEdge::Left, m_d.vertical.coordinate(value), text});
    }
    void bottomLabel(double value, const QString& text) {
        m_d.labels.push_back({LabelEdge::Bottom, m_d.horizontal.coordinate(value), text});
    }
    void point(qint32 index, const QString& name, double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        clsChartObject::Series s;
        s.index = index;
        s.name = name;
        s.point = true;
        s.points.emplace_back(m_d.horizontal.coordinate(x), m_d.vertical.coordinate(y));
        m_d.runners.push_back(std::move(s));
    }

    // Grid lines every percent across lo..hi of the horizontal axis, stronger and labelled
    // every ten.
    void percentColumns(qint64 lo, qint64 hi) {
        if (hi - lo > MostGridLines)
            return;
        for (qint64 v = lo; v <= hi; ++v) {
            const bool major = v % 10 == 0;
            verticalLine(static_cast<double>(v), major ? LineKind::Major : LineKind::Minor);
            if (major)
                bottomLabel(static_cast<double>(v), basRuntime::formatNumber(static_cast<double>(v), u"#0"));
        }
    }
    // Rows every percent, stronger every ten, labelled every two unless near the top edge.
    void percentRows(qint64 lo, qint64 hi, double gap, const QString& suffix) {
        if (hi - lo > MostGridLines)
            return;
        for (qint64 v = lo; v <= hi; ++v) {
            const double value = static_cast<double>(v);
            horizontalLine(value, v % 10 == 0 ? LineKind::Major : LineKind::Minor);
            if (v % 2 == 0 && m_d.vertical.coordinate(value) < m_f.height - gap)
                leftLabel(value, QString(basRuntime::formatNumber(value, u"#0") + suffix));
        }
    }

private:
    Description& m_d;
    const Frame& m_f;
};

using RunnerPtr = std::shared_ptr<clsAnalyzedRunnerData>;

std::vector<RunnerPtr> selection(const clsAnalyzer& analyzer) {
    std::vector<RunnerPtr> runners;
    runners.reserve(static_cast<size_t>(std::max(analyzer.Count(), 0)));
    for (qint32 i = 1; i <= analyzer.Count(); ++i)
        runners.push_back(analyzer.Item(i));
    return runners;
}

// Legs of the data set: every leg the analysis holds.
int legCount(const clsAnalyzer& analyzer) {
    return static_cast<int>(
        std::clamp<qint64>(qint64{analyzer.ControlCount()} + 1, 0, clsAnalyzedRunnerData::TableSize - 1));
}

QString timeLabel(qint64 seconds) {
    const QString text =
        basDate::format(basDate::fromSeconds(seconds < 0 ? -seconds : seconds), basDate::Form::HNn);
    return seconds < 0 ? QString(u'-' + text) : text;
}

void timeChart(const clsAnalyzer& analyzer, const std::vector<RunnerPtr>& runners, qint32 mode,
               const Frame& f, Description& d) {
    const int n = legCount(analyzer);
    const auto general = analyzer.GeneralData();
    // Course positions: the distance between two controls is the upper average of that leg.
    d.positions.assign(static_cast<size_t>(n) + 1, 0);
    for (int k = 1; k <= n; ++k) {
        const double average = general ? general->UpperLapAverage(k).toDouble() : 0;
        d.positions[static_cast<size_t>(k)] =
            d.positions[static_cast<size_t>(k) - 1] + static_cast<double>(SignedSeconds(average));
    }
    const auto Y = [&](int k) { return d.positions[static_cast<size_t>(k)]; };
    const double factor = mode == QV_CHART_RELATIVE_110 ? 1.1 : mode == QV_CHART_RELATIVE_130 ? 1.3 : 1.0;
    const bool relative = mode >= QV_CHART_RELATIVE && mode <= QV_CHART_RELATIVE_130;

    // Horizontal range in seconds.
    double lo = 0, hi = 0;
    bool anyStart = false;
    for (const RunnerPtr& r : runners) {
        if (mode == QV_CHART_REALTIME) {
            if (r->StartTime() == 0)
                continue;
            const double start = static_cast<double>(SignedSeconds(r->StartTime()));
            double last = start;
            for (int k = 1; k <= n; ++k)
                last = std::max(last, start + static_cast<double>(SignedSeconds(r->SplitTime(k).Value())));
            lo = anyStart ? std::min(lo, start) : start;
            hi = anyStart ? std::max(hi, last) : last;
            anyStart = true;
            continue;
        }
        for (int k = 1; k <= n; ++k) {
            const double split = r->SplitTime(k).Value();
            if (relative) {
                if (split <= 0)
                    continue;
                const double behind = static_cast<double>(SignedSeconds(split)) - factor * Y(k);
                lo = std::min(lo, behind);
                hi = std::max(hi, behind);
            } else {
                hi = std::max(hi, static_cast<double>(SignedSeconds(split)));
            }
        }
    }

    const double scale = f.ratioX * TimeScale;
    d.vertical = verticalAxis(0, Y(n), f);
    d.horizontal = horizontalAxis(lo, hi, lo - TimeMargin, scale, (hi - lo + 2 * TimeMargin) * scale, f);

    Builder b(d, f);
    for (int k = 0; k <= n; ++k) {
        b.horizontalLine(Y(k), k == 0 || k == n ? LineKind::Major : LineKind::Minor);
        b.leftLabel(Y(k), k == 0 ? u"S"_s : k == n ? u"F"_s : QString::number(k));
    }
    const qint64 first = integerDivide(lo, TimeGridStep) * TimeGridStep - static_cast<qint64>(TimeMargin);
    const qint64 last = (integerDivide(hi, TimeGridStep) + 1) * TimeGridStep;
    if ((last - first) / TimeGridStep <= MostGridLines) {
        for (qint64 v = first; v <= last; v += TimeGridStep) {
            const bool major = v % TimeMajorStep == 0;
            const LineKind kind = relative && v == 0 ? LineKind::Zero
                                  : major            ? LineKind::Major
                                                     : LineKind::Minor;
            b.verticalLine(static_cast<double>(v), kind);
            if (major)
                b.bottomLabel(static_cast<double>(v), timeLabel(v));
        }
    }

    for (size_t i = 0; i < runners.size(); ++i) {
        const clsAnalyzedRunnerData& r = *runners[i];
        double start = 0;
        if (mode == QV_CHART_REALTIME) {
            if (r.StartTime() == 0)
                continue;
            start = static_cast<double>(SignedSeconds(r.StartTime()));
        }
        clsChartObject::Series s;
        s.index = static_cast<qint32>(i) + 1;
        s.name = r.RunnerName();
        s.points.reserve(static_cast<size_t>(n) + 1);
        s.points.emplace_back(d.horizontal.coordinate(start), d.vertical.coordinate(0));
        for (int k = 1; k <= n; ++k) {
            const double modified = r.ModifiedSplitTime(k).Value();
            if (modified <= 0)
                break;
            const double seconds = static_cast<double>(SignedSeconds(modified));
            const double x = mode == QV_CHART_REALTIME ? start + seconds
                             : relative                ? seconds - factor * Y(k)
                                                       : seconds;
            s.points.emplace_back(d.horizontal.coordinate(x), d.vertical.coordinate(Y(k)));
        }
        d.runners.push_back(std::move(s));
    }
}

// The horizontal axis of both cruise charts: cruise speed in percent.
void cruiseAxis(const std::vector<RunnerPtr>& runners, const Frame& f, Description& d) {
    double smallest = 100, largest = 100;
    for (const RunnerPtr& r : runners) {
        const float cruise = r->CruiseSpeed().Value();
        if (cruise == 0)
            continue;
        smallest = std::min(smallest, percentOf(cruise));
        largest = std::max(largest, percentOf(cruise));
    }
    const double lo = std::floor(smallest);
    const double hi = std::min(std::floor(largest) + 1, CruiseHighest);
    const double scale = f.ratioX * PercentScale;
    d.horizontal = horizontalAxis(lo, hi, lo - 2, scale, (hi - lo + 4) * scale, f);
}

void cruiseColumns(Builder& b, const Description& d) {
    b.percentColumns(static_cast<qint64>(d.horizontal.start), static_cast<qint64>(d.horizontal.hi) + 2);
}

void missRateChart(const std::vector<RunnerPtr>& runners, const Frame& f, Description& d) {
    cruiseAxis(runners, f, d);
    double largest = 0;
    for (const RunnerPtr& r : runners)
        largest = std::max(largest, percentOf(r->MissRate().Value()));
    const double top = std::min(std::max(std::floor(largest), 1.0) + 1, MissRateHighest);
    d.vertical = verticalAxis(0, top, f);

    Builder b(d, f);
    cruiseColumns(b, d);
    b.percentRows(0, static_cast<qint64>(top), MissRateLabelGap, QString());
    d.titles.push_back({clsChartObject::TitlePlace::Bottom, {u"巡行速度"_s}});
    d.titles.push_back({clsChartObject::TitlePlace::Top, {u"ミス率"_s}});
    for (size_t i = 0; i < runners.size(); ++i) {
        const clsAnalyzedRunnerData& r = *runners[i];
        const float cruise = r.CruiseSpeed().Value(), missRate = r.MissRate().Value();
        if (cruise != 0 && missRate != 0)
            b.point(static_cast<qint32>(i) + 1, r.RunnerName(), percentOf(cruise), percentOf(missRate));
    }
}

// Second-half over first-half cruise speed in percent, or nothing when either is missing.
bool halfRatio(const clsAnalyzedRunnerData& r, double& ratio) {
    const float first = r.FirstHalfCruiseSpeed().Value(), second = r.SecondHalfCruiseSpeed().Value();
    if (first == 0 || second == 0)
        return false;
    ratio = percentOf(second / first);
    return true;
}

void halfRatioChart(const std::vector<RunnerPtr>& runners, const Frame& f, Description& d) {
    cruiseAxis(runners, f, d);
    double smallest = 100, largest = 100, ratio = 0;
    for (const RunnerPtr& r : runners) {
        if (!halfRatio(*r, ratio))
            continue;
        smallest = std::min(smallest, ratio);
        largest = std::max(largest, ratio);
    }
    const double lo = std::floor(smallest) - 2;
    const double hi = std::min(std::floor(largest) + 2, RatioHighest);
    d.vertical = verticalAxis(lo, hi, f);

    Builder b(d, f);
    cruiseColumns(b, d);
    b.percentRows(static_cast<qint64>(lo), static_cast<qint64>(hi), RatioLabelGap, u"%"_s);
    d.titles.push_back({clsChartObject::TitlePlace::Bottom, {u"巡行速度"_s}});
    d.titles.push_back({clsChartObject::TitlePlace::Top, {u"後巡行　"_s, u"／前巡行"_s}});
    for (size_t i = 0; i < runners.size(); ++i) {
        const clsAnalyzedRunnerData& r = *runners[i];
        const float cruise = r.CruiseSpeed().Value();
        if (cruise != 0 && halfRatio(r, ratio))
            b.point(static_cast<qint32>(i) + 1, r.RunnerName(), percentOf(cruise), ratio);
    }
}

// The range of one Bostrime axis: the values and 0, widened by a tenth of its length on both
// sides; -100 to 100 when every value is 0.
std::pair<double, double> bostrimeRange(const std::vector<RunnerPtr>& runners, bool horizontal) {
    double lo = 0, hi = 0;
    for (const RunnerPtr& r : runners) {
        const double v = horizontal ? r->BostrimeX() : r->BostrimeY();
        if (!std::isfinite(v))
            continue;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    const double length = hi - lo;
    if (length == 0)
        return {-100, 100};
    return {lo - length * 0.1, hi + length * 0.1};
}

void bostrimeChart(const std::vector<RunnerPtr>& runners, const Frame& f, Description& d) {
    const auto [xlo, xhi] = bostrimeRange(runners, true);
    const auto [ylo, yhi] = bostrimeRange(runners, false);
    const double scale = f.width / (xhi - xlo) * f.ratioX;
    d.horizontal = horizontalAxis(xlo, xhi, xlo - 2, scale, (xhi - xlo) * scale, f);
    d.vertical = verticalAxis(ylo, yhi, f);

    Builder b(d, f);
    const auto lines = [&](double lo, double hi, bool columns) {
        for (qint64 v = static_cast<qint64>(std::ceil(lo / 2)) * 2; static_cast<double>(v) <= hi; v += 2) {
            const double value = static_cast<double>(v);
            const LineKind kind = v == 0 ? LineKind::Zero : v % 10 == 0 ? LineKind::Major : LineKind::Minor;
            columns ? b.verticalLine(value, kind) : b.horizontalLine(value, kind);
            if (v % 10 == 0) {
                const QString text = basRuntime::formatNumber(value, u"#0");
                columns ? b.bottomLabel(value, text) : b.leftLabel(value, text);
            }
        }
    };
    lines(xlo, xhi, true);
    lines(ylo, yhi, false);
    for (size_t i = 0; i < runners.size(); ++i) {
        const clsAnalyzedRunnerData& r = *runners[i];
        if (basResultKey::IsTimeText(r.Result()))
            b.point(static_cast<qint32>(i) + 1, r.RunnerName(), r.BostrimeX(), r.BostrimeY());
    }
}

} // namespace

qint64 SignedSeconds(double value) {
    if (!std::isfinite(value))
        return 0;
    const qint64 seconds = basDate::toSeconds(basDate::timePart(value)) % basDate::SecondsPerDay;
    return value < 0 ? -seconds : seconds;
}

void Draw(const clsAnalyzer& analyzer, clsChartObject& chart, qint32 mode, double ratioX, double ratioY,
          double positionX, double positionY) {
    const auto finite = [](double v, double fallback) { return std::isfinite(v) ? v : fallback; };
    Frame f;
    f.width = std::max(chart.Width(), 1);
    f.height = std::max(chart.Height(), 1);
    f.ratioX = std::max(finite(ratioX, 1), 0.5);
    f.ratioY = std::max(finite(ratioY, 1), 1.0);
    f.positionX = std::clamp(finite(positionX, 0), 0.0, 1.0);
    f.positionY = std::clamp(finite(positionY, 0), 0.0, 1.0);

    Description d;
    d.mode = mode;
    const std::vector<RunnerPtr> runners = selection(analyzer);
    switch (mode) {
    case QV_CHART_NORMAL:
    case QV_CHART_REALTIME:
    case QV_CHART_RELATIVE:
    case QV_CHART_RELATIVE_110:
    case QV_CHART_RELATIVE_130:
        timeChart(analyzer, runners, mode, f, d);
        break;
    case QV_CHART_CRUISE_MISSRATE:
        missRateChart(runners, f, d);
        break;
    case QV_CHART_CRUISE_HALFRATIO:
        halfRatioChart(runners, f, d);
        break;
    case QV_CHART_BOSTRIME:
        bostrimeChart(runners, f, d);
        break;
    default:
        break;
    }
    const double usedPositionX = d.horizontal.content > f.width ? f.positionX : 0;
    chart.setDescription(std::move(d));
    chart.setChartMode(mode);
    chart.setRatioX(f.ratioX);
    chart.setRatioY(f.ratioY);
    chart.setPositionX(usedPositionX);
    chart.setPositionY(f.positionY);
}

double FitRatioX(const clsAnalyzer& analyzer, qint32 mode, qint32 width) {
    clsChartObject probe;
    probe.setWidth(std::max(width, 1));
    Draw(analyzer, probe, mode, 1, 1, 0, 0);
    const double content = probe.description().horizontal.content;
    if (!(content > 0))
        return 1;
    return std::max(static_cast<double>(probe.Width()) / content, 0.5);
}

QString ChartName(qint32 mode) {
    switch (mode) {
    case QV_CHART_NORMAL:
        return u"標準"_s;
    case QV_CHART_REALTIME:
        return u"リアルタイム"_s;
    case QV_CHART_RELATIVE:
        return u"上位平均相対"_s;
    case QV_CHART_RELATIVE_110:
        return u"上位平均110％相対"_s;
    case QV_CHART_RELATIVE_130:
        return u"上位平均130％相対"_s;
    case QV_CHART_CRUISE_MISSRATE:
        return u"巡航速度－ミス率"_s;
    case QV_CHART_CRUISE_HALFRATIO:
        return u"巡航速度－前後半比"_s;
    case QV_CHART_BOSTRIME:
        return u"ボストリーム"_s;
    default:
        return QString();
    }
}

} // namespace basChartSeries
