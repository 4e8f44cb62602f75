// quorvelin2 chart as a user runs it: the real program, real lap files, PNG files read back.
#include "TestFolder.h"
#include "basChartSeries.h"
#include "basDate.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsClassData.h"
#include "clsFileControl.h"
#include "clsGraphicControl.h"
#include "clsQuorvelin2.h"

#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ChartRun {
    int exitCode = -1;
    QString out, err;
};

ChartRun chart(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(QUORVELIN2_CLI), QStringList{u"chart"_s} + arguments);
    ChartRun r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

void addRunner(clsClassData& cls, const QString& name, const QString& result, std::initializer_list<int> legs,
               double start = 0) {
    auto lap = cls.AddLap();
    lap->setRunnerName(name);
    lap->setResult(result);
    int j = 1;
    for (int s : legs)
        lap->Lap(j++)->setValue(basDate::fromSeconds(s));
    lap->StartTime()->setValue(start);
}

// Two classes of three and six runners, saved as a lap file.
QString event(const TestFolder& folder) {
    clsQuorvelin2 root;
    auto men = root.AddClass(u"M21"_s);
    men->setControlCount(2);
    men->setFileName(u"m21"_s);
    const double ten = basDate::timeSerial(10, 0, 0);
    addRunner(*men, u"青木"_s, u"0:10:00"_s, {100, 200, 300}, ten);
    addRunner(*men, u"馬場"_s, u"0:11:40"_s, {110, 260, 330}, ten + basDate::fromSeconds(120));
    addRunner(*men, u"千葉"_s, u"0:11:50"_s, {120, 230, 360}, ten + basDate::fromSeconds(240));
    auto women = root.AddClass(u"W21"_s);
    women->setControlCount(3);
    women->setFileName(u"w21"_s);
    addRunner(*women, u"R1"_s, u"0:06:40"_s, {100, 100, 100, 100});
    addRunner(*women, u"R2"_s, u"0:06:40"_s, {100, 100, 100, 100});
    addRunner(*women, u"R3"_s, u"0:06:40"_s, {100, 100, 100, 100});
    addRunner(*women, u"R"_s, u"0:08:30"_s, {110, 130, 120, 150});
    addRunner(*women, u"S"_s, u"0:10:00"_s, {200, 200, 100, 100});
    addRunner(*women, u"T"_s, u"0:11:10"_s, {100, 190, 180, 200});
    const QString path = folder.file(u"event.lxm"_s);
    EXPECT_TRUE(root.FileControl()->SaveLapFile(path));
    return path;
}

TEST(Quorvelin2CliChart, DrawsEveryModeOfAClassAsPng) {
    TestFolder folder;
    const QString lap = event(folder);
    for (int mode = 0; mode < basChartSeries::ModeCount; ++mode) {
        const QString png = folder.file(u"m21_%1.png"_s.arg(mode));
        const ChartRun r =
            chart({lap, u"--class"_s, u"M21"_s, u"--mode"_s, QString::number(mode), u"--output"_s, png});
        ASSERT_EQ(r.exitCode, 0) << mode << r.err.toStdString();
        EXPECT_EQ(r.out, png + u'\n');
        const QImage image(png);
        ASSERT_FALSE(image.isNull()) << mode;
        EXPECT_EQ(image.size(), QSize(800, 600));
    }
}

// The options reach the chart: its size, its zoom and scroll, and one file per class.
TEST(Quorvelin2CliChart, SizeZoomScrollAndOneFilePerClass) {
    TestFolder folder;
    const QString lap = event(folder);
    const QString small = folder.file(u"small.png"_s);
    ASSERT_EQ(chart({lap, u"--class"_s, u"W21"_s, u"--mode"_s, u"5"_s, u"--size"_s, u"320x240"_s,
                     u"--output"_s, small})
                  .exitCode,
              0);
    EXPECT_EQ(QImage(small).size(), QSize(320, 240));

    // Zoomed in and scrolled to the end, the picture differs from the whole at fit.
    const QString whole = folder.file(u"whole.png"_s), end = folder.file(u"end.png"_s);
    ASSERT_EQ(chart({lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"0"_s, u"--output"_s, whole}).exitCode, 0);
    ASSERT_EQ(chart({lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"0"_s, u"--ratio"_s, u"8,2"_s,
                     u"--position"_s, u"1,1"_s, u"--output"_s, end})
                  .exitCode,
              0);
    EXPECT_NE(QImage(whole), QImage(end));

    const ChartRun each = chart({lap, u"--mode"_s, u"2"_s, u"--output"_s, folder.file(u"rel_*.png"_s)});
    ASSERT_EQ(each.exitCode, 0) << each.err.toStdString();
    EXPECT_EQ(each.out, folder.file(u"rel_m21.png"_s) + u'\n' + folder.file(u"rel_w21.png"_s) + u'\n');
    EXPECT_FALSE(QImage(folder.file(u"rel_w21.png"_s)).isNull());
}

TEST(Quorvelin2CliChart, MistakesAndFailuresAreExplained) {
    TestFolder folder;
    const QString lap = event(folder);
    const QString png = folder.file(u"out.png"_s);
    struct Row {
        QStringList arguments;
        int exitCode;
        QString says;
    } rows[] = {
        {{lap, u"--class"_s, u"M21"_s, u"--output"_s, png}, 2, u"chart needs --mode"_s},
        {{lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"8"_s, u"--output"_s, png}, 2, u"from 0 to 7"_s},
        {{lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"x"_s, u"--output"_s, png}, 2, u"from 0 to 7"_s},
        {{lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"0"_s}, 2, u"--output FILE.png"_s},
        {{u"--mode"_s, u"0"_s, u"--output"_s, png}, 2, u"at least one input"_s},
        {{lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"0"_s, u"--size"_s, u"0x100"_s, u"--output"_s, png},
         2,
         u"--size wants WIDTHxHEIGHT"_s},
        {{lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"0"_s, u"--size"_s, u"99999x100"_s, u"--output"_s, png},
         2,
         u"--size wants WIDTHxHEIGHT"_s},
        {{lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"0"_s, u"--ratio"_s, u"2"_s, u"--output"_s, png},
         2,
         u"--ratio wants X,Y"_s},
        {{lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"0"_s, u"--position"_s, u"fit,1"_s, u"--output"_s, png},
         2,
         u"--position wants X,Y"_s},
        {{lap, u"--class"_s, u"H45"_s, u"--mode"_s, u"0"_s, u"--output"_s, png}, 2, u"no class \"H45\""_s},
        {{lap, u"--mode"_s, u"0"_s, u"--output"_s, png}, 2, u"the inputs hold 2 classes"_s},
        {{folder.file(u"none.lxm"_s), u"--mode"_s, u"0"_s, u"--output"_s, png}, 1, u"none.lxm"_s},
        {{lap, u"--class"_s, u"M21"_s, u"--mode"_s, u"0"_s, u"--output"_s, folder.file(u"no/such/dir.png"_s)},
         1,
         u"no/such/dir.png: not written"_s},
    };
    for (const Row& row : rows) {
        const ChartRun r = chart(row.arguments);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.arguments.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(row.says)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(png));
}

// Without a GUI application (this test program has none) the renderer still draws lines and
// points, only no text.
TEST(Quorvelin2CliChart, RendererWithoutGuiApplicationDrawsNoText) {
    clsQuorvelin2 root;
    auto cls = root.AddClass(u"A"_s);
    cls->setControlCount(2);
    addRunner(*cls, u"青木"_s, u"0:10:00"_s, {100, 200, 300});
    auto analyzer = root.NewAnalyzer();
    analyzer->AddClass(u"A"_s);
    analyzer->Execute();
    clsChartObject chart;
    chart.SetRunnerSetting(1, 0x0000ff, 3, 0);
    root.GraphicControl()->DrawChart(analyzer, &chart, 0, 1, 1, 0, 0);
    const QImage image = clsChartRenderer::render(chart);
    ASSERT_EQ(image.size(), QSize(800, 600));
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 50);
}

} // namespace
