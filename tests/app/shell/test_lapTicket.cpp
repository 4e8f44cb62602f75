// Lap tickets in the window: switched on from the option menu, printed after the read is shown,
// a missing printer said once in the status line while cards keep coming, and reprints.
#include "ShellFixture.h"
#include "WaitFor.h"
#include "basTicketPrinter.h"
#include "clsTicketPrinter.h"
#include "frmEcardView.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {

const std::vector<int> M21A{31, 32, 33};

struct Target {
    QString name;
    std::function<void(frmMain&, ScriptedPrompt&, const QString& good)> choose;
    QString said; // in the status line once; empty: tickets go through
};

TEST_F(ShellFixture, TicketsFollowTheReadAndAFailingTargetIsSaidOnce) {
    clsTicketPrinter::setPrinterMaker(&basTicketPrinter::makePrinter);
    open();
    const QString good = home.file(u"tickets"_s);
    QDir().mkpath(good);
    const Target targets[] = {
        {u"missing printer"_s,
         [](frmMain& m, ScriptedPrompt&, const QString&) { m.Tickets()->setPrinter(u"no-such-printer"_s); },
         u"ラップ票を印刷できません: プリンタが見つかりません: no-such-printer"_s},
        {u"folder gone"_s,
         [this](frmMain& m, ScriptedPrompt& p, const QString&) {
             p.answerChooseFolder(home.file(u"gone"_s));
             m.action(u"フォルダを選択..."_s)->trigger();
         },
         u"ラップ票を印刷できません: フォルダがありません: "_s + home.file(u"gone"_s)},
        {u"folder"_s,
         [](frmMain& m, ScriptedPrompt& p, const QString& folder) {
             p.answerChooseFolder(folder);
             m.action(u"フォルダを選択..."_s)->trigger();
         },
         QString()},
    };
    // Off until the operator switches it on; the switch is kept.
    EXPECT_FALSE(main->Tickets()->isEnabled());
    main->action(u"ラップ票を印刷する"_s)->trigger();
    EXPECT_EQ(settings->value(u"PrintLapTicket"_s), u"True"_s);

    int card = 0;
    for (const Target& t : targets) {
        SCOPED_TRACE(t.name.toStdString());
        t.choose(*main, prompt, good);
        int failures = 0;
        const auto counted =
            QObject::connect(main->Tickets(), &clsTicketPrinter::failed, [&] { ++failures; });
        for (int i = 0; i < 3; ++i) {
            ++card;
            feed(cardLine(401000 + card, coursePunches(M21A, 100, 1800 + 60 * card), card));
            // The read is stored and shown before its ticket is printed.
            EXPECT_EQ(ecardLines(), card);
            EXPECT_TRUE(main->ResultLabelText().startsWith(u"M21A "_s))
                << main->ResultLabelText().toStdString();
            EXPECT_EQ(main->Tickets()->pending(), 1);
            ASSERT_TRUE(waitUntil([&] { return main->Tickets()->pending() == 0; }));
        }
        QObject::disconnect(counted);
        EXPECT_EQ(failures, t.said.isEmpty() ? 0 : 1);
        if (t.said.isEmpty())
            EXPECT_FALSE(main->statusBar()->currentMessage().startsWith(u"ラップ票を印刷できません"_s));
        else
            EXPECT_EQ(main->statusBar()->currentMessage(), t.said);
    }
    const QDir out(good);
    ASSERT_EQ(out.entryList(QDir::Files).size(), 3);

    // The same card again: already read, no ticket; the operator reprints it from the menu and
    // from the detail window.
    feed(cardLine(401000 + card, coursePunches(M21A, 100, 1800 + 60 * card), card));
    EXPECT_EQ(main->Tickets()->pending(), 0);
    main->action(u"ラップ票を再印刷"_s)->trigger();
    EXPECT_EQ(out.entryList(QDir::Files).size(), 4);
    frmEcardView view(*main->station(), main->lastTag(), {});
    view.setReprint([this] { main->reprintTicket(main->lastTag()); });
    ASSERT_NE(view.cmdReprint(), nullptr);
    view.cmdReprint()->click();
    const QStringList files = out.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 5);
    EXPECT_EQ(files.filter(u"ticket-%1-"_s.arg(401000 + card)).size(), 3) << files.join(u' ').toStdString();

    // The next start keeps the switch, the folder and the roll.
    main->action(u"58 mm"_s)->trigger();
    frmMain again(&prompt, settings.get(), home.file(u"app"_s));
    EXPECT_TRUE(again.Tickets()->isEnabled());
    EXPECT_EQ(again.Tickets()->target(), clsTicketPrinter::Target::Folder);
    EXPECT_EQ(again.Tickets()->destination(), good);
    EXPECT_EQ(again.Tickets()->paper(), clsLapTicket::Paper::Roll58);
}

} // namespace
