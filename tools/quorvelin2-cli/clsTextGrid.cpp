#include "clsTextGrid.h"

using namespace Qt::StringLiterals;

clsTextGrid::clsTextGrid(QObject* parent) : clsGridRecorder(Cell{QString(), 0, 0, -1}, parent) {}

QString clsTextGrid::ToText(bool withColors) const {
    QString out = u"rows=%1 cols=%2\r\n"_s.arg(rows()).arg(cols());
    for (int r = 0; r < rows(); ++r) {
        for (int c = 0; c < cols(); ++c) {
            if (c > 0)
                out += u'\t';
            out += cell(r, c).text;
        }
        out += u"\r\n"_s;
    }
    if (!withColors)
        return out;
    out += u"colors\r\n"_s;
    for (int r = 0; r < rows(); ++r) {
        for (int c = 0; c < cols(); ++c) {
            if (c > 0)
                out += u'\t';
            out += QString::number(cell(r, c).backColor);
        }
        out += u"\r\n"_s;
    }
    return out;
}
