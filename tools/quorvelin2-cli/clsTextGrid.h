#pragma once

#include "clsGridRecorder.h"

#include <QString>

// A host grid in memory whose colour of a kind is the kind itself, so the colours tell the
// cells' kinds; cells nobody coloured read 0. The command line prints it; tests and benchmarks
// read it.
class clsTextGrid : public clsGridRecorder {
    Q_OBJECT
public:
    explicit clsTextGrid(QObject* parent = nullptr);

    qint32 Color(qint32 ColorType) override { return ColorType; }

    // "rows=R cols=C", then each row's texts separated by TAB; with colours a line "colors" and
    // each row's background colours. Every line ends with CR LF.
    QString ToText(bool withColors) const;
};
