// A tool, run by `make screenshots`: writes pictures of the main window, the detail window and
// the class-setting window to the build folder's screenshots/, rendered with the Japanese fonts,
// for a person to look at. Nothing is compared; the windows' behaviour is checked in test_shell.
#include "ShellFixture.h"
#include "clsEcardTagStock.h"
#include "ctlDataFolder.h"
#include "frmCourseSetting.h"
#include "frmEcardView.h"
#include "frmExportTypeSelect.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace {

QString shotPath(const QString& name) {
    const QString dir = QStringLiteral(BREVANTO_BINARY_DIR) + u"/screenshots"_s;
    QDir().mkpath(dir);
    return dir + u'/' + name;
}

void save(QWidget& w, const QString& name, QSize size) {
    w.resize(size);
    w.show();
    QCoreApplication::processEvents();
    const QPixmap shot = w.grab();
    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(shotPath(name))) << name.toStdString();
}

TEST_F(ShellFixture, ScreenshotsOfTheMainDetailAndClassWindows) {
    courseTxt = u"M21A,0,31,32,33,100\r\nW21A,0,31,33,100\r\n女子エリート,0,31,32,100\r\n"_s;
    open();
    feed(cardLine(402001, coursePunches({31, 33}, 100, 2100), 1));
    feed(cardLine(403003, coursePunches({31, 32, 33}, 100, 3120), 2));
    feed(cardLine(401001, coursePunches({31, 32, 33}, 100, 3005), 3));
    main->cboCourse()->setCurrentIndex(0);
    save(*main, u"main-window.png"_s, {1000, 640});

    // The option menu with the lap-ticket items, as it drops down.
    for (QMenu* menu : main->findChildren<QMenu*>()) {
        if (menu->title() != u"オプション(&O)"_s)
            continue;
        menu->popup(main->mapToGlobal(QPoint(200, 20)));
        QCoreApplication::processEvents();
        EXPECT_TRUE(menu->grab().save(shotPath(u"option-menu.png"_s)));
        menu->hide();
    }

    frmEcardView detail(*main->station(), main->lastTag(), {});
    detail.setReprint([] {});
    save(detail, u"detail-window.png"_s, {760, 560});

    std::vector<frmCourseSetting::CardRow> cards;
    for (const auto& entry : main->TagStock()->TagTable()) {
        frmCourseSetting::CardRow row{entry.value->EcardNo(), QString(), {u"0"_s}};
        for (int i = 2; i <= entry.value->ReadingUnitPosIndex(); ++i)
            row.Codes << QString::number(entry.value->ControlNum(i));
        cards.push_back(row);
    }
    frmCourseSetting setting(cards, main->CourseDataTable().get(), main->DataFolderControl(), &prompt, {});
    save(setting, u"class-setting-window.png"_s, {760, 620});

    frmExportTypeSelect exportWindow(*main->station(), &prompt,
                                     {main->DataFolderControl()->EventName(),
                                      main->DataFolderControl()->EventDate(), main->windowTitle()});
    save(exportWindow, u"export-window.png"_s, exportWindow.sizeHint());
}

} // namespace
