#include "clsTextGrid.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
const clsTextGrid::Cell EmptyCell;
}

// Cells are kept column by column: the analysis grid is written one runner's column at a time.

clsTextGrid::Cell* clsTextGrid::at(int row, int col) {
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return nullptr;
    return &m_cells[static_cast<size_t>(col) * static_cast<size_t>(m_rows) + static_cast<size_t>(row)];
}

const clsTextGrid::Cell& clsTextGrid::cell(int row, int col) const {
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return EmptyCell;
    return m_cells[static_cast<size_t>(col) * static_cast<size_t>(m_rows) + static_cast<size_t>(row)];
}

void clsTextGrid::resize(int rows, int cols) {
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (rows == m_rows && cols == m_cols)
        return;
    std::vector<Cell> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (int r = 0; r < std::min(rows, m_rows); ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c)
            cells[static_cast<size_t>(c) * static_cast<size_t>(rows) + static_cast<size_t>(r)] =
                std::move(*at(r, c));
    m_cells = std::move(cells);
    m_rows = rows;
    m_cols = cols;
    m_colWidths.resize(static_cast<size_t>(cols), 0);
    m_colAlignments.resize(static_cast<size_t>(cols), -1);
}

void clsTextGrid::setTextMatrix(qint32 Row, qint32 Col, const QString& Text) {
    if (Cell* c = at(Row, Col))
        c->text = Text;
}

void clsTextGrid::Clear() {
    for (Cell& c : m_cells)
        c = Cell();
}

void clsTextGrid::setCols(qint32 Cols) {
    resize(m_rows, Cols);
}
void clsTextGrid::setRows(qint32 Rows) {
    resize(Rows, m_cols);
}

void clsTextGrid::setColWidth(qint32 Index, qint32 Width) {
    if (Index >= 0 && Index < m_cols)
        m_colWidths[static_cast<size_t>(Index)] = Width;
}

qint32 clsTextGrid::colWidth(int col) const {
    return col >= 0 && col < m_cols ? m_colWidths[static_cast<size_t>(col)] : 0;
}
qint32 clsTextGrid::colAlignment(int col) const {
    return col >= 0 && col < m_cols ? m_colAlignments[static_cast<size_t>(col)] : -1;
}

void clsTextGrid::SelectCell(qint32 Row, qint32 Col, qint32 RowSel, qint32 ColSel) {
    if (RowSel == -1)
        RowSel = Row;
    if (ColSel == -1)
        ColSel = Col;
    m_selRow0 = std::min(Row, RowSel);
    m_selRow1 = std::max(Row, RowSel);
    m_selCol0 = std::min(Col, ColSel);
    m_selCol1 = std::max(Col, ColSel);
}

template <typename F> void clsTextGrid::forSelection(F f) {
    for (int r = std::max(m_selRow0, 0); r <= std::min(m_selRow1, m_rows - 1); ++r)
        for (int c = std::max(m_selCol0, 0); c <= std::min(m_selCol1, m_cols - 1); ++c)
            f(*at(r, c));
}

void clsTextGrid::setCellBackColor(qint32 Color) {
    forSelection([&](Cell& c) { c.backColor = Color; });
}
void clsTextGrid::setCellForeColor(qint32 Color) {
    forSelection([&](Cell& c) { c.foreColor = Color; });
}
void clsTextGrid::setCellAlignment(qint32 Alignment) {
    forSelection([&](Cell& c) { c.alignment = Alignment; });
}
void clsTextGrid::setColAlignment(qint32 Index, qint32 Alignment) {
    if (Index >= 0 && Index < m_cols)
        m_colAlignments[static_cast<size_t>(Index)] = Alignment;
}

QString clsTextGrid::ToText(bool withColors) const {
    QString out = u"rows=%1 cols=%2\r\n"_s.arg(m_rows).arg(m_cols);
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            if (c > 0)
                out += u'\t';
            out += cell(r, c).text;
        }
        out += u"\r\n"_s;
    }
    if (!withColors)
        return out;
    out += u"colors\r\n"_s;
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            if (c > 0)
                out += u'\t';
            out += QString::number(cell(r, c).backColor);
        }
        out += u"\r\n"_s;
    }
    return out;
}
