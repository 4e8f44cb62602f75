// The reading unit's byte stream: frames are built here byte by byte from the frame layout,
// scrambled with the unit's key written out literally, and fed to the reader.
#include "clsEcard250FrameReader.h"

#include "basDate.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QByteArray>
#include <QList>

#include <memory>
#include <random>
#include <vector>

namespace {

struct Punch {
    int code;
    int seconds;
};

struct Card {
    qint32 number = 0;
    int week = 12;
    int yearByte = 3;
    std::vector<Punch> punches;
    QByteArray text = "EMIT-SYSTEM                     ";
};

// The unscrambled 217-byte frame of a card, with both sums made to hold.
QByteArray frameOf(const Card& c) {
    QByteArray f(217, '\0');
    auto set = [&](int pos, int v) { f[pos - 1] = static_cast<char>(v & 0xFF); };
    set(1, 0xFF);
    set(2, 0xFF);
    set(3, c.number);
    set(4, c.number >> 8);
    set(5, c.number >> 16);
    set(7, c.week);
    set(8, c.yearByte);
    for (size_t i = 0; i < c.punches.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        set(3 * r + 8, c.punches[i].code);
        set(3 * r + 9, c.punches[i].seconds);
        set(3 * r + 10, c.punches[i].seconds >> 8);
    }
    for (int i = 0; i < 32; ++i)
        set(161 + i, i < c.text.size() ? c.text[i] : ' ');
    for (int i = 193; i <= 216; ++i)
        set(i, 'A' + (i % 26));
    int header = 0;
    for (int p = 3; p <= 9; ++p)
        header += static_cast<uchar>(f[p - 1]);
    set(10, (256 - header % 256) % 256);
    int all = 0;
    for (int p = 1; p <= 216; ++p)
        all += static_cast<uchar>(f[p - 1]);
    set(217, (256 - all % 256) % 256);
    return f;
}

// The unit's scrambling, written out here rather than taken from the reader.
QByteArray onWire(const QByteArray& unscrambled) {
    QByteArray out = unscrambled;
    for (char& b : out)
        b = static_cast<char>(static_cast<uchar>(b) ^ 0xDF);
    return out;
}

// A frame with one body byte changed, so its sum no longer holds.
QByteArray damaged(QByteArray f, int pos = 100) {
    const uchar b = static_cast<uchar>(f[pos - 1]);
    f[pos - 1] = static_cast<char>(b >= 0xFE ? b - 1 : b + 1);
    return f;
}

Card card(qint32 number, int salt = 0) {
    Card c;
    c.number = number;
    c.punches = {{0, 0}, {31 + salt % 50, 300 + salt}, {45, 900 + salt}, {250, 1500 + salt}};
    return c;
}

struct Result {
    std::vector<std::shared_ptr<clsEcardTagData>> tags;
    QList<qint32> reading;
    quint64 dropped = 0;
    QList<qint32> numbers() const {
        QList<qint32> n;
        for (const auto& t : tags)
            n << t->EcardNo();
        return n;
    }
};

struct Fixture {
    clsEcard250FrameReader reader;
    Result result;
    double clock = basDate::fromSeconds(46000 * basDate::SecondsPerDay + 10 * 3600);
    Fixture() {
        reader.setClock([this] { return clock; });
        QObject::connect(&reader, &clsEcard250FrameReader::ReadTag,
                         [this](std::shared_ptr<clsEcardTagData> t) { result.tags.push_back(std::move(t)); });
        QObject::connect(&reader, &clsEcard250FrameReader::Reading,
                         [this](qint32 n) { result.reading << n; });
        QObject::connect(&reader, &clsEcard250FrameReader::FrameDropped, [this] { ++result.dropped; });
    }
};

const Card A = card(401739, 1);
const Card B = card(12345, 2);
const Card LowFF = card(255, 3);    // low byte of the number is 0xFF
const Card TwoFF = card(0xFFFF, 4); // bytes 3 and 4 are 0xFF
const Card Max = card(0xFFFFFF, 5); // bytes 2 to 5 are 0xFF

struct StreamCase {
    const char* name;
    std::vector<QByteArray> parts; // unscrambled pieces, fed in order
    QList<qint32> delivered;
    QList<qint32> reading;
    quint64 wrongSums = 0; // frames dropped for their sum
    quint64 broken = 0;    // frames broken off by another start
};
void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.name;
}

class Stream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(Stream, DeliversExactlyTheExpectedCards) {
    Fixture fx;
    for (const QByteArray& p : GetParam().parts)
        fx.reader.feed(onWire(p));
    EXPECT_EQ(fx.result.numbers(), GetParam().delivered);
    EXPECT_EQ(fx.result.reading, GetParam().reading);
    EXPECT_EQ(fx.reader.wrongSumFrames(), GetParam().wrongSums);
    EXPECT_EQ(fx.reader.brokenFrames(), GetParam().broken);
    EXPECT_EQ(fx.result.dropped, GetParam().wrongSums + GetParam().broken) << "one event per dropped frame";
}

const QByteArray a = frameOf(A);
const QByteArray b = frameOf(B);
const QByteArray noise("\x01\x02\x30\x41\x00\x00\x7e\x80\x10", 9);

INSTANTIATE_TEST_SUITE_P(
    clsEcard250FrameReader, Stream,
    ::testing::Values(
        StreamCase{"DoubleCopyDeliveredOnce", {a, a}, {401739}, {401739}},
        StreamCase{"ThirdCopyNotDelivered", {a, a, a}, {401739}, {401739}},
        StreamCase{"FourthAndFifthCopyNotDelivered", {a, a, a, a, a}, {401739}, {401739}},
        StreamCase{"SingleCopyNotDelivered", {a}, {}, {401739}},
        StreamCase{"SameCardAgainNotDelivered", {a, a, noise, a, a}, {401739}, {401739}},
        StreamCase{"SameCardAgainAfterAnotherCard",
                   {a, a, b, b, a, a},
                   {401739, 12345, 401739},
                   {401739, 12345, 401739}},
        StreamCase{
            "NoiseBetweenCards", {noise, a, a, noise, noise, b, b, noise}, {401739, 12345}, {401739, 12345}},
        StreamCase{"WrongSumNeverDelivered", {damaged(a), damaged(a), damaged(a)}, {}, {401739}, 3},
        StreamCase{"WrongSumInFirstCopyThenGoodPair", {damaged(a), a, a}, {401739}, {401739}, 1},
        StreamCase{"DamagedSecondCopyThenGoodCopy", {a, damaged(a), a}, {401739}, {401739}, 1},
        StreamCase{"WrongHeaderSumIsNoHeader", {damaged(a, 6), damaged(a, 6)}, {}, {}},
        StreamCase{"FFFFInsideAFrameRestartsTheSearch", {a.left(120), a, a}, {401739}, {401739}, 0, 1},
        StreamCase{"FFFFJustAfterTheHeader", {a.left(11), a, a}, {401739}, {401739}, 0, 1},
        StreamCase{"TwoCardsBackToBackWithoutGap", {a, a, b, b}, {401739, 12345}, {401739, 12345}},
        StreamCase{"CardNumberEndingInFF", {frameOf(LowFF), frameOf(LowFF)}, {255}, {255}},
        StreamCase{"CardNumberWithFFFFInTheHeader",
                   {frameOf(TwoFF), frameOf(TwoFF), frameOf(Max), frameOf(Max)},
                   {0xFFFF, 0xFFFFFF},
                   {0xFFFF, 0xFFFFFF}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(clsEcard250FrameReader, BytesAreUnscrambledBeforeAnyComparison) {
    // A received 0x20 is an unscrambled 0xFF: the frame start on the wire is 0x20 0x20.
    const QByteArray wire = onWire(a);
    ASSERT_EQ(static_cast<uchar>(wire[0]), 0x20);
    ASSERT_EQ(static_cast<uchar>(wire[1]), 0x20);
    Fixture fx;
    fx.reader.feed(wire + wire);
    EXPECT_EQ(fx.result.numbers(), (QList<qint32>{401739}));

    // The unscrambled frame fed as it is has no header at all.
    Fixture raw;
    raw.reader.feed(a + a);
    EXPECT_TRUE(raw.result.tags.empty());
    EXPECT_TRUE(raw.result.reading.isEmpty());
}

TEST(clsEcard250FrameReader, DeliveredRecordHoldsTheCardsContent) {
    Fixture fx;
    fx.reader.feed(onWire(a + a));
    ASSERT_EQ(fx.result.tags.size(), 1u);
    const clsEcardTagData& t = *fx.result.tags[0];
    EXPECT_TRUE(t.IsValid());
    EXPECT_EQ(t.EcardNo(), 401739);
    EXPECT_EQ(t.ProductionWeek(), 12);
    EXPECT_EQ(t.ProductionYear(), 2003);
    EXPECT_EQ(t.ReadingUnitPosIndex(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.ControlNum(i + 1), A.punches[static_cast<size_t>(i)].code);
        EXPECT_EQ(t.ControlSeconds(i + 1), A.punches[static_cast<size_t>(i)].seconds);
    }
    EXPECT_EQ(t.EmitSystem(), QString::fromLatin1(A.text));
}

TEST(clsEcard250FrameReader, ReadTimeIsWhenTheCardWasFirstLaidOnTheUnit) {
    Fixture fx;
    const double t1 = fx.clock;
    const QByteArray wire = onWire(a + a);
    fx.reader.feed(wire.left(10)); // the header is recognised now
    EXPECT_EQ(fx.result.reading, (QList<qint32>{401739}));
    fx.clock += basDate::fromSeconds(3);
    fx.reader.feed(wire.mid(10));
    ASSERT_EQ(fx.result.tags.size(), 1u);
    EXPECT_EQ(fx.result.tags[0]->ReadTime(), t1);

    // Laid again without another card in between: nothing. After card B, its own time.
    fx.clock += basDate::fromSeconds(60);
    fx.reader.feed(wire);
    fx.clock += basDate::fromSeconds(60);
    const double tb = fx.clock;
    fx.reader.feed(onWire(b + b));
    fx.clock += basDate::fromSeconds(60);
    const double t4 = fx.clock;
    fx.reader.feed(wire.left(50));
    fx.clock += basDate::fromSeconds(2);
    fx.reader.feed(wire.mid(50));
    ASSERT_EQ(fx.result.tags.size(), 3u);
    EXPECT_EQ(fx.result.tags[1]->ReadTime(), tb);
    EXPECT_EQ(fx.result.tags[2]->ReadTime(), t4);
    EXPECT_EQ(fx.result.reading, (QList<qint32>{401739, 12345, 401739}));
}

TEST(clsEcard250FrameReader, LeftOverHeaderBytesDoNotMakeAFalseHeader) {
    // Three bytes of noise put the first header's 0xFF 0xFF into window slots 4 and 5. The next
    // card is chosen so that those two bytes, five more left-over header bytes and the next
    // card's first three bytes would sum like a header; that card must still be read.
    const QByteArray lead("\x01\x02\x03", 3);
    int sum = 0x1FE;
    for (int p = 3; p <= 7; ++p)
        sum += static_cast<uchar>(a[p - 1]);
    Card trap = card(0x123400, 7);
    trap.number |= (1024 - sum) % 256;
    Fixture fx;
    fx.reader.feed(onWire(lead + a + a + frameOf(trap) + frameOf(trap)));
    EXPECT_EQ(fx.result.numbers(), (QList<qint32>{401739, trap.number}));
}

TEST(clsEcard250FrameReader, ByteByByteFeedingGivesTheSameResult) {
    Fixture fx;
    const QByteArray wire = onWire(a + a + noise + b + b);
    for (char c : wire)
        fx.reader.feed(&c, 1);
    EXPECT_EQ(fx.result.numbers(), (QList<qint32>{401739, 12345}));
}

TEST(clsEcard250FrameReader, SealedFramesPassTheReadersSums) {
    // The writers' helpers agree with the frame built by hand above.
    QByteArray f = a;
    f[9] = 0;
    f[216] = 0;
    clsEcard250FrameReader::seal(f);
    EXPECT_EQ(f, a);
    EXPECT_TRUE(clsEcard250FrameReader::sumsHold(a));
    EXPECT_FALSE(clsEcard250FrameReader::sumsHold(damaged(a)));
    EXPECT_FALSE(clsEcard250FrameReader::sumsHold(damaged(a, 6)));
    EXPECT_EQ(clsEcard250FrameReader::scramble(a), onWire(a));
    EXPECT_TRUE(clsEcard250FrameReader::transmittable(a));
    QByteArray broken = a;
    broken[99] = static_cast<char>(0xFF);
    broken[100] = static_cast<char>(0xFF);
    EXPECT_FALSE(clsEcard250FrameReader::transmittable(broken));
}

// A long stream of cards sent as the unit sends them, mixed with the faults a line shows.
TEST(clsEcard250FrameReader, RandomStreamYieldsExactlyTheCardsSentValidlyTwice) {
    std::mt19937 rng(20261208);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto randomCard = [&] {
        Card c;
        c.number = uniform(1, 0xFFFFFF);
        if (uniform(0, 9) == 0)
            c.number |= 0xFF; // numbers ending in 0xFF now and then
        c.week = uniform(1, 52);
        c.yearByte = uniform(0, 99);
        const int n = uniform(1, 50);
        int t = 0;
        c.punches.push_back({0, 0});
        for (int i = 1; i < n; ++i) {
            t += uniform(1, 1200);
            c.punches.push_back({uniform(1, 250), std::min(t, 65000)});
        }
        for (char& ch : c.text)
            ch = static_cast<char>(uniform(0x20, 0x7E));
        return c;
    };
    // Noise never holds an unscrambled 0xFF, which could open a false header.
    auto randomNoise = [&] {
        QByteArray n;
        const int len = uniform(1, 40);
        for (int i = 0; i < len; ++i)
            n.append(static_cast<char>(uniform(0, 254)));
        return n;
    };

    QByteArray stream;
    QList<qint32> expected;
    QByteArray lastDelivered;
    int valid = 0, faulty = 0;
    for (int event = 0; event < 1500; ++event) {
        const Card c = randomCard();
        QByteArray f = frameOf(c);
        ASSERT_TRUE(clsEcard250FrameReader::transmittable(f));
        bool delivered = false;
        switch (uniform(0, 7)) {
        case 0: // both copies damaged
            stream += damaged(f, uniform(11, 216)) + damaged(f, uniform(11, 216));
            break;
        case 1: // damaged second copy only
            stream += f + damaged(f, uniform(11, 216));
            break;
        case 2: // a broken-off copy, then the pair
            stream += f.left(uniform(11, 200)) + f + f;
            delivered = true;
            break;
        case 3: // a damaged first copy, then the pair
            stream += damaged(f, uniform(11, 216)) + f + f;
            delivered = true;
            break;
        case 4: // the previous card laid again
            if (!lastDelivered.isEmpty()) {
                stream += lastDelivered + lastDelivered;
                break;
            }
            [[fallthrough]];
        default:
            stream += f + f;
            delivered = true;
        }
        if (delivered) {
            expected << c.number;
            lastDelivered = f;
            ++valid;
        } else {
            ++faulty;
        }
        if (uniform(0, 2) == 0)
            stream += randomNoise();
    }
    ASSERT_GT(valid, 500);
    ASSERT_GT(faulty, 300);

    Fixture fx;
    // Arbitrary arrival sizes, as a serial port hands bytes over.
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype n = std::min<qsizetype>(uniform(1, 700), stream.size() - at);
        fx.reader.feed(onWire(stream.mid(at, n)));
        at += n;
    }
    const QList<qint32> got = fx.result.numbers();
    qsizetype first = 0;
    while (first < got.size() && first < expected.size() && got[first] == expected[first])
        ++first;
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_EQ(first, expected.size()) << "first difference at card " << first << " of " << expected.size();
}

} // namespace
