#include "TestFolder.h"
#include "basDate.h"
#include "basNameRule.h"
#include "basText.h"
#include "clsEcardTagData.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(NameRule, OwnNameThenDataFolderThenApplicationFolder) {
    struct Case {
        const char* what;
        QString appCsv;   // record line, empty: no record
        QString dataCsv;  // record line, empty: no record
        QString otherTxt; // Other.txt line for the read, empty: none
        QString expected; // runner name; empty: no record
    } cases[] = {
        {"own name first", u"401739,App,C"_s, u"401739,Data,C"_s,
         u"SpecificData: UniqueKey=%1;NameData=Own,C;"_s, u"Own"_s},
        {"data folder next", u"401739,App,C"_s, u"401739,Data,C"_s, u""_s, u"Data"_s},
        {"specific data without a name", u"401739,App,C"_s, u"401739,Data,C"_s,
         u"SpecificData: UniqueKey=%1;CourseList=A;"_s, u"Data"_s},
        {"application folder last", u"401739,App,C"_s, u""_s, u""_s, u"App"_s},
        {"another read's own name does not apply", u""_s, u""_s,
         u"SpecificData: UniqueKey=030514235346401739;NameData=Other,C;"_s, u""_s},
        {"nothing", u""_s, u""_s, u""_s, u""_s},
    };
    clsEcardTagData tag;
    tag.setRegnlyFormat(
        u"03/05/14 23:53:45, Card No. (401739), (2002,Week 37), 0, 00:00:00, 250, 00:10:00"_s);
    ASSERT_TRUE(tag.IsValid());
    for (const Case& c : cases) {
        TestFolder app, data;
        const QString header = u"Ｅカード番号,氏名,所属\r\n"_s;
        if (!c.appCsv.isEmpty())
            app.write(u"Name.csv"_s, basText::toWindows31J(QString(header + c.appCsv + u"\r\n"_s)));
        if (!c.dataCsv.isEmpty())
            data.write(u"Name.csv"_s, basText::toWindows31J(QString(header + c.dataCsv + u"\r\n"_s)));
        if (!c.otherTxt.isEmpty())
            data.write(u"Other.txt"_s,
                       basText::toWindows31J(
                           QString(QString(c.otherTxt).replace(u"%1"_s, tag.UniqueKey()) + u"\r\n"_s)));
        clsNameDataTable names(app.path());
        names.OpenFolder(data.path());
        clsOtherDataTable other;
        other.OpenFolder(data.path());
        const clsNameDataPtr d = basNameRule::NameDataOfEcardTag(tag, other, names);
        if (c.expected.isEmpty()) {
            EXPECT_FALSE(d) << c.what;
        } else {
            ASSERT_TRUE(d) << c.what;
            EXPECT_EQ(d->RunnerName, c.expected) << c.what;
        }
    }
}
