#include "AnalysisFixture.h"
#include "ProjectError.h"
#include "basAutomation.h"
#include "basConstants.h"
#include "clsAnalyzer.h"
#include "clsGraphicControl.h"
#include "clsGridObject.h"
#include "clsGridRecorder.h"
#include "clsTextGrid.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace analysisfixture;
using namespace Quorvelin2;

namespace {

struct Event {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    std::shared_ptr<clsClassData> cls(const QString& name, qint32 controls) {
        auto c = root->AddClass(name);
        c->setControlCount(controls);
        return c;
    }
    std::shared_ptr<clsAnalyzer> analyzer(std::initializer_list<QString> classes) const {
        auto a = root->NewAnalyzer();
        for (const QString& c : classes)
            a->AddClass(c);
        a->Execute();
        return a;
    }
    // The analysis drawn into a fresh text grid, whose colour of a kind is the kind.
    std::unique_ptr<clsTextGrid> drawn(const std::shared_ptr<clsAnalyzer>& a) const {
        auto grid = std::make_unique<clsTextGrid>();
        root->GraphicControl()->DrawGrid(a, grid.get());
        return grid;
    }
};

TEST(DrawGrid, ThreeRunnersOverEightControls) {
    Event e;
    auto c = e.cls(u"M21"_s, 8);
    // b wins leg 2, c leg 1; a skips control 3 (its leg 4 covers legs 3 and 4).
    addRunner(*c, u"a"_s, u"0:40:00"_s, {200, 310, -1, 520, 300, 300, 300, 300, 270});
    addRunner(*c, u"b"_s, u"0:41:00"_s, {210, 280, 250, 260, 300, 300, 300, 300, 260});
    addRunner(*c, u"c"_s, u"0:42:00"_s, {190, 320, 260, 280, 300, 300, 300, 300, 270});
    const auto grid = e.drawn(e.analyzer({u"M21"_s}));
    ASSERT_EQ(grid->rows(), 51);
    ASSERT_EQ(grid->cols(), 4);
    EXPECT_EQ(grid->colWidth(0), 1230);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(grid->colWidth(k), 1080);
    EXPECT_TRUE(grid->visible());
    EXPECT_EQ(grid->selectedRow(), 5);
    EXPECT_EQ(grid->selectedCol(), 1);
    EXPECT_EQ(grid->colAlignment(0), QV_ALIGN_CENTER);

    // Columns in result order: a, b, c. Leg 2 is row 6.
    EXPECT_EQ(grid->cell(6, 2).text, u"  1)   4:40"_s);
    EXPECT_EQ(grid->cell(6, 2).backColor, QV_COLOR_RANK1);
    EXPECT_EQ(grid->cell(6, 1).text, u"  2)   5:10"_s);
    EXPECT_EQ(grid->cell(6, 1).backColor, QV_COLOR_RANK2);
    EXPECT_EQ(grid->cell(6, 3).backColor, QV_COLOR_RANK3);
    EXPECT_EQ(grid->cell(5, 3).text, u"  1)   3:10"_s);
    // The skipped leg: no rank, the skip mark; the leg after it is no single leg either.
    EXPECT_EQ(grid->cell(7, 1).text, u"         ↓"_s); // four for the rank, seven for the time
    EXPECT_EQ(grid->cell(7, 1).backColor, QV_COLOR_LAP);
    EXPECT_EQ(grid->cell(8, 1).text, u"       8:40"_s);
    // Equal legs share rank 1; leg 5 has three firsts.
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(grid->cell(9, k).backColor, QV_COLOR_RANK1) << k;

    struct Title {
        int row;
        QString text;
        qint32 colour;
    } titles[] = {
        {0, u"氏名"_s, QV_COLOR_NAME_TITLE},
        {3, u"順位"_s, QV_COLOR_RESULT_TITLE},
        {4, u"ラップタイム"_s, QV_COLOR_LAP_TITLE},
        {5, u"△→１"_s, QV_COLOR_LAP_TITLE},
        {13, u"８→◎"_s, QV_COLOR_LAP_TITLE},
        {14, u"積算タイム"_s, QV_COLOR_SPLIT_TITLE},
        {15, u"→１"_s, QV_COLOR_SPLIT_TITLE},
        {23, u"→◎"_s, QV_COLOR_SPLIT_TITLE},
        {24, u"解析結果(%)"_s, QV_COLOR_CRUISE_MISSRATE_TITLE},
        {26, u"ミス率"_s, QV_COLOR_CRUISE_MISSRATE_TITLE},
        {27, u"相対値(%)"_s, QV_COLOR_RELATIVE_TITLE},
        {36, u"８→◎"_s, QV_COLOR_RELATIVE_TITLE},
        {37, u"合計"_s, QV_COLOR_RELATIVETOTAL_TITLE},
        {38, u"ミスタイム"_s, QV_COLOR_MISS_TITLE},
        {47, u"８→◎"_s, QV_COLOR_MISS_TITLE},
        {48, u"合計"_s, QV_COLOR_MISSTOTAL_TITLE},
        {49, u"ミス抜き"_s, QV_COLOR_NOMISS_TITLE},
        {50, u"タイム"_s, QV_COLOR_NOMISS_TITLE},
    };
    for (const Title& t : titles) {
        EXPECT_EQ(grid->cell(t.row, 0).text, t.text) << t.row;
        EXPECT_EQ(grid->cell(t.row, 0).backColor, t.colour) << t.row;
        // Data colour of the same section: the title kind less one; the name rows left-aligned.
        EXPECT_EQ(grid->cell(t.row, 1).backColor == t.colour - 1 ||
                      grid->cell(t.row, 1).backColor >= QV_COLOR_RANK1,
                  true)
            << t.row;
        EXPECT_EQ(grid->cell(t.row, 3).alignment, t.row <= 1 ? QV_ALIGN_LEFT : QV_ALIGN_RIGHT) << t.row;
    }
}

// Two runners over two controls, the values worked out by hand (see the text outputs' tests).
TEST(DrawGrid, CellTextsOfTwoRunners) {
    Event e;
    auto c = e.cls(u"M21"_s, 2);
    auto a = addRunner(*c, u"山田 太郎"_s, u"0:20:00"_s, {300, 400, 500});
    a->setClubName(u"Ｏ Ｌ Ｃ"_s);
    a->setRankFix(u"*"_s);
    addRunner(*c, u"Suzuki"_s, u"0:21:10"_s, {330, 380, 560});
    const auto grid = e.drawn(e.analyzer({u"M21"_s}));
    ASSERT_EQ(grid->rows(), 27);
    struct Cell {
        int row, col;
        QString text;
    } cells[] = {
        {0, 1, u"山田太郎"_s},     {1, 1, u"ＯＬＣ"_s},       {2, 1, u"0:20:00"_s},
        {3, 1, u"   1*"_s},        {3, 2, u"   2"_s},         {5, 1, u"  1)   5:00"_s},
        {7, 2, u"  2)   9:20"_s},  {10, 1, u"  1)  11:40"_s}, {10, 2, u"  2)  11:50"_s},
        {11, 2, u"  2)  21:10"_s}, {13, 1, u"94.7"_s},        {13, 2, u"100.7"_s},
        {14, 1, u"2.7"_s},         {14, 2, u"3.1"_s},         {16, 1, u"95"_s},
        {17, 2, u"97"_s},          {19, 1, u"97"_s},          {19, 2, u"103"_s},
        {21, 1, u"   0:02"_s},     {22, 2, u"  -0:13"_s},     {23, 1, u"  -0:02"_s},
        {24, 1, u"   0:33"_s},     {24, 2, u"   0:39"_s},     {26, 1, u"  19:27"_s},
        {26, 2, u"  20:31"_s},     {25, 1, QString()},
    };
    for (const Cell& x : cells)
        EXPECT_EQ(grid->cell(x.row, x.col).text, x.text) << x.row << "," << x.col;
}

TEST(DrawGrid, MixedClassesShowTheClassAfterTheRank) {
    Event e;
    addRunner(*e.cls(u"M21"_s, 1), u"m"_s, u"0:10:00"_s, {300, 300});
    addRunner(*e.cls(u"W21"_s, 1), u"w"_s, u"0:09:00"_s, {280, 260});
    const auto grid = e.drawn(e.analyzer({u"M21"_s, u"W21"_s}));
    EXPECT_EQ(grid->cell(3, 1).text, u"   1W21"_s);
    EXPECT_EQ(grid->cell(3, 2).text, u"   2M21"_s);
}

TEST(DrawGrid, NothingToDrawAndTooManyControls) {
    Event e;
    e.cls(u"Empty"_s, 3);
    clsTextGrid grid;
    grid.setRows(2);
    grid.setCols(2);
    grid.setTextMatrix(1, 1, u"old"_s);
    e.root->GraphicControl()->DrawGrid(e.analyzer({u"Empty"_s}), &grid);
    EXPECT_FALSE(grid.visible());
    EXPECT_EQ(grid.cell(1, 1).text, QString()); // cleared
    EXPECT_EQ(grid.rows(), 2);

    auto big = e.root->NewAnalyzer();
    big->setControlCount(31);
    clsTextGrid untouched;
    EXPECT_THROW(e.root->GraphicControl()->DrawGrid(big, &untouched), ProjectError);
    EXPECT_TRUE(untouched.visible());
    EXPECT_THROW(e.root->GraphicControl()->DrawGrid(big, nullptr), ProjectError);

    // The library's own grid object does nothing and knows no colours.
    auto c = e.cls(u"M"_s, 1);
    addRunner(*c, u"x"_s, u"0:10:00"_s, {300, 300});
    clsGridObject nothing;
    e.root->GraphicControl()->DrawGrid(e.analyzer({u"M"_s}), &nothing);
    EXPECT_EQ(nothing.Color(QV_COLOR_RANK1), 0);
}

// Hosts and callers reach the grid interface by name; a subclass answers those calls.
TEST(DrawGrid, InterfaceByNameInSlotOrder) {
    EXPECT_EQ(basAutomation::MemberNames(clsGridObject::staticMetaObject),
              (QStringList{u"Color"_s, u"setTextMatrix"_s, u"Clear"_s, u"setVisible"_s, u"setCols"_s,
                           u"setRows"_s, u"setColWidth"_s, u"SelectCell"_s, u"setCellBackColor"_s,
                           u"setCellAlignment"_s, u"setColAlignment"_s, u"setCellForeColor"_s}));
    clsTextGrid grid;
    const QVariant object = QVariant::fromValue(static_cast<QObject*>(&grid));
    basAutomation::Let(object, u"Rows", 3);
    basAutomation::Let(object, u"Cols", 2);
    basAutomation::Let(object, u"TextMatrix", u"x"_s, {2, 1});
    basAutomation::Call(object, u"SelectCell", {1, 0, 2, 1});
    basAutomation::Let(object, u"CellBackColor", 7);
    EXPECT_EQ(grid.cell(2, 1).text, u"x"_s);
    EXPECT_EQ(grid.cell(1, 0).backColor, 7);
    EXPECT_EQ(grid.cell(0, 0).backColor, 0);
    EXPECT_EQ(basAutomation::Get(object, u"Color", {QV_COLOR_MISS}).toInt(), QV_COLOR_MISS);

    Event e;
    auto c = e.cls(u"M"_s, 1);
    addRunner(*c, u"x"_s, u"0:10:00"_s, {300, 300});
    const QVariant control =
        basAutomation::Get(QVariant::fromValue(static_cast<QObject*>(e.root.get())), u"GraphicControl");
    clsTextGrid byName;
    basAutomation::Call(control, u"DrawGrid",
                        {QVariant::fromValue(e.analyzer({u"M"_s})),
                         QVariant::fromValue(static_cast<clsGridObject*>(&byName))});
    EXPECT_EQ(byName.rows(), 4 * 2 + 15);
}

// Growing and shrinking either way keeps what was written where it still fits; new cells, cleared
// cells and cells outside read as the grid's blank cell.
TEST(DrawGrid, RecordedCellsSurviveResizing) {
    clsGridRecorder printed;
    clsTextGrid text;
    struct Case {
        clsGridRecorder* grid;
        qint32 blank;
    } cases[] = {{&printed, 0xffffff}, {&text, 0}};
    for (const Case& k : cases) {
        clsGridRecorder& g = *k.grid;
        g.setRows(3);
        g.setCols(2);
        g.setColWidth(1, 900);
        g.setColAlignment(1, QV_ALIGN_RIGHT);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c)
                g.setTextMatrix(r, c, u"%1,%2"_s.arg(r).arg(c));
        g.SelectCell(1, 1, -3, 5); // clipped to rows 0-1, column 1
        g.setCellBackColor(7);
        g.setTextMatrix(3, 0, u"outside"_s);
        g.setRows(5);
        g.setCols(4);
        EXPECT_EQ(g.cell(2, 1).text, u"2,1"_s);
        EXPECT_EQ(g.cell(0, 1).backColor, 7);
        EXPECT_EQ(g.cell(2, 1).backColor, k.blank);
        EXPECT_EQ(g.cell(3, 0).text, QString());
        EXPECT_EQ(g.cell(4, 3).backColor, k.blank);
        g.setRows(2);
        g.setCols(3);
        g.setRows(4);
        EXPECT_EQ(g.cell(1, 1).text, u"1,1"_s);
        EXPECT_EQ(g.cell(1, 1).backColor, 7);
        EXPECT_EQ(g.cell(2, 0).text, QString());
        EXPECT_EQ(g.alignment(0, 1), QV_ALIGN_RIGHT);
        EXPECT_EQ(g.alignment(0, 2), QV_ALIGN_LEFT);
        g.Clear();
        EXPECT_EQ(g.cell(1, 1).text, QString());
        EXPECT_EQ(g.cell(1, 1).backColor, k.blank);
        EXPECT_EQ(g.cell(9, 9).backColor, k.blank);
        EXPECT_EQ(g.colWidth(1), 900);
        EXPECT_EQ(g.alignment(3, 1), QV_ALIGN_RIGHT);
    }
}

} // namespace
