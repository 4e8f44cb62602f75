#include "PublishedPages.h"
#include "ShellFixture.h"
#include "WaitFor.h"
#include "clsLivePublisher.h"

#include <QAction>
#include <QFile>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {

const std::vector<int> M21A{31, 32, 33};

// The option menu's switch with its folder kept in the machine settings, and a folder that
// cannot be written: one message in the status line while the cards go on being read.
TEST_F(ShellFixture, LiveResultsAreSwitchedInTheMenuAndSurviveAnUnwritableFolder) {
    nameCsv += u"401002,<b>Bold</b> & Co,クラブ\r\n"_s; // shown as typed on every page
    open();
    QAction* publish = main->action(u"結果を自動公開する"_s);
    ASSERT_NE(publish, nullptr);
    ASSERT_NE(main->action(u"解析ページも公開する"_s), nullptr);
    EXPECT_FALSE(publish->isChecked()) << "off by default";
    home.write(u"blocked"_s, "a file where the folder should be");
    const QString target = home.file(u"blocked/www"_s);

    const struct {
        const char* what;
        bool asks; // switching on asks for the folder, switching off does not
        std::optional<QString> answer;
        bool on;
    } switches[] = {
        {"a cancelled folder choice leaves it off", true, std::nullopt, false},
        {"a chosen folder switches it on", true, target, true},
        {"a second click switches it off", false, std::nullopt, false},
        {"and on again", true, target, true},
    };
    for (const auto& s : switches) {
        if (s.asks)
            prompt.answerChooseFolder(s.answer);
        publish->trigger();
        EXPECT_EQ(publish->isChecked(), s.on) << s.what;
        EXPECT_EQ(main->publisher()->isEnabled(), s.on) << s.what;
        EXPECT_EQ(settings->value(clsMachineSettings::PublishResultsValue), s.on ? u"True"_s : u"False"_s)
            << s.what;
    }
    EXPECT_EQ(settings->value(clsMachineSettings::PublishFolderValue), target);

    main->publisher()->setInterval(20);
    int failures = 0;
    QObject::connect(main->publisher(), &clsLivePublisher::publishFailed, [&] { ++failures; });
    for (int i = 1; i <= 3; ++i) {
        const int before = main->publisher()->writeCount();
        feed(cardLine(401000 + i, coursePunches(M21A, 100, 3000 + i * 60), i));
        EXPECT_TRUE(main->ResultLabelText().startsWith(u"M21A"_s)) << "card " << i << " was read";
        ASSERT_TRUE(waitUntil([&] { return main->publisher()->writeCount() > before; }));
        EXPECT_TRUE(main->statusBar()->currentMessage().startsWith(u"結果を公開できません: "_s))
            << main->statusBar()->currentMessage().toStdString();
    }
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(ecardLines(), 3);

    // The way cleared, the next card's pages get through and the message goes.
    QFile::remove(home.file(u"blocked"_s));
    feed(cardLine(401009, coursePunches(M21A, 100, 2800), 9));
    ASSERT_TRUE(
        waitUntil([&] { return main->publisher()->lastError().isEmpty() && main->publisher()->isIdle(); }));
    EXPECT_TRUE(main->statusBar()->currentMessage().isEmpty());
    publishedpages::expectPagesAgreeWithLists(target, *main->station());
    const QString latest = publishedpages::readPage(target + u'/' + clsLivePublisher::LatestFile, true);
    EXPECT_TRUE(latest.contains(u"&lt;b&gt;Bold&lt;/b&gt; &amp; Co"_s)) << latest.toStdString();
    EXPECT_FALSE(latest.contains(u"<b>Bold"_s));

    // A new window publishes to the kept folder from the start.
    frmMain again(&prompt, settings.get(), home.file(u"app"_s));
    EXPECT_TRUE(again.action(u"結果を自動公開する"_s)->isChecked());
    EXPECT_EQ(again.publisher()->folder(), target);
}

} // namespace
