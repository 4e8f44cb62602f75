#include "ProjectError.h"
#include "ProjectErrorCheck.h"
#include "basRuntime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

TEST(Runtime, LeadingNumber) {
    struct Row {
        QString text;
        double value;
    } rows[] = {
        {u"76"_s, 76},
        {u"  76"_s, 76},
        {u"76abc"_s, 76},
        {u"abc76"_s, 0},
        {u""_s, 0},
        {u"-12.5x"_s, -12.5},
        {u"+3"_s, 3},
        {u".5"_s, 0.5},
        {u"1e3"_s, 1000},
        {u"1e"_s, 1},
        {u"2.5.1"_s, 2.5},
        {u"12 34"_s, 12},
        {u" (2002"_s, 0},
        {u"401739)"_s, 401739},
        {u"-"_s, 0},
        {u"1,234"_s, 1},
        {u"\t 7\r"_s, 7},
        {u"００１"_s, 0},
        // integers read directly, and what must still take the full reading
        {u"007"_s, 7},
        {u"123456789012345"_s, 123456789012345.0},
        {u"12345678901234567890"_s, 12345678901234567890.0},
        {u"12d2"_s, 1200},
        {u"12D"_s, 12},
        {u"12E+1x"_s, 120},
        {u"+-1"_s, 0},
        {u"5.25"_s, 5.25},
        {u"-7"_s, -7},
    };
    for (const Row& r : rows)
        EXPECT_EQ(basRuntime::leadingNumber(r.text), r.value) << r.text.toStdString();
    EXPECT_TRUE(std::signbit(basRuntime::leadingNumber(u"-0")));
}

TEST(Runtime, NumericTest) {
    struct Row {
        QString text;
        bool numeric;
        double value;
    } rows[] = {
        {u"401739"_s, true, 401739}, {u" 42 "_s, true, 42}, {u"-1.5"_s, true, -1.5}, {u"1,234"_s, true, 1234},
        {u"1e2"_s, true, 100},       {u""_s, false, 0},     {u" "_s, false, 0},      {u"12a"_s, false, 0},
        {u"a12"_s, false, 0},        {u"1 2"_s, false, 0},  {u"."_s, false, 0},      {u",1"_s, false, 0},
        {u"Week 37)"_s, false, 0},   {u"3."_s, true, 3},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(basRuntime::isNumeric(r.text), r.numeric) << r.text.toStdString();
        EXPECT_EQ(basRuntime::numericValue(r.text), r.value) << r.text.toStdString();
    }
}

TEST(Runtime, RoundingTiesToEven) {
    struct Row {
        double in, out;
    } rows[] = {{2.5, 2},    {3.5, 4},    {-2.5, -2}, {-3.5, -4}, {0.5, 0},        {1.5, 2},
                {2.4999, 2}, {2.5001, 3}, {-0.4, 0},  {7, 7},     {1e9 + 0.5, 1e9}};
    for (const Row& r : rows) {
        EXPECT_EQ(basRuntime::roundHalfEven(r.in), r.out) << r.in;
        EXPECT_EQ(basRuntime::toLong(r.in), static_cast<qint32>(r.out)) << r.in;
    }
    EXPECT_PROJECT_ERROR(basRuntime::toLong(3e9), ProjectError::Overflow);
    EXPECT_PROJECT_ERROR(basRuntime::toLong(std::nan("")), ProjectError::Overflow);
    EXPECT_EQ(basRuntime::leadingLong(u"2.5"), 2);
    EXPECT_EQ(basRuntime::leadingLong(u"99999999999"), 2147483647);
}

TEST(Runtime, NumberFormats) {
    struct Row {
        double value;
        QString expression, text;
    } rows[] = {
        {0, u"#0"_s, u"0"_s},          {7, u"00"_s, u"07"_s},
        {123, u"00"_s, u"123"_s},      {2.5, u"#0"_s, u"3"_s},
        {3.45, u"#0.0"_s, u"3.5"_s},   {0.05, u"#0.0"_s, u"0.1"_s},
        {-1.25, u"#0.0"_s, u"-1.3"_s}, {-0.04, u"#0.0"_s, u"0.0"_s},
        {12.0, u"#0.0"_s, u"12.0"_s},  {1234567, u"#,##0"_s, u"1,234,567"_s},
        {5, u"#0\"%\""_s, u"5%"_s},    {0.5, u"#"_s, u"1"_s},
        {0.25, u"0.##"_s, u"0.25"_s},  {0.2, u"0.##"_s, u"0.2"_s},
        {2.675, u"0.00"_s, u"2.68"_s},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(basRuntime::formatNumber(r.value, r.expression), r.text)
            << r.value << " " << r.expression.toStdString();
        // Appended after a text, with the same digits.
        QString out = u"x,"_s;
        basRuntime::appendFormattedNumber(out, r.value, r.expression);
        EXPECT_EQ(out, u"x,"_s + r.text) << r.value << " " << r.expression.toStdString();
    }
    // Beyond the short way's range the general way writes the digits.
    QString huge = u"x,"_s;
    basRuntime::appendFormattedNumber(huge, 1e16, u"#0");
    EXPECT_EQ(huge, u"x,"_s + basRuntime::formatNumber(1e16, u"#0"));
    EXPECT_EQ(huge.size(), 2 + 17);
}

// Appended digits follow an existing text and read as QString::number writes them.
TEST(Runtime, AppendedNumbers) {
    std::vector<qint64> values = {0,
                                  1,
                                  -1,
                                  9,
                                  10,
                                  -10,
                                  59,
                                  60,
                                  3599,
                                  123456789,
                                  std::numeric_limits<qint64>::max(),
                                  std::numeric_limits<qint64>::min()};
    for (qint64 v = 1; v < std::numeric_limits<qint64>::max() / 7; v *= 7)
        values.insert(values.end(), {v, -v, v + 1, -(v - 1)});
    for (const qint64 v : values) {
        QString out = u"<x>"_s;
        basRuntime::appendNumber(out, v);
        EXPECT_EQ(out, u"<x>"_s + QString::number(v)) << v;
    }
}

TEST(Runtime, LikePatterns) {
    struct Row {
        QString text, pattern;
        bool match;
    } rows[] = {
        {u"abc"_s, u"a*"_s, true},
        {u"abc"_s, u"*c"_s, true},
        {u"abc"_s, u"*b*"_s, true},
        {u"abc"_s, u"a?c"_s, true},
        {u"ac"_s, u"a?c"_s, false},
        {u"a1c"_s, u"a#c"_s, true},
        {u"abc"_s, u"a#c"_s, false},
        {u"ABC"_s, u"abc"_s, false},
        {u""_s, u"*"_s, true},
        {u""_s, u"?"_s, false},
        {u"1:23'45\""_s, u"#:##'##\""_s, true},
        {u"12:34"_s, u"##:##"_s, true},
        {u"1:34"_s, u"##:##"_s, false},
        {u"b"_s, u"[a-c]"_s, true},
        {u"d"_s, u"[a-c]"_s, false},
        {u"d"_s, u"[!a-c]"_s, true},
        {u"a"_s, u"[a"_s, false},
        {u"x*y"_s, u"x[*]y"_s, true},
        {u"xzy"_s, u"x[*]y"_s, false},
        {u"aaab"_s, u"*a*b"_s, true},
        {u"ＭＥ"_s, u"Ｍ?"_s, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(basRuntime::like(r.text, r.pattern), r.match)
            << r.text.toStdString() << " like " << r.pattern.toStdString();
}

// "#0" and "#0.0" take a short way; the same patterns with an extra optional digit take the
// general one and must agree.
TEST(basRuntime, PercentPatternsAgreeWithTheGeneralFormat) {
    const double values[] = {0,     0.4,    0.5,    0.05,   0.95, 1.5,  2.5,    2.675,
                             99.95, 99.949, 107.34, 1234.5, -0.4, -0.5, -12.25, 1e14};
    for (const double v : values) {
        EXPECT_EQ(basRuntime::formatNumber(v, u"#0"), basRuntime::formatNumber(v, u"##0")) << v;
        EXPECT_EQ(basRuntime::formatNumber(v, u"#0.0"), basRuntime::formatNumber(v, u"##0.0")) << v;
    }
}

} // namespace
