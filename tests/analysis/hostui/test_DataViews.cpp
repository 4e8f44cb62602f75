#include "HtmlFixture.h"
#include "LapDataGenerator.h"
#include "basConstants.h"
#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "clsTableGridObject.h"
#include "clsTextGrid.h"
#include "ctlAnalysisGrid.h"
#include "ctlClassCombo.h"
#include "ctlDataSelectButton.h"
#include "ctlLegDataGrid.h"
#include "ctlResultGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

// Three classes, two of them on course 1; one runner of W21,B typed a result without a card read;
// a comma in a class name.
std::shared_ptr<clsQuorvelin2> sharedCourseEvent() {
    auto root = std::make_shared<clsQuorvelin2>();
    htmlfixture::smallEvent(*root)->setCourseNum(1);
    auto w21 = root->AddClass(u"W21,B"_s);
    w21->setControlCount(2);
    w21->setCourseNum(1);
    htmlfixture::addRunner(*w21, u"田中 花"_s, u"X"_s, {290, 400, 200}, u"0:14:50"_s);
    htmlfixture::addRunner(*w21, u"伊藤 文"_s, u"Y"_s, {}, u"0:20:00"_s);
    auto m40 = root->AddClass(u"M40"_s);
    m40->setControlCount(2);
    m40->setCourseNum(2);
    htmlfixture::addRunner(*m40, u"高橋 進"_s, u"Z"_s, {330, 420, 210}, u"0:16:00"_s);
    return root;
}

QStringList columnTexts(const QTableWidget& t, int row) {
    QStringList texts;
    for (int c = 1; c < t.columnCount(); ++c)
        texts << (t.item(row, c) ? t.item(row, c)->text() : QString());
    return texts;
}

QStringList rowTexts(const QTableWidget& t, int column) {
    QStringList texts;
    for (int r = 0; r < t.rowCount(); ++r)
        texts << (t.item(r, column) ? t.item(r, column)->text() : QString());
    return texts;
}

QColor qcolor(qint32 bgr) {
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, bgr >> 16);
}

void shoot(QWidget& w, const QString& name) {
    const QString folder = QStringLiteral(SCREENSHOT_DIR);
    QDir().mkpath(folder);
    w.show();
    ASSERT_TRUE(w.grab().save(folder + u'/' + name));
}

} // namespace

TEST(ClassCombo, EntriesAndTheDataOfEachChoice) {
    const auto root = sharedCourseEvent();
    ctlClassCombo combo;
    combo.setRoot(root);
    int chosen = 0;
    QObject::connect(&combo, &ctlClassCombo::ClassChosen, [&] { ++chosen; });
    ASSERT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_FALSE(combo.Analyzer());

    const struct {
        QString text, dataSet;
        int analysed, listed;
    } entries[] = {
        {u"M21 (3人)"_s, u"M21"_s, 3, 3},
        {u"W21,B (2人)"_s, u"W21,B"_s, 1, 2}, // the typed result has no legs to analyse
        {u"M40 (1人)"_s, u"M40"_s, 1, 1},
        {u"コース1: M21/W21,B (5人)"_s, u"M21/W21,B"_s, 4, 5},
    };
    for (int i = 0; i < 4; ++i) {
        const auto& e = entries[i];
        EXPECT_EQ(combo.itemText(i), e.text);
        combo.chooseEntry(i);
        EXPECT_EQ(chosen, i + 1);
        EXPECT_EQ(combo.currentIndex(), i);
        ASSERT_TRUE(combo.Analyzer() && combo.ResultsHolder()) << i;
        EXPECT_TRUE(combo.Analyzer()->IsExecuted());
        EXPECT_EQ(combo.Analyzer()->DataSetName(), e.dataSet);
        EXPECT_EQ(combo.Analyzer()->Count(), e.analysed) << i;
        EXPECT_EQ(combo.ResultsHolder()->DataSetName(), e.dataSet);
        EXPECT_EQ(combo.ResultsHolder()->Count(), e.listed) << i;
        EXPECT_EQ(combo.ResultsHolder()->RankInDataSet(1), u"1"_s) << "ranked";
    }
    const auto last = combo.Analyzer();
    combo.chooseEntry(4);
    EXPECT_EQ(chosen, 4);
    EXPECT_EQ(combo.Analyzer(), last);
    // A new choice builds new objects: a selection made on the old ones does not stay.
    combo.chooseEntry(3);
    EXPECT_NE(combo.Analyzer(), last);

    combo.setRoot(nullptr);
    EXPECT_EQ(combo.count(), 0);
    EXPECT_FALSE(combo.Analyzer());
    EXPECT_FALSE(combo.ResultsHolder());
}

// The table shows exactly what DrawGrid writes into a plain grid: every text and every colour.
TEST(AnalysisGrid, CellsEqualWhatDrawGridWrites) {
    const auto root = std::make_shared<clsQuorvelin2>();
    lapdatagenerator::Options o;
    o.runners = 25;
    o.legs = 9;
    o.skipRate = 0.08;
    o.missingRate = 0.2;
    lapdatagenerator::GenerateClass(*root, u"M21"_s, o);
    o.seed = 2;
    lapdatagenerator::GenerateClass(*root, u"W21"_s, o);
    root->ClassData(1)->setCourseNum(1);
    root->ClassData(2)->setCourseNum(1);

    ctlClassCombo combo;
    combo.setRoot(root);
    ctlAnalysisGrid grid;
    grid.setRoot(root);
    ctlDataSelectButton select;
    const struct {
        int entry;
        QList<qint32> positions; // empty: all
    } cases[] = {{0, {}}, {2, {}}, {2, {40, 2, 7}}, {0, {5}}};
    for (const auto& c : cases) {
        combo.chooseEntry(c.entry);
        select.setData(combo.Analyzer(), combo.ResultsHolder());
        if (!c.positions.isEmpty())
            select.selectRunners(c.positions);
        grid.setAnalyzer(combo.Analyzer());
        clsTextGrid plain;
        root->GraphicControl()->DrawGrid(combo.Analyzer(), &plain);
        ASSERT_EQ(grid.rowCount(), plain.rows()) << c.entry;
        ASSERT_EQ(grid.columnCount(), plain.cols());
        ASSERT_EQ(plain.cols(), 1 + (c.positions.isEmpty() ? combo.Analyzer()->FullSetCount()
                                                           : static_cast<int>(c.positions.size())));
        int mismatches = 0;
        for (int r = 0; r < plain.rows(); ++r)
            for (int k = 0; k < plain.cols(); ++k) {
                const auto* item = grid.item(r, k);
                const qint32 colour = clsTableGridObject::HostColor(plain.cell(r, k).backColor);
                const bool same = item && item->text() == plain.cell(r, k).text &&
                                  grid.gridObject()->cellBackColor(r, k) == colour &&
                                  item->background().color() == qcolor(colour);
                if (!same && ++mismatches < 5)
                    ADD_FAILURE() << "cell " << r << "," << k << ": "
                                  << (item ? item->text() : u"(none)"_s).toStdString() << " vs "
                                  << plain.cell(r, k).text.toStdString();
            }
        EXPECT_EQ(mismatches, 0);
        const auto alignment = [&](int r, int k) {
            return grid.item(r, k)->textAlignment() & Qt::AlignHorizontal_Mask;
        };
        EXPECT_EQ(alignment(0, 1), Qt::AlignLeft);
        EXPECT_EQ(alignment(5, 1), Qt::AlignRight);
        EXPECT_EQ(alignment(5, 0), Qt::AlignHCenter);
        EXPECT_EQ(grid.currentRow(), 5);
        EXPECT_EQ(grid.currentColumn(), 1);
    }
    combo.chooseEntry(0);
    grid.setAnalyzer(combo.Analyzer());
    grid.resize(900, 700);
    shoot(grid, u"hostui_analysis_grid.png"_s);
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
    shoot(grid, u"hostui_analysis_grid_scrolled.png"_s);
}

TEST(AnalysisGrid, SectionColoursAreDistinctAndPlacesStandOut) {
    QSet<qint32> colours;
    for (qint32 kind = QV_COLOR_NAME; kind <= QV_COLOR_RANK3; ++kind)
        colours.insert(clsTableGridObject::HostColor(kind));
    EXPECT_EQ(colours.size(), QV_COLOR_RANK3 + 1);
    // A place colour is clearly darker or more saturated than every pale section colour.
    for (qint32 place = QV_COLOR_RANK1; place <= QV_COLOR_RANK3; ++place) {
        const QColor placeColour = qcolor(clsTableGridObject::HostColor(place));
        for (qint32 kind = QV_COLOR_NAME; kind <= QV_COLOR_NOMISS; kind += 2) {
            const QColor section = qcolor(clsTableGridObject::HostColor(kind));
            EXPECT_GT(std::abs(placeColour.lightness() - section.lightness()) +
                          std::abs(placeColour.hslSaturation() - section.hslSaturation()),
                      40)
                << place << " on " << kind;
        }
    }
}

// The data-select button keeps the analyzer and the results holder on the same runners, and
// both grids follow.
TEST(DataSelect, SelectionChangesWhatTheGridsShow) {
    const auto root = sharedCourseEvent();
    ctlClassCombo combo;
    combo.setRoot(root);
    combo.chooseEntry(3); // course 1: M21 and W21,B
    ctlDataSelectButton select;
    EXPECT_FALSE(select.isEnabled());
    select.setData(combo.Analyzer(), combo.ResultsHolder());
    EXPECT_TRUE(select.isEnabled());
    EXPECT_EQ(select.text(), u"表示選手選択"_s);
    ctlAnalysisGrid grid;
    grid.setRoot(root);
    grid.setAnalyzer(combo.Analyzer());
    ctlResultGrid results;
    results.setRoot(root);
    results.setResultsHolder(combo.ResultsHolder());
    QObject::connect(&select, &ctlDataSelectButton::SelectionChanged, [&] {
        grid.refresh();
        results.refresh();
    });
    int changed = 0;
    QObject::connect(&select, &ctlDataSelectButton::SelectionChanged, [&] { ++changed; });
    // The full set: the four analysed runners in result order, then the typed result.
    ASSERT_EQ(select.runnerNames().size(), 5);
    EXPECT_TRUE(select.runnerNames()[4].contains(u"伊藤 文"_s));

    enum Op { Some, All, None };
    const struct {
        Op op;
        QList<qint32> positions;
        QStringList analysed, listed;
    } steps[] = {
        {Some, {3, 1}, {u"鈴木花子"_s, u"田中花"_s}, {u"鈴木 花子"_s, u"田中 花"_s}},
        {Some, {5, 2, 2, 9}, {u"山田太郎"_s}, {u"山田 太郎"_s, u"伊藤 文"_s}},
        {None, {}, {}, {}},
        {All,
         {},
         {u"鈴木花子"_s, u"山田太郎"_s, u"田中花"_s, u"佐藤一郎"_s},
         {u"鈴木 花子"_s, u"山田 太郎"_s, u"田中 花"_s, u"佐藤一郎"_s, u"伊藤 文"_s}},
    };
    int emitted = 0;
    for (const auto& s : steps) {
        if (s.op == Some)
            select.selectRunners(s.positions);
        else if (s.op == All)
            select.selectAllRunners();
        else
            select.selectNoRunners();
        EXPECT_EQ(changed, ++emitted);
        EXPECT_EQ(grid.rowCount() > 0 ? columnTexts(grid, 0) : QStringList(), s.analysed)
            << s.positions.size();
        EXPECT_EQ(rowTexts(results, 1), s.listed);
        QList<qint32> expected;
        for (qint32 p = 1; p <= 5; ++p)
            if (s.op == All || (s.op == Some && s.positions.contains(p)))
                expected << p;
        EXPECT_EQ(select.selectedRunners(), expected);
    }
    // Ranks of a partial list are the ranks within it; the class's own published ranks (none
    // here) would stand.
    select.selectRunners({2, 4});
    EXPECT_EQ(rowTexts(results, 0), (QStringList{u"1"_s, u"2"_s}));
    EXPECT_EQ(rowTexts(results, 2), (QStringList{u"M21"_s, u"M21"_s}));
    results.resize(520, 220);
    shoot(results, u"hostui_result_grid.png"_s);
    select.setData(nullptr, nullptr);
    EXPECT_FALSE(select.isEnabled());
}

// Equal results keep their order when the same runners are chosen one by one.
TEST(DataSelect, EqualResultsKeepTheirOrder) {
    auto root = std::make_shared<clsQuorvelin2>();
    auto cls = root->AddClass(u"M21"_s);
    cls->setControlCount(1);
    for (const QString& name : {u"A"_s, u"B"_s, u"C"_s})
        htmlfixture::addRunner(*cls, name, QString(), {300, 300}, u"0:10:00"_s);
    ctlClassCombo combo;
    combo.setRoot(root);
    combo.chooseEntry(0);
    ctlDataSelectButton select;
    select.setData(combo.Analyzer(), combo.ResultsHolder());
    const auto order = [&] {
        QStringList a, h;
        for (qint32 k = 1; k <= combo.Analyzer()->Count(); ++k)
            a << combo.Analyzer()->Item(k)->RunnerName();
        for (qint32 k = 1; k <= combo.ResultsHolder()->Count(); ++k)
            h << combo.ResultsHolder()->Item(k)->RunnerName();
        return std::pair{a, h};
    };
    const auto all = order();
    ASSERT_EQ(all.first.size(), 3);
    EXPECT_EQ(all.first, all.second);
    select.selectRunners({3, 2, 1});
    EXPECT_EQ(order(), all);
    select.selectRunners({1, 3});
    EXPECT_EQ(order().first, (QStringList{all.first[0], all.first[2]}));
    EXPECT_EQ(order().second, order().first);
    select.selectAllRunners();
    EXPECT_EQ(order(), all);
}

TEST(LegDataGrid, CellsOfASmallClass) {
    clsQuorvelin2 root;
    htmlfixture::smallEvent(root);
    auto shared = std::shared_ptr<clsQuorvelin2>(&root, [](clsQuorvelin2*) {});
    ctlLegDataGrid legs;
    legs.setRoot(shared);
    legs.setAnalyzer(htmlfixture::analysed(root, u"M21"_s));
    ASSERT_EQ(legs.rowCount(), 4);
    ASSERT_EQ(legs.columnCount(), 10);
    const QStringList expected[] = {
        {u"△→１"_s, u"33.3%"_s, u"00:05:00"_s, u"146"_s, u"鈴木花子\u202800:04:45"_s,
         u"山田太郎\u202800:05:00"_s, u"佐藤一郎\u202800:05:15"_s, QString(), QString(), QString()},
        {u"１→２"_s, u"44.4%"_s, u"00:06:40"_s, u"103"_s, u"山田太郎\u202800:06:00"_s,
         u"佐藤一郎\u202800:07:20"_s, QString(), QString(), QString(), QString()},
        {u"２→◎"_s, u"22.2%"_s, u"00:03:20"_s, u"51"_s, u"山田太郎\u202800:03:00"_s,
         u"佐藤一郎\u202800:03:40"_s, QString(), QString(), QString(), QString()},
        {u"合計"_s, u"100.0%"_s, u"00:15:00"_s, u"100"_s, QString(), QString(), QString(), QString(),
         QString(), QString()},
    };
    for (int r = 0; r < 4; ++r) {
        QStringList row;
        for (int c = 0; c < 10; ++c)
            row << (legs.item(r, c) ? legs.item(r, c)->text() : QString());
        EXPECT_EQ(row, expected[r]) << r;
    }
    // The first three places in their page colours, the rest plain.
    EXPECT_EQ(legs.item(0, 4)->background().color(), QColor(0xff, 0xdd, 0xdd));
    EXPECT_EQ(legs.item(0, 6)->background().color(), QColor(0xdd, 0xff, 0xdd));
    legs.resize(760, 230);
    shoot(legs, u"hostui_leg_data_grid.png"_s);

    legs.setAnalyzer(nullptr);
    EXPECT_EQ(legs.rowCount(), 0);
}

// The button's window: ticks start at the runners shown; OK applies the ticks.
TEST(DataSelect, WindowAppliesTheTicks) {
    const auto root = sharedCourseEvent();
    ctlClassCombo combo;
    combo.setRoot(root);
    combo.chooseEntry(3);
    ctlDataSelectButton select;
    select.setData(combo.Analyzer(), combo.ResultsHolder());
    select.selectRunners({1, 2, 5});
    QStringList ticked;
    QTimer::singleShot(0, [&] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_TRUE(window);
        auto* list = window->findChild<QTreeWidget*>();
        ASSERT_TRUE(list);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->checkState(0) == Qt::Checked)
                ticked << list->topLevelItem(i)->text(1);
        list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        list->topLevelItem(3)->setCheckState(0, Qt::Checked);
        shoot(*window, u"hostui_data_select.png"_s);
        window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    select.click();
    EXPECT_EQ(ticked, (QStringList{u"鈴木 花子"_s, u"山田 太郎"_s, u"伊藤 文"_s}));
    EXPECT_EQ(select.selectedRunners(), (QList<qint32>{2, 4, 5}));
    EXPECT_EQ(combo.ResultsHolder()->Count(), 3);
    EXPECT_EQ(combo.Analyzer()->Count(), 2);
}

// The copies that keep the title column and the name rows in view scroll with the table only.
TEST(AnalysisGrid, FixedCellsScrollWithTheTable) {
    const auto root = std::make_shared<clsQuorvelin2>();
    lapdatagenerator::Options o;
    o.runners = 30;
    o.legs = 12;
    lapdatagenerator::GenerateClass(*root, u"M21"_s, o);
    auto a = root->NewAnalyzer();
    a->AddClass(1);
    a->Execute();
    ctlAnalysisGrid grid;
    grid.setAnalyzer(a);
    grid.resize(600, 400);
    grid.show();
    const auto copies = grid.findChildren<QTableView*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(copies.size(), 3);
    grid.horizontalScrollBar()->setValue(300);
    for (QTableView* copy : copies) {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(copy->viewport(), &wheel);
    }
    // Ctrl+C copies the selected block for a spreadsheet, cells without their padding.
    grid.setRangeSelected(QTableWidgetSelectionRange(2, 0, 3, 2), true);
    QKeyEvent copyKey(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QCoreApplication::sendEvent(&grid, &copyKey);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              u"記録\t"_s + a->Item(1)->Result() + u'\t' + a->Item(2)->Result() + u"\n順位\t1\t2\n"_s);
    ASSERT_NE(grid.rowAt(2), 0);
    ASSERT_NE(grid.columnAt(2), 0);
    for (QTableView* copy : copies) {
        ASSERT_TRUE(copy->isVisible());
        const bool names = copy->width() > grid.columnWidth(0) + 1;
        const bool titles = copy->height() > 3 * grid.rowHeight(0);
        EXPECT_EQ(copy->rowAt(2), titles ? grid.rowAt(2) : 0);
        EXPECT_EQ(copy->columnAt(2), names ? grid.columnAt(2) : 0);
    }
}
