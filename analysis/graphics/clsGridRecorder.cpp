#include "clsGridRecorder.h"

#include "basConstants.h"

#include <algorithm>

using namespace Quorvelin2;

clsGridRecorder::clsGridRecorder(QObject* parent) : clsGridRecorder(Cell(), parent) {}

clsGridRecorder::clsGridRecorder(const Cell& blank, QObject* parent) : clsGridObject(parent), m_blank(blank) {
    // Title cells are the odd colour types.
    for (size_t k = 0; k < m_colors.size(); ++k)
        m_colors[k] = k % 2 == 1 && k < QV_COLOR_RANK1 ? 0xeeeeee : 0xffffff;
}

void clsGridRecorder::setColor(qint32 colorType, qint32 color) {
    if (colorType >= 0 && static_cast<size_t>(colorType) < m_colors.size())
        m_colors[static_cast<size_t>(colorType)] = color;
}

qint32 clsGridRecorder::Color(qint32 ColorType) {
    if (ColorType < 0 || static_cast<size_t>(ColorType) >= m_colors.size())
        return 0xffffff;
    return m_colors[static_cast<size_t>(ColorType)];
}

void clsGridRecorder::resize(int rows, int cols) {
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (rows == m_rows && cols == m_cols)
        return;
    if (rows == m_rows) {
        // Whole columns come and go at the end.
        m_cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols), m_blank);
    } else {
        std::vector<Cell> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols), m_blank);
        for (int c = 0; c < std::min(cols, m_cols); ++c)
            for (int r = 0; r < std::min(rows, m_rows); ++r)
                cells[static_cast<size_t>(c) * static_cast<size_t>(rows) + static_cast<size_t>(r)] =
                    std::move(m_cells[index(r, c)]);
        m_cells = std::move(cells);
    }
    m_rows = rows;
    m_cols = cols;
    m_colWidths.resize(static_cast<size_t>(cols), 0);
    m_colAlignments.resize(static_cast<size_t>(cols), -1);
}

void clsGridRecorder::setTextMatrix(qint32 Row, qint32 Col, const QString& Text) {
    if (Row >= 0 && Row < m_rows && Col >= 0 && Col < m_cols)
        m_cells[index(Row, Col)].text = Text;
}

void clsGridRecorder::Clear() {
    std::fill(m_cells.begin(), m_cells.end(), m_blank);
}

void clsGridRecorder::setVisible(bool Visible) {
    m_visible = Visible;
}
void clsGridRecorder::setCols(qint32 Cols) {
    resize(m_rows, Cols);
}
void clsGridRecorder::setRows(qint32 Rows) {
    resize(Rows, m_cols);
}

void clsGridRecorder::setColWidth(qint32 Index, qint32 Width) {
    if (Index >= 0 && Index < m_cols)
        m_colWidths[static_cast<size_t>(Index)] = Width;
}

qint32 clsGridRecorder::colWidth(int col) const {
    return col >= 0 && col < m_cols ? m_colWidths[static_cast<size_t>(col)] : 0;
}

qint32 clsGridRecorder::colAlignment(int col) const {
    return col >= 0 && col < m_cols ? m_colAlignments[static_cast<size_t>(col)] : -1;
}

qint32 clsGridRecorder::alignment(int row, int col) const {
    const qint32 own = cell(row, col).alignment;
    if (own >= 0)
        return own;
    const qint32 column = colAlignment(col);
    return column >= 0 ? column : QV_ALIGN_LEFT;
}

void clsGridRecorder::SelectCell(qint32 Row, qint32 Col, qint32 RowSel, qint32 ColSel) {
    // Only -1 means "the same"; any other corner outside the grid is clipped to it.
    if (RowSel == -1)
        RowSel = Row;
    if (ColSel == -1)
        ColSel = Col;
    m_row0 = std::min(Row, RowSel);
    m_row1 = std::max(Row, RowSel);
    m_col0 = std::min(Col, ColSel);
    m_col1 = std::max(Col, ColSel);
}

template <typename Apply> void clsGridRecorder::forSelection(Apply apply) {
    const int r0 = std::max(m_row0, 0), r1 = std::min(m_row1, m_rows - 1);
    const int c0 = std::max(m_col0, 0), c1 = std::min(m_col1, m_cols - 1);
    for (int c = c0; c <= c1; ++c)
        for (int r = r0; r <= r1; ++r)
            apply(m_cells[index(r, c)]);
}

void clsGridRecorder::setCellBackColor(qint32 Color) {
    forSelection([Color](Cell& c) { c.backColor = Color; });
}
void clsGridRecorder::setCellAlignment(qint32 Alignment) {
    forSelection([Alignment](Cell& c) { c.alignment = Alignment; });
}
void clsGridRecorder::setCellForeColor(qint32 Color) {
    forSelection([Color](Cell& c) { c.foreColor = Color; });
}

void clsGridRecorder::setColAlignment(qint32 Index, qint32 Alignment) {
    if (Index >= 0 && Index < m_cols)
        m_colAlignments[static_cast<size_t>(Index)] = Alignment;
}
