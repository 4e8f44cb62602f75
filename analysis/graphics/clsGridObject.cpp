#include "clsGridObject.h"

clsGridObject::clsGridObject(QObject* parent) : QObject(parent) {}
clsGridObject::~clsGridObject() = default;

qint32 clsGridObject::Color(qint32) {
    return 0;
}
void clsGridObject::setTextMatrix(qint32, qint32, const QString&) {}
void clsGridObject::Clear() {}
void clsGridObject::setVisible(bool) {}
void clsGridObject::setCols(qint32) {}
void clsGridObject::setRows(qint32) {}
void clsGridObject::setColWidth(qint32, qint32) {}
void clsGridObject::SelectCell(qint32, qint32, qint32, qint32) {}
void clsGridObject::setCellBackColor(qint32) {}
void clsGridObject::setCellAlignment(qint32) {}
void clsGridObject::setColAlignment(qint32, qint32) {}
void clsGridObject::setCellForeColor(qint32) {}
