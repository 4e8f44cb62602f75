#include "basText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using basText::Align;

namespace {

TEST(Text, NarrowWideRoundTrip) {
    struct Row {
        QString narrow, wide;
    } rows[] = {
        {u"ABC xyz 019"_s, u"ＡＢＣ　ｘｙｚ　０１９"_s},
        {u"!~"_s, u"！～"_s},
        {u"-"_s, u"－"_s},
        {u"ｶﾞｷﾞﾊﾟﾋﾟｳﾞｱ"_s, u"ガギパピヴア"_s},
        {u"ﾀﾁｯﾂﾃﾄﾄﾞ"_s, u"タチッツテトド"_s},
        {u"ｼﾞｮｰｼﾞ｡｢｣､･"_s, u"ジョージ。「」、・"_s},
        {u"ﾎﾟﾎﾞﾎ"_s, u"ポボホ"_s},
        {u"漢字ひらがな"_s, u"漢字ひらがな"_s},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(basText::toWide(r.narrow), r.wide) << r.narrow.toStdString();
        EXPECT_EQ(basText::toNarrow(r.wide), r.narrow) << r.wide.toStdString();
    }
    // A mark after a kana that cannot take it stays a separate full-width mark.
    EXPECT_EQ(basText::toWide(u"ｱﾞ"), u"ア゛"_s);
    EXPECT_EQ(basText::toWide(u"ﾞ"), u"゛"_s);
}

TEST(Text, RemoveSpaces) {
    EXPECT_EQ(basText::removeSpaces(u"山田　太郎 x"), u"山田太郎x"_s);
    EXPECT_EQ(basText::removeSpaces(QString(u"a"_s + QChar(0) + u"b"_s)), u"ab"_s);
    EXPECT_EQ(basText::removeSpaces(u"\t"), u"\t"_s);
}

TEST(Text, Windows31JMarksRoundTrip) {
    const QString marks = u"－～ｱ漢字あ\\~"_s;
    const QByteArray bytes = basText::toWindows31J(marks);
    EXPECT_EQ(bytes.toHex(), QByteArray("817c8160b18abf8e9a82a05c7e"));
    EXPECT_EQ(basText::fromWindows31J(bytes), marks);
    // A character the code page lacks becomes "?" and takes one byte.
    EXPECT_EQ(basText::toWindows31J(u"a😀b"), QByteArray("a?b"));
    EXPECT_EQ(basText::byteWidth(u"a😀b"), 3);
}

TEST(Text, ByteWidths) {
    struct Row {
        QString text;
        int width;
    } rows[] = {{u""_s, 0}, {u"abc"_s, 3}, {u"山田"_s, 4}, {u"ｱｲｳ"_s, 3}, {u"Ａ1"_s, 3}, {u"　"_s, 2}};
    for (const Row& r : rows)
        EXPECT_EQ(basText::byteWidth(r.text), r.width) << r.text.toStdString();
}

TEST(Text, PadToWidthReplacesASplitCharacterWithASpace) {
    struct Row {
        QString text;
        int width;
        Align align;
        QString out;
    } rows[] = {
        {u"abc"_s, 5, Align::Left, u"abc  "_s},
        {u"abc"_s, 5, Align::Right, u"  abc"_s},
        {u"山田"_s, 6, Align::Left, u"山田  "_s},
        {u"山田太郎"_s, 5, Align::Left, u"山田 "_s}, // 太 would be split at byte 5
        {u"山田太郎"_s, 5, Align::Right, u"山田 "_s},
        {u"山田太郎"_s, 4, Align::Left, u"山田"_s},
        {u"a山田"_s, 2, Align::Left, u"a "_s},
        {u"abcdef"_s, 3, Align::Right, u"abc"_s},
        {u""_s, 2, Align::Left, u"  "_s},
    };
    for (const Row& r : rows) {
        const QString got = basText::padToWidth(r.text, r.width, r.align);
        EXPECT_EQ(got, r.out) << r.text.toStdString() << " " << r.width;
        EXPECT_EQ(basText::byteWidth(got), r.width);
    }
}

TEST(Text, FitToWidthTrimsAndDropsASplitCharacter) {
    struct Row {
        QString text;
        int width;
        Align align;
        QString out;
    } rows[] = {
        {u"  abc "_s, 5, Align::Right, u"  abc"_s},    {u"  abc "_s, 5, Align::Left, u"abc  "_s},
        {u"山田太郎"_s, 5, Align::Left, u"山田"_s}, // one byte narrower: nothing stands in
        {u"山田太郎"_s, 6, Align::Right, u"山田太"_s}, {u"abcdef"_s, 4, Align::Left, u"abcd"_s},
    };
    for (const Row& r : rows)
        EXPECT_EQ(basText::fitToWidth(r.text, r.width, r.align), r.out) << r.text.toStdString();
    EXPECT_EQ(basText::leftBytes(u"a山b", 2), u"a"_s);
    EXPECT_EQ(basText::leftBytes(u"a山b", 3), u"a山"_s);
}

} // namespace

// Short texts are copied in overlapping pieces: every length, after texts that share their data.
TEST(Text, AppendShortKeepsEveryCharacter) {
    const QString source = u"0123456789:あいうえおかきくけこ"_s;
    for (const QStringView before : {QStringView(), QStringView(u"ab"), QStringView(u"前")}) {
        const QString prefix = before.toString();
        for (qsizetype n = 0; n <= source.size(); ++n) {
            QString out = prefix;
            basText::appendShort(out, QStringView(source).left(n));
            EXPECT_EQ(out, prefix + source.left(n)) << n;
            EXPECT_EQ(prefix, before) << n; // the shared text is left alone
        }
    }
}
