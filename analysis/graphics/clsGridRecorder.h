#pragma once

#include "Quorvelin2Global.h"
#include "clsGridObject.h"

#include <QString>

#include <array>
#include <vector>

// A grid that only keeps what is drawn into it: texts, colours, alignments and column widths,
// so that a layout other than a grid widget (a printed page, a table handed over in one pass,
// text) can lay the analysis out. Cells outside the grid are neither written nor stored: reading
// one gives a blank cell.
class QV_EXPORT clsGridRecorder : public clsGridObject {
    Q_OBJECT
public:
    struct Cell {
        QString text;
        qint32 backColor = 0xffffff;
        qint32 foreColor = 0;
        qint32 alignment = -1; // -1: the column's
    };

    explicit clsGridRecorder(QObject* parent = nullptr);

    // The colours handed out by Color: index = QvColorTypeConst. White cells with grey titles
    // until set.
    void setColor(qint32 colorType, qint32 color);

    qint32 Color(qint32 ColorType) override;
    void setTextMatrix(qint32 Row, qint32 Col, const QString& Text) override;
    void Clear() override;
    void setVisible(bool Visible) override;
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
    // Twips; 0 when never set.
    qint32 colWidth(int col) const;
    // The column's own alignment, -1 when it has none.
    qint32 colAlignment(int col) const;
    // The cell, or the blank cell outside the grid.
    const Cell& cell(int row, int col) const {
        if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
            return m_blank;
        return m_cells[index(row, col)];
    }
    // The cell's alignment or, when it has none, its column's; left when neither has one
    // (QvAlignTypeConst).
    qint32 alignment(int row, int col) const;
    // The first row and column of the selected block.
    int selectedRow() const { return m_row0; }
    int selectedCol() const { return m_col0; }

protected:
    // A recorder whose blank cells (new, cleared, outside the grid) are `blank`.
    clsGridRecorder(const Cell& blank, QObject* parent);

private:
    // Column by column: the analysis is written one runner's column at a time.
    size_t index(int row, int col) const {
        return static_cast<size_t>(col) * static_cast<size_t>(m_rows) + static_cast<size_t>(row);
    }
    template <typename Apply> void forSelection(Apply apply);
    void resize(int rows, int cols);

    Cell m_blank;
    int m_rows = 0;
    int m_cols = 0;
    bool m_visible = true;
    std::vector<Cell> m_cells;
    std::vector<qint32> m_colWidths;
    std::vector<qint32> m_colAlignments;
    std::array<qint32, 23> m_colors{};
    int m_row0 = 0, m_col0 = 0, m_row1 = 0, m_col1 = 0;
};
