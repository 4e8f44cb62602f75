#pragma once
// Bringing result lists typed by people (comma- or space-separated, field names in the first
// row or the first column) into the table shape of the text lap reader.

#include "Quorvelin2Global.h"

#include <QString>
#include <QStringList>

namespace basCsvPrepare {

// The name of leg `leg` of a course with `controlCount` controls: from-part (with the start
// flag) "△" or the previous control, "→", then the control or "◎" for the finish. Numbers
// below 10 are written with full-width digits.
QV_EXPORT QString LegLabel(int controlCount, bool withStart, int leg);

// A field compared as a field name: upper case and half-width.
QV_EXPORT QString fieldKey(const QString& field);
// How much a field looks like a field name: 10 a known name, 1 a number up to 20, 0 a larger
// number, -1 anything else.
QV_EXPORT int fieldScore(const QString& field);
// The largest number in a header line once "-" and "→" separate fields too (0 when none).
QV_EXPORT int largestHeaderNumber(const QString& line);
// The reader's column name for one header field; n is the line's largest number.
QV_EXPORT QString canonicalField(const QString& field, int n);
// True when the line names the runner column (NAME, 氏名, 名前 or NAMAE).
QV_EXPORT bool isHeaderLine(const QString& line);
// Every field of a header line made canonical. With addClassColumn, a line without a class
// field gets one at its end.
QV_EXPORT QString normaliseHeaderLine(const QString& line, bool addClassColumn);
// Fields become lines: line k is field k of every line (an empty field where a line is shorter).
QV_EXPORT QStringList transpose(const QStringList& lines);

enum class Outcome { Ready, NoFieldNames };
// Rewrites the lines in place for the reader: space-separated text made comma-separated, the
// table transposed when the names run down the first column, header lines normalised. With
// NoFieldNames nothing was changed.
QV_EXPORT Outcome prepare(QStringList& lines);

inline const QString NoFieldNamesMessage =
    QStringLiteral("ＣＳＶファイルの１行目か１列目にフィールド名を入力してください");

} // namespace basCsvPrepare
