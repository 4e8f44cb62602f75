#include "clsChartObject.h"

#include <algorithm>
#include <cmath>

namespace {

// Margins of the drawn image around the chart coordinates: labels of the horizontal lines and
// the top title on the left, labels of the vertical lines below.
constexpr double MarginLeft = 56;
constexpr double MarginRight = 14;
constexpr double MarginTop = 12;
constexpr double MarginBottom = 24;
// How near (in image pixels) the mouse must come to a line, or to a point's edge.
constexpr double HitDistance = 4;
constexpr double PointHitRadius = 5 + HitDistance;

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0 ? QPointF::dotProduct(p - a, ab) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF nearest = a + ab * t;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

} // namespace

clsChartObject::clsChartObject(QObject* parent) : QObject(parent) {}

void clsChartObject::SetRunnerSetting(qint32 Index, qint32 Color, qint32 LineWidth, qint32 Flag) {
    RunnerSetting& s = m_settings.try_emplace(Index, runnerSetting(Index)).first->second;
    s.color = Color;
    s.lineWidth = LineWidth;
    s.flag = Flag;
}

void clsChartObject::SetRunnerSetting2(qint32 Index, qint32 BackColor, qint32 BackWidth) {
    RunnerSetting& s = m_settings.try_emplace(Index, runnerSetting(Index)).first->second;
    s.backColor = BackColor;
    s.backWidth = BackWidth;
}

clsChartObject::RunnerSetting clsChartObject::runnerSetting(qint32 index) const {
    const auto found = m_settings.find(index);
    if (found != m_settings.end())
        return found->second;
    RunnerSetting s;
    s.color = defaultColor(index);
    return s;
}

qint32 clsChartObject::defaultColor(qint32 index) {
    // Twelve colours that stay apart from each other and from the grid, as 0x00BBGGRR.
    static constexpr qint32 palette[] = {
        0xb4771f, 0x0e7fff, 0x2ca02c, 0x2827d6, 0xbd6794, 0x4b568c,
        0xc277e3, 0x7f7f7f, 0x22bdbc, 0xcfbe17, 0x003c80, 0x808000,
    };
    constexpr qint32 size = static_cast<qint32>(std::size(palette));
    return palette[((index - 1) % size + size) % size];
}

QRectF clsChartObject::plotArea() const {
    const double w = std::max(m_width, 1), h = std::max(m_height, 1);
    // Small images keep a little room for the chart itself.
    const double left = std::min(MarginLeft, w / 4), right = std::min(MarginRight, w / 8);
    const double top = std::min(MarginTop, h / 8), bottom = std::min(MarginBottom, h / 4);
    return QRectF(left, top, w - left - right, h - top - bottom);
}

QPointF clsChartObject::toImage(QPointF chart) const {
    const QRectF area = plotArea();
    const double w = std::max(m_width, 1), h = std::max(m_height, 1);
    return {area.left() + chart.x() * area.width() / w, area.bottom() - chart.y() * area.height() / h};
}

QPointF clsChartObject::toChart(QPointF image) const {
    const QRectF area = plotArea();
    const double w = std::max(m_width, 1), h = std::max(m_height, 1);
    return {(image.x() - area.left()) * w / area.width(), (area.bottom() - image.y()) * h / area.height()};
}

qint32 clsChartObject::MousePointRunnerIndex(double X, double Y) const {
    const QPointF mouse(X, Y);
    if (!plotArea().adjusted(-HitDistance, -HitDistance, HitDistance, HitDistance).contains(mouse))
        return 0;
    qint32 found = 0;
    double best = 0;
    bool foundOnTop = false;
    // Later runners are drawn over earlier ones: on a tie the later one is under the mouse.
    for (const Series& runner : m_description.runners) {
        if (runner.points.empty() || (!runner.point && runner.points.size() < 2))
            continue;
        double d;
        if (runner.point) {
            const QPointF p = toImage(runner.points.front());
            d = std::hypot(p.x() - X, p.y() - Y);
            if (d > PointHitRadius)
                continue;
        } else {
            d = HitDistance + 1;
            QPointF a = toImage(runner.points.front());
            for (size_t k = 1; k < runner.points.size(); ++k) {
                const QPointF b = toImage(runner.points[k]);
                d = std::min(d, distanceToSegment(mouse, a, b));
                a = b;
            }
            if (d > HitDistance)
                continue;
        }
        // Runners that stand out are drawn over the others.
        const bool onTop = runnerSetting(runner.index).flag != 0;
        if (found == 0 || d < best || (d == best && onTop >= foundOnTop)) {
            found = runner.index;
            best = d;
            foundOnTop = onTop;
        }
    }
    return found;
}
