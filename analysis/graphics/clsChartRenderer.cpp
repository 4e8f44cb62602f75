#include "clsChartRenderer.h"

#include "clsChartObject.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using LineKind = clsChartObject::LineKind;
using Series = clsChartObject::Series;

// Runner names are written beside lines and points only while they stay readable.
constexpr size_t MostNamedLines = 30;
constexpr size_t MostNamedPoints = 40;
constexpr double PointRadius = 3.5;
// Quality 80 is deflate level 1 for the PNG writer.
constexpr int PngQuality = 80;

QFont chartFont(double pixelSize, bool bold = false) {
    QFont font;
    font.setFamilies({u"Noto Sans CJK JP"_s, u"Noto Sans JP"_s, u"Noto Sans CJK SC"_s, u"sans-serif"_s});
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QPen gridPen(LineKind kind) {
    switch (kind) {
    case LineKind::Zero:
        return QPen(Qt::black, 1.2);
    case LineKind::Major:
        return QPen(QColor(0xb4, 0xb9, 0xc4), 1);
    case LineKind::Minor:
        break;
    }
    return QPen(QColor(0xe6, 0xe8, 0xee), 1);
}

// Lines of one pixel width fall on pixel centres so they stay sharp.
double crisp(double v) {
    return std::floor(v) + 0.5;
}

// Minor lines closer than this (in pixels) make a mesh that hides the runners: they are drawn
// fainter, and left out when closer still.
constexpr double DenseGrid = 7;
constexpr double CrowdedGrid = 3.5;

// The smallest distance between two minor lines of one direction, in image pixels.
double minorSpacing(const clsChartObject& chart, bool vertical) {
    std::vector<double> at;
    for (const auto& g : chart.description().grid) {
        if (g.kind != LineKind::Minor)
            continue;
        const bool isVertical = g.line.x1() == g.line.x2();
        if (isVertical != vertical || (!isVertical && g.line.y1() != g.line.y2()))
            continue;
        const QPointF p = chart.toImage(g.line.p1());
        at.push_back(vertical ? p.x() : p.y());
    }
    std::sort(at.begin(), at.end());
    double spacing = std::numeric_limits<double>::max();
    for (size_t k = 1; k < at.size(); ++k)
        if (at[k] - at[k - 1] > 0.01)
            spacing = std::min(spacing, at[k] - at[k - 1]);
    return spacing;
}

void drawGrid(QPainter& p, const clsChartObject& chart, const QRectF& area) {
    const auto& d = chart.description();
    const double spacing[] = {minorSpacing(chart, false), minorSpacing(chart, true)};
    p.save();
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Minor lines first, so that stronger ones cross over them.
    for (LineKind kind : {LineKind::Minor, LineKind::Major, LineKind::Zero}) {
        for (const auto& g : d.grid) {
            if (g.kind != kind)
                continue;
            QPointF a = chart.toImage(g.line.p1()), b = chart.toImage(g.line.p2());
            const bool vertical = a.x() == b.x();
            QPen pen = gridPen(kind);
            if (kind == LineKind::Minor) {
                const double gap = spacing[vertical ? 1 : 0];
                if (gap < CrowdedGrid)
                    continue;
                if (gap < DenseGrid)
                    pen.setColor(QColor(0xf0, 0xf1, 0xf5));
            }
            p.setPen(pen);
            if (vertical)
                a.rx() = b.rx() = crisp(a.x());
            if (a.y() == b.y())
                a.ry() = b.ry() = crisp(a.y());
            p.drawLine(a, b);
        }
    }
    p.restore();
}

// Places boxes that must not overlap: the first ones placed win.
class Placement {
public:
    bool take(const QRectF& box) {
        for (const QRectF& r : m_taken)
            if (r.intersects(box))
                return false;
        m_taken.push_back(box);
        return true;
    }

private:
    std::vector<QRectF> m_taken;
};

void drawLabels(QPainter& p, const clsChartObject& chart, const QRectF& area) {
    const auto& labels = chart.description().labels;
    const QFont font = chartFont(11);
    const QFontMetricsF metrics(font);
    p.setFont(font);
    p.setPen(QColor(0x40, 0x44, 0x4c));
    const double slack = 0.5;
    // The labels at both ends of an axis (start and finish) come first; labels that would
    // overlap one already written are left out.
    std::vector<size_t> order;
    for (auto edge : {clsChartObject::LabelEdge::Left, clsChartObject::LabelEdge::Bottom}) {
        std::vector<size_t> same;
        for (size_t k = 0; k < labels.size(); ++k)
            if (labels[k].edge == edge)
                same.push_back(k);
        if (same.empty())
            continue;
        order.push_back(same.front());
        if (same.size() > 1)
            order.push_back(same.back());
        order.insert(order.end(), same.begin() + 1, same.end() - (same.size() > 1 ? 1 : 0));
    }
    Placement placed;
    for (size_t k : order) {
        const auto& label = labels[k];
        if (label.edge == clsChartObject::LabelEdge::Left) {
            const double y = chart.toImage(QPointF(0, label.position)).y();
            if (y < area.top() - slack || y > area.bottom() + slack)
                continue;
            const double w = metrics.horizontalAdvance(label.text);
            const QRectF box(area.left() - 5 - w, y - metrics.height() / 2, w, metrics.height());
            if (placed.take(box.adjusted(0, 3.5, 0, -3.5)))
                p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, label.text);
        } else {
            const double x = chart.toImage(QPointF(label.position, 0)).x();
            if (x < area.left() - slack || x > area.right() + slack)
                continue;
            const double w = metrics.horizontalAdvance(label.text) + 4;
            QRectF box(x - w / 2, area.bottom() + 3, w, metrics.height());
            // Labels at the ends stay inside the image.
            box.moveLeft(std::clamp(box.left(), 0.0, std::max(0.0, chart.Width() - w)));
            if (placed.take(box))
                p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, label.text);
        }
    }
}

void drawTitles(QPainter& p, const clsChartObject& chart, const QRectF& area) {
    const QFont font = chartFont(12, true);
    const QFontMetricsF metrics(font);
    p.setFont(font);
    for (const auto& title : chart.description().titles) {
        const double height = metrics.height() * static_cast<double>(title.lines.size());
        double width = 0;
        for (const QString& line : title.lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        QRectF box;
        if (title.place == clsChartObject::TitlePlace::Top) {
            // Over the labels of the left edge, which keep away from the top.
            box = QRectF(2, area.top(), std::max(area.left() - 4, width), height);
        } else {
            // Inside the chart at the lower right, on a plate that hides the grid behind it.
            box = QRectF(area.right() - width - 10, area.bottom() - height - 6, width + 8, height + 2);
            p.fillRect(box, QColor(255, 255, 255, 220));
        }
        p.setPen(QColor(0x20, 0x24, 0x2c));
        double y = box.top();
        for (const QString& line : title.lines) {
            p.drawText(QRectF(box.left(), y, box.width() - 2, metrics.height()),
                       (title.place == clsChartObject::TitlePlace::Top ? Qt::AlignLeft : Qt::AlignRight) |
                           Qt::AlignVCenter,
                       line);
            y += metrics.height();
        }
    }
}

// A runner's name beside a point or the end of a line, inside the chart, where no other name is.
void drawName(QPainter& p, const QFontMetricsF& metrics, const QRectF& area, Placement& placed, QPointF at,
              const QColor& color, const QString& name) {
    if (name.isEmpty() || !area.contains(at))
        return;
    const double w = metrics.horizontalAdvance(name), h = metrics.height();
    const double top = std::clamp(at.y() - h / 2, area.top() + 1, area.bottom() - h - 1);
    // Right of the point, else left of it; nowhere when both are taken.
    QRectF box;
    bool free = false;
    for (const double left : {at.x() + 8, at.x() - 8 - w}) {
        box = QRectF(left, top, w, h);
        if (box.left() >= area.left() + 1 && box.right() <= area.right() - 1 &&
            placed.take(box.adjusted(-2, 0, 2, 0))) {
            free = true;
            break;
        }
    }
    if (!free)
        return;
    const QPointF origin(box.left(), box.top() + metrics.ascent());
    QPainterPath path;
    path.addText(origin, p.font(), name);
    p.setPen(QPen(QColor(255, 255, 255, 230), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.fillPath(path, color.darker(115));
}

void drawRunners(QPainter& p, const clsChartObject& chart, const QRectF& area, bool withNames) {
    const auto& runners = chart.description().runners;
    // Runners that stand out are drawn last, over the others.
    std::vector<const Series*> order;
    order.reserve(runners.size());
    for (const Series& s : runners)
        if (chart.runnerSetting(s.index).flag == 0)
            order.push_back(&s);
    for (const Series& s : runners)
        if (chart.runnerSetting(s.index).flag != 0)
            order.push_back(&s);

    p.save();
    p.setClipRect(area.adjusted(-1, -1, 1, 1));
    p.setRenderHint(QPainter::Antialiasing, true);
    std::vector<QPointF> points;
    for (const Series* s : order) {
        if (s->points.empty())
            continue;
        const auto setting = chart.runnerSetting(s->index);
        const QColor color = clsChartRenderer::color(setting.color);
        const double width = std::max(1, setting.lineWidth) + (setting.flag != 0 ? 1 : 0);
        points.clear();
        for (const QPointF& c : s->points)
            points.push_back(chart.toImage(c));
        if (!s->point && points.size() < 2)
            continue; // a line that never left the start
        if (s->point) {
            const double radius = PointRadius + width / 2 + (setting.flag != 0 ? 1.5 : 0);
            if (setting.backWidth > 0) {
                p.setPen(Qt::NoPen);
                p.setBrush(clsChartRenderer::color(setting.backColor));
                p.drawEllipse(points.front(), radius + setting.backWidth, radius + setting.backWidth);
            }
            p.setPen(QPen(color.darker(140), 1));
            p.setBrush(color);
            p.drawEllipse(points.front(), radius, radius);
            continue;
        }
        if (setting.backWidth > 0) {
            QPen back(clsChartRenderer::color(setting.backColor), width + 2 * setting.backWidth);
            back.setJoinStyle(Qt::RoundJoin);
            back.setCapStyle(Qt::RoundCap);
            p.setPen(back);
            p.drawPolyline(points.data(), static_cast<int>(points.size()));
        }
        QPen pen(color, width);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
    p.restore();

    const bool lines = !runners.empty() && !runners.front().point;
    if (!withNames || runners.size() > (lines ? MostNamedLines : MostNamedPoints))
        return;
    p.save();
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setFont(chartFont(10));
    const QFontMetricsF metrics(p.font());
    Placement placed;
    // Points themselves are not covered by names.
    if (!lines)
        for (const Series* s : order)
            if (!s->points.empty()) {
                const QPointF c = chart.toImage(s->points.front());
                placed.take(
                    QRectF(c.x() - PointRadius, c.y() - PointRadius, 2 * PointRadius, 2 * PointRadius));
            }
    for (const Series* s : order)
        if (!s->points.empty())
            drawName(p, metrics, area, placed, chart.toImage(s->points.back()),
                     clsChartRenderer::color(chart.runnerSetting(s->index).color), s->name);
    p.restore();
}

} // namespace

QColor clsChartRenderer::color(qint32 colorNumber) {
    const auto v = static_cast<quint32>(colorNumber);
    return QColor(static_cast<int>(v & 0xff), static_cast<int>((v >> 8) & 0xff),
                  static_cast<int>((v >> 16) & 0xff));
}

void clsChartRenderer::paint(QPainter& painter, const clsChartObject& chart) {
    const QRectF image(0, 0, std::max(chart.Width(), 1), std::max(chart.Height(), 1));
    const QRectF area = chart.plotArea();
    // Fonts need the GUI application; a host without one still gets the lines and points.
    const bool text = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    painter.save();
    painter.fillRect(image, Qt::white);
    painter.fillRect(area, QColor(0xfc, 0xfc, 0xfe));
    drawGrid(painter, chart, area);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawRunners(painter, chart, area, text);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0x8a, 0x90, 0x9c));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRectF(crisp(area.left()), crisp(area.top()), std::floor(area.width()), std::floor(area.height())));
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (text) {
        drawLabels(painter, chart, area);
        drawTitles(painter, chart, area);
    }
    painter.restore();
}

QImage clsChartRenderer::render(const clsChartObject& chart) {
    QImage image(std::max(chart.Width(), 1), std::max(chart.Height(), 1), QImage::Format_RGB32);
    if (image.isNull())
        return image; // too large to hold
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, chart);
    painter.end();
    return image;
}

bool clsChartRenderer::writePng(const QImage& image, QIODevice& device) {
    QImageWriter writer(&device, "png");
    // The fastest deflate level: a chart's flat colours pack well at any level, and the
    // default level takes several times as long for a few per cent.
    writer.setQuality(PngQuality);
    return !image.isNull() && writer.write(image);
}

bool clsChartRenderer::savePng(const clsChartObject& chart, const QString& path) {
    const QImage image = render(chart);
    if (image.isNull())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!writePng(image, file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
