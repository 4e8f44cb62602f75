#include "TestFolder.h"
#include "basConstants.h"
#include "clsClassData.h"
#include "clsQuorvelin2.h"
#include "ctlQuorvelinView.h"
#include "frmQuorvelinViewer.h"

#include <QComboBox>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QString ExampleLxm = sourcePath(u"examples/lap/minato-cup-2026.lxm"_s);
const QString ExampleLap = sourcePath(u"examples/lap/minato-cup-2026.lap"_s);

int runnerCount(const clsQuorvelin2& root) {
    int runners = 0;
    for (int c = 1; c <= root.ClassCount(); ++c)
        runners += root.ClassData(c)->LapCount();
    return runners;
}

void drop(frmQuorvelinViewer& viewer, const QString& file, Qt::KeyboardModifiers modifiers) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDropEvent event(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    // Straight to the window's handler: the application delivers drops only in a drag session.
    static_cast<QObject&>(viewer).event(&event);
}

TEST(quorvelin2View, AFileThatFailsToLoadKeepsTheEventShown) {
    TestFolder folder;
    const QString broken = folder.write(u"broken.lxm"_s, "<lapfile><class"_ba);
    const QString missing = folder.file(u"missing.lap"_s);
    frmQuorvelinViewer viewer(false);
    QString error;
    ASSERT_TRUE(viewer.openFiles({ExampleLxm}, QV_LOADMODE_APPEND, &error)) << error.toStdString();
    const auto shown = viewer.root();
    ASSERT_EQ(shown->ClassCount(), 4);
    ASSERT_EQ(runnerCount(*shown), 48);
    EXPECT_EQ(viewer.view()->root(), shown);
    const QString title = viewer.windowTitle();
    EXPECT_TRUE(title.startsWith(u"minato-cup-2026.lxm"_s)) << title.toStdString();

    struct Case {
        const char* what;
        bool add;
        QString file;
        QString comment; // a part of the library's error comment
    };
    for (const Case& c : std::vector<Case>{{"open broken", false, broken, u"clsFileControl.LoadQuorvelin2"_s},
                                           {"add broken", true, broken, u"clsFileControl.LoadQuorvelin2"_s},
                                           {"open missing", false, missing, u"missing.lap"_s},
                                           {"add missing", true, missing, u"missing.lap"_s}}) {
        SCOPED_TRACE(c.what);
        error.clear();
        const bool loaded = c.add ? viewer.addFiles({c.file}, QV_LOADMODE_APPEND, &error)
                                  : viewer.openFiles({c.file}, QV_LOADMODE_APPEND, &error);
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(error.contains(c.comment)) << error.toStdString();
        EXPECT_EQ(viewer.root(), shown);
        EXPECT_EQ(viewer.view()->root(), shown);
        EXPECT_EQ(runnerCount(*shown), 48);
        EXPECT_EQ(viewer.windowTitle(), title);
    }

    // Adding the same event again by name merges the runners; appending (a drop with Ctrl held)
    // doubles them.
    ASSERT_TRUE(viewer.addFiles({ExampleLap}, QV_LOADMODE_MERGE_NAME, &error)) << error.toStdString();
    EXPECT_EQ(runnerCount(*viewer.root()), 48);
    EXPECT_EQ(viewer.root()->ClassData(u"初級"_s)->LapCount(), 8);
    drop(viewer, ExampleLap, Qt::ControlModifier);
    EXPECT_EQ(runnerCount(*viewer.root()), 96);
    EXPECT_EQ(viewer.fileNames(), (QStringList{ExampleLxm, ExampleLap, ExampleLap}));
    EXPECT_EQ(viewer.view()->viewTypeList()->currentText(), u"ラップ解析"_s);

    // What is shown saves as the filter's kind and reads back whole.
    const QString saved = folder.file(u"saved.lap"_s);
    ASSERT_TRUE(viewer.saveFile(saved, QV_FILETYPE_QUORVELIN1, &error)) << error.toStdString();
    frmQuorvelinViewer again(false);
    ASSERT_TRUE(again.openFiles({saved}, QV_LOADMODE_APPEND, &error)) << error.toStdString();
    EXPECT_EQ(runnerCount(*again.root()), 96);
    EXPECT_EQ(again.root()->EventData()->EventName(), u"第12回 みなと杯オリエンテーリング大会"_s);

    // A plain drop opens the file alone.
    drop(viewer, ExampleLxm, Qt::NoModifier);
    EXPECT_EQ(runnerCount(*viewer.root()), 48);
    EXPECT_EQ(viewer.fileNames(), QStringList{ExampleLxm});
}

struct ViewerRun {
    int exitCode = -1;
    QString err;
};
ViewerRun runViewer(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(QUORVELIN2_VIEW_PROGRAM), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(quorvelin2View, ScreenshotsOfEveryViewOrTheLoadError) {
    TestFolder folder;
    const QString broken = folder.write(u"broken.lxm"_s, "not a lap file"_ba);
    struct Case {
        const char* what;
        QStringList arguments;
        int exitCode;
        QSize size; // of the PNG; empty: none written
        QString err;
    };
    const std::vector<Case> cases{
        {"lap analysis of the first class", {ExampleLxm}, 0, {1100, 720}, {}},
        {"result list", {ExampleLap, u"--class"_s, u"W21A"_s, u"--view"_s, u"result"_s}, 0, {1100, 720}, {}},
        {"leg analysis", {ExampleLxm, u"--view"_s, u"leg"_s, u"--size"_s, u"900x500"_s}, 0, {900, 500}, {}},
        {"chart of a class by position",
         {ExampleLxm, u"--class"_s, u"4"_s, u"--view"_s, u"chart"_s},
         0,
         {1100, 720},
         {}},
        {"a broken file", {broken}, 1, {}, u"clsFileControl.LoadQuorvelin2"_s},
        {"a broken file after a good one", {ExampleLxm, broken}, 1, {}, u"ファイルを開けません"_s},
        {"an unknown class", {ExampleLxm, u"--class"_s, u"M99"_s}, 2, {}, u"M99"_s},
        {"an unknown view", {ExampleLxm, u"--view"_s, u"map"_s}, 2, {}, u"--view"_s},
    };
    int k = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString png = folder.file(u"shot%1.png"_s.arg(++k));
        const ViewerRun run = runViewer(c.arguments + QStringList{u"--screenshot"_s, png});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
        const QImage image(png);
        EXPECT_EQ(image.isNull() ? QSize() : image.size(), c.size);
    }
}

} // namespace
