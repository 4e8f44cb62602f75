#include "TestFolder.h"
#include "basTextFile.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(TextFile, SplitLinesAtEveryKindOfLineEnd) {
    struct Row {
        QString text;
        QStringList lines;
    } rows[] = {
        {u"a\r\nb\r\n"_s, {u"a"_s, u"b"_s}},
        {u"a\nb"_s, {u"a"_s, u"b"_s}},
        {u"a\rb\r"_s, {u"a"_s, u"b"_s}},
        {u"a\r\n\r\nb"_s, {u"a"_s, u""_s, u"b"_s}},
        {u"\n"_s, {u""_s}},
        {u""_s, {}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(basTextFile::splitLines(r.text), r.lines) << r.text.toStdString();
}

TEST(TextFile, AppendWritesWindows31JWithCrLf) {
    TestFolder dir;
    const QString path = dir.file(u"Ecard.txt"_s);
    ASSERT_TRUE(basTextFile::appendLine(path, u"山田,－～"_s));
    ASSERT_TRUE(basTextFile::appendLine(path, u"b"_s));
    EXPECT_EQ(dir.read(u"Ecard.txt"_s), QByteArray("\x8e\x52\x93\x63,\x81\x7c\x81\x60\r\nb\r\n"));
    QStringList lines;
    ASSERT_TRUE(basTextFile::readLines(path, &lines));
    EXPECT_EQ(lines, (QStringList{u"山田,－～"_s, u"b"_s}));
}

TEST(TextFile, RewriteReplacesTheWholeFile) {
    TestFolder dir;
    const QString path = dir.write(u"Course.txt"_s, "old content that is longer\r\n");
    ASSERT_TRUE(basTextFile::writeLines(path, {u"M21,1,2"_s, u"W21"_s}));
    EXPECT_EQ(dir.read(u"Course.txt"_s), QByteArray("M21,1,2\r\nW21\r\n"));
    ASSERT_TRUE(basTextFile::writeLines(path, {}));
    EXPECT_EQ(dir.read(u"Course.txt"_s), QByteArray());
}

TEST(TextFile, FailuresCarryTheSystemDescription) {
    TestFolder dir;
    QStringList lines{u"kept"_s};
    const auto missing = basTextFile::readLines(dir.file(u"none.txt"_s), &lines);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_EQ(lines, QStringList{u"kept"_s});
    EXPECT_FALSE(basTextFile::appendLine(dir.file(u"no/such/folder/x.txt"_s), u"x"_s));
    EXPECT_FALSE(basTextFile::writeLines(dir.file(u"no/such/folder/x.txt"_s), {u"x"_s}));
}

} // namespace
