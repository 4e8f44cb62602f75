#include "basDate.h"
#include "basTypedResult.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(TypedTime, Examples) {
    struct Case {
        QString typed;
        QString text;
        bool isTime;
    } cases[] = {
        {u"12345"_s, u"01:23:45"_s, true},
        {u"5"_s, u"00:00:05"_s, true},
        {u"23:45"_s, u"00:23:45"_s, true},
        {u"1:75"_s, u"00:02:15"_s, true},
        {u"123:45"_s, u"02:03:45"_s, true},
        {u"1:23:45 (2)"_s, u"01:23:45"_s, true},
        {u"45"_s, u"00:00:45"_s, true},
        {u"123"_s, u"00:01:23"_s, true},
        {u"1234"_s, u"00:12:34"_s, true},
        {u"012345"_s, u"01:23:45"_s, true},
        {u"000075"_s, u"00:01:15"_s, true},
        {u"1234567"_s, u"1234567"_s, false}, // other lengths stay
        {u"1:23:45"_s, u"01:23:45"_s, true},
        {u"13:00:00"_s, u"13:00:00"_s, true},
        {u"1:23'45\""_s, u"01:23:45"_s, true},
        {u"12:34'56\""_s, u"12:34:56"_s, true},
        {u"23:75"_s, u"00:24:15"_s, true},
        {u"99:99:99"_s, u"04:40:39"_s, true}, // carried over, then the time of day
        {u"  1:02:03  "_s, u"01:02:03"_s, true},
        {u"１２３４５"_s, u"01:23:45"_s, true}, // full-width digits
        {u"DNF"_s, u"DNF"_s, false},
        {u"P3"_s, u"P3"_s, false},
        {u"-5"_s, u"-5"_s, false},
        {u"ab:cd:ef"_s, u"ab:cd:ef"_s, false},
        {u"(2)"_s, u""_s, false},
        {u""_s, u""_s, false},
    };
    for (const Case& c : cases) {
        const auto r = basTypedResult::ReadTypedTime(c.typed);
        EXPECT_EQ(r.text, c.text) << c.typed.toStdString();
        EXPECT_EQ(r.isTime, c.isTime) << c.typed.toStdString();
        if (c.isTime) {
            const auto parsed = basDate::parse(c.text, basDate::Form::HhNnSs);
            ASSERT_TRUE(parsed) << c.typed.toStdString();
            EXPECT_EQ(r.seconds, basDate::toSeconds(*parsed)) << c.typed.toStdString();
        }
    }
}

TEST(ResultOrderKey, ByText) {
    const auto days = [](int h, int m, int s) {
        return static_cast<float>(basDate::fromSeconds(h * 3600 + m * 60 + s));
    };
    struct Case {
        QString result;
        float key;
    } cases[] = {
        {u""_s, 0.0f},
        {u"   "_s, 0.0f},
        {u"01:23:45"_s, days(1, 23, 45)},
        {u"1:23:45"_s, days(1, 23, 45)},
        {u"13:00:00"_s, days(13, 0, 0)},
        {u"12345"_s, days(1, 23, 45)},
        {u"DNF"_s, 98.0f},
        {u"dnf"_s, 98.0f},
        {u"ＤＮＦ"_s, 98.0f},
        {u"P3"_s, 3.0f},
        {u"p3"_s, 3.0f},
        {u"P2.5"_s, 2.0f}, // ties to even
        {u"P3.5"_s, 4.0f},
        {u"P"_s, 99.0f},
        {u"P0"_s, 99.0f},
        {u"P-3"_s, 99.0f},
        {u"PX"_s, 99.0f},
        {u"DNQ"_s, 99.0f},
        {u"失格"_s, 99.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(basTypedResult::ResultOrderKey(c.result), c.key) << c.result.toStdString();
}

TEST(ResultOrderKey, EqualTimesGiveEqualKeysAcrossForms) {
    // A card time and a typed time of the same seconds must tie exactly.
    for (int s : {1, 59, 3599, 5025, 46800, 86399}) {
        const QString text = basDate::format(basDate::fromSeconds(s), basDate::Form::HhNnSs);
        EXPECT_EQ(basTypedResult::ResultOrderKey(text), static_cast<float>(basDate::fromSeconds(s))) << s;
    }
}
