#include "basPrintLayout.h"

#include "basChartSeries.h"
#include "basConstants.h"
#include "basRuntime.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsConfigControl.h"
#include "clsGridRecorder.h"
#include "clsLapData.h"
#include "clsResultsHolder.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace basPrintLayout {

namespace {

// Pages are laid out in tenths of a millimetre.
constexpr double PerMm = 10;
constexpr double HeaderHeight = 12 * PerMm;
constexpr double FooterHeight = 6 * PerMm;
constexpr double Gap = 2 * PerMm;
constexpr double GridFontSize = 7.5;
constexpr double GridRowHeight = 3.6 * PerMm;
constexpr double DefaultTitleTwips = 1230;
constexpr double DefaultRunnerTwips = 1080;
// A twip column of the screen grid is printed this much narrower: the printed font is small.
constexpr double TwipsScale = 0.95;

double points(double pt) {
    return pt * 25.4 / 72 * PerMm;
}

QFont font(double pt, bool bold = false, bool mono = false) {
    QFont f;
    if (mono)
        f.setFamilies({u"Noto Sans Mono CJK JP"_s, u"Noto Sans CJK JP"_s, u"monospace"_s});
    else
        f.setFamilies({u"Noto Sans CJK JP"_s, u"Noto Sans JP"_s, u"sans-serif"_s});
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points(pt)))));
    f.setBold(bold);
    return f;
}

QColor colorOf(qint32 number) {
    return clsChartRenderer::color(number);
}

// The usable part of a page in layout units.
QSizeF pageArea(const QPageLayout& layout) {
    const QRectF mm = layout.paintRect(QPageLayout::Millimeter);
    return {mm.width() * PerMm, mm.height() * PerMm};
}

// A painter on the device in layout units, page after page.
class Sheet {
public:
    explicit Sheet(QPagedPaintDevice& device) : m_device(device) {}
    bool begin() {
        if (!m_painter.begin(&m_device))
            return false;
        const double scale = m_device.logicalDpiX() / 25.4 / PerMm;
        m_painter.scale(scale, m_device.logicalDpiY() / 25.4 / PerMm);
        m_area = QSizeF(m_device.width() / scale, m_device.height() * 25.4 * PerMm / m_device.logicalDpiY());
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
        return true;
    }
    void newPage() { m_device.newPage(); }
    QPainter& painter() { return m_painter; }
    QSizeF area() const { return m_area; }

    // The header band and the page number below; what is left between them.
    QRectF frame(const Header& header, int page, int pages) {
        QPainter& p = m_painter;
        const QFont titleFont = font(11, true), subFont = font(9);
        p.setPen(Qt::black);
        p.setFont(titleFont);
        const double titleHeight = QFontMetricsF(titleFont).height();
        p.drawText(QRectF(0, 0, m_area.width(), titleHeight), Qt::AlignLeft | Qt::AlignVCenter, header.title);
        p.setFont(subFont);
        p.drawText(QRectF(0, titleHeight, m_area.width(), HeaderHeight - titleHeight - PerMm),
                   Qt::AlignLeft | Qt::AlignVCenter, header.subtitle);
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 0.3 * PerMm));
        p.drawLine(QPointF(0, HeaderHeight - 0.5 * PerMm),
                   QPointF(m_area.width(), HeaderHeight - 0.5 * PerMm));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, m_area.height() - FooterHeight, m_area.width(), FooterHeight), Qt::AlignCenter,
                   QString(QString::number(page) + u" / "_s + QString::number(pages)));
        return QRectF(0, HeaderHeight + Gap, m_area.width(),
                      m_area.height() - HeaderHeight - Gap - FooterHeight);
    }

private:
    QPagedPaintDevice& m_device;
    QPainter m_painter;
    QSizeF m_area;
};

// How the analysis table falls into pages: bands of runner columns times bands of rows. Rows
// continued on a later page repeat the name row above them.
struct AnalysisPlan {
    double labelWidth = 0;
    double titleWidth = 0;
    double runnerWidth = 0;
    int runnersPerPage = 1;
    int rowsPerPage = 2;
    std::vector<std::pair<int, int>> rowBands; // first row, row after the last
    int runnerBands = 0;
    int pages() const { return runnerBands * static_cast<int>(rowBands.size()); }
};

double twipsWidth(qint32 twips, double fallback) {
    return (twips > 0 ? twips : fallback) / 1440.0 * 25.4 * PerMm * TwipsScale;
}

AnalysisPlan planAnalysis(const clsGridRecorder& grid, const AnalysisStyle& style, QSizeF area) {
    AnalysisPlan plan;
    plan.labelWidth = std::clamp(style.classLabelWidth, 0.0, 100.0) * PerMm;
    plan.titleWidth = twipsWidth(grid.colWidth(0), DefaultTitleTwips);
    for (int c = 1; c < grid.cols(); ++c)
        plan.runnerWidth = std::max(plan.runnerWidth, twipsWidth(grid.colWidth(c), DefaultRunnerTwips));
    if (plan.runnerWidth <= 0)
        plan.runnerWidth = twipsWidth(0, DefaultRunnerTwips);
    const double tableWidth =
        area.width() - (plan.labelWidth > 0 ? plan.labelWidth + Gap : 0) - plan.titleWidth;
    plan.runnersPerPage = std::max(1, static_cast<int>(std::floor(tableWidth / plan.runnerWidth)));
    const double tableHeight = area.height() - HeaderHeight - Gap - FooterHeight;
    plan.rowsPerPage = std::max(2, static_cast<int>(std::floor(tableHeight / GridRowHeight)));
    const int runners = std::max(0, grid.cols() - 1);
    plan.runnerBands = (runners + plan.runnersPerPage - 1) / plan.runnersPerPage;
    // Pages break before a section's head rather than inside the section, unless that would
    // leave half the page empty.
    std::vector<int> heads;
    if (grid.rows() >= 15 && (grid.rows() - 15) % 4 == 0) {
        const int legs = (grid.rows() - 15) / 4;
        heads = {2, 4, legs + 5, 2 * legs + 6, 2 * legs + 9, 3 * legs + 11, 4 * legs + 13};
    }
    for (int row = 0; row < grid.rows();) {
        const int room = row == 0 ? plan.rowsPerPage : plan.rowsPerPage - 1;
        const int full = std::min(grid.rows(), row + room);
        int end = full;
        if (full < grid.rows())
            for (const int head : heads)
                if (head > row + room / 2 && head <= full)
                    end = head;
        plan.rowBands.emplace_back(row, end);
        row = end;
    }
    return plan;
}

int textFlags(qint32 alignment) {
    switch (alignment) {
    case QV_ALIGN_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case QV_ALIGN_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

void drawCell(QPainter& p, const QFontMetricsF& metrics, const QRectF& box, const clsGridRecorder& grid,
              int row, int col) {
    const clsGridRecorder::Cell& cell = grid.cell(row, col);
    if ((cell.backColor & 0xffffff) != 0xffffff)
        p.fillRect(box, colorOf(cell.backColor));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.1 * PerMm));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    if (cell.text.isEmpty())
        return;
    const QRectF inner = box.adjusted(0.8 * PerMm, 0, -0.8 * PerMm, 0);
    p.setPen(colorOf(cell.foreColor));
    p.drawText(inner, textFlags(grid.alignment(row, col)),
               metrics.elidedText(cell.text, Qt::ElideRight, inner.width()));
}

// The class name written downwards in a column, as large as the style asks and the column allows.
void drawClassLabel(QPainter& p, const QRectF& box, const QString& label, const AnalysisStyle& style) {
    p.setPen(QPen(Qt::black, 0.4 * PerMm));
    p.setBrush(QColor(0xf4, 0xf4, 0xf4));
    p.drawRect(box);
    if (label.isEmpty())
        return;
    double size = std::clamp(style.classLabelFontSize, 4.0, 200.0);
    std::vector<QString> characters;
    for (const uint c : label.toUcs4()) {
        const char32_t one = c;
        characters.push_back(QString::fromUcs4(&one, 1));
    }
    for (;; size *= 0.9) {
        const QFontMetricsF m(font(size, true));
        double widest = 0;
        for (const QString& c : characters)
            widest = std::max(widest, m.horizontalAdvance(c));
        if ((widest <= box.width() - PerMm &&
             m.height() * static_cast<double>(characters.size()) <= box.height() - 2 * PerMm) ||
            size < 5)
            break;
    }
    const QFont f = font(size, true);
    const QFontMetricsF m(f);
    p.setFont(f);
    p.setPen(Qt::black);
    double y = box.top() + PerMm;
    for (const QString& c : characters) {
        p.drawText(QRectF(box.left(), y, box.width(), m.height()), Qt::AlignCenter, c);
        y += m.height();
    }
}

} // namespace

AnalysisStyle ReadAnalysisStyle(const clsConfigControl& config) {
    AnalysisStyle style;
    const auto number = [&](const QString& item, const QString& fallback, double current) {
        const QString text = config.Value(QV_CONFIG_FOLDER_DATA, item, fallback).trimmed();
        const double value = basRuntime::leadingNumberWithRadix(text);
        return text.isEmpty() || (value == 0 && !text.startsWith(u'0')) ? current : value;
    };
    style.classLabelFontSize = number(u"PRINT_CLASS_LABEL_FONT_SIZE"_s, u"35"_s, style.classLabelFontSize);
    style.classLabelWidth = number(u"PRINT_CLASS_LABEL_WIDTH"_s, u"15"_s, style.classLabelWidth);
    const QString defaults[] = {u"&HCCCCCC"_s, u"&HDDDDDD"_s, u"&HEEEEEE"_s};
    for (size_t k = 0; k < 3; ++k) {
        double value =
            number(u"PRINT_COLOR_RANK"_s + QString::number(k + 1), defaults[k], style.rankColors[k]);
        // Four hex digits read as a negative 16-bit number ("&HFF00" as -256); as a colour they
        // mean the unsigned value, not the sign-extended one.
        if (value < 0 && value >= -32768)
            value += 65536;
        style.rankColors[k] = static_cast<qint32>(value);
    }
    return style;
}

QPageLayout A4(QPageLayout::Orientation orientation, const QMarginsF& margins) {
    return QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Millimeter);
}

int AnalysisPageCount(const clsGridRecorder& grid, const AnalysisStyle& style, const QPageLayout& layout) {
    return planAnalysis(grid, style, pageArea(layout)).pages();
}

QPageLayout::Orientation AnalysisOrientation(const clsGridRecorder& grid, const AnalysisStyle& style,
                                             const QMarginsF& margins) {
    const int portrait = AnalysisPageCount(grid, style, A4(QPageLayout::Portrait, margins));
    const int landscape = AnalysisPageCount(grid, style, A4(QPageLayout::Landscape, margins));
    return landscape < portrait ? QPageLayout::Landscape : QPageLayout::Portrait;
}

int PrintAnalysis(QPagedPaintDevice& device, const clsGridRecorder& grid, const QString& classLabel,
                  const Header& header, const AnalysisStyle& style) {
    if (grid.rows() <= 0 || grid.cols() <= 1)
        return 0;
    Sheet sheet(device);
    if (!sheet.begin())
        return 0;
    const AnalysisPlan plan = planAnalysis(grid, style, sheet.area());
    const int pages = plan.pages();
    QPainter& p = sheet.painter();
    const QFont cellFont = font(GridFontSize, false, true);
    const QFontMetricsF metrics(cellFont);
    int page = 0;
    for (int band = 0; band < plan.runnerBands; ++band) {
        const int first = 1 + band * plan.runnersPerPage;
        const int last = std::min(grid.cols() - 1, first + plan.runnersPerPage - 1);
        for (const auto& [fromRow, toRow] : plan.rowBands) {
            if (page > 0)
                sheet.newPage();
            ++page;
            const QRectF body = sheet.frame(header, page, pages);
            double x0 = body.left();
            if (plan.labelWidth > 0) {
                drawClassLabel(p, QRectF(body.left(), body.top(), plan.labelWidth, body.height()), classLabel,
                               style);
                x0 += plan.labelWidth + Gap;
            }
            std::vector<int> rows;
            if (fromRow > 0)
                rows.push_back(0);
            for (int r = fromRow; r < toRow; ++r)
                rows.push_back(r);
            p.setFont(cellFont);
            double y = body.top();
            for (int row : rows) {
                drawCell(p, metrics, QRectF(x0, y, plan.titleWidth, GridRowHeight), grid, row, 0);
                double x = x0 + plan.titleWidth;
                for (int col = first; col <= last; ++col) {
                    drawCell(p, metrics, QRectF(x, y, plan.runnerWidth, GridRowHeight), grid, row, col);
                    x += plan.runnerWidth;
                }
                y += GridRowHeight;
            }
        }
    }
    return pages;
}

int PrintResults(QPagedPaintDevice& device, const clsResultsHolder& holder, const Header& header) {
    const int count = holder.Count();
    if (count <= 0)
        return 0;
    Sheet sheet(device);
    if (!sheet.begin())
        return 0;
    QPainter& p = sheet.painter();
    const double rowHeight = 5.2 * PerMm;
    const QRectF probe(0, HeaderHeight + Gap, sheet.area().width(),
                       sheet.area().height() - HeaderHeight - Gap - FooterHeight);
    const int perPage = std::max(1, static_cast<int>(std::floor(probe.height() / rowHeight)) - 1);
    const int pages = (count + perPage - 1) / perPage;
    const bool mix = holder.DataSetIsMix();
    // Columns in millimetres, stretched to the page: rank, class or seed, name, club, result.
    const double widths[] = {14, 28, 52, 62, 26};
    const QString titles[] = {u"順位"_s, mix ? u"クラス"_s : u"シード"_s, u"氏名"_s, u"所属"_s, u"記録"_s};
    const int align[] = {Qt::AlignRight, Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight};
    double total = 0;
    for (double w : widths)
        total += w;
    const double stretch = probe.width() / total;
    const QFont bodyFont = font(9), headFont = font(9, true);
    const QFontMetricsF metrics(bodyFont);
    bool pastCutOff = false;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            sheet.newPage();
        const QRectF body = sheet.frame(header, page, pages);
        double y = body.top();
        const auto row = [&](const QString(&texts)[5], const QFont& f) {
            p.setFont(f);
            p.setPen(Qt::black);
            double x = body.left();
            for (int c = 0; c < 5; ++c) {
                const QRectF cell(x + PerMm, y, widths[c] * stretch - 2 * PerMm, rowHeight);
                p.drawText(cell, align[c] | Qt::AlignVCenter,
                           metrics.elidedText(texts[c], Qt::ElideRight, cell.width()));
                x += widths[c] * stretch;
            }
            y += rowHeight;
        };
        p.fillRect(QRectF(body.left(), y, body.width(), rowHeight), QColor(0xdd, 0xe4, 0xf0));
        row(titles, headFont);
        const int from = (page - 1) * perPage + 1, to = std::min(count, page * perPage);
        for (int i = from; i <= to; ++i) {
            const auto lap = holder.Item(i);
            if (!lap)
                continue;
            const QString rank = mix ? holder.RankInDataSet(i) : lap->Rank();
            const double rankValue = basRuntime::leadingNumber(rank);
            if (!pastCutOff && holder.CutOffRank() > 0 && rankValue > holder.CutOffRank()) {
                pastCutOff = true;
                p.setPen(QPen(Qt::black, 0.4 * PerMm));
                p.drawLine(QPointF(body.left(), y), QPointF(body.right(), y));
            }
            if (i % 2 == 0)
                p.fillRect(QRectF(body.left(), y, body.width(), rowHeight), QColor(0xf2, 0xf2, 0xf2));
            const QString texts[5] = {rank, mix ? lap->ClassName() : lap->Seed(), lap->RunnerName(),
                                      lap->ClubName(), lap->Result()};
            row(texts, bodyFont);
        }
    }
    return pages;
}

int PrintChart(QPagedPaintDevice& device, const clsAnalyzer& analyzer, const clsChartObject* shown,
               const Header& header) {
    Sheet sheet(device);
    if (!sheet.begin())
        return 0;
    const QRectF body = sheet.frame(header, 1, 1);
    // The chart is drawn at a screen-like size and scaled onto the page, so that its fonts and
    // lines keep their proportions.
    constexpr double ChartWidth = 1100;
    clsChartObject chart;
    chart.setWidth(static_cast<qint32>(ChartWidth));
    chart.setHeight(static_cast<qint32>(std::lround(ChartWidth * body.height() / body.width())));
    if (shown) {
        for (const auto& runner : shown->description().runners) {
            const auto s = shown->runnerSetting(runner.index);
            chart.SetRunnerSetting(runner.index, s.color, s.lineWidth, 0);
        }
        // The page shows the same part of the content as the screen: the zoom of every chart but
        // the Bostrime one is in units per second or percent, whatever the chart's width.
        const qint32 mode = shown->ChartMode();
        const double ratioX = mode == QV_CHART_BOSTRIME
                                  ? shown->RatioX()
                                  : shown->RatioX() * ChartWidth / std::max(shown->Width(), 1);
        basChartSeries::Draw(analyzer, chart, mode, ratioX, shown->RatioY(), shown->PositionX(),
                             shown->PositionY());
    } else {
        basChartSeries::Draw(analyzer, chart, QV_CHART_NORMAL,
                             basChartSeries::FitRatioX(analyzer, QV_CHART_NORMAL, chart.Width()), 1, 0, 0);
    }
    QPainter& p = sheet.painter();
    p.save();
    p.translate(body.topLeft());
    p.scale(body.width() / ChartWidth, body.width() / ChartWidth);
    p.setClipRect(QRectF(0, 0, chart.Width(), chart.Height()));
    clsChartRenderer::paint(p, chart);
    p.restore();
    return 1;
}

} // namespace basPrintLayout
