#include "ShellFixture.h"
#include "clsClassData.h"
#include "clsQuorvelin2.h"
#include "ctlQuorvelinView.h"
#include "frmLapView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// What the analysis window showed while it was open modally.
struct Seen {
    bool shown = false;
    bool modal = false;
    QString title;
    QMargins margins;
    QStringList classes;
    QString viewType;
};

Seen openAndLook(const std::function<void()>& open) {
    Seen seen;
    QTimer::singleShot(0, [&seen] {
        auto* window = qobject_cast<frmLapView*>(QApplication::activeModalWidget());
        if (!window)
            return;
        seen.shown = true;
        seen.modal = window->isModal();
        seen.title = window->windowTitle();
        seen.margins = window->layout()->contentsMargins();
        const auto root = window->view()->root();
        for (int c = 1; root && c <= root->ClassCount(); ++c)
            seen.classes << root->ClassData(c)->ClassName();
        seen.viewType = window->view()->viewTypeList()->currentText();
        window->reject();
    });
    open();
    return seen;
}

TEST_F(ShellFixture, TheButtonAndTheMenuOpenTheAnalysisOnTheCurrentResults) {
    ecardTxt = cardLine(401001, coursePunches({31, 32, 33}, 100, 3000)) + u";\r\n"_s;
    open();
    struct Case {
        const char* what;
        std::function<void()> open;
    };
    const std::vector<Case> cases{
        {"button", [this] { main->button(u"解析(F7)"_s)->click(); }},
        {"menu", [this] { main->action(u"ラップ解析表示(&A)"_s)->trigger(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Seen seen = openAndLook(c.open);
        ASSERT_TRUE(seen.shown);
        EXPECT_TRUE(seen.modal);
        EXPECT_EQ(seen.title, u"ラップ解析"_s);
        EXPECT_EQ(seen.margins, QMargins(4, 4, 4, 4));
        EXPECT_EQ(seen.classes, (QStringList{u"M21A"_s, u"W21A"_s}));
        EXPECT_EQ(seen.viewType, u"ラップ解析"_s);
    }
    EXPECT_EQ(main->button(u"解析(F7)"_s)->shortcut(), QKeySequence(Qt::Key_F7));
}

} // namespace
