#include "ScriptedPrompt.h"
#include "basBrevanto2.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(basBrevanto2, StartsOnlyWithALibraryNewerThan215) {
    struct Case {
        std::optional<QString> version;
        bool starts;
    } cases[] = {
        {std::nullopt, false}, {u"2.15"_s, false}, {u"2.1"_s, false}, {u"1.99"_s, false},
        {u""_s, false},        {u"2.16"_s, true},  {u"2.2"_s, true},  {u"3.00 beta"_s, true},
    };
    for (const Case& c : cases) {
        ScriptedPrompt prompt;
        if (!c.starts)
            prompt.answerMessage(UserPrompt::Ok);
        int shown = 0;
        const int rc = basBrevanto2::startUp([&] { return c.version; }, prompt,
                                             [&] {
                                                 ++shown;
                                                 return 0;
                                             });
        const std::string what = c.version ? c.version->toStdString() : "no library";
        EXPECT_EQ(shown, c.starts ? 1 : 0) << what;
        EXPECT_EQ(rc, c.starts ? 0 : 1) << what;
        if (!c.starts) {
            ASSERT_EQ(prompt.asked().size(), 1u) << what;
            EXPECT_EQ(prompt.asked()[0].text,
                      u"このプログラムを起動するためにはクォルベリンVer.2.16以降が必要です"_s);
            EXPECT_EQ(prompt.asked()[0].icon, UserPrompt::Icon::Critical);
        }
    }
}

TEST(basBrevanto2, CaptionCarriesTheTwoDigitMinorVersion) {
    EXPECT_EQ(basBrevanto2::windowCaption(), u"BREVANTO Ver."_s + basBrevanto2::programVersion());
    EXPECT_TRUE(basBrevanto2::programVersion().contains(QRegularExpression(u"^\\d+\\.\\d\\d$"_s)));
}

} // namespace
