// The simulator's frames and faults, checked against the reader that must take them.
#include "basEcard250Wire.h"
#include "clsEcard250FrameReader.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QList>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString SampleLine =
    u"03/05/14 23:53:45, Card No. (401739), (2002,Week 37), 0, 00:00:00, 76, 00:22:02, 47, 00:25:13, 35, "
    "00:35:37, 38, 00:46:42, 41, 00:48:53, 42, 00:55:48, 62, 01:08:34, 49, 01:15:51, 60, 01:18:17, 58, "
    "01:23:59, 52, 01:28:46, 51, 01:34:30, 78, 01:41:26, 64, 01:48:39, 100, 01:50:30, 80, 01:53:11, 250, "
    "01:53:17"_s;

clsEcardTagData lineCard(const QString& line) {
    clsEcardTagData t;
    t.setRegnlyFormat(line);
    return t;
}

clsEcardTagData decoded(const QByteArray& frame) {
    clsEcardTagData t;
    t.setReadData(1.0, frame);
    return t;
}

struct RoundTrip {
    const char* name;
    QString line;
};
void PrintTo(const RoundTrip& c, std::ostream* os) {
    *os << c.name;
}

class FrameRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(FrameRoundTrip, DecodesToTheSameCardContent) {
    const clsEcardTagData card = lineCard(GetParam().line);
    ASSERT_TRUE(card.IsValid());
    const QByteArray frame = basEcard250Wire::frameOf(card);
    ASSERT_EQ(frame.size(), 217);
    EXPECT_TRUE(clsEcard250FrameReader::sumsHold(frame));
    EXPECT_FALSE(basEcard250Wire::untransmittable(frame));
    const clsEcardTagData back = decoded(frame);
    EXPECT_EQ(back.StockKey(), card.StockKey());
    EXPECT_EQ(back.ProductionYear(), card.ProductionYear());
    EXPECT_EQ(back.ProductionWeek(), card.ProductionWeek());
}

INSTANTIATE_TEST_SUITE_P(
    basEcard250Wire, FrameRoundTrip,
    ::testing::Values(
        RoundTrip{"SampleCard", SampleLine},
        RoundTrip{"StartRecordOnly", u"26/12/08 10:00:00, Card No. (7), (2010,Week 1), 0, 00:00:00"_s},
        RoundTrip{"Year1981",
                  u"26/12/08 10:00:00, Card No. (255), (1981,Week 52), 0, 00:00:00, 250, 00:10:00"_s},
        RoundTrip{"Year2080",
                  u"26/12/08 10:00:00, Card No. (65535), (2080,Week 9), 0, 00:00:00, 250, 18:12:14"_s},
        RoundTrip{
            "LargestNumber",
            u"26/12/08 10:00:00, Card No. (16777215), (2000,Week 3), 0, 00:00:00, 31, 00:00:01, 250, 00:00:02"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(basEcard250Wire, APunchTimeOf65535SecondsCannotPassTheLink) {
    const clsEcardTagData card =
        lineCard(u"26/12/08 10:00:00, Card No. (5), (2010,Week 1), 0, 00:00:00, 250, 18:12:15"_s);
    ASSERT_TRUE(card.IsValid());
    EXPECT_TRUE(basEcard250Wire::untransmittable(basEcard250Wire::frameOf(card)));
}

TEST(basEcard250Wire, TextsGoIntoTheirFrameBytes) {
    clsEcardTagData card = lineCard(SampleLine);
    card.setEmitSystem(u"EMIT ｶｰﾄﾞ"_s);
    card.setDisplay(1, u"ABCDEFGH"_s);
    card.setDisplay(3, u"xyz"_s);
    const clsEcardTagData back = decoded(basEcard250Wire::frameOf(card));
    EXPECT_EQ(back.EmitSystem(), u"EMIT ｶｰﾄﾞ"_s + QString(23, u' '));
    EXPECT_EQ(back.Display(1), u"ABCDEFGH"_s);
    EXPECT_EQ(back.Display(2), QString(8, u' '));
    EXPECT_EQ(back.Display(3), u"xyz     "_s);
}

TEST(basEcard250Wire, FaultyPiecesBreakWhatTheyShould) {
    std::mt19937 rng(7);
    const QByteArray frame = basEcard250Wire::frameOf(lineCard(SampleLine));
    for (int i = 0; i < 200; ++i) {
        const QByteArray bad = basEcard250Wire::withWrongSum(frame, rng);
        ASSERT_FALSE(clsEcard250FrameReader::sumsHold(bad));
        ASSERT_TRUE(clsEcard250FrameReader::transmittable(bad));
        ASSERT_EQ(bad.left(10), frame.left(10));
        const QByteArray g = basEcard250Wire::garbage(rng);
        ASSERT_FALSE(g.isEmpty());
        ASSERT_FALSE(g.contains('\x20')) << "noise holds the scrambled frame start";
    }
}

// What a reader makes of the bytes of one laying with each fault; the simulator reports the
// same as "delivered" or "lost".
struct NoiseCase {
    const char* name;
    basEcard250Wire::Noise noise;
    bool delivered;
};
void PrintTo(const NoiseCase& c, std::ostream* os) {
    *os << c.name;
}

class NoiseEffect : public ::testing::TestWithParam<NoiseCase> {};

TEST_P(NoiseEffect, ReaderTakesTheCardOrNotAsReported) {
    const QByteArray frame = basEcard250Wire::frameOf(lineCard(SampleLine));
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        clsEcard250FrameReader reader;
        QList<QString> keys;
        QObject::connect(&reader, &clsEcard250FrameReader::ReadTag,
                         [&](std::shared_ptr<clsEcardTagData> t) { keys << t->StockKey(); });
        reader.feed(basEcard250Wire::wireBytes(frame, GetParam().noise, rng));
        ASSERT_EQ(keys.size(), GetParam().delivered ? 1 : 0) << "seed " << seed;
        if (GetParam().delivered) {
            EXPECT_EQ(keys[0], lineCard(SampleLine).StockKey());
        }
    }
}

basEcard250Wire::Noise noise(bool garbage, bool wrongSum, bool damagedSecond, bool brokenFrame) {
    basEcard250Wire::Noise n;
    n.garbage = garbage;
    n.wrongSum = wrongSum;
    n.damagedSecond = damagedSecond;
    n.brokenFrame = brokenFrame;
    return n;
}

INSTANTIATE_TEST_SUITE_P(
    basEcard250Wire, NoiseEffect,
    ::testing::Values(NoiseCase{"Clean", noise(false, false, false, false), true},
                      NoiseCase{"Garbage", noise(true, false, false, false), true},
                      NoiseCase{"WrongSumCopyAhead", noise(false, true, false, false), true},
                      NoiseCase{"BrokenFrameAhead", noise(false, false, false, true), true},
                      NoiseCase{"DamagedSecondCopy", noise(false, false, true, false), false},
                      NoiseCase{"EverythingButDamage", noise(true, true, false, true), true},
                      NoiseCase{"Everything", noise(true, true, true, true), false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
