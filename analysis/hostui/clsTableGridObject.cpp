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

clsTableGridObject::clsTableGridObject(QTableWidget* table, QObject* parent)
    : clsGridObject(parent), m_table(table) {}

clsTableGridObject::Cell* clsTableGridObject::at(int row, int col) {
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return nullptr;
    return &m_cells[static_cast<size_t>(row) * static_cast<size_t>(m_cols) + static_cast<size_t>(col)];
}

template <typename F> void clsTableGridObject::forSelection(F f) {
    const int row1 = std::min(m_row1, m_rows - 1), col1 = std::min(m_col1, m_cols - 1);
    for (int r = std::max(m_row0, 0); r <= row1; ++r)
        for (int c = std::max(m_col0, 0); c <= col1; ++c)
            f(m_cells[static_cast<size_t>(r) * static_cast<size_t>(m_cols) + static_cast<size_t>(c)]);
}

void clsTableGridObject::setTextMatrix(qint32 Row, qint32 Col, const QString& Text) {
    if (Cell* c = at(Row, Col))
        c->text = Text;
}

void clsTableGridObject::Clear() {
    for (Cell& c : m_cells)
        c = Cell();
}

void clsTableGridObject::setVisible(bool Visible) {
    if (Visible)
        flush();
}

void clsTableGridObject::setRows(qint32 Rows) {
    Rows = std::max(Rows, 0);
    if (Rows == m_rows)
        return;
    m_cells.resize(static_cast<size_t>(Rows) * static_cast<size_t>(m_cols));
    m_rows = Rows;
}

void clsTableGridObject::setCols(qint32 Cols) {
    Cols = std::max(Cols, 0);
    if (Cols == m_cols)
        return;
    std::vector<Cell> cells(static_cast<size_t>(m_rows) * static_cast<size_t>(Cols));
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < std::min(Cols, m_cols); ++c)
            cells[static_cast<size_t>(r) * static_cast<size_t>(Cols) + static_cast<size_t>(c)] =
                std::move(*at(r, c));
    m_cells = std::move(cells);
    m_cols = Cols;
    m_widths.resize(static_cast<size_t>(Cols), 0);
    m_colAlignments.resize(static_cast<size_t>(Cols), Unset);
}

void clsTableGridObject::setColWidth(qint32 Index, qint32 Width) {
    if (Index >= 0 && Index < m_cols)
        m_widths[static_cast<size_t>(Index)] = Width;
}

void clsTableGridObject::SelectCell(qint32 Row, qint32 Col, qint32 RowSel, qint32 ColSel) {
    if (RowSel == -1)
        RowSel = Row;
    if (ColSel == -1)
        ColSel = Col;
    m_row0 = std::min(Row, RowSel);
    m_row1 = std::max(Row, RowSel);
    m_col0 = std::min(Col, ColSel);
    m_col1 = std::max(Col, ColSel);
}

void clsTableGridObject::setCellBackColor(qint32 Color) {
    forSelection([Color](Cell& c) { c.back = Color; });
}
void clsTableGridObject::setCellAlignment(qint32 Alignment) {
    forSelection([Alignment](Cell& c) { c.alignment = Alignment; });
}
void clsTableGridObject::setCellForeColor(qint32 Color) {
    forSelection([Color](Cell& c) { c.fore = Color; });
}
void clsTableGridObject::setColAlignment(qint32 Index, qint32 Alignment) {
    if (Index >= 0 && Index < m_cols)
        m_colAlignments[static_cast<size_t>(Index)] = Alignment;
}

qint32 clsTableGridObject::cellBackColor(int row, int col) const {
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return Unset;
    return m_cells[static_cast<size_t>(row) * static_cast<size_t>(m_cols) + static_cast<size_t>(col)].back;
}

const QBrush& clsTableGridObject::brush(qint32 colour) {
    auto it = m_brushes.find(colour);
    if (it == m_brushes.end())
        it = m_brushes.insert(colour, QBrush(colourOf(colour)));
    return *it;
}

void clsTableGridObject::flush() {
    QTableWidget& t = *m_table;
    const bool updates = t.updatesEnabled();
    t.setUpdatesEnabled(false);
    t.setRowCount(m_rows);
    t.setColumnCount(m_cols);

    // Widths in twips, widened where a column's texts need more: the texts are laid out in
    // byte widths, which a monospaced font shows as half-width characters.
    const QFontMetrics metrics(t.font());
    const int halfWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    const int padding = 2 * t.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &t) + 6;
    std::vector<int> bytes(static_cast<size_t>(m_cols), 0);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c) {
            int& b = bytes[static_cast<size_t>(c)];
            b = std::max(
                b, basText::byteWidth(
                       m_cells[static_cast<size_t>(r) * static_cast<size_t>(m_cols) + static_cast<size_t>(c)]
                           .text));
        }
    for (int c = 0; c < m_cols; ++c) {
        const int twips = m_widths[static_cast<size_t>(c)];
        const int fromTwips = twips * t.logicalDpiX() / 1440;
        t.setColumnWidth(c, std::max(fromTwips, bytes[static_cast<size_t>(c)] * halfWidth + padding));
    }

    {
        // One model signal per cell would cost more than the cells: the view repaints once below.
        const QSignalBlocker quiet(t.model());
        const QVariant none;
        for (int r = 0; r < m_rows; ++r)
            for (int c = 0; c < m_cols; ++c) {
                const Cell& cell =
                    m_cells[static_cast<size_t>(r) * static_cast<size_t>(m_cols) + static_cast<size_t>(c)];
                QTableWidgetItem* item = t.item(r, c);
                const bool fresh = item == nullptr;
                if (fresh)
                    item = new QTableWidgetItem;
                item->setText(cell.text);
                if (cell.back != Unset)
                    item->setBackground(brush(cell.back));
                else if (!fresh)
                    item->setData(Qt::BackgroundRole, none);
                if (cell.fore != Unset)
                    item->setForeground(brush(cell.fore));
                else if (!fresh)
                    item->setData(Qt::ForegroundRole, none);
                const qint32 align =
                    cell.alignment != Unset ? cell.alignment : m_colAlignments[static_cast<size_t>(c)];
                item->setTextAlignment(alignmentOf(align));
                if (fresh)
                    t.setItem(r, c, item);
            }
    }
    if (m_rows > 0 && m_cols > 0)
        t.setCurrentCell(std::clamp(m_row0, 0, m_rows - 1), std::clamp(m_col0, 0, m_cols - 1),
                         QItemSelectionModel::NoUpdate);
    t.setUpdatesEnabled(updates);
    t.viewport()->update();
}
