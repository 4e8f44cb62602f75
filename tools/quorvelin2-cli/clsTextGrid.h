#pragma once

#include "clsGridObject.h"

#include <QString>

#include <vector>

// A host grid in memory: it keeps every cell's text, background colour and alignment, and its
// colour of a kind is the kind itself, so the colours tell the cells' kinds. The command line
// prints it; tests and benchmarks read it.
class clsTextGrid : public clsGridObject {
    Q_OBJECT
public:
    struct Cell {
        QString text;
        qint32 backColor = 0;
        qint32 foreColor = 0;
        qint32 alignment = -1; // -1: the column's
    };

    qint32 Color(qint32 ColorType) override { return ColorType; }
    void setTextMatrix(qint32 Row, qint32 Col, const QString& Text) override;
    void Clear() override;
    void setVisible(bool Visible) override { m_visible = Visible; }
    void setCols(qint32 Cols) override;
    void setRows(qint32 Rows) override;
    void setColWidth(qint32 Index, qint32 Width) override;
    void SelectCell(qint32 Row, qint32 Col, qint32 RowSel = -1, qint32 ColSel = -1) override;
    void setCellBackColor(qint32 Color) override;
    void setCellAlignment(qint32 Alignment) override;
    void setColAlignment(qint32 Index, qint32 Alignment) override;
    void setCellForeColor(qint32 Color) override;

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    bool visible() const { return m_visible; }
    // The cell, or an empty one outside the grid.
    const Cell& cell(int row, int col) const;
    qint32 colWidth(int col) const;
    qint32 colAlignment(int col) const;
    // The selected block: first row, first column, last row, last column.
    int selectedRow() const { return m_selRow0; }
    int selectedCol() const { return m_selCol0; }

    // "rows=R cols=C", then each row's texts separated by TAB; with colours a line "colors" and
    // each row's background colours. Every line ends with CR LF.
    QString ToText(bool withColors) const;

private:
    Cell* at(int row, int col);
    void resize(int rows, int cols);
    template <typename F> void forSelection(F f);

    int m_rows = 0, m_cols = 0;
    std::vector<Cell> m_cells;
    std::vector<qint32> m_colWidths, m_colAlignments;
    int m_selRow0 = 0, m_selCol0 = 0, m_selRow1 = 0, m_selCol1 = 0;
    bool m_visible = true;
};
