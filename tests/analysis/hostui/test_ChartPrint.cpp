#include "LapDataGenerator.h"
#include "TestFolder.h"
#include "basConstants.h"
#include "basPrintLayout.h"
#include "basRuntime.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsConfigControl.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "ctlHtmlOutputButton.h"
#include "ctlLapChart.h"
#include "ctlPrintButton.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QString ClassName = u"男子Ａ"_s;
// Stands for the name of the runner listed last (the order of the results).
const QString Last = u"<last>"_s;

QString runnerName(int k) {
    return u"走者"_s + QString::number(k);
}

// A root with one generated class of Japanese-named runners, analysed and ranked as the view
// leaves it when the class is chosen.
struct Event {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    std::shared_ptr<clsAnalyzer> analyzer;
    std::shared_ptr<clsResultsHolder> results;

    explicit Event(int runners, int legs = 8) {
        root->EventData()->setEventName(u"春の大会"_s);
        lapdatagenerator::Options o;
        o.runners = runners;
        o.legs = legs;
        auto cls = lapdatagenerator::GenerateClass(*root, ClassName, o);
        for (int k = 1; k <= cls->LapCount(); ++k)
            cls->LapData(k)->setRunnerName(runnerName(k));
        analyzer = root->NewAnalyzer();
        analyzer->AddClass(ClassName);
        analyzer->Execute();
        analyzer->ExtraAnalyze();
        results = root->NewResultsHolder();
        results->AddClass(ClassName);
        results->CalcRank();
    }
};

// Settings of each test in its own store.
class ChartPrint : public ::testing::Test {
protected:
    void SetUp() override { clsConfigControl::setStoreFile(folder.file(u"Veskard/Quorvelin2.ini"_s)); }
    void TearDown() override { clsConfigControl::setStoreFile(QString()); }
    TestFolder folder;
};

QString run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    const QString info = run(u"pdfinfo"_s, {pdf});
    for (const QString& line : info.split(u'\n'))
        if (line.startsWith(u"Pages:"_s))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// Texts compared in compatibility form: the PDF writer maps some ideographs of the CJK fonts
// back to their radical code points (大 as ⼤), and full-width letters read as half-width.
QString folded(const QString& text) {
    QString t = text.normalized(QString::NormalizationForm_KC);
    t.remove(QRegularExpression(u"\\s"_s));
    return t;
}

// The text of one page, all white space removed (the class label stands one character a line).
QString pdfText(const QString& pdf, int page) {
    return folded(
        run(u"pdftotext"_s, {u"-f"_s, QString::number(page), u"-l"_s, QString::number(page), pdf, u"-"_s}));
}

// A page as an image, kept in the build folder to be looked at.
QImage pdfImage(const QString& pdf, int page, const QString& name) {
    const QString folder = QStringLiteral(BREVANTO_BINARY_DIR "/hostui_print");
    QDir().mkpath(folder);
    const QString base = folder + u'/' + name;
    QFile::remove(base + u".pdf"_s);
    QFile::copy(pdf, base + u".pdf"_s);
    run(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"70"_s, u"-singlefile"_s, u"-f"_s, QString::number(page),
                        u"-l"_s, QString::number(page), pdf, base});
    return QImage(base + u".png"_s);
}

int print(ctlPrintButton& button, const QString& pdf) {
    QPdfWriter writer(pdf);
    return button.printTo(writer);
}

int countNear(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                     std::abs(c.blue() - colour.blue()) <
                 12;
        }
    return n;
}

TEST_F(ChartPrint, EachKindPrintsItsPages) {
    struct Case {
        qint32 kind;
        int runners, legs;
        int minPages, maxPages;
        QStringList firstPage, lastPage, notFirstPage;
    };
    const Case cases[] = {
        {0, 5, 8, 0, 0, {}, {}, {}},
        {1,
         6,
         8,
         1,
         1,
         {u"氏名"_s, u"所属"_s, u"ラップタイム"_s, runnerName(1), runnerName(6), u"1/1"_s},
         {},
         {}},
        // Forty runners do not fit across one page: later pages repeat the title column.
        {1,
         40,
         8,
         2,
         10,
         {u"氏名"_s, u"ミスタイム"_s, runnerName(1)},
         {u"氏名"_s, u"ミスタイム"_s, Last},
         {Last}},
        // Thirty legs run down a second page, which repeats the names above its rows.
        {1,
         6,
         30,
         2,
         2,
         {u"氏名"_s, u"ラップタイム"_s},
         {u"氏名"_s, runnerName(6), u"ミス抜き"_s},
         {u"ミス抜き"_s}},
        {2,
         70,
         8,
         2,
         2,
         {u"春の大会"_s, u"順位"_s, u"記録一覧"_s, runnerName(1), u"1/2"_s},
         {Last, u"2/2"_s},
         {Last}},
        // Runner names on the chart are drawn as outlines, not text: the lines are counted as ink.
        {4, 12, 8, 1, 1, {u"春の大会"_s, u"チャート（標準）"_s, ClassName, u"1:00"_s}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "kind " << c.kind << ", " << c.runners << " runners, " << c.legs << " legs");
        Event event(c.runners, c.legs);
        ctlPrintButton button;
        button.setRoot(event.root);
        button.setData(event.analyzer, event.results);
        button.setPrintKind(c.kind);
        const QString pdf = folder.file(u"kind%1_%2_%3.pdf"_s.arg(c.kind).arg(c.runners).arg(c.legs));
        const int pages = print(button, pdf);
        EXPECT_GE(pages, c.minPages);
        EXPECT_LE(pages, c.maxPages);
        if (c.maxPages == 0) {
            EXPECT_TRUE(!QFile::exists(pdf) || pdfPages(pdf) <= 0);
            continue;
        }
        ASSERT_EQ(pdfPages(pdf), pages);
        const auto named = [&](const QString& t) {
            return folded(t == Last ? event.results->Item(event.results->Count())->RunnerName() : t);
        };
        const QString first = pdfText(pdf, 1), last = pdfText(pdf, pages);
        for (const QString& t : c.firstPage)
            EXPECT_TRUE(first.contains(named(t))) << t.toStdString();
        for (const QString& t : c.lastPage)
            EXPECT_TRUE(last.contains(named(t))) << t.toStdString();
        for (const QString& t : c.notFirstPage)
            EXPECT_FALSE(first.contains(named(t))) << t.toStdString();
        if (c.kind == 1) {
            for (int p = 1; p <= pages; ++p) // the class label beside the table, beyond the header
                EXPECT_GE(pdfText(pdf, p).count(folded(ClassName)), 2) << "page " << p;
        }
        const QImage image = pdfImage(pdf, 1, u"kind%1_%2_%3"_s.arg(c.kind).arg(c.runners).arg(c.legs));
        ASSERT_FALSE(image.isNull());
        if (c.kind == 4) {
            EXPECT_GT(image.width(), image.height()); // landscape
            int ink = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    ink += image.pixelColor(x, y).hsvSaturation() > 120;
            EXPECT_GT(ink, 3000);
        }
    }
}

TEST_F(ChartPrint, RankShadingAndClassLabelFollowTheStore) {
    struct Case {
        QString item, value;
        QColor shade;    // expected on the page
        int shadedCells; // at least this many cells' worth of pixels, 0 for none
        bool morePages;  // than with the defaults
    };
    const Case cases[] = {
        // Colour numbers are blue, green, red from the high byte down.
        {u"PRINT_COLOR_RANK1"_s, u"&H0000FF"_s, QColor(255, 0, 0), 8, false},
        {u"print_color_rank2"_s, u"&HFF0000"_s, QColor(0, 0, 255), 8, false},
        {u"PRINT_COLOR_RANK3"_s, u"65280"_s, QColor(0, 255, 0), 8, false},
        // Four hex digits are a 16-bit number to the runtime; the colour is still green.
        {u"PRINT_COLOR_RANK1"_s, u"&HFF00"_s, QColor(0, 255, 0), 8, false},
        {u"PRINT_COLOR_RANK1"_s, u""_s, QColor(255, 0, 0), 0, false},
        {u"PRINT_CLASS_LABEL_WIDTH"_s, u"100"_s, QColor(255, 0, 0), 0, true},
    };
    Event event(30);
    ctlPrintButton button;
    button.setRoot(event.root);
    button.setData(event.analyzer, event.results);
    button.setPrintKind(1);
    const int defaultPages = print(button, folder.file(u"default.pdf"_s));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item.toStdString() + " = " + c.value.toStdString());
        clsConfigControl::setStoreFile(folder.file(c.item + c.value + u".ini"_s));
        event.root->ConfigControl()->setValue(QV_CONFIG_FOLDER_DATA, c.item, c.value);
        const QString pdf = folder.file(u"style.pdf"_s);
        const int pages = print(button, pdf);
        EXPECT_EQ(pages > defaultPages, c.morePages) << pages << " against " << defaultPages;
        const QImage page = pdfImage(pdf, 1, u"style"_s);
        ASSERT_FALSE(page.isNull());
        // A cell is about 50 x 10 pixels at 70 dpi.
        const int shaded = countNear(page, c.shade);
        if (c.shadedCells == 0)
            EXPECT_LT(shaded, 20);
        else
            EXPECT_GE(shaded, c.shadedCells * 200);
    }
}

TEST(RadixNumbers, SettingsReadAsTheRuntimeDoes) {
    const std::pair<QString, double> cases[] = {
        {u"&HCCCCCC"_s, 0xCCCCCC}, {u"&hff"_s, 255},      {u"  &H0000FF"_s, 255}, {u"&HFFFF"_s, -1},
        {u"&H10000"_s, 65536},     {u"&HFFFFFFFF"_s, -1}, {u"&H1FFFFFFFF"_s, 0},  {u"&O17"_s, 15},
        {u"&HFFZ"_s, 255},         {u"35"_s, 35},         {u"&X1"_s, 0},          {u""_s, 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(basRuntime::leadingNumberWithRadix(text), value) << text.toStdString();
}

TEST_F(ChartPrint, HtmlButtonWritesThePagesOfItsKind) {
    struct Case {
        qint32 kind;
        QString page;   // suffix of the class's page, empty for none
        QString marker; // in that page
    };
    const Case cases[] = {
        {0, QString(), QString()},
        {1, u"_lap.html"_s, u"class=\"lap\""_s},
        {2, u"_result.html"_s, u"class=\"result\""_s},
        {4, u"_leg.html"_s, u"class=\"leg\""_s},
        {8, u"_chart.html"_s, u"<img src="_s},
    };
    Event event(10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ctlHtmlOutputButton button;
        QStringList told;
        button.setMessageSink([&told](const QString& t) { told << t; });
        button.setRoot(event.root);
        button.setData(event.analyzer, event.results);
        button.setOutputKind(c.kind);
        const QString out = folder.file(u"html%1"_s.arg(c.kind));
        bool asked = false;
        button.setFolderChooser([&] {
            asked = true;
            return out;
        });
        button.click();
        EXPECT_EQ(asked, c.kind != 0);
        // The click wrote the set; writing it again reports every file.
        const QStringList written = button.outputTo(out);
        EXPECT_TRUE(told.isEmpty()) << told.join(u'\n').toStdString();
        if (c.page.isEmpty()) {
            EXPECT_TRUE(written.isEmpty());
            EXPECT_FALSE(QDir(out).exists());
            continue;
        }
        QStringList names;
        for (const QString& path : written)
            names << QFileInfo(path).fileName();
        names.sort();
        EXPECT_TRUE(names.contains(u"index.html"_s)) << names.join(u' ').toStdString();
        const QStringList pages =
            names.filter(QRegularExpression(QRegularExpression::escape(c.page) + u"$"_s));
        ASSERT_EQ(pages.size(), 1) << names.join(u' ').toStdString();
        EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), names.size());
        for (const QString& name : names) // nothing but the index, the page and its chart images
            EXPECT_TRUE(name == u"index.html"_s || name == pages[0] ||
                        (c.kind == 8 && name.endsWith(u".png"_s)))
                << name.toStdString();
        if (c.kind == 8) {
            EXPECT_EQ(names.filter(u".png"_s).size(), 6); // modes 0 and 2-6: no start times, no real time
        }
        QFile page(QDir(out).filePath(pages[0]));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromLatin1(page.readAll()).contains(c.marker));
    }
}

TEST_F(ChartPrint, HtmlButtonTellsWhyItFailed) {
    Event event(4);
    ctlHtmlOutputButton button;
    QStringList told;
    button.setMessageSink([&told](const QString& t) { told << t; });
    button.setRoot(event.root);
    button.setOutputKind(1);
    // A folder inside a plain file cannot be made.
    const QString blocked = folder.write(u"file"_s, "x") + u"/out"_s;
    EXPECT_TRUE(button.outputTo(blocked).isEmpty());
    ASSERT_EQ(told.size(), 1);
    EXPECT_FALSE(told[0].isEmpty());
}

TEST_F(ChartPrint, ChartKindsZoomScrollAndTheRunnerUnderTheMouse) {
    Event event(12);
    ctlLapChart chart;
    chart.resize(1000, 640);
    chart.setRoot(event.root);
    chart.setAnalyzer(event.analyzer);
    chart.show();
    QApplication::processEvents();
    auto* kinds = chart.findChild<QComboBox*>();
    ASSERT_NE(kinds, nullptr);
    ASSERT_EQ(kinds->count(), 8);
    const QString folderName = QStringLiteral(BREVANTO_BINARY_DIR "/hostui_print");
    QDir().mkpath(folderName);
    const struct {
        qint32 mode;
        QString name;
        bool runners;
    } modes[] = {
        {0, u"標準"_s, true},
        {1, u"リアルタイム"_s, false}, // no start times
        {2, u"上位平均相対"_s, true},
        {3, u"上位平均110％相対"_s, true},
        {4, u"上位平均130％相対"_s, true},
        {5, u"巡航速度－ミス率"_s, true},
        {6, u"巡航速度－前後半比"_s, true},
        {7, u"ボストリーム"_s, true}, // the chart runs the placement the view did not
    };
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        kinds->setCurrentIndex(m.mode);
        emit kinds->activated(m.mode);
        EXPECT_EQ(chart.mode(), m.mode);
        EXPECT_EQ(chart.chart().ChartMode(), m.mode);
        EXPECT_EQ(kinds->currentText(), m.name);
        EXPECT_EQ(chart.chart().Width(), chart.canvas()->width());
        EXPECT_EQ(!chart.chart().description().runners.empty(), m.runners);
        chart.grab().save(folderName + u"/chart_mode%1.png"_s.arg(m.mode));
    }

    chart.setMode(0);
    // Zoom and scroll stay within what DrawChart accepts.
    const struct {
        double rx, ry, px, py;
        double wantRx, wantRy, wantPx, wantPy;
    } zooms[] = {
        {0.1, 0.2, 0.5, 0.5, 0.5, 1, 0, 0.5},
        {4, 2, 2, -1, 4, 2, 1, 0},
        {4, 2, 0.25, 0.75, 4, 2, 0.25, 0.75},
    };
    for (const auto& z : zooms) {
        chart.setZoom(z.rx, z.ry);
        chart.setScroll(z.px, z.py);
        EXPECT_DOUBLE_EQ(chart.chart().RatioX(), z.wantRx);
        EXPECT_DOUBLE_EQ(chart.chart().RatioY(), z.wantRy);
        EXPECT_DOUBLE_EQ(chart.chart().PositionX(), z.wantPx);
        EXPECT_DOUBLE_EQ(chart.chart().PositionY(), z.wantPy);
    }
    // The zoom buttons, each from the whole width.
    const struct {
        QString button;
        double factorX, factorY;
    } buttons[] = {
        {u"横拡大"_s, 1.25, 1}, {u"縦拡大"_s, 1, 1.25}, {u"縦縮小"_s, 1, 1}, {u"全体表示"_s, 1, 1}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.button.toStdString());
        chart.fitWidth();
        const double fit = chart.chart().RatioX();
        QPushButton* found = nullptr;
        for (auto* button : chart.findChildren<QPushButton*>())
            if (button->text() == b.button)
                found = button;
        ASSERT_NE(found, nullptr);
        found->click();
        EXPECT_DOUBLE_EQ(chart.chart().RatioX(), fit * b.factorX);
        EXPECT_DOUBLE_EQ(chart.chart().RatioY(), b.factorY);
    }
    chart.fitWidth();

    // The mouse on a runner's line names the runner, marks it in the legend and draws it wider.
    const auto& runners = chart.chart().description().runners;
    ASSERT_FALSE(runners.empty());
    const auto& last = runners.back();
    ASSERT_GE(last.points.size(), 2u);
    const QPointF on = chart.chart().toImage((last.points[last.points.size() - 2] + last.points.back()) / 2);
    QMouseEvent move(QEvent::MouseMove, on, chart.canvas()->mapToGlobal(on), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart.canvas(), &move);
    const qint32 hit = chart.highlightedRunner();
    ASSERT_NE(hit, 0);
    QString hitName;
    for (const auto& r : runners)
        if (r.index == hit)
            hitName = r.name;
    EXPECT_EQ(chart.chart().runnerSetting(hit).flag, 1);
    auto* legend = chart.findChild<QListWidget*>();
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(legend->count(), static_cast<int>(runners.size()));
    ASSERT_NE(legend->currentItem(), nullptr);
    EXPECT_EQ(legend->currentItem()->text(), hitName);
    bool named = false;
    for (auto* label : chart.findChildren<QLabel*>())
        named = named || label->text() == hitName;
    EXPECT_TRUE(named);
    chart.grab().save(folderName + u"/chart_highlight.png"_s);
    // Away from every line nothing stays highlighted.
    QMouseEvent away(QEvent::MouseMove, QPointF(2, 2), chart.canvas()->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chart.canvas(), &away);
    EXPECT_EQ(chart.highlightedRunner(), 0);
    EXPECT_EQ(chart.chart().runnerSetting(hit).flag, 0);
}

} // namespace

namespace {

// The printed chart is the one on screen: its kind, and the part of it the zoom shows.
TEST_F(ChartPrint, PrintedChartFollowsTheChartWidget) {
    const struct {
        qint32 mode;
        double ratioX;
        QString heading;
        QStringList labels, absent; // time labels of the bottom axis
    } cases[] = {
        {0, 0, u"チャート（標準）"_s, {u"0:00"_s, u"0:40"_s}, {}},
        // Twice the width of the whole: the first half of the race (about 45 minutes).
        {0, 2, u"チャート（標準）"_s, {u"0:00"_s, u"0:40"_s}, {u"0:50"_s, u"1:00"_s}},
        {5, 0, u"チャート（巡航速度－ミス率）"_s, {}, {u"0:00"_s}},
    };
    Event event(12);
    ctlLapChart chart;
    chart.resize(900, 600);
    chart.setRoot(event.root);
    chart.setAnalyzer(event.analyzer);
    chart.show();
    QApplication::processEvents();
    ctlPrintButton button;
    button.setRoot(event.root);
    button.setData(event.analyzer, event.results);
    button.setChart(&chart);
    button.setPrintKind(4);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heading.toStdString() + " zoom " + std::to_string(c.ratioX));
        chart.setMode(c.mode);
        if (c.ratioX > 0)
            chart.setZoom(c.ratioX * chart.chart().RatioX(), 1);
        const QString pdf = folder.file(u"chart.pdf"_s);
        ASSERT_EQ(print(button, pdf), 1);
        const QString text = pdfText(pdf, 1);
        EXPECT_TRUE(text.contains(folded(c.heading)));
        for (const QString& label : c.labels)
            EXPECT_TRUE(text.contains(label)) << label.toStdString();
        for (const QString& label : c.absent)
            EXPECT_FALSE(text.contains(label)) << label.toStdString();
    }
}

} // namespace

namespace {

// A click opens the preview on a real printer, with the pages printTo gives; kind 0 opens none.
TEST_F(ChartPrint, ClickPreviewsThePagesOfItsKind) {
    const struct {
        qint32 kind;
        QPageLayout::Orientation orientation;
    } cases[] = {{0, QPageLayout::Portrait},
                 {1, QPageLayout::Landscape}, // 13 runners a page rather than 8
                 {2, QPageLayout::Portrait},
                 {4, QPageLayout::Landscape}};
    Event event(40);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ctlPrintButton button;
        button.setRoot(event.root);
        button.setData(event.analyzer, event.results);
        button.setPrintKind(c.kind);
        const int expected = print(button, folder.file(u"expected.pdf"_s));
        int previewed = -1;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            auto* pages = preview->findChild<QPrintPreviewWidget*>();
            previewed = pages ? pages->pageCount() : -2;
            orientation = preview->printer()->pageLayout().orientation();
            preview->reject();
        });
        button.click();
        QApplication::processEvents();
        EXPECT_EQ(previewed, c.kind == 0 ? -1 : expected);
        if (c.kind != 0) {
            EXPECT_EQ(orientation, c.orientation);
        }
    }
}

} // namespace
