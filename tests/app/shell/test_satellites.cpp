#include "ShellFixture.h"
#include "clsEcardTagStock.h"
#include "ctlEcardTagView.h"
#include "ctlSortedGrid.h"
#include "frmEcardList.h"
#include "frmEcardSelect.h"
#include "frmEcardView.h"
#include "frmNameList.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

QStringList column(const QTableWidget* grid, int c) {
    QStringList cells;
    for (int r = 0; r < grid->rowCount(); ++r)
        cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
    return cells;
}

struct SatelliteTest : ShellFixture {
    void SetUp() override {
        ecardTxt = cardLine(402001, coursePunches({31, 33}, 100, 2000), 1) + u";\r\n"_s +
                   cardLine(10, coursePunches({31, 32, 33}, 100, 3000), 2) + u";\r\n"_s +
                   cardLine(402001, coursePunches({31, 32, 33}, 100, 2500), 3) + u";\r\n"_s;
    }
};

TEST_F(SatelliteTest, CardListSortsByNumberValueAndTogglesOrder) {
    open();
    frmEcardList list(*main->station(), {});
    EXPECT_EQ(list.windowTitle(), u"Ｅカードデータ一覧"_s);
    ctlSortedGrid* grid = list.grdEcard();
    EXPECT_TRUE(grid->isColumnHidden(5));
    struct Step {
        int click;
        QStringList numbers;
    } steps[] = {
        {-1, {u"10"_s, u"402001"_s, u"402001"_s}},
        {0, {u"402001"_s, u"402001"_s, u"10"_s}},
        {0, {u"10"_s, u"402001"_s, u"402001"_s}},
        {2, {u"402001"_s, u"10"_s, u"402001"_s}}, // by read time as text
        {3, {u"402001"_s, u"10"_s, u"402001"_s}}, // the name column does not sort
    };
    for (const Step& s : steps) {
        if (s.click >= 0)
            grid->headerClicked(s.click);
        EXPECT_EQ(column(grid, 0), s.numbers) << s.click;
    }
    EXPECT_EQ(column(grid, 3), (QStringList{u"伊藤 花子"_s, u"  (未登録)"_s, u"伊藤 花子"_s}));
}

TEST_F(SatelliteTest, NameListShowsWhichNamesWereRead) {
    open();
    frmNameList list(*main->station(), {});
    EXPECT_EQ(list.windowTitle(), u"名前データリスト"_s);
    EXPECT_EQ(list.cboTable()->currentIndex(), 0);
    EXPECT_EQ(column(list.grdName(), 0), (QStringList{u"402001"_s, u"401001"_s}));
    EXPECT_EQ(column(list.grdName(), 3), (QStringList{u"読み込み済み"_s, QString()}));
    EXPECT_EQ(list.lblCount()->text(), u"1/2"_s);
    list.cboTable()->setCurrentIndex(1);
    EXPECT_EQ(list.grdName()->rowCount(), 0);
    EXPECT_EQ(list.lblCount()->text(), u"0/0"_s);
}

TEST_F(SatelliteTest, ReadSelectionLinesShowTimesAndCodes) {
    open();
    const auto reads = main->TagStock()->TagListOfNumber(402001);
    ASSERT_NE(reads, nullptr);
    ASSERT_EQ(reads->Count(), 2);
    frmEcardSelect select(*reads, {});
    EXPECT_EQ(select.windowTitle(), u"選択"_s);
    // Read at 10:01:00 with the unit's record at 2010 s: started at 09:27:30.
    EXPECT_EQ(frmEcardSelect::lineOf(*reads->Item(1)), u"[09:27:30→10:01:00] 0 31 33 100 250"_s);
}

TEST_F(SatelliteTest, DetailWindowMarksEveryPunchOnEveryCourse) {
    courseTxt = u"M21A,0,31,32,33,100\r\nLOOP,0,31,31,100\r\n"_s;
    open();
    const auto tag = main->TagStock()->TagListOfNumber(10)->Item(1);
    frmEcardView view(*main->station(), tag, {});
    EXPECT_EQ(view.windowTitle(), u"詳細表示"_s);
    EXPECT_EQ(view.lblEcardNo()->text(), u"10"_s);
    EXPECT_TRUE(view.lblName()->text().isEmpty());
    const QTableWidget* grid = view.TagView();
    ASSERT_EQ(grid->columnCount(), 5);
    EXPECT_EQ(grid->horizontalHeaderItem(3)->text(), u"M21A"_s);
    EXPECT_EQ(column(grid, 0), (QStringList{u"0"_s, u"31"_s, u"32"_s, u"33"_s, u"100"_s, u"250"_s}));
    EXPECT_EQ(column(grid, 1)[1], u"00:12:30"_s);
    EXPECT_EQ(column(grid, 2)[1], u"09:24:20"_s);
    EXPECT_EQ(column(grid, 3), (QStringList{u"△"_s, u"1"_s, u"2"_s, u"3"_s, u"◎"_s, QString()}));
    EXPECT_EQ(column(grid, 4), (QStringList{u"△"_s, u"1,2"_s, QString(), QString(), u"◎"_s, QString()}));
    EXPECT_EQ(column(view.grdResult(), 0), QStringList{u"M21A"_s});
}

} // namespace
