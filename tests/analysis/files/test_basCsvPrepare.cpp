#include "basCsvPrepare.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(basCsvPrepare, LegLabels) {
    struct Case {
        int controls;
        bool withStart;
        int leg;
        QString label;
    };
    for (const Case& c : std::vector<Case>{{10, true, 1, u"△→１"_s},
                                           {10, true, 2, u"１→２"_s},
                                           {10, true, 10, u"９→10"_s},
                                           {10, true, 11, u"10→◎"_s},
                                           {12, true, 12, u"11→12"_s},
                                           {3, true, 4, u"３→◎"_s},
                                           {3, false, 4, u"→◎"_s},
                                           {3, false, 2, u"→２"_s},
                                           {0, true, 1, u"△→◎"_s}})
        EXPECT_EQ(basCsvPrepare::LegLabel(c.controls, c.withStart, c.leg), c.label)
            << c.controls << " " << c.leg;
}

TEST(basCsvPrepare, FieldScores) {
    struct Case {
        QString field;
        int score;
    };
    for (const Case& c : std::vector<Case>{{u"NAME"_s, 10},
                                           {u"name"_s, 10},
                                           {u"ｎａｍｅ"_s, 10},
                                           {u"クラス"_s, 10},
                                           {u"氏名"_s, 10},
                                           {u"**"_s, 10},
                                           {u"スタート時刻"_s, 10},
                                           {u"ゴール"_s, 10},
                                           {u"3→4"_s, 10},
                                           {u"△→１"_s, 10},
                                           {u"S-1"_s, 10},
                                           {u"2-F"_s, -1},
                                           {u"F"_s, 10},
                                           {u"20"_s, 1},
                                           {u"0"_s, 1},
                                           {u"21"_s, 0},
                                           {u"１５"_s, 1},
                                           {u"山田"_s, -1},
                                           {QString(), -1},
                                           {u"SYOZOKU"_s, -1},
                                           {u"12:30"_s, -1}})
        EXPECT_EQ(basCsvPrepare::fieldScore(c.field), c.score) << c.field.toStdString();
}

TEST(basCsvPrepare, CanonicalHeaderFields) {
    struct Case {
        QString field;
        int n;
        QString canonical;
    };
    for (const Case& c : std::vector<Case>{{u"name"_s, 3, u"名前"_s},
                                           {u"ＮＡＭＡＥ"_s, 3, u"名前"_s},
                                           {u"class"_s, 3, u"クラス"_s},
                                           {u"クラス名"_s, 3, u"クラス"_s},
                                           {u"Shozoku"_s, 3, u"所属"_s},
                                           {u"TT"_s, 3, u"総タイム"_s},
                                           {u"タイム"_s, 3, u"総タイム"_s},
                                           {u"F"_s, 3, u"３→◎"_s},
                                           {u"◎"_s, 12, u"12→◎"_s},
                                           {u"Start"_s, 3, u"スタート時刻"_s},
                                           {u"スタート時刻"_s, 3, u"スタート時刻"_s},
                                           {u"Position"_s, 3, u"順位"_s},
                                           {u"シード"_s, 3, u"シード"_s},
                                           {u"1"_s, 3, u"△→１"_s},
                                           {u"3"_s, 3, u"２→３"_s},
                                           {u"S-1"_s, 2, u"△→１"_s},
                                           {u"1-2"_s, 2, u"１→２"_s},
                                           {u"2-F"_s, 2, u"２→◎"_s},
                                           {u"△→１"_s, 2, u"△→１"_s},
                                           {u"10→11"_s, 12, u"10→11"_s},
                                           {u"x-2"_s, 2, u"x-2"_s},
                                           {u"性別"_s, 3, u"性別"_s},
                                           {u"Memo"_s, 3, u"Memo"_s}})
        EXPECT_EQ(basCsvPrepare::canonicalField(c.field, c.n), c.canonical) << c.field.toStdString();
}

TEST(basCsvPrepare, LargestHeaderNumber) {
    EXPECT_EQ(basCsvPrepare::largestHeaderNumber(u"NAME,S-1,1-2,2-F"_s), 2);
    EXPECT_EQ(basCsvPrepare::largestHeaderNumber(u"NAME,1,2,3,F"_s), 3);
    EXPECT_EQ(basCsvPrepare::largestHeaderNumber(u"名前,△→１,１→２,２→◎"_s), 2);
    EXPECT_EQ(basCsvPrepare::largestHeaderNumber(u"NAME,CLUB"_s), 0);
}

namespace {
const QString ExpectedHeader = u"名前,所属,△→１,１→２,２→３,３→◎,クラス"_s;
}

TEST(basCsvPrepare, PreparesListsOfEveryShape) {
    struct Case {
        const char* what;
        QStringList lines;
        QStringList prepared;
    };
    const std::vector<Case> cases = {
        {"names in the first row",
         {u"NAME,SYOZOKU,1,2,3,F"_s, u"Yamada,OLC,1:00,2:00,3:00,4:00"_s},
         {ExpectedHeader, u"Yamada,OLC,1:00,2:00,3:00,4:00"_s}},
        {"names down the first column",
         {u"NAME,Yamada,Sato"_s, u"SYOZOKU,OLC,KOC"_s, u"1,1:00,1:10"_s, u"2,2:00,2:10"_s, u"3,3:00,3:10"_s,
          u"F,4:00,4:10"_s},
         {ExpectedHeader, u"Yamada,OLC,1:00,2:00,3:00,4:00"_s, u"Sato,KOC,1:10,2:10,3:10,4:10"_s}},
        {"space separated",
         {u"  NAME   SYOZOKU 1  2 3    F"_s, u"Yamada OLC   1:00 2:00 3:00  4:00 "_s},
         {ExpectedHeader, u"Yamada,OLC,1:00,2:00,3:00,4:00"_s}},
        {"dash legs",
         {u"CLASS,NAME,S-1,1-2,2-F"_s, u"M21,Yamada,1:00,1:00,1:00"_s},
         {u"クラス,名前,△→１,１→２,２→◎"_s, u"M21,Yamada,1:00,1:00,1:00"_s}},
    };
    for (const Case& c : cases) {
        QStringList lines = c.lines;
        EXPECT_EQ(basCsvPrepare::prepare(lines), basCsvPrepare::Outcome::Ready) << c.what;
        EXPECT_EQ(lines, c.prepared) << c.what;
    }
}

TEST(basCsvPrepare, ListWithoutFieldNamesIsRefusedUnchanged) {
    QStringList lines = {u"Yamada,OLC,Tokyo"_s, u"Sato,KOC,Osaka"_s, u"Suzuki,TOC,Kyoto"_s};
    const QStringList before = lines;
    EXPECT_EQ(basCsvPrepare::prepare(lines), basCsvPrepare::Outcome::NoFieldNames);
    EXPECT_EQ(lines, before);
}

TEST(basCsvPrepare, TransposeFillsShortLines) {
    EXPECT_EQ(basCsvPrepare::transpose({u"a,b,c"_s, u"d"_s, u"e,f"_s}),
              (QStringList{u"a,d,e"_s, u"b,,f"_s, u"c,,"_s}));
}
