#include "clsChartRenderer.h"

#include "clsChartObject.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using LineKind = clsChartObject::LineKind;
using Series = clsChartObject::Series;

// Runner names are written beside lines and points only while they stay readable.
constexpr size_t MostNamedLines = 30;
constexpr size_t MostNamedPoints = 40;
constexpr double PointRadius = 3.5;

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

void drawGrid(QPainter& p, const clsChartObject& chart, const QRectF& area) {
    const auto& d = chart.description();
    p.save();
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Minor lines first, so that stronger ones cross over them.
    for (LineKind kind : {LineKind::Minor, LineKind::Major, LineKind::Zero}) {
        p.setPen(gridPen(kind));
        for (const auto& g : d.grid) {
            if (g.kind != kind)
                continue;
            QPointF a = chart.toImage(g.line.p1()), b = chart.toImage(g.line.p2());
            if (a.x() == b.x())
                a.rx() = b.rx() = crisp(a.x());
            if (a.y() == b.y())
                a.ry() = b.ry() = crisp(a.y());
            p.drawLine(a, b);
        }
    }
    p.restore();
}

void drawLabels(QPainter& p, const clsChartObject& chart, const QRectF& area) {
    const auto& d = chart.description();
    const QFont font = chartFont(11);
    const QFontMetricsF metrics(font);
    p.setFont(font);
    p.setPen(QColor(0x40, 0x44, 0x4c));
    const double slack = 0.5;
    for (const auto& label : d.labels) {
        if (label.edge == clsChartObject::LabelEdge::Left) {
            const double y = chart.toImage(QPointF(0, label.position)).y();
            if (y < area.top() - slack || y > area.bottom() + slack)
                continue;
            const QRectF box(0, y - metrics.height() / 2, area.left() - 5, metrics.height());
            p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, label.text);
        } else {
            const double x = chart.toImage(QPointF(label.position, 0)).x();
            if (x < area.left() - slack || x > area.right() + slack)
                continue;
            const double w = metrics.horizontalAdvance(label.text) + 4;
            QRectF box(x - w / 2, area.bottom() + 3, w, metrics.height());
            // Labels at the ends stay inside the image.
            box.moveLeft(std::clamp(box.left(), 0.0, std::max(0.0, chart.Width() - w)));
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

void drawName(QPainter& p, const QFontMetricsF& metrics, const QRectF& area, QPointF at, const QColor& color,
              const QString& name) {
    if (name.isEmpty() || !area.contains(at))
        return;
    const double w = metrics.horizontalAdvance(name);
    QPointF origin(at.x() + 6, at.y() + metrics.ascent() / 2 - 1);
    if (origin.x() + w > area.right() - 2)
        origin.setX(at.x() - 6 - w);
    p.setPen(QPen(QColor(255, 255, 255, 230), 3));
    QPainterPath path;
    path.addText(origin, p.font(), name);
    p.drawPath(path);
    p.fillPath(path, color.darker(115));
}

void drawRunners(QPainter& p, const clsChartObject& chart, const QRectF& area) {
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
        if (s->point || points.size() == 1) {
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
    if (runners.size() > (lines ? MostNamedLines : MostNamedPoints))
        return;
    p.save();
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setFont(chartFont(10));
    const QFontMetricsF metrics(p.font());
    for (const Series* s : order)
        if (!s->points.empty())
            drawName(p, metrics, area, chart.toImage(s->points.back()),
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
    painter.save();
    painter.fillRect(image, Qt::white);
    painter.fillRect(area, QColor(0xfc, 0xfc, 0xfe));
    drawGrid(painter, chart, area);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawRunners(painter, chart, area);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0x8a, 0x90, 0x9c));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRectF(crisp(area.left()), crisp(area.top()), std::floor(area.width()), std::floor(area.height())));
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawLabels(painter, chart, area);
    drawTitles(painter, chart, area);
    painter.restore();
}

QImage clsChartRenderer::render(const clsChartObject& chart) {
    QImage image(std::max(chart.Width(), 1), std::max(chart.Height(), 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, chart);
    painter.end();
    return image;
}

bool clsChartRenderer::savePng(const clsChartObject& chart, const QString& path) {
    const QImage image = render(chart);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
