#include "clsDateValue.h"
#include "clsLegRankValue.h"
#include "clsMissTimeValue.h"
#include "clsPercentValue.h"
#include "clsTimeValue.h"

#include "basDate.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

double secs(qint64 s) {
    return basDate::fromSeconds(s);
}

struct TimeCase {
    double value;
    QString format;
    bool compact;
    QString expected;
};

TEST(clsTimeValue, ToStringCodesFormsAndSigns) {
    const TimeCase cases[] = {
        {0, u"hh:nn:ss"_s, false, u"－"_s},
        {-1, u"hh:nn:ss"_s, false, u"↓"_s},
        {-2, u"hh:nn:ss"_s, false, u"×"_s},
        {-2, u"hh:nn:ss"_s, true, u"×"_s}, // codes win over the compact form
        {secs(3723), u"hh:nn:ss"_s, false, u"01:02:03"_s},
        {secs(3723), u"h:nn:ss"_s, false, u"1:02:03"_s},
        {secs(-35), u"hh:nn:ss"_s, false, u"-00:00:35"_s},
        {secs(3723), u"plane"_s, false, u"6203"_s},
        {secs(45), u"plane"_s, false, u"45"_s},
        {secs(65), u"plane"_s, false, u"105"_s},
        {secs(-45), u"plane"_s, false, u"-45"_s},
        {secs(-125), u"plane"_s, false, u"-205"_s},
        {secs(0) + 1e-9, u"hh:nn:ss"_s, true, u"0:00"_s},
        {secs(545), u"hh:nn:ss"_s, true, u"9:05"_s},
        {secs(599), u"hh:nn:ss"_s, true, u"9:59"_s},
        {secs(600), u"hh:nn:ss"_s, true, u"10:00"_s},
        {secs(3599), u"hh:nn:ss"_s, true, u"59:59"_s},
        {secs(3720), u"hh:nn:ss"_s, true, u"1:02:00"_s},
        {secs(-545), u"hh:nn:ss"_s, true, u"-9:05"_s},
        {secs(-35), u"hh:nn:ss"_s, true, u"-0:35"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clsTimeValue(c.value).ToString(c.format, c.compact), c.expected)
            << c.value * 86400 << " " << c.format.toStdString() << " compact " << c.compact;
    }
}

TEST(clsTimeValue, OwnMarksReplaceTheDefaults) {
    EXPECT_EQ(clsTimeValue(0).ToString(u"hh:nn:ss"_s, false, u"n"_s, u"s"_s, u"d"_s), u"n"_s);
    EXPECT_EQ(clsTimeValue(-1).ToString(u"hh:nn:ss"_s, false, u"n"_s, u"s"_s, u"d"_s), u"s"_s);
    EXPECT_EQ(clsTimeValue(-2).ToString(u"hh:nn:ss"_s, false, u"n"_s, u"s"_s, u"d"_s), u"d"_s);
    clsTimeValue t;
    t.setValue(secs(90));
    EXPECT_EQ(t.Value(), secs(90));
}

TEST(clsMissTimeValue, InitialValueCodesAndNegativeMisses) {
    clsMissTimeValue fresh;
    EXPECT_EQ(fresh.Value(), 0);
    EXPECT_EQ(fresh.storedValue(), -10);
    EXPECT_EQ(fresh.ToString(), u"－"_s);

    struct Case {
        double stored;
        bool compact;
        double value;
        QString expected;
    };
    const Case cases[] = {
        {-2, false, -2, u"－"_s},
        {-1, false, -1, u"↓"_s},
        {secs(-35), false, secs(-35), u"-00:00:35"_s},
        {secs(-35), true, secs(-35), u"-0:35"_s},
        {secs(75), true, secs(75), u"1:15"_s},
        {0, false, 0, u"00:00:00"_s}, // no loss is a time, not a gap
    };
    for (const auto& c : cases) {
        clsMissTimeValue m;
        m.setValue(c.stored);
        EXPECT_EQ(m.Value(), c.value);
        EXPECT_EQ(m.ToString(u"hh:nn:ss"_s, c.compact), c.expected) << c.stored * 86400;
    }
}

TEST(clsPercentValue, RatioAsPercentage) {
    struct Case {
        float stored;
        QString format;
        float value;
        QString expected;
    };
    const Case cases[] = {
        {0, u"#0"_s, 0, u"－"_s},
        {-1, u"#0"_s, 0, u"↓"_s},
        {-2, u"#0"_s, 0, u"－"_s},
        {1.0734f, u"#0"_s, 1.0734f, u"107"_s},
        {1.0734f, u"#0.0"_s, 1.0734f, u"107.3"_s},
        {0.995f, u"#0"_s, 0.995f, u"100"_s},
        {0.5f, u"#0"_s, 0.5f, u"50"_s},
    };
    for (const auto& c : cases) {
        clsPercentValue p;
        p.setValue(c.stored);
        EXPECT_FLOAT_EQ(p.Value(), c.value);
        EXPECT_EQ(p.ToString(c.format), c.expected) << c.stored;
    }
}

TEST(clsLegRankValue, HyphenAndParentheses) {
    struct Case {
        qint32 rank;
        bool hyphen;
        bool parentheses;
        QString expected;
    };
    const Case cases[] = {
        {3, true, false, u"3"_s},    {3, true, true, u"3)"_s}, {0, true, false, u"-"_s},
        {0, false, false, u""_s},    {0, true, true, u"-)"_s}, {0, false, true, u""_s},
        {12, false, true, u"12)"_s},
    };
    for (const auto& c : cases) {
        clsLegRankValue r;
        r.setValue(c.rank);
        const QVariant text = r.ToString(c.hyphen, c.parentheses);
        EXPECT_EQ(text.typeId(), QMetaType::QString);
        EXPECT_EQ(text.toString(), c.expected) << c.rank << c.hyphen << c.parentheses;
    }
}

TEST(clsDateValue, EmptyWhenNoDate) {
    clsDateValue d;
    EXPECT_EQ(d.ToString(), QString());
    d.setValue(basDate::dateSerial(2024, 5, 3));
    EXPECT_EQ(d.ToString(), u"2024/05/03"_s);
    EXPECT_EQ(d.ToString(u"yyyy年mm月dd日"_s), u"2024年05月03日"_s);
}

// The common time forms are built straight from the seconds; they must read exactly as the
// general formatter writes them, fractions of a second and signs included.
TEST(clsTimeValue, ShortFormsAgreeWithTheGeneralFormatter) {
    const double seconds[] = {0.4, 0.5,    1,    1.5,     59.49,   59.5,    60,    599.5,
                              600, 3599.6, 3600, 7322.25, 86399.4, 86399.6, 90000, 123456.5};
    for (const double s : seconds) {
        for (const double sign : {1.0, -1.0}) {
            const double v = sign * s / 86400;
            const double magnitude = std::fabs(v);
            const QString prefix = v <= -1.0 / 86400 ? u"-"_s : QString();
            for (const QString& f : {u"hh:nn:ss"_s, u"h:nn:ss"_s})
                EXPECT_EQ(clsTimeValue::formatTime(v, f, false), prefix + basDate::format(magnitude, f))
                    << s * sign;
            QString compact = basDate::format(magnitude, magnitude * 86400 < 599.5    ? u"n:ss"
                                                         : magnitude * 86400 < 3599.5 ? u"nn:ss"
                                                                                      : u"h:nn:ss");
            if (v < 0 && compact != u"0:00"_s)
                compact.prepend(u'-');
            EXPECT_EQ(clsTimeValue::compactForm(v), compact) << s * sign;
        }
    }
}

} // namespace
