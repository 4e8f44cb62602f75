#include "basResultKey.h"

#include "basDate.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ResultKey, StatusCodesInTheirOrderOfTests) {
    struct Row {
        QString text;
        double code;
    } rows[] = {
        {u""_s, 98},      {u"   "_s, 98},    {u"1'23"_s, 0}, {u"12:7x"_s, 0},   {u"DNS"_s, 99},
        {u" dns "_s, 99}, {u"ＤＮＳ"_s, 99}, {u"P3"_s, 3},   {u"p12"_s, 12},    {u"P"_s, 0},
        {u"PX"_s, 0},     {u"MP"_s, 30},     {u"DNF"_s, 90}, {u"ｄｎｆ"_s, 90}, {u"OCL"_s, 91},
        {u"xcl"_s, 91},   {u"CL"_s, 98},     {u"DNQ"_s, 92}, {u"DISQ"_s, 93},   {u"D"_s, 93},
        {u"DQ"_s, 93},    {u"失格"_s, 98},   {u"OK"_s, 98},  {u"ABCL"_s, 98},
    };
    for (const Row& r : rows)
        EXPECT_EQ(basResultKey::ResultKey(r.text), r.code) << r.text.toStdString();
}

TEST(ResultKey, TimesAreWholeSecondsAndBeforeEveryStatus) {
    struct Row {
        QString text;
        qint64 seconds;
    } rows[] = {
        {u"1:02:03"_s, 3723},
        {u"0:00:01"_s, 1},
        {u" 0:45:10 "_s, 2710},
        {u"23:59:59"_s, 86399},
    };
    for (const Row& r : rows) {
        const double key = basResultKey::ResultKey(r.text);
        EXPECT_EQ(key, basDate::fromSeconds(r.seconds)) << r.text.toStdString();
        EXPECT_FALSE(basResultKey::IsStatusKey(key));
        EXPECT_LT(key, basResultKey::ResultKey(u"P1"_s));
        EXPECT_TRUE(basResultKey::IsTimeText(r.text));
        EXPECT_EQ(basResultKey::TimeSeconds(r.text), r.seconds);
    }
    // Equal to the second means equal keys, however the time was written.
    EXPECT_EQ(basResultKey::ResultKey(u"0:05:00"_s), basResultKey::ResultKey(u"00:05:00"_s));
    EXPECT_FALSE(basResultKey::IsTimeText(u"DNF"_s));
    EXPECT_EQ(basResultKey::TimeSeconds(u"DNF"_s), 0);
}

} // namespace
