#pragma once

#include "clsGridRecorder.h"

#include <QBrush>
#include <QHash>
#include <QString>

class QTableWidget;

// The grid interface written into a table widget. The library's drawing is kept in the grid
// recorder and handed to the table in one pass when the drawing ends (Visible = true): a large
// analysis then costs one item update per cell and no repaint or model signal per setting.
// Visible only frames the drawing; showing and hiding the table stays with its owner.
class clsTableGridObject final : public clsGridRecorder {
    Q_OBJECT
public:
    // The section colours of the grid, as 0x00BBGGRR values of QvColorTypeConst.
    static qint32 HostColor(qint32 ColorType);

    explicit clsTableGridObject(QTableWidget* table, QObject* parent = nullptr);

    qint32 Color(qint32 ColorType) override;
    void setVisible(bool Visible) override;

    // The colour the library set on a cell (-1: none), for the host's printing and its tests.
    qint32 cellBackColor(int row, int col) const { return cell(row, col).backColor; }
    // Hands the matrix to the table now (Visible = true does it too).
    void flush();

private:
    const QBrush& brush(qint32 colour);

    QTableWidget* m_table;
    QHash<qint32, QBrush> m_brushes;
};
