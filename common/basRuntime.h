#pragma once

// The automation runtime's number tests and conversions, and its Like operator, as the
// system's text formats rely on them. Dates live in basDate, text widths in basText.

#include <QString>
#include <QStringView>

namespace basRuntime {

// The leading number of a text: leading blanks skipped, an optional sign, digits with at most
// one decimal point and an optional exponent; reading stops at the first character that cannot
// continue the number. A text without a leading number gives 0. (The runtime's Val.)
double leadingNumber(QStringView text);
// The same with the radix prefixes: "&H" hexadecimal and "&O" octal digits give a 16-bit
// integer when they fit 16 bits (so "&HFFFF" is -1), else a 32-bit one; more digits than 32 bits
// hold give 0. Settings keep colour numbers this way ("&HCCCCCC").
double leadingNumberWithRadix(QStringView text);

// True when the whole text, less surrounding blanks, is one number: optional sign, digits with
// an optional decimal point and exponent, thousands separators "," between digits allowed.
// An empty text is not numeric. (The runtime's IsNumeric on a text.)
bool isNumeric(QStringView text);
// The value of a numeric text (0 when isNumeric is false).
double numericValue(QStringView text);

// Rounds to the nearest integer, ties to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);
// Conversion to a signed 32-bit integer with ties to even; a value outside the range (or not a
// number) raises ProjectError::Overflow. (The runtime's CLng.)
qint32 toLong(double value);
// The same on a text's leading number: never raises, out-of-range values are clamped.
qint32 leadingLong(QStringView text);

// Appends the decimal digits of an integer (with "-" when negative), as QString::number writes
// them, without a text of its own: for writers of large documents.
void appendNumber(QString& out, qint64 value);

// Formats a number with a format expression of digit placeholders: "0" always writes a digit,
// "#" only where needed, one "." for the decimals, "," in the integer part for thousands
// grouping; any other character stands for itself. Rounds half away from zero at the last
// decimal, as the runtime's Format does. Used with "#0", "#0.0", "00", "0.00" and the like.
QString formatNumber(double value, QStringView expression);
// formatNumber's text appended to out: the tables of the mail text write thousands.
void appendFormattedNumber(QString& out, double value, QStringView expression);

// The Like operator with binary (case-sensitive) comparison: "*" any run of characters, "?" one
// character, "#" one digit 0-9, "[abc]" / "[a-z]" one character of a list, "[!abc]" one
// character not in it. A "[" without its "]" never matches.
bool like(QStringView text, QStringView pattern);

} // namespace basRuntime
