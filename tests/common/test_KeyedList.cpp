#include "KeyedList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

TEST(KeyedList, OrderPositionsAndCaseInsensitiveKeys) {
    KeyedList<QString> list;
    EXPECT_TRUE(list.Add(u"one"_s, u"M21"_s));
    EXPECT_TRUE(list.Add(u"two"_s, u"W21"_s));
    EXPECT_TRUE(list.Add(u"unkeyed"_s));
    EXPECT_FALSE(list.Add(u"dup"_s, u"m21"_s)); // keys ignore letter case
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1), u"one"_s);
    EXPECT_EQ(list.Item(3), u"unkeyed"_s);
    EXPECT_EQ(list.Item(u"w21"_s), u"two"_s);
    EXPECT_EQ(list.Key(2), u"W21"_s);
    EXPECT_EQ(list.IndexOf(u"W21"_s), 2);
    // Missing keys and positions give nothing.
    EXPECT_EQ(list.Item(0), QString());
    EXPECT_EQ(list.Item(4), QString());
    EXPECT_EQ(list.Item(u"M35"_s), QString());
    EXPECT_EQ(list.Item(QString()), QString());
    EXPECT_FALSE(list.Remove(u"M35"_s));
}

TEST(KeyedList, InsertBeforeAfterAndRemoveKeepKeysRight) {
    KeyedList<std::shared_ptr<int>> list;
    list.Add(std::make_shared<int>(1), u"a"_s);
    list.Add(std::make_shared<int>(3), u"c"_s);
    EXPECT_TRUE(list.AddBefore(2, std::make_shared<int>(2), u"b"_s));
    EXPECT_TRUE(list.AddAfter(3, std::make_shared<int>(4), u"d"_s));
    EXPECT_FALSE(list.AddBefore(9, std::make_shared<int>(9)));
    ASSERT_EQ(list.Count(), 4);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(*list.Item(i), i);
    EXPECT_EQ(*list.Item(u"C"_s), 3);
    EXPECT_TRUE(list.Remove(u"b"_s));
    EXPECT_EQ(*list.Item(u"c"_s), 3);
    EXPECT_EQ(list.IndexOf(u"d"_s), 3);
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(list.IndexOf(u"c"_s), 1);
    EXPECT_EQ(list.Item(u"a"_s), nullptr);
    EXPECT_TRUE(list.Add(std::make_shared<int>(5), u"a"_s)); // a removed key is free again
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Contains(u"c"_s));
}

TEST(KeyedList, StableSortCarriesKeys) {
    KeyedList<int> list;
    list.Add(3, u"x"_s);
    list.Add(1, u"y"_s);
    list.Add(3, u"z"_s);
    list.Add(2);
    list.stableSort([](int a, int b) { return a < b; });
    EXPECT_EQ(list.Item(1), 1);
    EXPECT_EQ(list.Item(2), 2);
    EXPECT_EQ(list.Key(3), u"x"_s);
    EXPECT_EQ(list.Key(4), u"z"_s);
    EXPECT_EQ(list.Item(u"z"_s), 3);
    EXPECT_EQ(list.IndexOf(u"y"_s), 1);
}

} // namespace
