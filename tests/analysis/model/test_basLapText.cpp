#include "basLapText.h"

#include "basDate.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct NormalizeCase {
    QString input;
    bool seconds;
    QString format;
    QString expected;
};

TEST(basLapText, NormalizeTime) {
    const QString q = u"\""_s;
    const NormalizeCase cases[] = {
        // Seconds mode: numbers are h/m/s digits aligned to the right.
        {u"5"_s, true, u"h:nn:ss"_s, u"0:00:05"_s},
        {u"45"_s, true, u"h:nn:ss"_s, u"0:00:45"_s},
        {u"512"_s, true, u"h:nn:ss"_s, u"0:05:12"_s},
        {u"1234"_s, true, u"h:nn:ss"_s, u"0:12:34"_s},
        {u"10203"_s, true, u"h:nn:ss"_s, u"1:02:03"_s},
        {u"010203"_s, true, u"hh:nn:ss"_s, u"01:02:03"_s},
        {u"575"_s, true, u"h:nn:ss"_s, u"0:06:15"_s},     // seconds above 59 carry over
        {u"1234567"_s, true, u"h:nn:ss"_s, u"1234567"_s}, // too long for digits: left alone
        // Patterns of texts that are not times.
        {u"1:23'45"_s + q, true, u"h:nn:ss"_s, u"1:23:45"_s},
        {u"12:03'07"_s + q, true, u"h:nn:ss"_s, u"12:03:07"_s},
        {u"125:30"_s, true, u"h:nn:ss"_s, u"2:05:30"_s},
        {u"5:75"_s, true, u"h:nn:ss"_s, u"0:06:15"_s},
        {u"58:30"_s, true, u"h:nn:ss"_s, u"0:58:30"_s},
        // Valid times: one colon is minutes:seconds, two colons stay.
        {u"12:30"_s, true, u"h:nn:ss"_s, u"0:12:30"_s},
        {u"1:02:03"_s, true, u"h:nn:ss"_s, u"1:02:03"_s},
        {u"1:02:03"_s, true, u"hh:nn:ss"_s, u"01:02:03"_s},
        // A remark in parentheses goes first, the blank before it too.
        {u"1:02:03 (corrected)"_s, true, u"h:nn:ss"_s, u"1:02:03"_s},
        {u"512(x)"_s, true, u"h:nn:ss"_s, u"0:05:12"_s},
        {u"  DNF "_s, true, u"h:nn:ss"_s, u"DNF"_s},
        {u"-5"_s, true, u"h:nn:ss"_s, u"-5"_s},
        // Full-width text comes out narrow.
        {u"ＤＮＦ"_s, true, u"h:nn:ss"_s, u"DNF"_s},
        // Minutes mode: numbers are h/m digits.
        {u"12"_s, false, u"h:nn:ss"_s, u"12:00:00"_s},
        {u"123"_s, false, u"h:nn:ss"_s, u"1:23:00"_s},
        {u"1234"_s, false, u"h:nn:ss"_s, u"12:34:00"_s},
        {u"10203"_s, false, u"h:nn:ss"_s, u"1:02:03"_s},
        {u"1:02:03"_s, false, u"h:nn:ss"_s, u"1:02:03"_s},
        {u"58:30"_s, false, u"h:nn:ss"_s, u"58:30"_s}, // no minutes:seconds reading here
    };
    for (const auto& c : cases) {
        EXPECT_EQ(basLapText::NormalizeTime(c.input, c.seconds, c.format), c.expected)
            << c.input.toStdString() << " seconds mode " << c.seconds;
    }
}

TEST(basLapText, ResultKeyOrdersTimesBeforeStatuses) {
    struct Case {
        QString text;
        double key;
    };
    const Case cases[] = {
        {u"1:02:03"_s, basDate::fromSeconds(3723)},
        {u""_s, 98},
        {u"12:3x:00"_s, 0},
        {u"1'23"_s, 0},
        {u"DNS"_s, 99},
        {u"P3"_s, 3},
        {u"p12"_s, 12},
        {u"MP"_s, 30},
        {u"DNF"_s, 90},
        {u"dnf"_s, 90},
        {u"OCL"_s, 91},
        {u"DNQ"_s, 92},
        {u"DISQ"_s, 93},
        {u"DSQ"_s, 93},
        {u"ＤＮＳ"_s, 99},
        {u"abc"_s, 98},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(basLapText::ResultKey(c.text), c.key) << c.text.toStdString();
}

TEST(basLapText, FileNamesFromClassNamesAndPaths) {
    struct Case {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {u"M21"_s, u"m21"_s},
        {u"M/W21"_s, u"w21"_s},
        {u"Ｍ２１Ａ"_s, u"m21a"_s},
        {u"C:\\Out\\M21"_s, u"c:\\out\\m21"_s},
        {u"C:\\Out\\a/b"_s, u"c:\\out\\ab"_s},
        {u"A<B>|'\"C"_s, u"abc"_s},
        {u"drive:Name"_s, u"drive:\\name"_s},
        {u"Dir\\"_s, u"dir\\"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(basLapText::DeriveFileName(c.text), c.expected) << c.text.toStdString();
}

TEST(basLapText, MergeNamesIgnoreCaseWidthAndSpaces) {
    const QString base = basLapText::MergeName(u"Yamada Taro"_s);
    EXPECT_EQ(base, u"yamadataro"_s);
    for (const QString& same : {u"YamadaTaro"_s, u"ＹａｍａｄａＴａｒｏ"_s, u"Ｙａｍａｄａ　Ｔａｒｏ"_s,
                                u" yamada  taro "_s, QString(u"yamada"_s + QChar(0) + u"taro"_s)})
        EXPECT_EQ(basLapText::MergeName(same), base) << same.toStdString();
    EXPECT_NE(basLapText::MergeName(u"Yamada Jiro"_s), base);
}

} // namespace

#include "basResultKey.h"

namespace {

// The analysis orders runners by its own reading of the same rule; both must agree on every
// text, or a class sorted here would list differently from its analysis.
TEST(basLapText, ResultKeyAgreesWithTheAnalysis) {
    const QStringList texts = {u""_s,           u" "_s,    u"1:02:03"_s, u"0:59:59"_s,  u"12:30"_s,
                               u"12:3x"_s,      u"1'02"_s, u"DNS"_s,     u"dns"_s,      u"P"_s,
                               u"P3"_s,         u"P 4"_s,  u"MP"_s,      u"DNF"_s,      u"XCL"_s,
                               u"CL"_s,         u"DNQ"_s,  u"DISQ"_s,    u"D"_s,        u"ＤＮＦ"_s,
                               u"2024/01/02"_s, u"abc"_s,  u"  DNF  "_s, u"1:02:03 "_s, u"99"_s};
    for (const QString& t : texts)
        EXPECT_DOUBLE_EQ(basLapText::ResultKey(t), basResultKey::ResultKey(t)) << t.toStdString();
}

} // namespace
