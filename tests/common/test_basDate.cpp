#include "basDate.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

double dt(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return basDate::dateSerial(y, m, d) + basDate::timeSerial(h, n, s);
}

TEST(DateValue, SerialValuesCountFromTheEpoch) {
    EXPECT_EQ(basDate::dateSerial(1899, 12, 30), 0.0);
    EXPECT_EQ(basDate::dateSerial(1900, 1, 1), 2.0);
    EXPECT_EQ(basDate::dateSerial(2003, 5, 14), 37755.0);
    EXPECT_EQ(basDate::timeSerial(12, 0, 0), 0.5);
    EXPECT_EQ(basDate::timeSerial(6, 0, 0), 0.25);
}

TEST(DateValue, WholeSecondsRoundTripExactly) {
    for (qint64 s : {0LL, 1LL, 59LL, 3600LL, 65535LL, 86399LL, 86400LL, 123456789LL, -30LL}) {
        EXPECT_EQ(basDate::toSeconds(basDate::fromSeconds(s)), s) << s;
    }
    // Sums of whole seconds are exact where sums of day fractions are not.
    EXPECT_EQ(basDate::fromSeconds(300 + 450), basDate::fromSeconds(360 + 390));
}

TEST(DateValue, CalendarConversionsFollowTheAutomationDateRule) {
    const QDateTime t(QDate(2003, 5, 14), QTime(23, 53, 45));
    const double v = basDate::fromDateTime(t);
    EXPECT_EQ(basDate::toSeconds(v), 37755LL * 86400 + 23 * 3600 + 53 * 60 + 45);
    EXPECT_EQ(basDate::toDateTime(v), t);
    EXPECT_EQ(basDate::toDate(v), QDate(2003, 5, 14));
    EXPECT_EQ(basDate::toTime(v), QTime(23, 53, 45));
    // Before the epoch the fraction still counts forward within its day: -1.25 is 29 Dec 06:00.
    EXPECT_EQ(basDate::toDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(basDate::fromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(basDate::datePart(v), 37755.0);
    EXPECT_EQ(basDate::toSeconds(basDate::timePart(v)), 23 * 3600 + 53 * 60 + 45);
}

TEST(DateValue, FixedTextFormsFormatAndParseBack) {
    using F = basDate::Form;
    const double v = dt(2003, 5, 14, 23, 53, 45);
    const double early = dt(2026, 1, 2, 3, 4, 5);
    const double t = basDate::timeSerial(3, 4, 5);
    struct Row {
        double value;
        F form;
        QString text;
        double parsed; // what the text reads back as: forms without a date give a time of day
    } rows[] = {
        {v, F::YyMmDdHhNnSs, u"03/05/14 23:53:45"_s, v},
        {v, F::HhNnSs, u"23:53:45"_s, basDate::timeSerial(23, 53, 45)},
        {early, F::HhNnSs, u"03:04:05"_s, t},
        {early, F::HNnSs, u"3:04:05"_s, t},
        {v, F::YyyyMmDd, u"2003/05/14"_s, dt(2003, 5, 14)},
        {v, F::YyyyMmDdKanji, u"2003年05月14日"_s, dt(2003, 5, 14)},
        {v, F::YyyyMmDdDash, u"2003-05-14"_s, dt(2003, 5, 14)},
        {v, F::YyMmDdHhNnSsPacked, u"030514235345"_s, v},
        {basDate::timeSerial(0, 22, 2), F::HNnSsPacked, u"02202"_s, basDate::timeSerial(0, 22, 2)},
        {basDate::timeSerial(1, 53, 17), F::HNnSsPacked, u"15317"_s, basDate::timeSerial(1, 53, 17)},
        {basDate::timeSerial(18, 12, 15), F::HNnSsPacked, u"181215"_s, basDate::timeSerial(18, 12, 15)},
        {early, F::HNn, u"3:04"_s, basDate::timeSerial(3, 4, 0)},
        {basDate::fromSeconds(65535), F::HhNnSs, u"18:12:15"_s, basDate::fromSeconds(65535)},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(basDate::format(r.value, r.form), r.text);
        const auto back = basDate::parse(r.text, r.form);
        ASSERT_TRUE(back.has_value()) << r.text.toStdString();
        EXPECT_EQ(basDate::toSeconds(*back), basDate::toSeconds(r.parsed)) << r.text.toStdString();
    }
}

TEST(DateValue, ParseRejectsMalformedTexts) {
    struct Row {
        QString text;
        basDate::Form form;
    } rows[] = {
        {u"03/13/14 23:53:45"_s, basDate::Form::YyMmDdHhNnSs}, // month 13
        {u"03/02/30 10:00:00"_s, basDate::Form::YyMmDdHhNnSs}, // 30 February
        {u"03/05/14 24:00:00"_s, basDate::Form::YyMmDdHhNnSs},
        {u"03/05/14"_s, basDate::Form::YyMmDdHhNnSs},
        {u"12:60:00"_s, basDate::Form::HhNnSs},
        {u"12:00"_s, basDate::Form::HhNnSs},
        {u"1a:00:00"_s, basDate::Form::HhNnSs},
        {u""_s, basDate::Form::HhNnSs},
        {u"2003/05/14"_s, basDate::Form::YyyyMmDdDash},
        {u"03051423534"_s, basDate::Form::YyMmDdHhNnSsPacked},
        {u"2260"_s, basDate::Form::HNnSsPacked},
    };
    for (const Row& r : rows)
        EXPECT_FALSE(basDate::parse(r.text, r.form).has_value()) << r.text.toStdString();
}

TEST(DateValue, TwoDigitYearsExpandInto1930To2029) {
    struct Row {
        int in, out;
    } rows[] = {{0, 2000}, {29, 2029}, {30, 1930}, {99, 1999}, {3, 2003}, {2003, 2003}, {1899, 1899}};
    for (const Row& r : rows)
        EXPECT_EQ(basDate::expandYear(r.in), r.out) << r.in;
    EXPECT_EQ(basDate::toDate(*basDate::parse(u"29/01/01 00:00:00", basDate::Form::YyMmDdHhNnSs)).year(),
              2029);
    EXPECT_EQ(basDate::toDate(*basDate::parse(u"30/01/01 00:00:00", basDate::Form::YyMmDdHhNnSs)).year(),
              1930);
}

TEST(DateValue, RecognitionInYearMonthDayOrder) {
    struct Row {
        QString text;
        std::optional<double> value;
    } rows[] = {
        {u"03/05/14 23:53:45"_s, dt(2003, 5, 14, 23, 53, 45)},
        {u"  2003/5/14   1:02  "_s, dt(2003, 5, 14, 1, 2, 0)},
        {u"2003-05-14"_s, dt(2003, 5, 14)},
        {u"2003年5月14日"_s, dt(2003, 5, 14)},
        {u"1:23:45"_s, basDate::timeSerial(1, 23, 45)},
        {u"0:00"_s, 0.0},
        {u"2003/05/14 25:00:00"_s, std::nullopt},
        {u"2003/02/29"_s, std::nullopt},
        {u"2004/02/29"_s, dt(2004, 2, 29)},
        {u"2003/05-14"_s, std::nullopt},
        {u"abc"_s, std::nullopt},
        {u""_s, std::nullopt},
        {u"401739"_s, std::nullopt},
        {u"1:2:3:4"_s, std::nullopt},
        // The clock forms, which take the direct path, at and around its edges.
        {u"12:34"_s, basDate::timeSerial(12, 34, 0)},
        {u"9:05:07"_s, basDate::timeSerial(9, 5, 7)},
        {u"1:2:3"_s, basDate::timeSerial(1, 2, 3)},
        {u"23:59:59"_s, basDate::timeSerial(23, 59, 59)},
        {u"24:00"_s, std::nullopt},
        {u"9:60"_s, std::nullopt},
        {u"123:00"_s, std::nullopt},
        {u"1:234"_s, std::nullopt},
        {u"1:02:"_s, std::nullopt},
        {u":12"_s, std::nullopt},
        {u"12:"_s, std::nullopt},
        {u"1::2"_s, std::nullopt},
        {u" 1:02"_s, basDate::timeSerial(1, 2, 0)},
        {u"1:02x"_s, std::nullopt},
    };
    for (const Row& r : rows) {
        const auto got = basDate::recognize(r.text);
        EXPECT_EQ(got.has_value(), r.value.has_value()) << r.text.toStdString();
        if (got && r.value) {
            EXPECT_EQ(basDate::toSeconds(*got), basDate::toSeconds(*r.value)) << r.text.toStdString();
        }
        EXPECT_EQ(basDate::isDate(r.text), r.value.has_value());
    }
}

TEST(DateValue, FormatExpressions) {
    const double v = dt(2007, 3, 9, 7, 5, 3);
    struct Row {
        QString expression, text;
    } rows[] = {
        {u"yyyy/m/d"_s, u"2007/3/9"_s},
        {u"yy.mm.dd"_s, u"07.03.09"_s},
        {u"h:n:s"_s, u"7:5:3"_s},
        {u"hh:nn:ss"_s, u"07:05:03"_s},
        {u"HH:NN"_s, u"07:05"_s},
        {u"\"at\" h\\h"_s, u"at 7h"_s},
        {u"yyyy年mm月dd日"_s, u"2007年03月09日"_s},
    };
    for (const Row& r : rows)
        EXPECT_EQ(basDate::format(v, r.expression), r.text) << r.expression.toStdString();
    // Elapsed times past a day show the hour of the day, as the runtime does.
    EXPECT_EQ(basDate::format(basDate::fromSeconds(25 * 3600 + 61), u"hh:nn:ss"), u"01:01:01"_s);
    // A value a hair below a whole second is shown rounded, not cut.
    EXPECT_EQ(basDate::format(basDate::timeSerial(0, 0, 59) - 1e-9, u"nn:ss"), u"00:59"_s);
}

TEST(DateValue, ClockCanBeReplaced) {
    basDate::setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(10, 11, 12, 999)); });
    EXPECT_EQ(basDate::format(basDate::now(), basDate::Form::YyMmDdHhNnSs), u"26/12/08 10:11:12"_s);
    basDate::setClock({});
    EXPECT_GT(basDate::now(), basDate::dateSerial(2020, 1, 1));
}

TEST(DateValue, StoredFormsEqualTheirExpressions) {
    struct Row {
        basDate::Form form;
        const char16_t* expression;
    } forms[] = {
        {basDate::Form::YyMmDdHhNnSs, u"yy/mm/dd hh:nn:ss"},
        {basDate::Form::YyMmDdHhNnSsPacked, u"yymmddhhnnss"},
        {basDate::Form::HhNnSs, u"hh:nn:ss"},
        {basDate::Form::HNnSsPacked, u"hnnss"},
    };
    std::vector<double> values{
        0, -0.25, -1.5, 0.999999, 2958465.99999, -657434.5, basDate::fromSeconds(65535)};
    quint64 x = 12345;
    for (int i = 0; i < 2000; ++i) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        values.push_back(static_cast<double>(static_cast<qint64>(x >> 20) % 8000000000) / 86400.0 - 20000);
    }
    for (const Row& f : forms)
        for (double v : values)
            ASSERT_EQ(basDate::format(v, f.form), basDate::format(v, QStringView(f.expression))) << v;
}

TEST(DateValue, SeparatedTimeFormReadsOneOrTwoDigitsPerField) {
    struct Row {
        QString text;
        std::optional<qint64> seconds;
    } rows[] = {
        {u"1:2:3"_s, 3723},
        {u"01:02:03"_s, 3723},
        {u" 18:12:15 "_s, 65535},
        {u"00:00:00"_s, 0},
        {u"001:02:03"_s, std::nullopt},
        {u"1:2"_s, std::nullopt},
        {u"1:2:3:"_s, std::nullopt},
        {u"1::3"_s, std::nullopt},
        {u"1:02:3a"_s, std::nullopt},
        {u"\uff11:02:03"_s, std::nullopt}, // a full-width digit
        {u"24:00:00"_s, std::nullopt},
        {u"-1:00:00"_s, std::nullopt},
        {u""_s, std::nullopt},
    };
    for (const Row& r : rows) {
        for (basDate::Form form : {basDate::Form::HhNnSs, basDate::Form::HNnSs}) {
            const auto v = basDate::parse(r.text, form);
            ASSERT_EQ(v.has_value(), r.seconds.has_value()) << r.text.toStdString();
            if (v) {
                EXPECT_EQ(basDate::toSeconds(*v), *r.seconds) << r.text.toStdString();
            }
        }
    }
}

} // namespace
