#pragma once

#include "clsGridObject.h"

#include <QBrush>
#include <QHash>
#include <QString>

#include <vector>

class QTableWidget;

// The grid interface written into a table widget. The library's drawing is kept in a plain cell
// matrix and handed to the table in one pass when the drawing ends (Visible = true): a large
// analysis then costs one item update per cell and no repaint or model signal per setting.
// Visible only frames the drawing; showing and hiding the table stays with its owner.
class clsTableGridObject final : public clsGridObject {
    Q_OBJECT
public:
    // The section colours of the grid, as 0x00BBGGRR values of QvColorTypeConst.
    static qint32 HostColor(qint32 ColorType);

    explicit clsTableGridObject(QTableWidget* table, QObject* parent = nullptr);

    qint32 Color(qint32 ColorType) override { return HostColor(ColorType); }
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

    // The colour the library set on a cell (-1: none), for the host's printing and its tests.
    qint32 cellBackColor(int row, int col) const;
    // Hands the matrix to the table now (Visible = true does it too).
    void flush();

private:
    static constexpr qint32 Unset = -1;
    struct Cell {
        QString text;
        qint32 back = Unset;
        qint32 fore = Unset;
        qint32 alignment = Unset;
    };
    Cell* at(int row, int col);
    template <typename F> void forSelection(F f);
    const QBrush& brush(qint32 colour);

    QTableWidget* m_table;
    int m_rows = 0, m_cols = 0;
    std::vector<Cell> m_cells;
    std::vector<qint32> m_widths, m_colAlignments;
    int m_row0 = 0, m_col0 = 0, m_row1 = 0, m_col1 = 0;
    QHash<qint32, QBrush> m_brushes;
};
