#pragma once

#include "Quorvelin2Global.h"

#include <QObject>
#include <QString>

// The grid interface the analysis grid is drawn into. Rows and columns are 0-based, column 0 is
// the title column. This class only defines the interface: every setter does nothing and Color
// gives 0. A host wraps its own grid by subclassing it; the members are reachable by name too.
class QV_EXPORT clsGridObject : public QObject {
    Q_OBJECT
public:
    explicit clsGridObject(QObject* parent = nullptr);
    ~clsGridObject() override;

    // The host's colour for a kind of cell (QvColorTypeConst).
    Q_INVOKABLE virtual qint32 Color(qint32 ColorType);
    Q_INVOKABLE virtual void setTextMatrix(qint32 Row, qint32 Col, const QString& Text);
    Q_INVOKABLE virtual void Clear();
    Q_INVOKABLE virtual void setVisible(bool Visible);
    Q_INVOKABLE virtual void setCols(qint32 Cols);
    Q_INVOKABLE virtual void setRows(qint32 Rows);
    // Width in twips.
    Q_INVOKABLE virtual void setColWidth(qint32 Index, qint32 Width);
    // Selects a cell, or the block between (Row, Col) and (RowSel, ColSel), for the cell settings
    // that follow; -1 stands for the same row or column.
    Q_INVOKABLE virtual void SelectCell(qint32 Row, qint32 Col, qint32 RowSel = -1, qint32 ColSel = -1);
    Q_INVOKABLE virtual void setCellBackColor(qint32 Color);
    // QvAlignTypeConst.
    Q_INVOKABLE virtual void setCellAlignment(qint32 Alignment);
    Q_INVOKABLE virtual void setColAlignment(qint32 Index, qint32 Alignment);
    Q_INVOKABLE virtual void setCellForeColor(qint32 Color);
};
