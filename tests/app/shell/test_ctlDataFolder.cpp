#include "ScriptedPrompt.h"
#include "TestFolder.h"
#include "basDate.h"
#include "basText.h"
#include "clsMachineSettings.h"
#include "ctlDataFolder.h"
#include "frmEventSetting.h"

#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct DataFolderTest : ::testing::Test {
    TestFolder home;
    TestFolder event;
    clsMachineSettings settings{home.file(u"machine.conf"_s)};
    ScriptedPrompt prompt;
    ctlDataFolder folder{&prompt, &settings};
};

TEST_F(DataFolderTest, CancelledChoiceOpensNothing) {
    int opened = 0;
    QObject::connect(&folder, &ctlDataFolder::Opened, [&] { ++opened; });
    prompt.answerOpenFile(std::nullopt);
    EXPECT_FALSE(folder.SelectFolder(QString()));
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(folder.FolderName().isEmpty());
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, u"データフォルダ選択"_s);
    EXPECT_TRUE(settings.value(u"LastFolder"_s).isEmpty());
}

TEST_F(DataFolderTest, ChoosingEcardTxtInAnEmptyFolderOpensItWithDefaultsAndWritesNothing) {
    int opened = 0;
    QObject::connect(&folder, &ctlDataFolder::Opened, [&] { ++opened; });
    prompt.answerOpenFile(event.file(u"Ecard.txt"_s));
    EXPECT_TRUE(folder.SelectFolder(QString()));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(folder.FolderName(), event.path() + u"/"_s);
    EXPECT_EQ(settings.value(u"LastFolder"_s), event.path() + u"/"_s);
    EXPECT_EQ(folder.EventName(), u"名称未設定"_s);
    EXPECT_EQ(folder.EventDate(), 0);
    EXPECT_EQ(folder.PenacheckRule(), -9);
    EXPECT_TRUE(QDir(event.path()).isEmpty());
}

TEST_F(DataFolderTest, OpeningReadsTheIniAndSettingChangesRewriteItWhole) {
    event.write(u"Brevanto2.ini"_s, basText::toWindows31J(u"秋季大会\r\n2025/10/12\r\n0\r\n"));
    ASSERT_TRUE(folder.SelectFolder(event.path() + u"/"_s));
    EXPECT_EQ(folder.EventName(), u"秋季大会"_s);
    EXPECT_EQ(folder.EventDate(), basDate::dateSerial(2025, 10, 12));
    EXPECT_EQ(folder.PenacheckRule(), 0);

    folder.setPenacheckRule(3);
    EXPECT_EQ(event.read(u"Brevanto2.ini"_s), basText::toWindows31J(u"秋季大会\r\n2025/10/12\r\n3\r\n"));
    folder.SetEventSetting(u"冬季大会"_s, basDate::dateSerial(2026, 1, 2));
    EXPECT_EQ(event.read(u"Brevanto2.ini"_s), basText::toWindows31J(u"冬季大会\r\n2026/01/02\r\n3\r\n"));
}

TEST_F(DataFolderTest, FileManagerFailureIsShown) {
    ASSERT_TRUE(folder.SelectFolder(event.path() + u"/"_s));
    QString shown;
    folder.setOpener([&](const QString& f) {
        shown = f;
        return u"起動できません"_s;
    });
    prompt.answerMessage(UserPrompt::Ok);
    folder.showInFileManager();
    EXPECT_EQ(shown, event.path() + u"/"_s);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, u"起動できません"_s);
}

TEST_F(DataFolderTest, EventDialogShowsTodayForNoDateAndStoresWhatIsTyped) {
    const QDateTime fixed(QDate(2026, 12, 8), QTime(9, 30));
    basDate::setClock([&] { return fixed; });
    ASSERT_TRUE(folder.SelectFolder(event.path() + u"/"_s));
    struct Case {
        QString typedDate;
        double stored;
    } cases[] = {
        {u"2026/12/24"_s, basDate::dateSerial(2026, 12, 24)},
        {u"明日"_s, 0},
    };
    for (const Case& c : cases) {
        frmEventSetting dialog(&folder);
        EXPECT_EQ(dialog.txtName()->text(), folder.EventName());
        if (folder.EventDate() == 0) {
            EXPECT_EQ(dialog.txtDate()->text(), u"2026/12/08"_s);
        }
        dialog.txtName()->setText(u"クリスマス大会"_s);
        dialog.txtDate()->setText(c.typedDate);
        dialog.accept();
        EXPECT_EQ(folder.EventName(), u"クリスマス大会"_s);
        EXPECT_EQ(folder.EventDate(), c.stored) << c.typedDate.toStdString();
    }
    basDate::setClock({});
    EXPECT_EQ(event.read(u"Brevanto2.ini"_s),
              basText::toWindows31J(u"クリスマス大会\r\n1899/12/30\r\n-9\r\n"));
}

} // namespace
