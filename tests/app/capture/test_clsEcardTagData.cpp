#include "ProjectError.h"
#include "ProjectErrorCheck.h"
#include "basDate.h"
#include "clsEcardTagData.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kExample =
    u"03/05/14 23:53:45, Card No. (401739), (2002,Week 37), 0, 00:00:00, 76, 00:22:02, 47, 00:25:13, "
    "35, 00:35:37, 38, 00:46:42, 41, 00:48:53, 42, 00:55:48, 62, 01:08:34, 49, 01:15:51, 60, 01:18:17, "
    "58, 01:23:59, 52, 01:28:46, 51, 01:34:30, 78, 01:41:26, 64, 01:48:39, 100, 01:50:30, 80, 01:53:11, "
    "250, 01:53:17"_s;

struct Punch {
    int code;
    int seconds;
};

// A frame laid out byte by byte as the reading unit sends it (after unscrambling).
QByteArray frameOf(int ecardNo, int weekByte, int yearByte, const std::vector<Punch>& punches,
                   const QByteArray& text = QByteArray(32, ' '),
                   const QByteArray& display = QByteArray(24, ' ')) {
    QByteArray f(217, '\0');
    const auto set = [&](int number, int value) { f[number - 1] = static_cast<char>(value & 0xFF); };
    set(1, 0xFF);
    set(2, 0xFF);
    set(3, ecardNo);
    set(4, ecardNo >> 8);
    set(5, ecardNo >> 16);
    set(7, weekByte);
    set(8, yearByte);
    for (size_t k = 0; k < punches.size(); ++k) {
        const int i = static_cast<int>(k) + 1;
        set(3 * i + 8, punches[k].code);
        set(3 * i + 9, punches[k].seconds);
        set(3 * i + 10, punches[k].seconds >> 8);
    }
    for (int j = 0; j < 32; ++j)
        set(161 + j, static_cast<uchar>(text[j]));
    for (int j = 0; j < 24; ++j)
        set(193 + j, static_cast<uchar>(display[j]));
    return f;
}

double at(int y, int m, int d, int h, int n, int s) {
    return basDate::dateSerial(y, m, d) + basDate::timeSerial(h, n, s);
}

TEST(EcardTagData, ExampleLineGivesItsFieldsAndKeys) {
    clsEcardTagData t;
    t.setRegnlyFormat(kExample);
    ASSERT_TRUE(t.IsValid());
    EXPECT_EQ(t.EcardNo(), 401739);
    EXPECT_EQ(t.ProductionYear(), 2002);
    EXPECT_EQ(t.ProductionWeek(), 37);
    EXPECT_EQ(t.ReadTime(), at(2003, 5, 14, 23, 53, 45));
    EXPECT_EQ(t.ReadingUnitPosIndex(), 18);
    EXPECT_EQ(t.ControlNum(1), 0);
    EXPECT_EQ(t.ControlNum(2), 76);
    EXPECT_EQ(t.ControlSeconds(2), 22 * 60 + 2);
    EXPECT_EQ(t.ControlNum(17), 80);
    EXPECT_EQ(t.ControlNum(18), 250);
    EXPECT_EQ(t.ControlTime(18), basDate::timeSerial(1, 53, 17));
    EXPECT_EQ(t.ControlNum(19), 0);
    // 23:53:45 less 1:53:17
    EXPECT_EQ(t.ActivateTime(), basDate::timeSerial(22, 0, 28));
    EXPECT_EQ(t.UniqueKey(), u"030514235345401739"_s);
    EXPECT_EQ(t.StockKey(), u"401739"
                            "000000"
                            "7602202"
                            "4702513"
                            "3503537"
                            "3804642"
                            "4104853"
                            "4205548"
                            "6210834"
                            "4911551"
                            "6011817"
                            "5812359"
                            "5212846"
                            "5113430"
                            "7814126"
                            "6414839"
                            "10015030"
                            "8015311"
                            "25015317"_s);
    EXPECT_EQ(t.RegnlyFormat(), kExample);
    EXPECT_TRUE(t.Display(1).isEmpty());
    EXPECT_TRUE(t.EmitSystem().isEmpty());
}

TEST(EcardTagData, BothLineFormsReadBackToTheSameRecord) {
    clsEcardTagData first;
    first.setReadData(at(2024, 6, 2, 11, 5, 9),
                      frameOf(401739, 12, 21, {{0, 0}, {31, 300}, {32, 650}, {100, 900}, {250, 905}},
                              QByteArray("EMIT SYSTEM TEXT ON CARD        "),
                              QByteArray("ABC,(1)  line 2  line 3  ").left(24)));
    struct Row {
        const char* name;
        QString line;
    } rows[] = {
        {"plain", first.RegnlyFormat()},
        {"plain with ;", first.RegnlyFormat() + u";"_s},
        {"extended with ;", first.ExtendRegnlyFormat() + u";"_s},
        {"extended", first.ExtendRegnlyFormat()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        clsEcardTagData back;
        back.setRegnlyFormat(r.line);
        ASSERT_TRUE(back.IsValid()) << r.line.toStdString();
        EXPECT_EQ(back.EcardNo(), first.EcardNo());
        EXPECT_EQ(back.ProductionYear(), 2021);
        EXPECT_EQ(back.ProductionWeek(), 12);
        EXPECT_EQ(back.ReadTime(), first.ReadTime());
        EXPECT_EQ(back.UniqueKey(), first.UniqueKey());
        EXPECT_EQ(back.StockKey(), first.StockKey());
        EXPECT_EQ(back.ActivateTime(), first.ActivateTime());
        EXPECT_EQ(back.ReadingUnitPosIndex(), first.ReadingUnitPosIndex());
        for (int i = 1; i <= 50; ++i) {
            EXPECT_EQ(back.ControlNum(i), first.ControlNum(i)) << i;
            EXPECT_EQ(back.ControlSeconds(i), first.ControlSeconds(i)) << i;
        }
        EXPECT_TRUE(back.Display(1).isEmpty());
        EXPECT_TRUE(back.EmitSystem().isEmpty());
    }
    // The display's field marks are kept out of the line's structure.
    EXPECT_TRUE(first.ExtendRegnlyFormat().contains(u"[ABC，（1）  line 2  line 3 ] Card No. (401739)"_s))
        << first.ExtendRegnlyFormat().toStdString();
    EXPECT_EQ(first.Display(1), u"ABC,(1)  "_s.left(8));
    EXPECT_EQ(first.EmitSystem(), u"EMIT SYSTEM TEXT ON CARD        "_s);
}

TEST(EcardTagData, FrameDecoding) {
    const double readTime = at(2024, 6, 2, 0, 10, 0); // ten minutes after midnight
    std::vector<Punch> all50;
    all50.push_back({0, 0});
    for (int i = 2; i <= 50; ++i)
        all50.push_back({30 + i, 60 * i});
    struct Row {
        const char* name;
        std::vector<Punch> punches;
        int yearByte;
        int expectYear;
        int expectRupi;
        int expectPairs;       // pairs in the text line
        qint64 expectActivate; // seconds
        QString lineTail;      // end of the text line
    } rows[] = {
        {"only the start record", {{0, 0}}, 81, 1981, 0, 1, 0, u", 0, 00:00:00"_s},
        {"year byte 80", {{0, 0}, {31, 30}, {250, 40}}, 80, 2080, 3, 3, 600 - 40, u", 250, 00:00:40"_s},
        {"year byte 0", {{0, 0}, {250, 40}}, 0, 2000, 2, 2, 600 - 40, u", 0, 00:00:00, 250, 00:00:40"_s},
        {"time bytes FF FF", {{0, 0}, {250, 65535}}, 1, 2001, 2, 2, 600 - 65535, u", 250, 18:12:15"_s},
        {"code above 250 in the middle",
         {{0, 0}, {31, 10}, {255, 20}, {32, 30}, {250, 40}},
         1,
         2001,
         5,
         2,
         600 - 40,
         u", 0, 00:00:00, 31, 00:00:10"_s},
        {"trailing record without time dropped",
         {{0, 0}, {31, 10}, {250, 40}, {77, 0}},
         1,
         2001,
         4,
         3,
         600,
         u", 31, 00:00:10, 250, 00:00:40"_s},
        {"all fifty records", all50, 1, 2001, 50, 50, 600 - 3000, u", 80, 00:50:00"_s},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        clsEcardTagData t;
        t.setReadData(readTime, frameOf(0x123456, 9, r.yearByte, r.punches));
        EXPECT_TRUE(t.IsValid());
        EXPECT_EQ(t.EcardNo(), 0x123456);
        EXPECT_EQ(t.ProductionWeek(), 9);
        EXPECT_EQ(t.ProductionYear(), r.expectYear);
        EXPECT_EQ(t.ReadingUnitPosIndex(), r.expectRupi);
        EXPECT_EQ(t.ActivateSeconds(), r.expectActivate);
        const QString line = t.RegnlyFormat();
        EXPECT_TRUE(line.endsWith(r.lineTail)) << line.toStdString();
        EXPECT_EQ(line.count(u','), 3 + 2 * r.expectPairs) << line.toStdString();
        EXPECT_TRUE(line.startsWith(u"24/06/02 00:10:00, Card No. (1193046), ("_s)) << line.toStdString();
    }
}

TEST(EcardTagData, EmptyRecordInTheMiddleEndsLineAndKeyButStaysInTheRecord) {
    clsEcardTagData t;
    t.setReadData(at(2024, 6, 2, 12, 0, 0),
                  frameOf(77, 1, 1, {{0, 0}, {31, 10}, {0, 15}, {32, 30}, {250, 40}}));
    EXPECT_EQ(t.ReadingUnitPosIndex(), 5);
    EXPECT_EQ(t.ControlNum(4), 32);
    EXPECT_EQ(t.ControlSeconds(3), 15);
    EXPECT_EQ(t.StockKey(), u"770000003100010"_s);
    EXPECT_TRUE(t.RegnlyFormat().endsWith(u"(2001,Week 1), 0, 00:00:00, 31, 00:00:10"_s));
}

TEST(EcardTagData, ReadTimeZeroMeansNow) {
    basDate::setClock([] { return QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)); });
    clsEcardTagData t;
    t.setReadData(0, frameOf(5, 1, 1, {{0, 0}, {250, 5}}));
    basDate::setClock({});
    EXPECT_EQ(t.UniqueKey(), u"2501020304055"_s);
    EXPECT_EQ(t.ActivateTime(), basDate::timeSerial(3, 4, 0));
}

TEST(EcardTagData, BrokenLinesAreInvalid) {
    const QString head = u"03/05/14 23:53:45, Card No. (401739), (2002,Week 37)"_s;
    struct Row {
        QString line;
        bool valid;
        int ecardNo;
        int pairsKept; // codes restored before the fault
    } rows[] = {
        {head + u", 0, 00:00:00"_s, true, 401739, 1},
        {head + u", 0"_s, false, 401739, 1},               // no time after the code
        {head + u", 0, 00:00:00, 31"_s, false, 401739, 2}, // no time after the last code
        {head + u", 0, 00:00:00, 31, 12:xx:00, 32, 00:01:00"_s, false, 401739, 3}, // time that is no time
        {head + u", 0, 25:00:00"_s, false, 401739, 1},
        {head, false, 0, 0}, // too few fields: nothing is read
        {u"03/05/14 23:53:45, Card No. (401739), (2002"_s, false, 0, 0},
        {u"no date, Card No. (401739), (2002,Week 37), 0, 00:00:00"_s, false, 0, 0},
        {u"03/05/14 23:53:45, Card No. (abc), (2002,Week 37), 0, 00:00:00"_s, false, 0, 0},
        {u"03/05/14 23:53:45, Card No. 401739, (2002,Week 37), 0, 00:00:00"_s, false, 0, 0},
        {u"03/05/14 23:53:45, Card No. (401739), (2002,W37), 0, 00:00:00"_s, false, 401739, 0},
        {u"03/05/14 23:53:45, Card No. (99999999999), (2002,Week 37), 0, 00:00:00"_s, false, 0, 0},
        {u""_s, false, 0, 0},
        {u",,,,"_s, false, 0, 0},
        {u";"_s, false, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line.toStdString());
        clsEcardTagData t;
        t.setRegnlyFormat(r.line);
        EXPECT_EQ(t.IsValid(), r.valid);
        EXPECT_EQ(t.EcardNo(), r.ecardNo);
        if (r.pairsKept >= 2) {
            EXPECT_EQ(t.ControlNum(2), 31);
        }
        if (r.pairsKept >= 3) {
            EXPECT_EQ(t.ControlNum(3), 32);
        }
    }
}

TEST(EcardTagData, MoreThanFiftyPairsIsInvalidButKeepsTheFifty) {
    QString line = u"24/06/02 10:00:00, Card No. (5), (2020,Week 1)"_s;
    for (int i = 1; i <= 51; ++i)
        line += u", %1, 00:00:%2"_s.arg(i).arg(i % 60, 2, 10, QChar(u'0'));
    clsEcardTagData t;
    t.setRegnlyFormat(line);
    EXPECT_FALSE(t.IsValid());
    EXPECT_EQ(t.ControlNum(50), 50);
    EXPECT_EQ(t.ReadingUnitPosIndex(), 50);
}

TEST(EcardTagData, IndexOutsideTheRecordsRaises) {
    clsEcardTagData t;
    for (int bad : {0, 51, -1})
        EXPECT_PROJECT_ERROR(t.ControlNum(bad), ProjectError::OutOfRange) << bad;
    EXPECT_PROJECT_ERROR(t.ControlTime(51), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(t.Display(0), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(t.Display(4), ProjectError::OutOfRange);
    EXPECT_NO_THROW(t.Display(3));
    EXPECT_PROJECT_ERROR(t.setReadingUnitPosIndex(51), ProjectError::OutOfRange);
}

} // namespace
