#include "TestFolder.h"
#include "clsCourseDataTable.h"
#include "clsEcard250FrameReader.h"
#include "clsEcardPenaChecker.h"
#include "clsEcardPunchIndex.h"
#include "clsEcardTagStock.h"
#include "clsEventGenerator.h"

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

clsEventGenerator::Options small(quint64 seed) {
    clsEventGenerator::Options o;
    o.seed = seed;
    o.readCount = 600;
    o.classCount = 30;
    o.repeatRate = 0.1;
    o.rereadRate = 0.05;
    return o;
}

TEST(EventGenerator, SameSeedSameEventOtherSeedOtherEvent) {
    const auto a = clsEventGenerator(small(7)).generate();
    const auto b = clsEventGenerator(small(7)).generate();
    const auto c = clsEventGenerator(small(8)).generate();
    EXPECT_EQ(a.courseLines, b.courseLines);
    EXPECT_EQ(a.ecardLines(), b.ecardLines());
    EXPECT_EQ(a.nameLines, b.nameLines);
    EXPECT_EQ(a.otherLines, b.otherLines);
    EXPECT_NE(a.courseLines, c.courseLines);
    EXPECT_NE(a.ecardLines(), c.ecardLines());
}

TEST(EventGenerator, ClassesHaveRealisticCourses) {
    clsEventGenerator::Options o;
    o.seed = 3;
    o.readCount = 10;
    o.classCount = 300;
    const auto ev = clsEventGenerator(o).generate();
    clsCourseDataTable table;
    for (const QString& line : ev.courseLines)
        ASSERT_TRUE(table.AddByString(line)) << line.toStdString();
    ASSERT_EQ(table.CourseCount(), 300);
    int total = 0, lo = 99, hi = 0;
    std::map<int, int> classesOfCode;
    for (const auto& e : table.CourseList()) {
        const int n = e.value->ControlCount();
        total += n;
        lo = std::min(lo, n);
        hi = std::max(hi, n);
        for (int p = 1; p <= n; ++p)
            ++classesOfCode[e.value->UnitCode(p, 1)];
    }
    EXPECT_GE(lo, 5);
    EXPECT_LE(hi, 50);
    EXPECT_NEAR(total / 300.0, 25.0, 2.5);
    int shared = 0;
    for (const auto& [code, classes] : classesOfCode)
        shared += classes > 1;
    EXPECT_GT(shared, 50); // controls are shared between classes
}

TEST(EventGenerator, FramesDecodeIntoTheSameReadAndPassTheLink) {
    const auto ev = clsEventGenerator(small(11)).generate();
    int checked = 0;
    for (const auto& r : ev.readings) {
        const QByteArray frame = clsEventGenerator::encodeFrame(*r.tag);
        ASSERT_EQ(frame.size(), 217);
        EXPECT_TRUE(clsEcard250FrameReader::sumsHold(frame));
        EXPECT_TRUE(clsEcard250FrameReader::transmittable(frame));
        clsEcardTagData back;
        back.setReadData(r.tag->ReadTime(), frame);
        EXPECT_EQ(back.ExtendRegnlyFormat(), r.tag->ExtendRegnlyFormat());
        EXPECT_EQ(back.UniqueKey(), r.tag->UniqueKey());
        EXPECT_EQ(back.EmitSystem(), r.tag->EmitSystem());
        EXPECT_EQ(back.ActivateSeconds(), r.tag->ActivateSeconds());
        ++checked;
    }
    EXPECT_GT(checked, 600);
}

TEST(EventGenerator, ReadsCarryTheFaultsOfARealFinish) {
    clsEventGenerator::Options o = small(5);
    o.readCount = 3000;
    const auto ev = clsEventGenerator(o).generate();
    clsCourseDataTable table;
    for (const QString& line : ev.courseLines)
        table.AddByString(line);
    // Check every read against its best-fitting class.
    std::map<int, int> outcomes; // 0 OK, 1 P, 98, 99
    clsEcardPunchIndex index;
    const auto stored = ev.storedReads();
    ASSERT_EQ(static_cast<int>(stored.size()), 3000);
    for (const auto& tag : stored) {
        index.prepare(tag);
        int best = 100;
        for (const auto& e : table.CourseList())
            best = std::min(best, clsEcardPenaChecker::CheckStatus(index, *e.value));
        ++outcomes[best >= 1 && best <= 49 ? 1 : best];
    }
    EXPECT_GT(outcomes[0], 2400);
    EXPECT_GT(outcomes[1], 30);
    EXPECT_GT(outcomes[98] + outcomes[99], 30);
    int repeats = 0;
    for (const auto& r : ev.readings)
        repeats += r.repeat;
    EXPECT_GT(repeats, 50);
}

TEST(EventGenerator, DataFolderRoundTrip) {
    TestFolder dir;
    clsEventGenerator::Options o = small(21);
    o.readCount = 200;
    const auto ev = clsEventGenerator(o).generate();
    ASSERT_TRUE(clsEventGenerator::writeDataFolder(ev, dir.path()));
    for (const char* name : {"Name.csv", "Ecard.txt", "Course.txt", "Other.txt", "Brevanto2.ini"})
        EXPECT_TRUE(dir.exists(QString::fromLatin1(name))) << name;

    clsEcardTagStock stock;
    ASSERT_TRUE(stock.OpenFolder(dir.path()));
    const auto stored = ev.storedReads();
    ASSERT_EQ(stock.TagTable().Count(), static_cast<int>(stored.size()));
    for (size_t i = 0; i < stored.size(); ++i) {
        const auto& loaded = stock.TagTable().Item(static_cast<int>(i) + 1);
        EXPECT_EQ(loaded->UniqueKey(), stored[i]->UniqueKey());
        EXPECT_EQ(loaded->StockKey(), stored[i]->StockKey());
    }
    // Reads from the unit, stored one by one, give the same file.
    TestFolder live;
    clsEcardTagStock unit;
    unit.OpenFolder(live.path());
    int hasReadCount = 0;
    for (const auto& r : ev.readings) {
        auto tag = r.tag;
        bool hasRead = false;
        std::shared_ptr<clsEcardTagStock::TagList> list;
        ASSERT_TRUE(unit.AddAndAppend(tag, hasRead, list));
        EXPECT_EQ(hasRead, r.repeat);
        hasReadCount += hasRead;
    }
    EXPECT_GT(hasReadCount, 0);
    EXPECT_EQ(live.read(u"Ecard.txt"_s), dir.read(u"Ecard.txt"_s));

    clsCourseDataTable courses;
    ASSERT_TRUE(courses.OpenFolder(dir.path()));
    EXPECT_EQ(courses.CourseCount(), 30);
    const QByteArray before = dir.read(u"Course.txt"_s);
    ASSERT_TRUE(courses.Save());
    EXPECT_EQ(dir.read(u"Course.txt"_s), before);

    QStringList ini;
    ASSERT_TRUE(basTextFile::readLines(dir.file(u"Brevanto2.ini"_s), &ini));
    EXPECT_EQ(ini, (QStringList{u"第１回テスト大会"_s, u"2024/06/02"_s, u"-9"_s}));
    QStringList names;
    ASSERT_TRUE(basTextFile::readLines(dir.file(u"Name.csv"_s), &names));
    EXPECT_EQ(names.first(), u"Ｅカード番号,名前,所属"_s);
    EXPECT_GT(names.size(), 150);
    QStringList other;
    ASSERT_TRUE(basTextFile::readLines(dir.file(u"Other.txt"_s), &other));
    EXPECT_EQ(other, ev.otherLines);
}

} // namespace
