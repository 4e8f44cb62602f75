#pragma once

// Text rules shared by both programs: narrow/wide conversion, space removal, and text widths
// counted in Windows-31J bytes (a double-byte character counts 2) with the fitting rules.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace basText {

// Half-width letters, digits, symbols, space and katakana to full width; a half-width voiced
// or semi-voiced mark joins the kana before it (ｶﾞ -> ガ, ﾊﾟ -> パ, ｳﾞ -> ヴ).
QString toWide(QStringView text);
// Full-width letters, digits, symbols, space and katakana to half width; voiced kana split
// into kana and mark (ガ -> ｶﾞ). Characters without a half-width form stay.
QString toNarrow(QStringView text);
// Removes half-width spaces, full-width spaces (U+3000) and NUL characters.
QString removeSpaces(QStringView text);

// Windows-31J encoding. A character the code page lacks is written as "?", as the system's
// code page conversion does, so it takes one byte.
QByteArray toWindows31J(QStringView text);
QString fromWindows31J(QByteArrayView bytes);

// Width of a text in Windows-31J bytes.
int byteWidth(QStringView text);
int byteWidth(QChar c);

enum class Align { Left, Right };

// Pads a text with spaces to exactly width bytes (behind for Left, in front for Right), or cuts
// it to its first width bytes; a double-byte character the cut would split is dropped and a
// space stands in its place, so the result is always width bytes wide.
QString padToWidth(QStringView text, int width, Align align);

// Trims the text, then pads it with spaces to width bytes (behind for Left, in front for
// Right) or cuts it to its first width bytes; a double-byte character the cut would split is
// dropped without a stand-in, so a cut result may be one byte narrower than width.
QString fitToWidth(QStringView text, int width, Align align);

// The first bytes of a text, never splitting a double-byte character.
QString leftBytes(QStringView text, int bytes);

} // namespace basText
