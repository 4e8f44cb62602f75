// "quorvelin2 html" end to end: the program writes a complete set with its defaults, every
// option reaches its parameter, failures name the file and exit with 1.
#include "FileTestSupport.h"
#include "TestFolder.h"
#include "basText.h"
#include "clsFileControl.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

ToolRun tool(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(QUORVELIN2_CLI), arguments);
    ToolRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString sample(const TestFolder& folder) {
    const auto root = makeSampleEvent();
    const QString path = folder.file(u"spring.lxm"_s);
    EXPECT_TRUE(root->FileControl()->SaveLapFile(path));
    return path;
}

QStringList filesIn(const QString& path) {
    return QDir(path).entryList(QDir::Files, QDir::Name);
}

QString page(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? basText::fromWindows31J(f.readAll()) : QString();
}

TEST(Quorvelin2CliHtml, DefaultsWriteACompleteSetAndPrintTheIndex) {
    TestFolder folder;
    const QString out = folder.file(u"site"_s);
    const ToolRun r = tool({u"html"_s, sample(folder), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QDir::toNativeSeparators(out + u"/index.html"_s));
    const QStringList files = filesIn(out);
    for (const QString& name :
         {u"index.html"_s, u"m21_result.html"_s, u"m21_lap.html"_s, u"m21_leg.html"_s, u"m21_chart.html"_s,
          u"m21_chart_0.png"_s, u"m21_chart_2.png"_s, u"m21_chart_5.png"_s})
        EXPECT_TRUE(files.contains(name)) << name.toStdString() << " in " << files.join(u' ').toStdString();
    EXPECT_FALSE(QImage(out + u"/m21_chart_5.png"_s).isNull());
    EXPECT_TRUE(page(out + u"/index.html"_s).contains(u"春の大会"_s));
}

TEST(Quorvelin2CliHtml, OptionsReachTheirParameters) {
    TestFolder folder;
    const QString out = folder.file(u"site"_s);
    const ToolRun r = tool({u"html"_s,
                            sample(folder),
                            out,
                            u"--index"_s,
                            u"top.html"_s,
                            u"--result"_s,
                            u"r_*.html"_s,
                            u"--analysis="_s,
                            u"--leg-data="_s,
                            u"--chart"_s,
                            u"c_*.html"_s,
                            u"--chart-option"_s,
                            u"2"_s,
                            u"--lap1"_s,
                            u"e.lap"_s,
                            u"--lap2"_s,
                            u"e.lxm"_s,
                            u"--official-site"_s,
                            u"--activex-file"_s,
                            u"v.html"_s,
                            u"--activex-address"_s,
                            u"http://example.org/e.lxm"_s,
                            u"--result-include-course"_s,
                            u"--style"_s,
                            u"s.css"_s,
                            u"--progress"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(filesIn(out), (QStringList{u"c_m21.html"_s, u"c_m21_2.png"_s, u"c_women21.html"_s,
                                         u"c_women21_2.png"_s, u"e.lap"_s, u"e.lxm"_s, u"r_m21.html"_s,
                                         u"r_open.html"_s, u"r_women21.html"_s, u"top.html"_s, u"v.html"_s}));
    const QString index = page(out + u"/top.html"_s);
    EXPECT_TRUE(index.contains(u"公式サイト"_s));
    EXPECT_TRUE(index.contains(u"href=\"s.css\""_s));
    EXPECT_TRUE(index.contains(u"ActiveX使用ページ"_s));
    EXPECT_TRUE(r.err.contains(u"100 %"_s)) << r.err.toStdString(); // the progress line

    // The next event's block goes above this one.
    const ToolRun again =
        tool({u"html"_s, sample(folder), out, u"--index"_s, u"top.html"_s, u"--index-add"_s});
    ASSERT_EQ(again.exitCode, 0);
    EXPECT_EQ(page(out + u"/top.html"_s).count(u"<!-- ### QUORVELIN START ### -->"_s), 2);
}

TEST(Quorvelin2CliHtml, FailuresExitWithOneAndNameTheFile) {
    TestFolder folder;
    const QString input = sample(folder);
    folder.write(u"plain"_s, "x");
    const ToolRun r = tool({u"html"_s, input, folder.file(u"plain"_s)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"plain"_s)) << r.err.toStdString();
    EXPECT_EQ(tool({u"html"_s, input}).exitCode, 2);
}

} // namespace
