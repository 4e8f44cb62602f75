#include "TestFolder.h"
#include "Windows31J.h"
#include "clsNameDataTable.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Writes a Name.csv whose lines end in CR LF.
QByteArray csv(std::initializer_list<QString> lines) {
    QString text;
    for (const QString& l : lines)
        text += l + u"\r\n"_s;
    return sjis(text);
}

struct Folders {
    TestFolder app;
    TestFolder data;
};

} // namespace

TEST(NameDataTableHeader, Variants) {
    struct Case {
        QString header;
        bool valid;
    } cases[] = {
        {u"Ｅカード番号,名前,所属"_s, true},
        {u"Ｅカード番号,氏名,所属"_s, true},
        {u"Ｅカード,氏名,クラブ名"_s, true},
        {u"Ｅカード,名前,クラブ名,年齢,備考"_s, true},
        {u"Eｶｰﾄﾞ番号,氏名,所属"_s, true}, // half-width E and katakana widen
        {u"Eｶｰﾄﾞ,名前,ｸﾗﾌﾞ名"_s, true},
        {u"番号,氏名,所属"_s, false},           // the word for number alone
        {u"Ｅカード番号, 氏名, 所属"_s, false}, // a blank becomes part of the field
        {u" Ｅカード番号,氏名,所属"_s, false},  // the header line is not trimmed
        {u"Ｅカード番号,氏名"_s, false},
        {u"ｅカード番号,氏名,所属"_s, false}, // case-sensitive after widening
        {u"Ｅカード番号,所属,氏名"_s, false},
        {QString(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clsNameDataTable::isValidHeader(c.header), c.valid) << c.header.toStdString();
}

TEST(NameDataTableHeader, InvalidHeaderGivesTheMessageAndLoadsNothingOfThatFile) {
    Folders f;
    f.app.write(u"Name.csv"_s, csv({u"Ｅカード番号,氏名,所属"_s, u"100,App,Club"_s}));
    f.data.write(u"Name.csv"_s, csv({u"番号,氏名,所属"_s, u"200,Data,Club"_s}));
    clsNameDataTable table(f.app.path());
    const std::vector<Result> failures = table.OpenFolder(f.data.path());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_FALSE(failures[0]);
    EXPECT_EQ(failures[0].error,
              u"Name.csv の１行目は\n  \" Ｅカード番号,氏名,所属 \"\nでなければなりません。"_s);
    EXPECT_EQ(table.DataFolderNameDataTable().Count(), 0);
    ASSERT_TRUE(table.NameData(100));
    EXPECT_EQ(table.NameData(100)->RunnerName, u"App"_s);
    EXPECT_FALSE(table.NameData(200));
}

TEST(NameDataTableLines, RecordFields) {
    struct Case {
        QString line;
        qint32 number; // 0: skipped
        QString runner;
        QString club;
    } cases[] = {
        {u"401739,山田 太郎,OLC"_s, 401739, u"山田 太郎"_s, u"OLC"_s},
        {u"  401739 , Name , Club  "_s, 401739, u" Name "_s, u" Club"_s},
        {u"12,OnlyName"_s, 12, u"OnlyName"_s, QString()},
        {u"12"_s, 12, QString(), QString()},
        {u"13,A,B,extra,fields"_s, 13, u"A"_s, u"B"_s},
        {u"12.5,Even,X"_s, 12, u"Even"_s, u"X"_s}, // ties to even
        {u"13.5,Even,X"_s, 14, u"Even"_s, u"X"_s},
        {u"77abc,Lead,X"_s, 77, u"Lead"_s, u"X"_s},
        {u"abc,NoNumber,X"_s, 0, {}, {}},
        {u"0,Zero,X"_s, 0, {}, {}},
        {u"   "_s, 0, {}, {}},
        {u",,"_s, 0, {}, {}},
    };
    for (const Case& c : cases) {
        const clsNameDataPtr d = clsNameDataTable::parseLine(c.line);
        if (c.number == 0) {
            EXPECT_FALSE(d) << c.line.toStdString();
            continue;
        }
        ASSERT_TRUE(d) << c.line.toStdString();
        EXPECT_EQ(d->EcardNo, c.number) << c.line.toStdString();
        EXPECT_EQ(d->RunnerName, c.runner) << c.line.toStdString();
        EXPECT_EQ(d->ClubName, c.club) << c.line.toStdString();
    }
}

TEST(NameDataTableLoad, PrecedenceOfTheTwoFolders) {
    struct Case {
        const char* what;
        QList<QString> appLines; // empty: no file
        QList<QString> dataLines;
        qint32 number;
        QString expected; // runner name in effect; empty: no record
        int appCount;
        int dataCount;
    } cases[] = {
        {"data folder wins", {u"401739,App,C"_s}, {u"401739,Data,C"_s}, 401739, u"Data"_s, 1, 1},
        {"only application folder", {u"5,App,C"_s}, {}, 5, u"App"_s, 1, 0},
        {"only data folder", {}, {u"5,Data,C"_s}, 5, u"Data"_s, 0, 1},
        {"later line in one file wins",
         {},
         {u"401739,First,C"_s, u"401739,Second,C"_s},
         401739,
         u"Second"_s,
         0,
         1},
        {"unknown number", {u"1,A,C"_s}, {u"2,B,C"_s}, 3, QString(), 1, 1},
        {"skipped lines", {}, {u""_s, u"x,Bad,C"_s, u"0,Zero,C"_s, u"9,Good,C"_s}, 9, u"Good"_s, 0, 1},
    };
    for (const Case& c : cases) {
        Folders f;
        if (!c.appLines.isEmpty()) {
            QString text = u"Ｅカード番号,氏名,所属\r\n"_s;
            for (const QString& l : c.appLines)
                text += l + u"\r\n"_s;
            f.app.write(u"Name.csv"_s, sjis(text));
        }
        if (!c.dataLines.isEmpty()) {
            QString text = u"Ｅカード,名前,所属\r\n"_s;
            for (const QString& l : c.dataLines)
                text += l + u"\r\n"_s;
            f.data.write(u"Name.csv"_s, sjis(text));
        }
        clsNameDataTable table(f.app.path());
        EXPECT_TRUE(table.OpenFolder(f.data.path() + u"\\"_s).empty()) << c.what;
        const clsNameDataPtr d = table.NameData(c.number);
        if (c.expected.isEmpty()) {
            EXPECT_FALSE(d) << c.what;
        } else {
            ASSERT_TRUE(d) << c.what;
            EXPECT_EQ(d->RunnerName, c.expected) << c.what;
        }
        EXPECT_EQ(table.ApplicationFolderNameDataTable().Count(), c.appCount) << c.what;
        EXPECT_EQ(table.DataFolderNameDataTable().Count(), c.dataCount) << c.what;
    }
}

TEST(NameDataTableLoad, BothTablesKeepTheirOwnRecordAndShareObjects) {
    Folders f;
    f.app.write(u"Name.csv"_s, csv({u"Ｅカード番号,氏名,所属"_s, u"401739,App,C"_s, u"7,Seven,C"_s}));
    f.data.write(u"Name.csv"_s, csv({u"Ｅカード番号,氏名,所属"_s, u"401739,Data,C"_s}));
    clsNameDataTable table(f.app.path());
    table.OpenFolder(f.data.path());
    EXPECT_EQ(table.ApplicationFolderNameDataTable().Item(u"401739"_s)->RunnerName, u"App"_s);
    EXPECT_EQ(table.NameDataTable().Count(), 2);
    // The data folder's record replaced the other and moved to the end.
    EXPECT_EQ(table.NameDataTable().Key(1), u"7"_s);
    EXPECT_EQ(table.NameDataTable().Key(2), u"401739"_s);
    EXPECT_EQ(table.NameDataTable().Item(2).get(), table.DataFolderNameDataTable().Item(1).get());
    table.Clear();
    EXPECT_EQ(table.NameDataTable().Count(), 0);
    EXPECT_TRUE(table.DataFolder().isEmpty());
}

TEST(NameDataTableLoad, EmptyFileLoadsNothingSilently) {
    Folders f;
    f.data.write(u"Name.csv"_s, QByteArray());
    clsNameDataTable table(f.app.path());
    EXPECT_TRUE(table.OpenFolder(f.data.path()).empty());
    EXPECT_EQ(table.NameDataTable().Count(), 0);
}

TEST(NameDataTableAdd, AppendsAndRoundTrips) {
    Folders f;
    clsNameDataTable table(f.app.path());
    table.OpenFolder(f.data.path());
    ASSERT_TRUE(table.AddToDataFolder(std::make_shared<clsNameData>(401739, u"山田 太郎"_s, u"ＯＬＣ"_s)));
    ASSERT_TRUE(table.AddToDataFolder(std::make_shared<clsNameData>(12, u"B"_s, u""_s)));
    ASSERT_TRUE(table.AddToApplicationFolder(std::make_shared<clsNameData>(401739, u"App"_s, u"C"_s)));
    EXPECT_EQ(f.data.read(u"Name.csv"_s),
              sjis(u"Ｅカード番号,名前,所属\r\n401739,山田 太郎,ＯＬＣ\r\n12,B,\r\n"_s));
    EXPECT_EQ(f.app.read(u"Name.csv"_s), sjis(u"Ｅカード番号,名前,所属\r\n401739,App,C\r\n"_s));
    // The latest addition is in effect until the next load, where the data folder wins.
    EXPECT_EQ(table.NameData(401739)->RunnerName, u"App"_s);

    clsNameDataTable reloaded(f.app.path());
    reloaded.OpenFolder(f.data.path());
    EXPECT_EQ(reloaded.NameData(401739)->RunnerName, u"山田 太郎"_s);
    EXPECT_EQ(reloaded.NameData(401739)->ClubName, u"ＯＬＣ"_s);
    EXPECT_EQ(reloaded.NameData(12)->ClubName, QString());
    EXPECT_EQ(reloaded.ApplicationFolderNameDataTable().Item(u"401739"_s)->RunnerName, u"App"_s);
}

TEST(NameDataTableAdd, EmptyExistingFileGetsItsHeaderSoTheRecordLoadsAgain) {
    Folders f;
    f.data.write(u"Name.csv"_s, QByteArray());
    clsNameDataTable table(f.app.path());
    table.OpenFolder(f.data.path());
    ASSERT_TRUE(table.AddToDataFolder(std::make_shared<clsNameData>(5, u"N"_s, u"C"_s)));
    clsNameDataTable reloaded(f.app.path());
    EXPECT_TRUE(reloaded.OpenFolder(f.data.path()).empty()) << "no header message expected";
    ASSERT_TRUE(reloaded.NameData(5));
}

TEST(NameDataTableAdd, ExistingFileIsOnlyAppendedTo) {
    Folders f;
    const QByteArray before = csv({u"Ｅカード,氏名,クラブ名,x"_s, u"1,A,B"_s, u"junk line"_s});
    f.data.write(u"Name.csv"_s, before);
    clsNameDataTable table(f.app.path());
    table.OpenFolder(f.data.path());
    ASSERT_TRUE(table.AddToDataFolder(std::make_shared<clsNameData>(2, u"C"_s, u"D"_s)));
    EXPECT_EQ(f.data.read(u"Name.csv"_s), before + sjis(u"2,C,D\r\n"_s));
}

TEST(NameDataTableAdd, FileErrorGivesItsTextAndLeavesTablesUnchanged) {
    Folders f;
    clsNameDataTable table(f.app.path());
    table.OpenFolder(f.data.file(u"missing/folder"_s));
    const Result added = table.AddToDataFolder(std::make_shared<clsNameData>(3, u"N"_s, u"C"_s));
    EXPECT_FALSE(added);
    EXPECT_FALSE(added.error.isEmpty());
    EXPECT_FALSE(table.NameData(3));
    EXPECT_EQ(table.DataFolderNameDataTable().Count(), 0);
}

TEST(NameDataTableAdd, RecordWithoutNumberIsNotWritten) {
    Folders f;
    clsNameDataTable table(f.app.path());
    table.OpenFolder(f.data.path());
    EXPECT_FALSE(table.AddToDataFolder(std::make_shared<clsNameData>(0, u"N"_s, u"C"_s)));
    EXPECT_FALSE(f.data.exists(u"Name.csv"_s));
    EXPECT_EQ(table.NameDataTable().Count(), 0);
}
