#include "clsGridRecorder.h"

#include "basConstants.h"

#include <algorithm>

using namespace Quorvelin2;

clsGridRecorder::clsGridRecorder(QObject* parent) : clsGridObject(parent) {
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
    std::vector<Cell> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (int r = 0; r < std::min(rows, m_rows); ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c)
            cells[static_cast<size_t>(r * cols + c)] =
                std::move(m_cells[static_cast<size_t>(r * m_cols + c)]);
    m_cells = std::move(cells);
    m_rows = rows;
    m_cols = cols;
    m_colWidths.resize(static_cast<size_t>(cols), 0);
    m_colAlignments.resize(static_cast<size_t>(cols), QV_ALIGN_LEFT);
}

void clsGridRecorder::setTextMatrix(qint32 Row, qint32 Col, const QString& Text) {
    if (Row >= 0 && Row < m_rows && Col >= 0 && Col < m_cols)
        m_cells[static_cast<size_t>(Row * m_cols + Col)].text = Text;
}

void clsGridRecorder::Clear() {
    for (Cell& c : m_cells)
        c = Cell();
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

const clsGridRecorder::Cell& clsGridRecorder::cell(int row, int col) const {
    static const Cell none;
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return none;
    return m_cells[static_cast<size_t>(row * m_cols + col)];
}

qint32 clsGridRecorder::alignment(int row, int col) const {
    const qint32 own = cell(row, col).alignment;
    if (own >= 0 || col < 0 || col >= m_cols)
        return own;
    return m_colAlignments[static_cast<size_t>(col)];
}

void clsGridRecorder::SelectCell(qint32 Row, qint32 Col, qint32 RowSel, qint32 ColSel) {
    m_row = Row;
    m_col = Col;
    m_rowSel = RowSel < 0 ? Row : RowSel;
    m_colSel = ColSel < 0 ? Col : ColSel;
}

template <typename Apply> void clsGridRecorder::forSelection(Apply apply) {
    const int r0 = std::max(0, std::min(m_row, m_rowSel)),
              r1 = std::min(m_rows - 1, std::max(m_row, m_rowSel));
    const int c0 = std::max(0, std::min(m_col, m_colSel)),
              c1 = std::min(m_cols - 1, std::max(m_col, m_colSel));
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            apply(m_cells[static_cast<size_t>(r * m_cols + c)]);
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
