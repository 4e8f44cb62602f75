#include "basResultText.h"
#include "basText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(basResultText, ResultLinesLineUpInWindows31JBytes) {
    struct Case {
        const char* what;
        QString course, result, rank, line;
    } cases[] = {
        {"12th place, short class, 7-character result", u"M21A"_s, u"1:23:45"_s, u"12"_s,
         u"M21A     1:23:45   12位\r\n"_s},
        {"first place", u"W21A"_s, u"0:58:31"_s, u"1"_s, u"W21A     0:58:31    1位\r\n"_s},
        {"non-competitive", u"M21A"_s, u"00:50:00"_s, u"参考"_s, u"M21A    00:50:00  参考\r\n"_s},
        {"failed, no rank", u"M21A"_s, u"DNF"_s, QString(), u"M21A         DNF  \r\n"_s},
        {"class name longer than 8 bytes is cut", u"ELITE-MEN"_s, u"P1"_s, QString(),
         u"ELITE-ME      P1  \r\n"_s},
        {"cut through a full-width character leaves a space", u"M男子エリ"_s, u"1:00:00"_s, u"3"_s,
         u"M男子エ  1:00:00    3位\r\n"_s},
        {"full-width class counts two bytes each", u"女子"_s, u"1:00:00"_s, u"2"_s,
         u"女子     1:00:00    2位\r\n"_s},
        {"blanks around the texts are trimmed", u" M15 "_s, u" 0:33:05 "_s, u"1"_s,
         u"M15      0:33:05    1位\r\n"_s},
    };
    for (const Case& c : cases) {
        const QString line = basResultText::resultLine(c.course, c.result, c.rank);
        EXPECT_EQ(line, c.line) << c.what;
        // Every ranked line is 22 bytes wide before its CR LF.
        if (!c.rank.isEmpty() && c.rank != u"参考"_s) {
            EXPECT_EQ(basText::byteWidth(line.chopped(2)), 8 + 8 + 5 + 2) << c.what;
        }
    }
}

TEST(basResultText, NameLabelWithAndWithoutAName) {
    EXPECT_EQ(basResultText::nameLabelText(401739, false, QString(), QString()),
              u"番号     401739\r\n氏名     未登録"_s);
    EXPECT_EQ(basResultText::nameLabelText(401739, true, u"山田 太郎"_s, u"東京OLクラブ"_s),
              u"番号     401739\r\n氏名     山田 太郎\r\n所属     東京OLクラブ"_s);
    EXPECT_EQ(basResultText::readingText(12), u"[番号] 12"_s);
}

TEST(basResultText, CardLabelJoinsTheDisplayLines) {
    EXPECT_EQ(basResultText::cardLabelText(u"  EMIT 250  "_s, u" ABC    "_s, u"DEF     "_s, u"     GHI"_s),
              u"EMIT 250\r\nABC    DEF          GHI"_s);
    EXPECT_EQ(basResultText::cardLabelText(QString(), QString(), QString(), QString()), u"\r\n"_s);
    EXPECT_EQ(basResultText::readCountText(3), u"3枚"_s);
    EXPECT_EQ(basResultText::nameCountText(0), u"0件"_s);
}

} // namespace
