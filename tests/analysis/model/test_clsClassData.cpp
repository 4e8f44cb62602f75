#include "basConstants.h"
#include "basDate.h"
#include "clsClassData.h"
#include "clsQuorvelin2.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

double secs(qint64 s) {
    return basDate::fromSeconds(s);
}

struct Runner {
    QString name;
    QString club;
    qint32 id = 0;
    QString result;
    int legs = 0; // leg times 60 * base + j seconds
    int base = 0;
    QString age;
    double start = 0;
};

std::shared_ptr<clsLapData> makeLap(const Runner& r) {
    auto lap = std::make_shared<clsLapData>();
    lap->setRunnerName(r.name);
    lap->setClubName(r.club);
    lap->setID(r.id);
    lap->setResult(r.result);
    lap->setAge(r.age);
    lap->StartTime()->setValue(r.start);
    for (int j = 1; j <= r.legs; ++j)
        lap->Lap(j)->setValue(secs(60 * r.base + j));
    return lap;
}

class ClassDataTest : public ::testing::Test {
protected:
    clsQuorvelin2 root;
    std::shared_ptr<clsClassData> cls = root.AddClass(u"M21"_s);
};

TEST_F(ClassDataTest, AddLapGivesNameAndSerialNumber) {
    auto a = cls->AddLap();
    auto b = cls->AddLap();
    EXPECT_EQ(a->ClassName(), u"M21"_s);
    EXPECT_EQ(a->SerialNum(), 1);
    EXPECT_EQ(b->SerialNum(), 2);
    EXPECT_EQ(cls->LapCount(), 2);
    EXPECT_EQ(cls->LapData(2), b);
    EXPECT_EQ(cls->LapData(0), nullptr);
    EXPECT_EQ(cls->LapData(3), nullptr);
    cls->RemoveLap(3); // out of range: nothing happens
    cls->RemoveLap(0);
    EXPECT_EQ(cls->LapCount(), 2);
    cls->RemoveLap(1);
    EXPECT_EQ(cls->LapData(1), b);
    cls->ClearLap();
    EXPECT_EQ(cls->LapCount(), 0);
}

TEST_F(ClassDataTest, ClassInfoAndFileName) {
    EXPECT_EQ(cls->ClassInfo(), QString());
    cls->setLength(4200);
    EXPECT_EQ(cls->ClassInfo(), u"4200m"_s);
    cls->setClimb(150);
    EXPECT_EQ(cls->ClassInfo(), u"4200m ↑150m"_s);
    cls->setClimb(0);
    cls->setLength(0);
    cls->setClimb(150);
    EXPECT_EQ(cls->ClassInfo(), QString()); // no length, no info even with a climb

    EXPECT_EQ(cls->FileName(), u"m21"_s);
    cls->setFileName(u"Elite/Ｍ２１Ｅ"_s);
    EXPECT_EQ(cls->FileName(), u"m21e"_s);
    cls->setFileName(QString());
    EXPECT_EQ(cls->FileName(), u"m21"_s);
    EXPECT_EQ(root.AddClass(u"M/W21"_s)->FileName(), u"w21"_s);
}

// Each row: the existing runner, the loaded one, the mode, and what must come out.
struct MergeCase {
    const char* what;
    Runner existing;
    Runner loaded;
    qint32 mode;
    bool added;
    int lapCount;
    QString club; // of the first record afterwards
    qint32 id;
    QString result;
    double firstLeg;
    int legCount;
};

TEST_F(ClassDataTest, AddLapObjectFollowsTheLoadMode) {
    const Runner taro{u"Yamada Taro"_s, u"OLC"_s, 7, u"1:00:00"_s, 3, 5, u""_s, 0};
    const Runner taroNoClub{u"Yamada Taro"_s, u""_s, 7, u""_s, 0, 0, u""_s, 0};
    const Runner taroWide{u"ＹＡＭＡＤＡ　ＴＡＲＯ"_s, u"Tokyo"_s, 9, u"0:59:00"_s, 2, 9, u"M21"_s, 0};
    const Runner taroJoined{u"YamadaTaro"_s, u"Tokyo"_s, 9, u"0:59:00"_s, 2, 9, u""_s, 0};
    const Runner other{u"Suzuki Jiro"_s, u"Tokyo"_s, 8, u"1:10:00"_s, 2, 9, u""_s, 0};
    const Runner sameIdEmpty{u"X"_s, u""_s, 7, u""_s, 0, 0, u""_s, 0};
    const Runner noId{u"Z"_s, u"Tokyo"_s, 0, u"1:10:00"_s, 2, 9, u""_s, 0};
    const Runner noIdExisting{u"Y"_s, u"OLC"_s, 0, u"1:00:00"_s, 3, 5, u""_s, 0};

    const double legTaro = secs(301), legNew = secs(541);
    const MergeCase cases[] = {
        {"normal appends", taro, taroWide, QV_LOADMODE_NORMAL, true, 2, u"OLC"_s, 7, u"1:00:00"_s, legTaro,
         3},
        {"append appends", taro, taro, QV_LOADMODE_APPEND, true, 2, u"OLC"_s, 7, u"1:00:00"_s, legTaro, 3},
        {"flags do not turn append into a merge", taro, taro, QV_LOADMODE_APPEND | QV_LOADMODE_NOTADD_NEWDATA,
         true, 2, u"OLC"_s, 7, u"1:00:00"_s, legTaro, 3},
        {"by name across width and spaces keeps existing values", taro, taroWide, QV_LOADMODE_MERGE_NAME,
         false, 1, u"OLC"_s, 7, u"1:00:00"_s, legTaro, 3},
        {"by name without the space", taro, taroJoined, QV_LOADMODE_MERGE_NAME, false, 1, u"OLC"_s, 7,
         u"1:00:00"_s, legTaro, 3},
        {"priority original is the default", taro, taroWide,
         QV_LOADMODE_MERGE_NAME | QV_LOADMODE_PRIORITY_ORIGINAL, false, 1, u"OLC"_s, 7, u"1:00:00"_s, legTaro,
         3},
        {"priority new data replaces", taro, taroWide, QV_LOADMODE_MERGE_NAME | QV_LOADMODE_PRIORITY_NEWDATA,
         false, 1, u"Tokyo"_s, 9, u"0:59:00"_s, legNew, 3},
        {"empty values never replace", taro, taroNoClub,
         QV_LOADMODE_MERGE_NAME | QV_LOADMODE_PRIORITY_NEWDATA, false, 1, u"OLC"_s, 7, u"1:00:00"_s, legTaro,
         3},
        {"empty existing values are filled", taroNoClub, taroWide, QV_LOADMODE_MERGE_NAME, false, 1,
         u"Tokyo"_s, 7, u"0:59:00"_s, legNew, 2},
        {"no name match appends", taro, other, QV_LOADMODE_MERGE_NAME, true, 2, u"OLC"_s, 7, u"1:00:00"_s,
         legTaro, 3},
        {"no name match with not-add drops", taro, other, QV_LOADMODE_MERGE_NAME | QV_LOADMODE_NOTADD_NEWDATA,
         false, 1, u"OLC"_s, 7, u"1:00:00"_s, legTaro, 3},
        {"by ID", taro, sameIdEmpty, QV_LOADMODE_MERGE_ID, false, 1, u"OLC"_s, 7, u"1:00:00"_s, legTaro, 3},
        {"by ID with priority keeps what the new one lacks", taro, sameIdEmpty,
         QV_LOADMODE_MERGE_ID | QV_LOADMODE_PRIORITY_NEWDATA, false, 1, u"OLC"_s, 7, u"1:00:00"_s, legTaro,
         3},
        {"by ID ignores names", taro, taroWide, QV_LOADMODE_MERGE_ID, true, 2, u"OLC"_s, 7, u"1:00:00"_s,
         legTaro, 3},
        {"by ID no match with not-add drops", taro, other, QV_LOADMODE_MERGE_ID | QV_LOADMODE_NOTADD_NEWDATA,
         false, 1, u"OLC"_s, 7, u"1:00:00"_s, legTaro, 3},
        {"records without an ID match nobody", noIdExisting, noId, QV_LOADMODE_MERGE_ID, true, 2, u"OLC"_s, 0,
         u"1:00:00"_s, legTaro, 3},
    };
    for (const auto& c : cases) {
        cls->ClearLap();
        ASSERT_TRUE(cls->AddLapObject(makeLap(c.existing)));
        auto loaded = makeLap(c.loaded);
        EXPECT_EQ(cls->AddLapObject(loaded, c.mode), c.added) << c.what;
        EXPECT_EQ(cls->LapCount(), c.lapCount) << c.what;
        EXPECT_EQ(loaded->ClassName(), u"M21"_s) << c.what;
        const auto first = cls->LapData(1);
        EXPECT_EQ(first->ClubName(), c.club) << c.what;
        EXPECT_EQ(first->ID(), c.id) << c.what;
        EXPECT_EQ(first->Result(), c.result) << c.what;
        EXPECT_EQ(first->Lap(1)->Value(), c.firstLeg) << c.what;
        EXPECT_EQ(first->LegCount(), c.legCount) << c.what;
        if (c.added) {
            EXPECT_EQ(cls->LapData(2), loaded) << c.what;
        }
    }
}

TEST_F(ClassDataTest, MergeCopiesEveryFieldButRankFix) {
    auto existing = cls->AddLap();
    existing->setRunnerName(u"A"_s);
    existing->setRankFix(u"fixed"_s);
    existing->Lap(1)->setValue(secs(100));
    existing->Lap(2)->setValue(secs(200));
    existing->Lap(3)->setValue(secs(300));
    auto loaded = std::make_shared<clsLapData>();
    loaded->setRunnerName(u"a"_s);
    loaded->setEcard(123);
    loaded->setRank(u"2"_s);
    loaded->setSeed(u"S"_s);
    loaded->setSex(u"M"_s);
    loaded->setAge(u"21"_s);
    loaded->setRankFix(u"other"_s);
    loaded->StartTime()->setValue(basDate::timeSerial(10, 0, 0));
    loaded->Lap(1)->setValue(secs(90));
    loaded->Lap(2)->setValue(-2);
    EXPECT_FALSE(cls->AddLapObject(loaded, QV_LOADMODE_MERGE_NAME | QV_LOADMODE_PRIORITY_NEWDATA));
    EXPECT_EQ(existing->Ecard(), 123);
    EXPECT_EQ(existing->Rank(), u"2"_s);
    EXPECT_EQ(existing->Seed(), u"S"_s);
    EXPECT_EQ(existing->Sex(), u"M"_s);
    EXPECT_EQ(existing->Age(), u"21"_s);
    EXPECT_EQ(existing->RunnerName(), u"a"_s);
    EXPECT_EQ(existing->RankFix(), u"fixed"_s);
    EXPECT_EQ(existing->StartTime()->Value(), basDate::timeSerial(10, 0, 0));
    // The new legs 1 and 2 replace, leg 3 stays: the count is the larger one.
    EXPECT_EQ(existing->Lap(1)->Value(), secs(90));
    EXPECT_EQ(existing->Lap(2)->Value(), -2);
    EXPECT_EQ(existing->Lap(3)->Value(), secs(300));
    EXPECT_EQ(existing->LegCount(), 3);
    EXPECT_EQ(existing->SerialNum(), 1);
}

TEST_F(ClassDataTest, MergeByNameSeesRenamedRunners) {
    auto existing = cls->AddLap();
    existing->setRunnerName(u"Old Name"_s);
    auto probe = std::make_shared<clsLapData>();
    probe->setRunnerName(u"oldname"_s);
    EXPECT_FALSE(cls->AddLapObject(probe, QV_LOADMODE_MERGE_NAME | QV_LOADMODE_NOTADD_NEWDATA));
    existing->setRunnerName(u"New Name"_s);
    auto again = std::make_shared<clsLapData>();
    again->setRunnerName(u"ｏｌｄ　ｎａｍｅ"_s);
    again->setClubName(u"C"_s);
    EXPECT_FALSE(cls->AddLapObject(again, QV_LOADMODE_MERGE_NAME | QV_LOADMODE_NOTADD_NEWDATA));
    EXPECT_EQ(existing->ClubName(), QString()); // the old name matches nobody now
    auto renamed = std::make_shared<clsLapData>();
    renamed->setRunnerName(u"NEWNAME"_s);
    renamed->setClubName(u"C"_s);
    EXPECT_FALSE(cls->AddLapObject(renamed, QV_LOADMODE_MERGE_NAME));
    EXPECT_EQ(existing->ClubName(), u"C"_s);
    EXPECT_EQ(cls->LapCount(), 1);
    // Nameless records are nobody in particular: they never merge.
    auto nameless = std::make_shared<clsLapData>();
    EXPECT_TRUE(cls->AddLapObject(nameless, QV_LOADMODE_MERGE_NAME));
    EXPECT_TRUE(cls->AddLapObject(std::make_shared<clsLapData>(), QV_LOADMODE_MERGE_NAME));
    EXPECT_EQ(cls->LapCount(), 3);
}

TEST_F(ClassDataTest, SortLapByResultKeyWithTiesReversed) {
    const QStringList results = {u"DNS"_s,     u"1:00:00"_s, u"DNF"_s, u"0:50:00"_s,
                                 u"1:00:00"_s, u""_s,        u"P2"_s};
    for (const QString& r : results) {
        auto lap = cls->AddLap();
        lap->setResult(r);
        lap->setRunnerName(r + u'#' + QString::number(lap->SerialNum()));
    }
    cls->SortLap();
    QStringList order;
    for (int i = 1; i <= cls->LapCount(); ++i)
        order << cls->LapData(i)->RunnerName();
    // Equal keys: the later record comes first (#5 before #2).
    EXPECT_EQ(order, (QStringList{u"0:50:00#4"_s, u"1:00:00#5"_s, u"1:00:00#2"_s, u"P2#7"_s, u"DNF#3"_s,
                                  u"#6"_s, u"DNS#1"_s}));
}

} // namespace
