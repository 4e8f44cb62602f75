#include "ShellFixture.h"
#include "basText.h"
#include "clsCourseDataTable.h"
#include "ctlDataFolder.h"
#include "frmCourseSetting.h"

#include <QComboBox>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

struct CourseSettingTest : ShellFixture {
    std::unique_ptr<frmCourseSetting> window;
    int rebuilds = 0;

    void openWindow() {
        ecardTxt = cardLine(401001, coursePunches({41, 42}, 100, 1800)) + u";\r\n"_s;
        open();
        std::vector<frmCourseSetting::CardRow> cards{
            {401001, u"山田太郎"_s, {u"0"_s, u"41"_s, u"42"_s, u"100"_s, u"250"_s}}};
        window = std::make_unique<frmCourseSetting>(
            cards, main->CourseDataTable().get(), main->DataFolderControl(), &prompt, [this] { ++rebuilds; });
    }
    void selectCourseRow(int row) { window->grdCourse()->selectRow(row); }
    QString courseFile() { return basText::fromWindows31J(event.read(u"Course.txt"_s)); }
};

TEST_F(CourseSettingTest, ShowsTheCardsTheClassesAndThePatterns) {
    openWindow();
    EXPECT_EQ(window->windowTitle(), u"クラス設定"_s);
    ASSERT_EQ(window->grdCard()->rowCount(), 1);
    EXPECT_EQ(window->grdCard()->item(0, 2)->text(), u"0→41→42→100→250"_s);
    EXPECT_EQ(window->rowTexts(), (QStringList{u"M21A 0→31→32→33→100"_s, u"W21A 0→31→33→100"_s, u" "_s}));
    ASSERT_EQ(window->cboRule()->count(), 13);
    const QList<int> values{-9, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 98};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(window->cboRule()->itemData(i).toInt(), values[i]);
    EXPECT_EQ(window->cboRule()->itemText(0), u"最も良くあてはまるクラスを割り当てる"_s);
    EXPECT_EQ(window->cboRule()->itemText(6), u"P4 よりもよい全てのクラスを割り当てる"_s);
    EXPECT_EQ(window->cboRule()->itemText(12), u"スタートとゴールを通過している全てのクラスを割り当てる"_s);
    EXPECT_EQ(window->cboRule()->currentIndex(), 0);
}

TEST_F(CourseSettingTest, UnknownRuleSelectsTheFirstPattern) {
    ini = u"テスト大会\r\n2026/12/08\r\n55\r\n"_s;
    openWindow();
    EXPECT_EQ(window->cboRule()->currentIndex(), 0);
}

TEST_F(CourseSettingTest, AddEditDeleteAndOkRewriteCourseTxtAndRebuild) {
    openWindow();
    window->grdCard()->selectRow(0);
    struct Step {
        const char* what;
        std::function<void()> act;
        QStringList rows;
    } steps[] = {
        {"add a class from the card, without the unit's record",
         [&] {
             prompt.answerInput(u"  m15 "_s);
             window->cmdAdd_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"W21A 0→31→33→100"_s, u"M15 0→41→42→100"_s, u" "_s}},
        {"adding under an existing name replaces its codes",
         [&] {
             prompt.answerInput(u"w21a"_s);
             window->cmdAdd_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"W21A 0→41→42→100"_s, u"M15 0→41→42→100"_s, u" "_s}},
        {"an empty name adds nothing",
         [&] {
             prompt.answerInput(u"   "_s);
             window->cmdAdd_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"W21A 0→41→42→100"_s, u"M15 0→41→42→100"_s, u" "_s}},
        {"edit a row, blanks removed",
         [&] {
             selectCourseRow(2);
             prompt.answerInput(u"M15 , 0, 41, 43 ,100"_s);
             window->cmdEdit_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"W21A 0→41→42→100"_s, u"M15 0→41→43→100"_s, u" "_s}},
        {"renaming onto another row asks again; an empty answer leaves both",
         [&] {
             selectCourseRow(2);
             prompt.answerInput(u"M21A,0,41,100"_s).answerInput(u""_s);
             window->cmdEdit_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"W21A 0→41→42→100"_s, u"M15 0→41→43→100"_s, u" "_s}},
        {"renaming onto another row takes the new name",
         [&] {
             selectCourseRow(2);
             prompt.answerInput(u"w21a,0,41,100"_s).answerInput(u" m16 "_s);
             window->cmdEdit_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"W21A 0→41→42→100"_s, u"M16 0→41→100"_s, u" "_s}},
        {"an answer without a comma changes nothing",
         [&] {
             selectCourseRow(0);
             prompt.answerInput(u"M21A"_s);
             window->cmdEdit_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"W21A 0→41→42→100"_s, u"M16 0→41→100"_s, u" "_s}},
        {"editing the empty last row appends a new empty row",
         [&] {
             selectCourseRow(3);
             prompt.answerInput(u"OPEN,0,51,100"_s);
             window->cmdEdit_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"W21A 0→41→42→100"_s, u"M16 0→41→100"_s, u"OPEN 0→51→100"_s, u" "_s}},
        {"delete a row",
         [&] {
             selectCourseRow(1);
             window->cmdDelete_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"M16 0→41→100"_s, u"OPEN 0→51→100"_s, u" "_s}},
        {"the empty last row is not deleted",
         [&] {
             selectCourseRow(3);
             window->cmdDelete_Click();
         },
         {u"M21A 0→31→32→33→100"_s, u"M16 0→41→100"_s, u"OPEN 0→51→100"_s, u" "_s}},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(window->rowTexts(), s.rows) << s.what;
    }
    EXPECT_EQ(courseFile(), u"M21A,0,31,32,33,100\r\nW21A,0,31,33,100\r\n"_s)
        << "nothing is written before OK";
    window->cboRule()->setCurrentIndex(2);
    window->cmdOK_Click();
    EXPECT_EQ(courseFile(), u"M21A,0,31,32,33,100\r\nM16,0,41,100\r\nOPEN,0,51,100\r\n"_s);
    EXPECT_EQ(main->DataFolderControl()->PenacheckRule(), 0);
    EXPECT_EQ(basText::fromWindows31J(event.read(u"Brevanto2.ini"_s)),
              u"テスト大会\r\n2026/12/08\r\n0\r\n"_s);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(main->CourseDataTable()->CourseCount(), 3);
}

TEST_F(CourseSettingTest, OkWithOnlyTheEmptyRowWritesAnEmptyCourseFile) {
    openWindow();
    for (int i = 0; i < 2; ++i) {
        selectCourseRow(0);
        window->cmdDelete_Click();
    }
    window->cmdOK_Click();
    EXPECT_TRUE(event.exists(u"Course.txt"_s));
    EXPECT_TRUE(event.read(u"Course.txt"_s).isEmpty());
    EXPECT_EQ(main->CourseDataTable()->CourseCount(), 0);
}

} // namespace
