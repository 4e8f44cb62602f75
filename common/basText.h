#pragma once

// Text rules shared by both programs: narrow/wide conversion, space removal, and text widths
// counted in Windows-31J bytes (a double-byte character counts 2) with the fitting rules.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <cstring>

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

// Appends a text of a few characters, as the cells of exports and grids are. Up to 16
// characters are copied inline in fixed-size pieces: a library copy call for each cell costs
// several times the copy itself (measured on the time cells of the CSV exports).
inline void appendShort(QString& out, QStringView text) {
    const qsizetype n = text.size();
    if (n > 16 || n == 0) {
        out.append(text);
        return;
    }
    const qsizetype at = out.size();
    out.resize(at + n);
    char* d = reinterpret_cast<char*>(out.data() + at);
    const char* s = reinterpret_cast<const char*>(text.utf16());
    // Two pieces of one fixed size, overlapping when the text is shorter than both.
    const auto pieces = [&](auto piece) {
        constexpr size_t size = sizeof(piece);
        const size_t last = size_t(n) * 2 - size;
        std::memcpy(&piece, s, size);
        std::memcpy(d, &piece, size);
        std::memcpy(&piece, s + last, size);
        std::memcpy(d + last, &piece, size);
    };
    if (n >= 8)
        pieces(std::array<quint64, 2>{});
    else if (n >= 4)
        pieces(quint64{});
    else if (n >= 2)
        pieces(quint32{});
    else
        out[at] = text[0];
}

} // namespace basText
