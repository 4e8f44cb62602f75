#include "ShellFixture.h"
#include "basText.h"
#include "clsEcardTagStock.h"
#include "clsFinishStation.h"
#include "clsOtherDataTable.h"
#include "clsResultManager.h"
#include "frmAddOtherResult.h"
#include "frmChangeCourse.h"
#include "frmChangeName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

const QString ReadKey = u"261208100000401001"_s;

struct EditingTest : ShellFixture {
    void SetUp() override {
        ecardTxt = cardLine(401001, coursePunches({31, 32, 33}, 100, 3000)) + u";\r\n"_s;
    }
    QString otherFile() { return basText::fromWindows31J(event.read(u"Other.txt"_s)); }
    // The stores the detail window and the main window give the dialogs: the station's edit.
    frmChangeCourse::Store classStore() {
        return [this](const std::optional<QStringList>& list, bool notCompete) {
            return main->station()->specifyClasses(ReadKey, list, notCompete);
        };
    }
    frmAddOtherResult::Store typedStore() {
        return [this](const clsFinishStation::TypedResult& typed) {
            return main->station()->addOtherResult(typed);
        };
    }
    frmChangeName::Store nameStore(std::shared_ptr<clsEcardTagData> tag) {
        return [this, tag](clsFinishStation::NameTarget target, const QString& runner, const QString& club) {
            return main->station()->changeName(*tag, target, runner, club);
        };
    }
    clsSpecificDataPtr specific() const { return main->OtherDataTable()->SpecificData(ReadKey); }
};

TEST_F(EditingTest, ClassDialogStartsFromTheReadsSpecificData) {
    struct Case {
        const char* what;
        QString other;
        bool specify, notCompete, listEnabled;
        QStringList selected;
    } cases[] = {
        {"no specific data", QString(), false, false, false, {}},
        {"a class list, one class no longer defined",
         u"SpecificData: UniqueKey=%1;CourseList=w21a,GONE;\r\n"_s.arg(ReadKey),
         true,
         false,
         true,
         {u"W21A"_s}},
        {"non-competitive only",
         u"SpecificData: UniqueKey=%1;NotCompete=True;\r\n"_s.arg(ReadKey),
         false,
         true,
         false,
         {}},
    };
    for (const Case& c : cases) {
        otherTxt = c.other;
        if (c.other.isEmpty())
            event.write(u"Other.txt"_s, QByteArray());
        open();
        frmChangeCourse dialog(*main->CourseDataTable(), specific(), classStore());
        EXPECT_EQ(dialog.windowTitle(), u"クラス指定"_s);
        EXPECT_EQ(dialog.chkCourse()->isChecked(), c.specify) << c.what;
        EXPECT_EQ(dialog.chkNotCompete()->isChecked(), c.notCompete) << c.what;
        EXPECT_EQ(dialog.lstCourse()->isEnabled(), c.listEnabled) << c.what;
        QStringList selected;
        for (auto* item : dialog.lstCourse()->selectedItems())
            selected << item->text();
        EXPECT_EQ(selected, c.selected) << c.what;
        dialog.chkCourse()->setChecked(!c.specify);
        EXPECT_EQ(dialog.lstCourse()->isEnabled(), !c.specify) << c.what;
        main.reset();
    }
}

TEST_F(EditingTest, AnEmptyClassListTakesTheReadOutOfEveryClass) {
    open();
    ASSERT_EQ(main->ResultManager()->ResultDataListOfEcard(ReadKey).size(), 1u);
    frmChangeCourse dialog(*main->CourseDataTable(), specific(), classStore());
    dialog.chkCourse()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(otherFile(), u"SpecificData: UniqueKey=%1;CourseList=;\r\n"_s.arg(ReadKey));
    EXPECT_TRUE(main->ResultManager()->ResultDataListOfEcard(ReadKey).empty());
}

TEST_F(EditingTest, ChosenClassesAndTheReferenceMarkAreStoredAndApplied) {
    open();
    frmChangeCourse dialog(*main->CourseDataTable(), specific(), classStore());
    dialog.chkCourse()->setChecked(true);
    dialog.lstCourse()->item(0)->setSelected(true);
    dialog.lstCourse()->item(1)->setSelected(true);
    dialog.chkNotCompete()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(otherFile(),
              u"SpecificData: UniqueKey=%1;CourseList=M21A,W21A;NotCompete=True;\r\n"_s.arg(ReadKey));
    const auto results = main->ResultManager()->ResultDataListOfEcard(ReadKey);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0]->Rank(), u"参考"_s);
    EXPECT_EQ(results[1]->CourseData()->CourseName(), u"W21A"_s);
    EXPECT_EQ(results[1]->Rank(), u"参考"_s);
}

TEST_F(EditingTest, OtherResultsAreNormalisedWhenTheyAreTimes) {
    open();
    struct Case {
        QString typed, stored;
        bool notCompete;
        QString line;
    } cases[] = {
        {u"12345"_s, u"01:23:45"_s, false,
         u"OtherResultData: Result=01:23:45;CourseName=W21A;NameData=森本 剛,山岳会;\r\n"_s},
        {u"23:45"_s, u"00:23:45"_s, true,
         u"OtherResultData: Result=00:23:45;CourseName=W21A;NameData=森本 剛,山岳会;NotCompete=True;\r\n"_s},
        {u"DNF"_s, u"DNF"_s, false,
         u"OtherResultData: Result=DNF;CourseName=W21A;NameData=森本 剛,山岳会;\r\n"_s},
    };
    QString expectedFile;
    for (const Case& c : cases) {
        frmAddOtherResult dialog(*main->CourseDataTable(), typedStore());
        EXPECT_EQ(dialog.windowTitle(), u"記録追加"_s);
        ASSERT_EQ(dialog.cboCourse()->count(), 2);
        dialog.cboCourse()->setCurrentIndex(1);
        dialog.txtName()->setText(u"森本 剛"_s);
        dialog.txtClub()->setText(u"山岳会"_s);
        dialog.txtResult()->setText(c.typed);
        dialog.chkNotCompete()->setChecked(c.notCompete);
        dialog.accept();
        expectedFile += c.line;
        EXPECT_EQ(otherFile(), expectedFile) << c.typed.toStdString();
        EXPECT_EQ(main->OtherDataTable()->OtherResultDataList().back()->Result, c.stored);
    }
    // The rebuild put them in W21A's list: the time first, then the reference, then DNF.
    const auto list = main->ResultManager()->ResultList(2);
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->ObjectItem<clsResultData>(1)->Rank(), u"参考"_s);
    EXPECT_EQ(list->ObjectItem<clsResultData>(2)->Rank(), u"1"_s);
    EXPECT_EQ(list->ObjectItem<clsResultData>(3)->Result(), u"DNF"_s);
}

TEST_F(EditingTest, NameChangeForThisReadOnlyOrForTheCardNumber) {
    open();
    const auto tag = main->TagStock()->TagTable().Item(1);
    {
        frmChangeName dialog(main->NameDataOfEcardTag(*tag), nameStore(tag));
        EXPECT_EQ(dialog.txtName()->text(), u"山田 太郎"_s);
        dialog.txtName()->setText(u"山田 次郎"_s);
        dialog.optThisRead()->setChecked(true);
        dialog.accept();
    }
    EXPECT_EQ(otherFile(), u"SpecificData: UniqueKey=%1;NameData=山田 次郎,東京OLクラブ;\r\n"_s.arg(ReadKey));
    EXPECT_EQ(main->ResultManager()->ResultDataListOfEcard(ReadKey)[0]->RunnerName(), u"山田 次郎"_s);
    {
        frmChangeName dialog(main->NameDataOfEcardTag(*tag), nameStore(tag));
        EXPECT_EQ(dialog.txtName()->text(), u"山田 次郎"_s) << "the read's own name applies";
        dialog.txtName()->setText(u"山田 三郎"_s);
        dialog.optDataFolder()->setChecked(true);
        dialog.accept();
    }
    EXPECT_TRUE(
        basText::fromWindows31J(event.read(u"Name.csv"_s)).endsWith(u"401001,山田 三郎,東京OLクラブ\r\n"_s));
    // The read's own name still wins over the name table.
    EXPECT_EQ(main->ResultManager()->ResultDataListOfEcard(ReadKey)[0]->RunnerName(), u"山田 次郎"_s);
}

} // namespace
