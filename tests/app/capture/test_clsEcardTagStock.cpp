#include "TestFolder.h"
#include "basDate.h"
#include "basText.h"
#include "clsEcardTagStock.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<clsEcardTagData> readOf(qint32 ecardNo, double readTime, std::vector<int> codes) {
    auto t = std::make_shared<clsEcardTagData>();
    t->setEcardNo(ecardNo);
    t->setReadTime(readTime);
    t->setProductionYear(2019);
    t->setProductionWeek(3);
    for (size_t k = 0; k < codes.size(); ++k)
        t->setPunch(static_cast<int>(k) + 1, codes[k], 37 * static_cast<int>(k));
    t->setReadingUnitPosIndex(static_cast<int>(codes.size()));
    t->setDisplay(1, u"NAME    "_s);
    return t;
}

// A function, not a constant: the date module has its own static data.
double day() {
    return basDate::dateSerial(2024, 6, 2);
}

TEST(EcardTagStock, SameContentIsOneEntryAndKeepsTheFirstRead) {
    clsEcardTagStock stock;
    auto first = readOf(401739, day() + 0.5, {0, 31, 250});
    auto again = readOf(401739, day() + 0.6, {0, 31, 250});
    auto more = readOf(401739, day() + 0.7, {0, 31, 32, 250});
    bool hasRead = true;
    std::shared_ptr<clsEcardTagStock::TagList> list;
    stock.Add2(first, hasRead, list);
    EXPECT_FALSE(hasRead);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), 1);

    auto held = again;
    stock.Add2(held, hasRead, list);
    EXPECT_TRUE(hasRead);
    EXPECT_EQ(held, first);
    EXPECT_EQ(held->UniqueKey(), first->UniqueKey());
    EXPECT_EQ(list->Count(), 1);

    stock.Add(more);
    EXPECT_EQ(stock.TagTable().Count(), 2);
    const auto reads = stock.TagListOfNumber(401739);
    ASSERT_TRUE(reads);
    ASSERT_EQ(reads->Count(), 2);
    EXPECT_EQ(reads->Item(1), first);
    EXPECT_EQ(reads->Item(2), more);
    EXPECT_EQ(stock.TagTable().Item(more->StockKey()), more);
    EXPECT_EQ(stock.TagListOfNumber(5), nullptr);

    stock.Clear();
    EXPECT_EQ(stock.TagTable().Count(), 0);
    EXPECT_EQ(stock.TagListOfNumber(401739), nullptr);
}

TEST(EcardTagStock, ReadsAreAppendedOnceAndLoadBack) {
    TestFolder dir;
    clsEcardTagStock stock;
    ASSERT_TRUE(stock.OpenFolder(dir.path() + u"\\"_s));
    EXPECT_EQ(stock.TagTable().Count(), 0);

    const std::shared_ptr<clsEcardTagData> reads[] = {
        readOf(401739, day() + 0.5, {0, 31, 250}),
        readOf(401739, day() + 0.6, {0, 31, 250}), // same content again
        readOf(12, day() + 0.61, {0, 31, 32, 100, 250}),
        readOf(401739, day() + 0.7, {0, 31, 32, 250}),
    };
    const bool expectHasRead[] = {false, true, false, false};
    for (size_t i = 0; i < std::size(reads); ++i) {
        auto tag = reads[i];
        bool hasRead = false;
        std::shared_ptr<clsEcardTagStock::TagList> list;
        ASSERT_TRUE(stock.AddAndAppend(tag, hasRead, list));
        EXPECT_EQ(hasRead, expectHasRead[i]) << i;
        EXPECT_EQ(list, stock.TagListOfNumber(tag->EcardNo()));
    }
    QStringList lines;
    ASSERT_TRUE(basTextFile::readLines(dir.file(u"Ecard.txt"_s), &lines));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], u"24/06/02 12:00:00, [NAME    ] Card No. (401739), (2019,Week 3), 0, 00:00:00, 31, "
                        "00:00:37, 250, 00:01:14;"_s);
    EXPECT_TRUE(dir.read(u"Ecard.txt"_s).endsWith(";\r\n"));

    clsEcardTagStock loaded;
    ASSERT_TRUE(loaded.OpenFolder(dir.path()));
    ASSERT_EQ(loaded.TagTable().Count(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(loaded.TagTable().Key(i), stock.TagTable().Key(i));
        EXPECT_EQ(loaded.TagTable().Item(i)->UniqueKey(), stock.TagTable().Item(i)->UniqueKey());
    }
    EXPECT_EQ(loaded.TagListOfNumber(401739)->Count(), 2);
}

TEST(EcardTagStock, LoadingSkipsBrokenLinesAndRepeats) {
    TestFolder dir;
    const QString good1 =
        u"24/06/02 12:00:00, [        ] Card No. (7), (2019,Week 3), 0, 00:00:00, 250, 00:01:14;"_s;
    const QString good2 =
        u"24/06/02 12:05:00, Card No. (8), (2019,Week 3), 0, 00:00:00, 31, 00:00:50, 250, 00:01:14"_s;
    const QStringList lines{
        good1,
        u"no date here, Card No. (9), (2019,Week 3), 0, 00:00:00"_s,
        good1,
        u""_s,
        u"24/06/02 12:00:00, Card No. (10), (2019,Week 3), 0"_s,
        good2,
        u"\u5c71\u7530"_s,
    };
    ASSERT_TRUE(basTextFile::writeLines(dir.file(u"Ecard.txt"_s), lines));
    clsEcardTagStock stock;
    ASSERT_TRUE(stock.OpenFolder(dir.path()));
    ASSERT_EQ(stock.TagTable().Count(), 2);
    EXPECT_EQ(stock.TagTable().Item(1)->EcardNo(), 7);
    EXPECT_EQ(stock.TagTable().Item(2)->EcardNo(), 8);
    EXPECT_EQ(stock.LoadLines(lines), 4);
    EXPECT_EQ(stock.TagTable().Count(), 2);
}

TEST(EcardTagStock, FailedAppendLeavesTheStoreUnchanged) {
    TestFolder dir;
    clsEcardTagStock stock;
    stock.OpenFolder(dir.file(u"missing/folder"_s));
    auto tag = readOf(5, day() + 0.5, {0, 250});
    bool hasRead = true;
    std::shared_ptr<clsEcardTagStock::TagList> list;
    const auto r = stock.AddAndAppend(tag, hasRead, list);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(hasRead);
    EXPECT_EQ(stock.TagTable().Count(), 0);
    EXPECT_EQ(stock.TagListOfNumber(5), nullptr);
}

TEST(EcardTagStock, AppendNeverRewritesTheFile) {
    TestFolder dir;
    // A file written by hand, without a line end at its end, in the system's code page.
    dir.write(u"Ecard.txt"_s, basText::toWindows31J(u"24/06/02 12:00:00, Card No. (7), (2019,Week 3), 0, "
                                                    "00:00:00, 250, 00:01:14;\r\n"_s));
    clsEcardTagStock stock;
    stock.OpenFolder(dir.path());
    auto tag = readOf(8, day() + 0.5, {0, 250});
    bool hasRead = false;
    std::shared_ptr<clsEcardTagStock::TagList> list;
    ASSERT_TRUE(stock.AddAndAppend(tag, hasRead, list));
    const QByteArray bytes = dir.read(u"Ecard.txt"_s);
    EXPECT_TRUE(bytes.startsWith("24/06/02 12:00:00, Card No. (7)"));
    EXPECT_EQ(bytes.count("\r\n"), 2);
    EXPECT_EQ(stock.TagTable().Count(), 2);
}

TEST(EcardTagStock, DifferentContentsWithTheSameKeyAreBothKept) {
    clsEcardTagStock stock;
    auto one = readOf(1, day() + 0.5, {20});
    auto twelve = readOf(12, day() + 0.6, {0});
    ASSERT_EQ(one->StockKey(), twelve->StockKey());
    stock.Add(one);
    bool hasRead = true;
    std::shared_ptr<clsEcardTagStock::TagList> list;
    auto held = twelve;
    stock.Add2(held, hasRead, list);
    EXPECT_FALSE(hasRead);
    EXPECT_EQ(held, twelve);
    EXPECT_EQ(stock.TagTable().Count(), 2);
    ASSERT_TRUE(stock.TagListOfNumber(12));
    EXPECT_EQ(stock.TagListOfNumber(12)->Item(1), twelve);
    // The same content again is still recognised, under either key.
    auto again = readOf(12, day() + 0.7, {0});
    stock.Add2(again, hasRead, list);
    EXPECT_TRUE(hasRead);
    EXPECT_EQ(again, twelve);
    auto oneAgain = readOf(1, day() + 0.7, {20});
    stock.Add2(oneAgain, hasRead, list);
    EXPECT_TRUE(hasRead);
    EXPECT_EQ(oneAgain, one);
}

} // namespace
