#include "FileTestSupport.h"
#include "TempFolderScope.h"
#include "TestFolder.h"
#include "basLha.h"
#include "clsQuorvelin2.h"
#include "clsWidgetFileHost.h"
#include "frmUseLha.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Acts on the window once it is shown modally.
void whenShown(std::function<void(frmUseLha&)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<frmUseLha*>(w); window && window->isVisible()) {
                act(*window);
                return;
            }
        ADD_FAILURE() << "the archive window was not shown";
    });
}

} // namespace

TEST(frmUseLha, CaptionsAndChoices) {
    frmUseLha window;
    EXPECT_EQ(window.windowTitle(), u"圧縮ファイル"_s);
    EXPECT_EQ(window.cmdOK()->text(), u"ＯＫ"_s);
    EXPECT_EQ(window.cmdCancel()->text(), u"キャンセル"_s);
    const auto labels = window.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), u"ファイルを選択してください"_s);

    struct Case {
        const char* what;
        int select; // -1: nothing selected
        bool ok;
        std::optional<QString> chosen;
    };
    for (const Case& c : std::vector<Case>{{"OK on the second", 1, true, u"b.lxm"_s},
                                           {"OK without a selection", -1, true, std::nullopt},
                                           {"cancel", 0, false, std::nullopt}}) {
        SCOPED_TRACE(c.what);
        whenShown([c](frmUseLha& w) {
            EXPECT_EQ(w.lstFile()->count(), 2);
            if (c.select >= 0)
                w.lstFile()->setCurrentRow(c.select);
            (c.ok ? w.cmdOK() : w.cmdCancel())->click();
        });
        EXPECT_EQ(window.ChooseFile({u"a.lap"_s, u"b.lxm"_s}), c.chosen);
    }
}

TEST(frmUseLha, TheWidgetHostChoosesTheFileToLoad) {
    TestFolder folder;
    TempFolderScope temp(folder.path());
    clsQuorvelin2 source;
    source.AddClass(u"Chosen"_s)->AddLap()->setRunnerName(u"R"_s);
    ASSERT_TRUE(source.FileControl()->SaveLapFile(folder.file(u"x.lxm"_s)));
    const QString archive =
        folder.write(u"two.lzh"_s, basLha::encodeArchive({{u"a.lap"_s, "$LAPFILE Ver=2\r\n", 0},
                                                          {u"b.lxm"_s, folder.read(u"x.lxm"_s), 0}}));
    clsQuorvelin2 root;
    clsWidgetFileHost host;
    root.FileControl()->setHost(&host);
    root.FileControl()->setProgressVisible(true);
    whenShown([](frmUseLha& w) {
        w.lstFile()->setCurrentRow(1);
        w.cmdOK()->click();
    });
    EXPECT_TRUE(root.FileControl()->LoadLapFile(archive)) << root.ErrorComment().toStdString();
    EXPECT_TRUE(root.IsClassExists(u"Chosen"_s));
}
