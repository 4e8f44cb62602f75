// A tool, run by `make screenshots`: writes pictures of the main window, the detail window and
// the class-setting window to the build folder's screenshots/, rendered with the Japanese fonts,
// for a person to look at. Nothing is compared; the windows' behaviour is checked in test_shell.
#include "LapDataGenerator.h"
#include "ShellFixture.h"
#include "basText.h"
#include "clsAnalyzer.h"
#include "clsEcardTagStock.h"
#include "clsResultsHolder.h"
#include "ctlClassCombo.h"
#include "ctlDataFolder.h"
#include "ctlQuorvelinView.h"
#include "frmCourseSetting.h"
#include "frmEcardView.h"
#include "frmExportTypeSelect.h"
#include "frmLapView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>

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

QString demoFile(const QString& name) {
    QFile file(QStringLiteral(BREVANTO_SOURCE_DIR) + u"/examples/demo-event/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return basText::fromWindows31J(file.readAll());
}

// The first class as a user chooses it in the combo.
void chooseFirstClass(ctlQuorvelinView& view) {
    ASSERT_GT(view.classCombo()->count(), 0);
    view.classCombo()->chooseEntry(0);
}

TEST_F(ShellFixture, ScreenshotsOfTheAnalysisWindowOnTheDemoEvent) {
    courseTxt = demoFile(u"Course.txt"_s);
    nameCsv = demoFile(u"Name.csv"_s);
    otherTxt = demoFile(u"Other.txt"_s);
    ini = demoFile(u"Brevanto2.ini"_s);
    ASSERT_FALSE(courseTxt.isEmpty());
    open();
    for (const QString& line : demoFile(u"demo-cards.txt"_s).split(u'\n', Qt::SkipEmptyParts))
        feed(line.trimmed());
    frmLapView window(main.get());
    window.SetData(main->Quorvelin2Object());
    chooseFirstClass(*window.view());
    const std::pair<ctlQuorvelinView::ViewType, QString> views[] = {
        {ctlQuorvelinView::ViewAnalysis, u"analysis"_s},
        {ctlQuorvelinView::ViewResult, u"result"_s},
        {ctlQuorvelinView::ViewLegData, u"leg"_s},
        {ctlQuorvelinView::ViewChart, u"chart"_s},
    };
    for (const auto& [type, name] : views) {
        window.view()->setViewType(type);
        save(window, u"analysis-window-"_s + name + u".png"_s, {1000, 640});
    }
}

TEST(Viewer, ScreenshotOfALargerEvent) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString lxm = folder.filePath(u"large-event.lxm"_s);
    {
        clsQuorvelin2 root;
        root.EventData()->setEventName(u"大きな大会（生成データ）"_s);
        lapdatagenerator::Options o;
        o.runners = 160;
        o.legs = 26;
        lapdatagenerator::GenerateClass(root, u"M21E"_s, o);
        o.runners = 90;
        o.legs = 20;
        o.seed = 2;
        lapdatagenerator::GenerateClass(root, u"W21E"_s, o);
        ASSERT_TRUE(root.FileControl()->SaveLapFile(lxm, 2));
    }
    for (const QString& view : {u"analysis"_s, u"chart"_s}) {
        QProcess viewer;
        viewer.start(QStringLiteral(QUORVELIN2_VIEW_PROGRAM),
                     {lxm, u"--view"_s, view, u"--size"_s, u"1280x800"_s, u"--screenshot"_s,
                      shotPath(u"viewer-large-event-"_s + view + u".png"_s)});
        ASSERT_TRUE(viewer.waitForFinished(120000));
        EXPECT_EQ(viewer.exitCode(), 0) << viewer.readAllStandardError().toStdString();
    }
}

} // namespace
