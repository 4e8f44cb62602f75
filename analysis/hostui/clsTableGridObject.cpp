#include "clsTableGridObject.h"

#include "basConstants.h"
#include "basText.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>

using namespace Quorvelin2;

namespace {

constexpr qint32 rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

// Pale section colours in pairs (data, title), each section its own hue, so that a long column
// still shows where a section starts; the first three places stand out in gold, silver and
// bronze on any of them.
constexpr qint32 HostColours[] = {
    rgb(0xE6, 0xEF, 0xFB), rgb(0xB9, 0xD1, 0xF0),                        // name
    rgb(0xE4, 0xF4, 0xF8), rgb(0xB6, 0xDF, 0xEA),                        // result
    rgb(0xFF, 0xFC, 0xE9), rgb(0xF5, 0xE6, 0xA6),                        // leg times
    rgb(0xEF, 0xF8, 0xE6), rgb(0xCD, 0xE8, 0xB4),                        // split times
    rgb(0xFF, 0xF2, 0xE6), rgb(0xF6, 0xD4, 0xAE),                        // relatives
    rgb(0xFD, 0xEE, 0xF0), rgb(0xF2, 0xC4, 0xCB),                        // miss times
    rgb(0xF3, 0xEE, 0xFA), rgb(0xD9, 0xCA, 0xEE),                        // cruise speed, miss rate
    rgb(0xF7, 0xDF, 0xE3), rgb(0xE6, 0xAE, 0xB8),                        // miss total
    rgb(0xF7, 0xE6, 0xD2), rgb(0xE8, 0xC2, 0x96),                        // relative total
    rgb(0xEE, 0xEE, 0xEE), rgb(0xD3, 0xD3, 0xD3),                        // time without miss
    rgb(0xFF, 0xC8, 0x2E), rgb(0xB4, 0xC3, 0xD9), rgb(0xE0, 0x9E, 0x63), // places 1 to 3
};

QColor colourOf(qint32 value) {
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

Qt::Alignment alignmentOf(qint32 value) {
    switch (value) {
    case QV_ALIGN_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case QV_ALIGN_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

qint32 clsTableGridObject::HostColor(qint32 ColorType) {
    if (ColorType < 0 || ColorType >= static_cast<qint32>(std::size(HostColours)))
        return rgb(0xFF, 0xFF, 0xFF);
    return HostColours[ColorType];
}

// Cells the library leaves alone keep the table's own colours: -1 is no colour.
clsTableGridObject::clsTableGridObject(QTableWidget* table, QObject* parent)
    : clsGridRecorder(Cell{QString(), -1, -1, -1}, parent), m_table(table) {}

qint32 clsTableGridObject::Color(qint32 ColorType) {
    return HostColor(ColorType);
}

void clsTableGridObject::setVisible(bool Visible) {
    clsGridRecorder::setVisible(Visible);
    if (Visible)
        flush();
}

const QBrush& clsTableGridObject::brush(qint32 colour) {
    auto it = m_brushes.find(colour);
    if (it == m_brushes.end())
        it = m_brushes.insert(colour, QBrush(colourOf(colour)));
    return *it;
}

void clsTableGridObject::flush() {
    QTableWidget& t = *m_table;
    const int rowCount = rows(), colCount = cols();
    const bool updates = t.updatesEnabled();
    t.setUpdatesEnabled(false);
    t.setRowCount(rowCount);
    t.setColumnCount(colCount);

    // Widths in twips, widened where a column's texts need more: the texts are laid out in
    // byte widths, which a monospaced font shows as half-width characters.
    const QFontMetrics metrics(t.font());
    const int halfWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    const int padding = 2 * t.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &t) + 6;
    for (int c = 0; c < colCount; ++c) {
        int bytes = 0;
        for (int r = 0; r < rowCount; ++r)
            bytes = std::max(bytes, basText::byteWidth(cell(r, c).text));
        const int fromTwips = colWidth(c) * t.logicalDpiX() / 1440;
        t.setColumnWidth(c, std::max(fromTwips, bytes * halfWidth + padding));
    }

    {
        // One model signal per cell would cost more than the cells: the view repaints once below.
        const QSignalBlocker quiet(t.model());
        const QVariant none;
        for (int c = 0; c < colCount; ++c)
            for (int r = 0; r < rowCount; ++r) {
                const Cell& drawn = cell(r, c);
                QTableWidgetItem* item = t.item(r, c);
                const bool fresh = item == nullptr;
                if (fresh)
                    item = new QTableWidgetItem;
                item->setText(drawn.text);
                if (drawn.backColor != -1)
                    item->setBackground(brush(drawn.backColor));
                else if (!fresh)
                    item->setData(Qt::BackgroundRole, none);
                if (drawn.foreColor != -1)
                    item->setForeground(brush(drawn.foreColor));
                else if (!fresh)
                    item->setData(Qt::ForegroundRole, none);
                item->setTextAlignment(alignmentOf(alignment(r, c)));
                if (fresh)
                    t.setItem(r, c, item);
            }
    }
    if (rowCount > 0 && colCount > 0)
        t.setCurrentCell(std::clamp(selectedRow(), 0, rowCount - 1),
                         std::clamp(selectedCol(), 0, colCount - 1), QItemSelectionModel::NoUpdate);
    t.setUpdatesEnabled(updates);
    t.viewport()->update();
}
