// The whole page set through clsFileControl.OutputHtml: the index block, add mode, the files of
// every page kind, chart images, progress, failures and hostile data texts.
#include "HtmlFixture.h"
#include "TestFolder.h"
#include "basAutomation.h"
#include "basConstants.h"
#include "basHtmlOutput.h"
#include "clsFileControl.h"
#include "clsHtmlControl.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

using namespace Qt::StringLiterals;

namespace {

class OutputHtml : public ::testing::Test {
protected:
    void SetUp() override {
        basDate::setClock([] { return QDateTime(QDate(2024, 6, 2), QTime(15, 4, 30)); });
        htmlfixture::smallEvent(root);
        root.AddClass(u"W21"_s); // no runners
        p.OutputFolder = dir.path();
        p.IndexFile = u"index.html"_s;
        p.ResultFile = u"*_r.html"_s;
        p.AnalysisFile = u"*_a.html"_s;
        p.LegDataFile = u"*_l.html"_s;
        p.ChartFile = u"*_c.html"_s;
        p.ChartOption = u"0,2"_s;
        settings.colourSeed = 7;
    }
    void TearDown() override { basDate::setClock({}); }

    bool run() { return basHtmlOutput::OutputHtml(*root.FileControl(), p, settings); }
    QString read(const QString& name) const { return htmlfixture::readPage(dir.file(name)); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    TestFolder dir;
    clsQuorvelin2 root;
    basHtmlOutput::Parameters p;
    basHtmlOutput::Settings settings;
};

QString blockOf(const QString& page) {
    const qsizetype from = page.indexOf(u"<!-- ### QUORVELIN START ### -->"_s);
    const QString finish = u"<!-- ### QUORVELIN FINISH ### -->\r\n"_s;
    const qsizetype to = page.indexOf(finish, from);
    return from < 0 || to < 0 ? QString() : page.mid(from, to + finish.size() - from);
}

TEST_F(OutputHtml, IndexBlockOfASmallEvent) {
    root.EventData()->setOfficialSite(u"http://example.org/?a=1&b=\"x\""_s);
    p.OfficialSite = true;
    p.Lap1File = u"event.lap"_s;
    ASSERT_TRUE(run()) << root.ErrorComment().toStdString();
    const QString expected = htmlfixture::page(root, uR"(<!-- ### QUORVELIN START ### -->
<table cellpadding="2" cellspacing="0" border="1" width="650" class="top">
<tr><td nowrap colspan="4" bgcolor="#c04040" class="t-event-name"><font size="+1" color="white"><b>&nbsp;第１回テスト&nbsp;</b></font></td></tr>
<tr><td nowrap colspan="4" bgcolor="#ffdddd" class="t-event-info">2024年06月02日&nbsp;&nbsp;[森林公園]&nbsp;<a href="http://example.org/?a=1&amp;b=&quot;x&quot;" target="_blank">公式サイト</a></td></tr>
<tr><td nowrap colspan="4" bgcolor="#f0f0f0" align="right" class="t-link">&nbsp;[<a href="event.lap">クォルベリン用データ</a>]</td></tr>
<tr><td nowrap bgcolor="#405080" width="125" class="t-class-head"><font color="white"><B>&nbsp;Ｍ２１&nbsp;</B></font></td>
<td nowrap bgcolor="#ffffff" width="300" class="t-class-body">&nbsp;<a href="m21_r.html" target="_blank">成績</a>&nbsp;<a href="m21_a.html" target="_blank">ラップ解析</a>&nbsp;<a href="m21_l.html" target="_blank">レッグ分析</a>&nbsp;<a href="m21_c.html" target="_blank">チャート</a></td>
<td nowrap bgcolor="#ddffdd" align="center" width="100" class="t-class-length">3000m ↑100m</td>
<td nowrap align="center" bgcolor="#ffffcc" width="100" class="t-class-winner">&nbsp;0:13:45鈴木花</td>
</tr>
<tr><td nowrap colspan="4" bgcolor="#f0f0f0" align="right" class="t-output">出力日時 : 2024/06/02 15:04</td></tr>
</table>
<br>

<!-- ### QUORVELIN FINISH ### -->
)"_s);
    const QString index = read(u"index.html"_s);
    EXPECT_EQ(blockOf(index).toStdString(), expected.toStdString());
    EXPECT_TRUE(
        index.startsWith(u"<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
                         u"charset=x-sjis\">"_s));
    EXPECT_TRUE(index.contains(u"td { font-size:10pt; border-width"_s));
    EXPECT_TRUE(index.contains(u"<body bgcolor=\"#ffffff\">\r\n\r\n<!-- ### QUORVELIN START"_s));
    // Every page kind of M21, the charts asked for, the lap file; nothing for the empty W21.
    EXPECT_EQ(files(), (QStringList{u"event.lap"_s, u"index.html"_s, u"m21_a.html"_s, u"m21_c.html"_s,
                                    u"m21_c_0.png"_s, u"m21_c_2.png"_s, u"m21_l.html"_s, u"m21_r.html"_s}));
    EXPECT_FALSE(index.contains(u"Ｗ２１"_s));
    // The pages are the control's pages, the result page led by the navigation.
    const auto analyzer = htmlfixture::analysed(root, u"M21"_s);
    EXPECT_EQ(read(u"m21_a.html"_s), root.HtmlControl()->OutputAnalysis(analyzer));
    EXPECT_TRUE(read(u"m21_r.html"_s).contains(u"<body>\r\n<a href=\"m21_r.html\">M21</a> <hr>\r\n<table"_s));
    for (const QString& png : {u"m21_c_0.png"_s, u"m21_c_2.png"_s}) {
        const QImage image(dir.file(png));
        EXPECT_EQ(image.height(), 600) << png.toStdString();
        EXPECT_GE(image.width(), 800);
    }
}

TEST_F(OutputHtml, WithoutIndexFileThePagesAndLapFilesAreStillWritten) {
    p.IndexFile.clear();
    p.Lap2File = u"event.lxm"_s;
    p.ChartOption = u"5"_s;
    ASSERT_TRUE(run());
    EXPECT_EQ(files(), (QStringList{u"event.lxm"_s, u"m21_a.html"_s, u"m21_c.html"_s, u"m21_c_5.png"_s,
                                    u"m21_l.html"_s, u"m21_r.html"_s}));
}

TEST_F(OutputHtml, AddModePutsTheNewBlockAboveTheEarlierOne) {
    const QString earlier =
        u"<html><body>\r\nOur club's events\r\n\r\n<!-- ### QUORVELIN START ### -->\r\n"
        u"<table><tr><td>前回大会</td></tr></table>\r\n<!-- ### QUORVELIN FINISH ### -->\r\n"
        u"</body></html>\r\n"_s;
    dir.write(u"index.html"_s, basText::toWindows31J(earlier));
    p.IndexFileAddMode = true;
    ASSERT_TRUE(run());
    const QString index = read(u"index.html"_s);
    const qsizetype ours = index.indexOf(u"第１回テスト"_s);
    const qsizetype theirs = index.indexOf(u"前回大会"_s);
    ASSERT_GE(ours, 0);
    ASSERT_GE(theirs, 0);
    EXPECT_LT(ours, theirs);
    EXPECT_TRUE(index.startsWith(u"<html><body>\r\nOur club's events\r\n\r\n\r\n<!-- ### QUORVELIN START"_s));
    EXPECT_EQ(index.count(u"<!-- ### QUORVELIN START ### -->"_s), 2);
    EXPECT_TRUE(index.endsWith(u"<!-- ### QUORVELIN FINISH ### -->\r\n</body></html>\r\n"_s));
    EXPECT_FALSE(index.contains(u"<head>"_s)); // the page keeps its own frame
}

TEST(InsertBlock, WithoutAStartMarker) {
    const QString block = u"\r\n<!-- ### QUORVELIN START ### -->\r\nB\r\n"_s;
    struct Case {
        QString index, expected;
    } cases[] = {
        {u"<HTML><Body class=\"x\">Hello\r\n</BODY>"_s,
         u"<HTML><Body class=\"x\">\r\n<!-- ### QUORVELIN START ### -->\r\nB\r\nHello\r\n</BODY>\r\n"_s},
        {u"<body>\n<p>x</p>\n"_s, u"<body>\r\n<!-- ### QUORVELIN START ### -->\r\nB\r\n\r\n<p>x</p>\r\n"_s},
        {u"just text"_s, u"just text\r\n\r\n<!-- ### QUORVELIN START ### -->\r\nB\r\n"_s},
        {QString(), block},
    };
    for (const Case& c : cases)
        EXPECT_EQ(basHtmlOutput::InsertBlock(c.index, block).toStdString(), c.expected.toStdString());
}

TEST_F(OutputHtml, ProgressAndFilesAreTheSameOnOneThreadAndOnMany) {
    for (int c = 0; c < 9; ++c) {
        auto cls = root.AddClass(u"C%1"_s.arg(c));
        cls->setControlCount(2);
        htmlfixture::addRunner(*cls, u"A"_s, QString(), {100 + c, 200, 300}, u"0:10:%1"_s.arg(c + 10));
        htmlfixture::addRunner(*cls, u"B"_s, QString(), {110, 210 + c, 320}, u"0:11:%1"_s.arg(c + 10));
    }
    p.ChartOption = u"0,5"_s;
    std::vector<int> progress;
    QObject::connect(root.FileControl(), &clsFileControl::Progress, [&](qint32 v) { progress.push_back(v); });
    settings.threads = 1;
    ASSERT_TRUE(run());
    const std::vector<int> single = progress;
    std::map<QString, QByteArray> first;
    for (const QString& f : files())
        first[f] = f == u"index.html"_s ? QByteArray() : dir.read(f);
    progress.clear();
    settings.threads = 4;
    ASSERT_TRUE(run());
    // 11 classes: 0, then each class's share, then 100 when the set is written.
    EXPECT_EQ(single, (std::vector<int>{0, 9, 18, 27, 36, 45, 55, 64, 73, 82, 91, 100, 100}));
    EXPECT_EQ(progress, single);
    EXPECT_EQ(files().size(), first.size());
    for (const auto& [name, bytes] : first) {
        if (name == u"index.html"_s)
            continue;
        if (!name.endsWith(u".png"_s)) {
            EXPECT_TRUE(dir.read(name) == bytes) << name.toStdString();
            continue;
        }
        // The same chart in the same colours; the renderer's anti-aliased name labels may
        // differ in a few pixels from one painting to the next, whatever the thread.
        const QImage before = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
        const QImage after = QImage(dir.file(name)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(before.size(), after.size()) << name.toStdString();
        int differing = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                differing += before.pixel(x, y) != after.pixel(x, y);
        EXPECT_LT(differing, 200) << name.toStdString();
    }
}

TEST_F(OutputHtml, CourseEntriesWhenAnIncludeCourseFlagIsSet) {
    auto w = root.ClassData(u"W21"_s);
    w->setControlCount(2);
    w->setCourseNum(1);
    root.ClassData(u"M21"_s)->setCourseNum(1);
    htmlfixture::addRunner(*w, u"W"_s, QString(), {400, 400, 400}, u"0:20:00"_s);
    p.ResultIncludeCourse = true;
    p.ChartFile.clear();
    ASSERT_TRUE(run()) << root.ErrorComment().toStdString();
    EXPECT_EQ(files(), (QStringList{u"index.html"_s, u"m21_a.html"_s, u"m21_l.html"_s, u"m21_r.html"_s,
                                    u"m21_w21_r.html"_s, u"w21_a.html"_s, u"w21_l.html"_s, u"w21_r.html"_s}));
    EXPECT_TRUE(read(u"w21_r.html"_s)
                    .contains(u"<a href=\"m21_r.html\">M21</a> <a href=\"w21_r.html\">W21</a> &nbsp;&nbsp;<a "
                              u"href=\"m21_w21_r.html\">M21/W21</a> <hr>"_s));
    const QString index = read(u"index.html"_s);
    EXPECT_TRUE(index.contains(u"<B>&nbsp;M21/W21&nbsp;</B>"_s)); // a course entry keeps its name as it is
    EXPECT_TRUE(index.contains(u"<B>&nbsp;Ｗ２１&nbsp;</B>"_s));
}

TEST_F(OutputHtml, HostileTextsInTheIndex) {
    root.EventData()->setEventName(u"<img src=x onerror=alert(1)>"_s);
    root.EventData()->setTerrain(u"A&B"_s);
    root.EventData()->setOfficialSite(u"javascript:alert(1)"_s);
    root.RenameClass(u"M21"_s, u"M\"21"_s);
    p.OfficialSite = true;
    ASSERT_TRUE(run());
    const QString index = read(u"index.html"_s);
    EXPECT_TRUE(index.contains(u"&nbsp;&lt;img src=x onerror=alert(1)&gt;&nbsp;"_s));
    EXPECT_TRUE(index.contains(u"[A&amp;B]"_s));
    EXPECT_FALSE(index.contains(u"javascript:"_s)); // an address that runs script is no link
    EXPECT_TRUE(index.contains(u"<a href=\"m21_r.html\""_s));
}

TEST_F(OutputHtml, FailuresReturnFalseAndKeepWhatWasWritten) {
    // The output folder is a file.
    dir.write(u"taken"_s, "x");
    p.OutputFolder = dir.file(u"taken"_s);
    std::vector<int> progress;
    QObject::connect(root.FileControl(), &clsFileControl::Progress, [&](qint32 v) { progress.push_back(v); });
    EXPECT_FALSE(run());
    EXPECT_TRUE(root.ErrorComment().contains(u"clsFileControl.OutputHtml"_s));
    EXPECT_EQ(progress.back(), 100);

    // A lap file that cannot be saved stops the set after the viewer page.
    p.OutputFolder = dir.path();
    p.ActiveXFile = u"viewer.html"_s;
    p.ActiveXAddress = u"http://example.org/x.lxm"_s;
    p.Lap2File = u"no/such/folder/x.lxm"_s;
    EXPECT_FALSE(run());
    EXPECT_TRUE(root.ErrorComment().contains(u"x.lxm"_s)) << root.ErrorComment().toStdString();
    EXPECT_EQ(files(), (QStringList{u"taken"_s, u"viewer.html"_s}));

    // A page that cannot be written: a folder stands in its place.
    p.Lap2File.clear();
    QDir(dir.path()).mkpath(u"m21_l.html"_s);
    EXPECT_FALSE(run());
    EXPECT_TRUE(root.ErrorComment().contains(u"m21_l.html"_s));
    EXPECT_TRUE(QFile::exists(dir.file(u"m21_r.html"_s)));
    EXPECT_FALSE(QFile::exists(dir.file(u"index.html"_s)));
}

TEST_F(OutputHtml, ReachedByNameWithEveryParameter) {
    QVariantList arguments{dir.path(), u"i.html"_s, u"*_a.html"_s, QString(), QString(), QString(),
                           false,      false,       QString(),     QString(), false,     false,
                           QString(),  false,       QString(),     false,     QString(), u"s.css"_s};
    const QVariant control = QVariant::fromValue(static_cast<QObject*>(root.FileControl()));
    EXPECT_TRUE(basAutomation::Call(control, u"OutputHtml", arguments).toBool());
    EXPECT_EQ(files(), (QStringList{u"i.html"_s, u"m21_a.html"_s}));
    EXPECT_TRUE(read(u"m21_a.html"_s).contains(u"href=\"s.css\""_s));
}

} // namespace

namespace {

TEST(PngBytes, ReadBackPixelForPixel) {
    QImage image(37, 5, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 0xff, (255 - x * 5) & 0xff, (x * y * 13) & 0xff));
    const QByteArray png = basHtmlOutput::PngBytes(image);
    EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
    const QImage back = QImage::fromData(png, "PNG");
    ASSERT_EQ(back.size(), image.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(back.pixel(x, y), image.pixel(x, y)) << x << "," << y;
}

} // namespace
