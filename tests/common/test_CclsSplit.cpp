#include "CclsSplit.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(CclsSplit, ItemsAreTrimmedAndMissingPositionsEmpty) {
    CclsSplit s;
    s.setExpression(u","_s, u"a, b,,c"_s);
    EXPECT_EQ(s.Bound(), 3);
    EXPECT_EQ(s.Value(0), u"a"_s);
    EXPECT_EQ(s.Value(1), u"b"_s);
    EXPECT_EQ(s.Value(2), QString());
    EXPECT_EQ(s.Value(3), u"c"_s);
    EXPECT_EQ(s.Value(7), QString());
    EXPECT_EQ(s.Value(-1), QString());
    EXPECT_EQ(s.AfterValue(1, u","_s), u" b,,c"_s);
    EXPECT_EQ(s.AfterValue(4, u","_s), QString());
    EXPECT_EQ(s.AfterValue(-1, u","_s), QString());
    EXPECT_EQ(s.Expression(u";"_s), u"a; b;;c"_s);
}

TEST(CclsSplit, WritingBeyondTheEndGrows) {
    CclsSplit s(u"p,q"_s, u","_s);
    s.setValue(5, u" x "_s);
    EXPECT_EQ(s.Bound(), 5);
    EXPECT_EQ(s.Expression(u","_s), u"p,q,,,,x"_s);
    s.setValue(9, QString());
    EXPECT_EQ(s.Bound(), 5);
    s.setValue(0, QString());
    EXPECT_EQ(s.Expression(u","_s), u",q,,,,x"_s);
}

TEST(CclsSplit, EmptyTextsAndDelimiters) {
    CclsSplit empty(QString(), u","_s);
    EXPECT_EQ(empty.Bound(), -1);
    EXPECT_EQ(empty.Value(0), QString());
    CclsSplit one(u"abc"_s, u","_s);
    EXPECT_EQ(one.Bound(), 0);
    CclsSplit multi(u"a/mk2/b/MK2/c"_s, u"/mk2/"_s); // whole delimiter, case-sensitive
    EXPECT_EQ(multi.Bound(), 1);
    EXPECT_EQ(multi.Value(1), u"b/MK2/c"_s);
}

} // namespace
