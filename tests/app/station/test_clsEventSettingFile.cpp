#include "TestFolder.h"
#include "basDate.h"
#include "basText.h"
#include "clsEventSettingFile.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(clsEventSettingFile, ReadsThreeLinesOrFallsBackToTheDefaults) {
    const double may5 = basDate::dateSerial(2024, 5, 5);
    struct Case {
        const char* what;
        std::optional<QByteArray> content;
        QString name;
        double date;
        qint32 rule;
    } cases[] = {
        {"no file", std::nullopt, u"名称未設定"_s, 0, -9},
        {"all three lines", basText::toWindows31J(u"春の大会\r\n2024/05/05\r\n0\r\n"), u"春の大会"_s, may5,
         0},
        {"LF line ends", basText::toWindows31J(u"春の大会\n2024/05/05\n98\n"), u"春の大会"_s, may5, 98},
        {"only the name line", basText::toWindows31J(u"春の大会\r\n"), u"名称未設定"_s, 0, -9},
        {"two lines", basText::toWindows31J(u"春の大会\r\n2024/05/05\r\n"), u"名称未設定"_s, 0, -9},
        {"date that is not a date", basText::toWindows31J(u"春の大会\r\nいつか\r\n3\r\n"), u"春の大会"_s, 0,
         3},
        {"rule that is not a number", basText::toWindows31J(u"春の大会\r\n2024/05/05\r\nx\r\n"),
         u"名称未設定"_s, 0, -9},
        {"rule rounded to even", "A\r\n2024/05/05\r\n2.5\r\n", u"A"_s, may5, 2},
        {"rule out of range", "A\r\n2024/05/05\r\n99999999999\r\n", u"名称未設定"_s, 0, -9},
        {"empty file", QByteArray(""), u"名称未設定"_s, 0, -9},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        if (c.content)
            dir.write(u"Brevanto2.ini"_s, *c.content);
        const clsEventSettingFile ini = clsEventSettingFile::read(dir.path());
        EXPECT_EQ(ini.EventName, c.name) << c.what;
        EXPECT_EQ(ini.EventDate, c.date) << c.what;
        EXPECT_EQ(ini.PenacheckRule, c.rule) << c.what;
    }
}

TEST(clsEventSettingFile, WritesWindows31JLinesWithCrLfAndReadsThemBack) {
    TestFolder dir;
    clsEventSettingFile ini;
    ini.EventName = u"第１回　ロゲイン～大会"_s;
    ini.EventDate = basDate::dateSerial(2026, 12, 8);
    ini.PenacheckRule = 98;
    ASSERT_TRUE(ini.write(dir.path()));
    EXPECT_EQ(dir.read(u"Brevanto2.ini"_s),
              basText::toWindows31J(u"第１回　ロゲイン～大会\r\n2026/12/08\r\n98\r\n"));
    const clsEventSettingFile back = clsEventSettingFile::read(dir.path());
    EXPECT_EQ(back.EventName, ini.EventName);
    EXPECT_EQ(back.EventDate, ini.EventDate);
    EXPECT_EQ(back.PenacheckRule, 98);
}

TEST(clsEventSettingFile, WriteIntoAMissingFolderFails) {
    clsEventSettingFile ini;
    const basTextFile::Result r = ini.write(u"/nonexistent/folder/for/sure"_s);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}

} // namespace
