#include "ProjectError.h"
#include "ProjectErrorCheck.h"
#include "basDate.h"
#include "clsLapData.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(clsLapData, ReadingALegBeyondLegCountExtendsIt) {
    clsLapData lap;
    for (int j = 1; j <= 3; ++j)
        lap.Lap(j)->setValue(basDate::fromSeconds(60 * j));
    EXPECT_EQ(lap.LegCount(), 3);
    EXPECT_EQ(lap.Lap(5)->Value(), 0);
    EXPECT_EQ(lap.LegCount(), 5);
    lap.Lap(2); // reading below the count leaves it
    EXPECT_EQ(lap.LegCount(), 5);
    EXPECT_EQ(lap.Lap(3)->Value(), basDate::fromSeconds(180));
    EXPECT_EQ(lap.Lap(0), nullptr);
    EXPECT_EQ(lap.LegCount(), 5);
}

TEST(clsLapData, LegIndexesOutsideTheTableRaise) {
    clsLapData lap;
    for (int bad : {-1, 31, 100})
        EXPECT_PROJECT_ERROR(lap.Lap(bad), ProjectError::OutOfRange) << "leg " << bad;
    EXPECT_NO_THROW(lap.Lap(30));
    EXPECT_EQ(lap.LegCount(), 30);
    EXPECT_PROJECT_ERROR(lap.setLegCount(31), ProjectError::OutOfRange);
    EXPECT_EQ(lap.LegCount(), 30);
    EXPECT_EQ(lap.LapValue(31), 0); // the quiet reader never raises
}

TEST(clsLapData, ResultIsNormalised) {
    struct Case {
        QString input;
        QString stored;
        double time;
    };
    const Case cases[] = {
        {u"1:02:03"_s, u"1:02:03"_s, basDate::fromSeconds(3723)},
        {u"10203"_s, u"1:02:03"_s, basDate::fromSeconds(3723)},
        {u"512"_s, u"0:05:12"_s, basDate::fromSeconds(312)},
        {u"58:30"_s, u"0:58:30"_s, basDate::fromSeconds(3510)},
        {u"１：０２：０３"_s, u"1:02:03"_s, basDate::fromSeconds(3723)},
        {u"dnf"_s, u"DNF"_s, -2},
        {u"ｄｎｓ"_s, u"DNS"_s, -2},
        {u"p2"_s, u"P2"_s, -2},
        {u"0:00:00"_s, u"DISQ"_s, 0},
        {u"0"_s, u"DISQ"_s, 0},
        {u""_s, u""_s, -2},
    };
    for (const auto& c : cases) {
        clsLapData lap;
        lap.setResult(c.input);
        EXPECT_EQ(lap.Result(), c.stored) << c.input.toStdString();
        EXPECT_DOUBLE_EQ(lap.ResultTime(), c.time) << c.input.toStdString();
    }
}

TEST(clsLapData, EqualResultTimesAreEqualToTheLastBit) {
    clsLapData a;
    clsLapData b;
    a.setResult(u"1:00:00"_s);
    b.setResult(u"10000"_s);
    EXPECT_EQ(a.ResultTime(), b.ResultTime());
    EXPECT_EQ(a.ResultTime(), basDate::fromSeconds(3600));
}

} // namespace
