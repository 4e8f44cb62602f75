// The published pages as a person sees them: a real browser (headless Chromium) opens the set
// and the test reads its rendered documents. Screenshots of an index, a lap analysis and a chart
// page are kept in the build folder.
#include "HtmlFixture.h"
#include "LapDataGenerator.h"
#include "TestFolder.h"
#include "basHtmlOutput.h"
#include "clsFileControl.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QString browser() {
    for (const QString& name : {u"chromium-headless-shell"_s, u"chromium"_s, u"chromium-browser"_s})
        if (const QString path = QStandardPaths::findExecutable(name); !path.isEmpty())
            return path;
    return QString();
}

// Runs the browser headless on a page with a fresh profile; its standard output.
QByteArray runBrowser(const QString& program, const QStringList& extra, const QString& page) {
    QTemporaryDir profile;
    // The browser keeps a socket in its temporary folder, and socket paths are short: the test's
    // own folder under the build tree can be too deep for one.
    QTemporaryDir shortTemp(u"/tmp/qvb-XXXXXX"_s);
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TMPDIR"_s, shortTemp.path());
    p.setProcessEnvironment(environment);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, QStringList{u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s,
                                 u"--disable-background-networking"_s, u"--no-first-run"_s,
                                 u"--disable-component-update"_s, u"--disable-sync"_s,
                                 u"--user-data-dir="_s + profile.path()} +
                         extra + QStringList{QUrl::fromLocalFile(page).toString()});
    if (!p.waitForFinished(90000)) {
        p.kill();
        p.waitForFinished();
        return QByteArray();
    }
    return p.readAllStandardOutput();
}

// Reads the rendered index, result and chart pages from frames of one probe page.
const char ProbePage[] = R"(<html><head><meta charset="utf-8"></head><body>
<iframe id="i" src="index.html"></iframe><iframe id="r" src="m21_r.html"></iframe>
<iframe id="c" src="m21_c.html"></iframe><iframe id="a" src="m21_a.html"></iframe>
<pre id="out">not run</pre>
<script>
window.addEventListener('load', () => {
  const doc = id => document.getElementById(id).contentDocument;
  const cells = id => [...doc(id).querySelectorAll('td')].map(td => td.textContent);
  const res = {};
  res.charsets = ['i', 'r', 'c', 'a'].map(x => doc(x).characterSet);
  res.links = [...doc('i').querySelectorAll('a')].map(a => a.getAttribute('href'));
  res.images = [...doc('c').querySelectorAll('img')].map(im => ({src: im.getAttribute('src'),
      complete: im.complete, width: im.naturalWidth}));
  res.resultCells = cells('r');
  res.analysisCells = cells('a');
  res.boldTexts = ['i', 'r', 'a'].flatMap(x => [...doc(x).querySelectorAll('b')].map(b => b.textContent));
  res.eventName = doc('i').querySelector('.t-event-name').textContent;
  document.getElementById('out').textContent = JSON.stringify(res);
});
</script></body></html>)";

class HtmlBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        program = browser();
        if (program.isEmpty())
            GTEST_SKIP() << "no Chromium on this machine (make deps installs it): the pages were not opened";
        htmlfixture::smallEvent(root);
        root.EventData()->setEventName(u"第１回テスト <i>&amp;</i>"_s);
        root.ClassData(1)->LapData(3)->setRunnerName(u"<b>Bold</b> & \"Co\""_s);
        lapdatagenerator::Options o;
        o.runners = 14;
        o.legs = 12;
        o.seed = 5;
        lapdatagenerator::GenerateClass(root, u"W35"_s, o);
        basHtmlOutput::Parameters p;
        p.OutputFolder = dir.path();
        p.IndexFile = u"index.html"_s;
        p.ResultFile = u"*_r.html"_s;
        p.AnalysisFile = u"*_a.html"_s;
        p.LegDataFile = u"*_l.html"_s;
        p.ChartFile = u"*_c.html"_s;
        p.ChartOption = u"0,2,5"_s;
        p.Lap2File = u"event.lxm"_s;
        basHtmlOutput::Settings s;
        s.colourSeed = 11;
        ASSERT_TRUE(basHtmlOutput::OutputHtml(*root.FileControl(), p, s))
            << root.ErrorComment().toStdString();
    }

    QString program;
    TestFolder dir;
    clsQuorvelin2 root;
};

TEST_F(HtmlBrowser, PagesDecodeAsShiftJisLinkToFilesAndShowChartsAndHostileNamesAsText) {
    dir.write(u"probe.html"_s, ProbePage);
    const QByteArray dom = runBrowser(
        program, {u"--allow-file-access-from-files"_s, u"--virtual-time-budget=10000"_s, u"--dump-dom"_s},
        dir.file(u"probe.html"_s));
    const qsizetype from = dom.indexOf("<pre id=\"out\">");
    const qsizetype to = dom.indexOf("</pre>", from);
    ASSERT_TRUE(from >= 0 && to > from) << dom.left(2000).toStdString();
    QString json = QString::fromUtf8(dom.mid(from + 14, to - from - 14));
    json.replace(u"&lt;"_s, u"<"_s)
        .replace(u"&gt;"_s, u">"_s)
        .replace(u"&nbsp;"_s, u"\u00a0"_s)
        .replace(u"&amp;"_s, u"&"_s);
    const QJsonObject res = QJsonDocument::fromJson(json.toUtf8()).object();
    ASSERT_FALSE(res.isEmpty()) << json.toStdString();

    for (const QJsonValue& charset : res[u"charsets"_s].toArray())
        EXPECT_EQ(charset.toString(), u"Shift_JIS"_s);
    const QJsonArray links = res[u"links"_s].toArray();
    EXPECT_EQ(links.size(), 1 + 2 * 4); // the lap file and four pages of each class
    for (const QJsonValue& link : links)
        EXPECT_TRUE(QFileInfo(dir.file(link.toString())).isFile()) << link.toString().toStdString();
    const QJsonArray images = res[u"images"_s].toArray();
    EXPECT_EQ(images.size(), 3);
    for (const QJsonValue& image : images) {
        EXPECT_TRUE(image[u"complete"_s].toBool());
        EXPECT_GT(image[u"width"_s].toInt(), 0) << image[u"src"_s].toString().toStdString();
    }
    // The hostile texts are shown as they were typed, in no element of their own.
    EXPECT_TRUE(res[u"resultCells"_s].toArray().contains(u"<b>Bold</b> & \"Co\""_s));
    EXPECT_TRUE(res[u"analysisCells"_s].toArray().contains(u"<b>Bold</b>&\"Co\""_s));
    EXPECT_FALSE(res[u"boldTexts"_s].toArray().contains(u"Bold"_s));
    EXPECT_EQ(res[u"eventName"_s].toString(), u"\u00a0第１回テスト <i>&amp;</i>\u00a0"_s);
}

TEST_F(HtmlBrowser, ScreenshotsOfTheIndexTheLapAnalysisAndAChart) {
    const QString shots = QStringLiteral(SCREENSHOT_DIR);
    QDir().mkpath(shots);
    const struct {
        QString page, shot, size;
    } pages[] = {
        {u"index.html"_s, u"html_index.png"_s, u"900,500"_s},
        {u"w35_a.html"_s, u"html_lap_analysis.png"_s, u"1400,1500"_s},
        {u"w35_c.html"_s, u"html_chart.png"_s, u"1000,2150"_s},
    };
    for (const auto& p : pages) {
        const QString shot = shots + u'/' + p.shot;
        QFile::remove(shot);
        runBrowser(program, {u"--screenshot="_s + shot, u"--window-size="_s + p.size, u"--hide-scrollbars"_s},
                   dir.file(p.page));
        EXPECT_GT(QFileInfo(shot).size(), 10000) << shot.toStdString();
    }
}

} // namespace
