#include "ShellFixture.h"
#include "basBrevanto2.h"
#include "basText.h"
#include "clsEcardTagStock.h"
#include "clsFinishStation.h"
#include "clsNameDataTable.h"
#include "clsResultManager.h"
#include "ctlDataFolder.h"
#include "ctlSimpleNetwork.h"

#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const std::vector<int> M21A{31, 32, 33};
const std::vector<int> W21A{31, 33};

std::vector<QStringList> gridRows(const QTableWidget* grid) {
    std::vector<QStringList> rows;
    for (int r = 0; r < grid->rowCount(); ++r)
        rows.push_back({grid->item(r, 0)->text(), grid->item(r, 1)->text(), grid->item(r, 2)->text()});
    return rows;
}

TEST_F(ShellFixture, OpeningAFolderLoadsEverythingAndEnablesTheDataMenus) {
    ecardTxt = cardLine(401001, coursePunches(M21A, 100, 3000)) + u";\r\n"_s +
               cardLine(402001, coursePunches(W21A, 100, 2000), 1) + u";\r\n"_s + u"broken line\r\n"_s;
    // Before a folder, the data menus are off.
    settings = std::make_unique<clsMachineSettings>(home.file(u"machine.conf"_s));
    {
        frmMain fresh(&prompt, settings.get(), home.file(u"app"_s));
        for (const QString& text : {u"Ｅカード一覧表示(&T)"_s, u"名称・日程設定(&E)"_s, u"ファイル出力"_s,
                                    u"名前データ一覧表示(&N)"_s, u"他のパソコンからのコマンドを受け付ける"_s,
                                    u"クラス設定(&C)"_s, u"記録追加(&R)"_s})
            EXPECT_FALSE(fresh.action(text)->isEnabled()) << text.toStdString();
        EXPECT_FALSE(fresh.action(u"ラップ解析表示(&A)"_s)->isEnabled());
        EXPECT_FALSE(fresh.button(u"解析(F7)"_s)->isEnabled());
    }
    open();
    EXPECT_EQ(main->windowTitle(), basBrevanto2::windowCaption());
    EXPECT_EQ(main->lblReadCount()->text(), u"2枚"_s);
    EXPECT_EQ(main->lblNameCount()->text(), u"2件"_s);
    ASSERT_EQ(main->cboCourse()->count(), 2);
    EXPECT_EQ(main->cboCourse()->itemText(0), u"M21A"_s);
    EXPECT_EQ(main->cboCourse()->currentIndex(), -1);
    EXPECT_TRUE(main->grdResult()->isHidden());
    for (const QString& text :
         {u"Ｅカード一覧表示(&T)"_s, u"名称・日程設定(&E)"_s, u"ファイル出力"_s, u"名前データ一覧表示(&N)"_s,
          u"他のパソコンからのコマンドを受け付ける"_s, u"クラス設定(&C)"_s, u"記録追加(&R)"_s})
        EXPECT_TRUE(main->action(text)->isEnabled()) << text.toStdString();
    EXPECT_TRUE(main->action(u"ラップ解析表示(&A)"_s)->isEnabled());
    EXPECT_TRUE(main->button(u"解析(F7)"_s)->isEnabled());
    EXPECT_EQ(settings->value(u"LastFolder"_s), event.path() + u"/"_s);

    main->cboCourse()->setCurrentIndex(0);
    EXPECT_FALSE(main->grdResult()->isHidden());
    const std::vector<QStringList> expected{{u"1"_s, u"山田太郎"_s, u"0:50:00"_s}};
    EXPECT_EQ(gridRows(main->grdResult()), expected);
}

TEST_F(ShellFixture, EveryMenuHasItsTextAndAccelerator) {
    open();
    const QStringList menus{u"ファイル(&F)"_s,
                            u"フォルダを選択(&O)"_s,
                            u"ファイル出力"_s,
                            u"終了(&C)"_s,
                            u"表示(&V)"_s,
                            u"Ｅカード一覧表示(&T)"_s,
                            u"名前データ一覧表示(&N)"_s,
                            u"ラップ解析表示(&A)"_s,
                            u"設定(&S)"_s,
                            u"名称・日程設定(&E)"_s,
                            u"クラス設定(&C)"_s,
                            u"記録追加(&R)"_s,
                            u"オプション(&O)"_s,
                            u"起動時に前回のフォルダを開く"_s,
                            u"他のパソコンからのコマンドを受け付ける"_s};
    for (const QString& text : menus)
        EXPECT_NE(main->action(text), nullptr) << text.toStdString();
    for (const QString& text :
         {u"タグ一覧(F5)"_s, u"名前一覧(F6)"_s, u"解析(F7)"_s, u"出力(F8)"_s, u"うそ"_s})
        EXPECT_NE(main->button(text), nullptr) << text.toStdString();
    // The option is stored as the text True or False.
    main->action(u"起動時に前回のフォルダを開く"_s)->trigger();
    EXPECT_EQ(settings->value(u"OpenLastFolder"_s), u"True"_s);
    main->action(u"起動時に前回のフォルダを開く"_s)->trigger();
    EXPECT_EQ(settings->value(u"OpenLastFolder"_s), u"False"_s);
}

TEST_F(ShellFixture, ReopensTheLastFolderOnlyForExactlyTrue) {
    open();
    struct Case {
        QString stored;
        bool reopens;
    } cases[] = {{u"True"_s, true}, {u"true"_s, false}, {u"False"_s, false}, {QString(), false}};
    for (const Case& c : cases) {
        settings->setValue(u"OpenLastFolder"_s, c.stored);
        settings->setValue(u"LastFolder"_s, event.path() + u"/"_s);
        frmMain again(&prompt, settings.get(), home.file(u"app"_s));
        EXPECT_EQ(again.DataFolderControl()->FolderName().isEmpty(), !c.reopens) << c.stored.toStdString();
        EXPECT_EQ(again.action(u"起動時に前回のフォルダを開く"_s)->isChecked(), c.reopens);
    }
    // A last folder that is gone: no folder, the option stays ticked.
    settings->setValue(u"OpenLastFolder"_s, u"True"_s);
    settings->setValue(u"LastFolder"_s, home.file(u"gone/"_s));
    frmMain gone(&prompt, settings.get(), home.file(u"app"_s));
    EXPECT_TRUE(gone.DataFolderControl()->FolderName().isEmpty());
    EXPECT_TRUE(gone.action(u"起動時に前回のフォルダを開く"_s)->isChecked());
}

TEST_F(ShellFixture, EachCardReadShowsTheRunnerAndItsRankedResults) {
    open();
    struct Case {
        const char* what;
        qint32 number;
        std::vector<std::pair<int, int>> punches;
        QString nameLabel;
        QString resultLabel;
    } cases[] = {
        {"named runner, fitting M21A", 401001, coursePunches(M21A, 100, 3000),
         u"番号     401001\r\n氏名     山田 太郎\r\n所属     東京OLクラブ"_s,
         u"M21A     0:50:00    1位\r\n"_s},
        {"W21A is the best fit for its course", 402001, coursePunches(W21A, 100, 2000),
         u"番号     402001\r\n氏名     伊藤 花子\r\n所属     みちの会"_s, u"W21A     0:33:20    1位\r\n"_s},
        {"unknown runner, faster: first place", 403003, coursePunches(M21A, 100, 2900),
         u"番号     403003\r\n氏名     未登録"_s, u"M21A     0:48:20    1位\r\n"_s},
        {"a missed first control",
         401005,
         {{32, 1200}, {33, 1800}, {100, 2400}},
         u"番号     401005\r\n氏名     未登録"_s,
         u"M21A          P1  \r\n"_s},
        {"the last control missed",
         401006,
         {{31, 600}, {32, 1200}, {100, 2400}},
         u"番号     401006\r\n氏名     未登録"_s,
         u"M21A         DNF  \r\n"_s},
    };
    int reads = 0;
    for (const Case& c : cases) {
        feed(cardLine(c.number, c.punches, ++reads));
        EXPECT_EQ(main->NameLabelText(), c.nameLabel) << c.what;
        EXPECT_EQ(main->ResultLabelText(), c.resultLabel) << c.what;
        EXPECT_EQ(main->lblResult()->text(), QString(c.resultLabel).replace(u"\r\n"_s, u"\n"_s)) << c.what;
        EXPECT_EQ(ecardLines(), reads) << c.what;
        EXPECT_EQ(main->lblReadCount()->text(), QString::number(reads) + u"枚"_s) << c.what;
    }
    EXPECT_EQ(prompt.beeps(), reads);
    // The class list keeps its selection; the grid of M21A shows the ranking.
    main->cboCourse()->setCurrentIndex(0);
    const std::vector<QStringList> expected{{u"1"_s, u"(403003)"_s, u"0:48:20"_s},
                                            {u"2"_s, u"山田太郎"_s, u"0:50:00"_s},
                                            {QString(), u"(401005)"_s, u"P1"_s},
                                            {QString(), u"(401006)"_s, u"DNF"_s}};
    EXPECT_EQ(gridRows(main->grdResult()), expected);
}

TEST_F(ShellFixture, TheTwelfthPlaceLineLinesUp) {
    for (int i = 0; i < 11; ++i)
        ecardTxt += cardLine(405000 + i, coursePunches(M21A, 100, 3000 + 60 * i), i) + u";\r\n"_s;
    open();
    feed(cardLine(401001, coursePunches(M21A, 100, 3900), 30));
    EXPECT_EQ(main->ResultLabelText(), u"M21A     1:05:00   12位\r\n"_s);
}

TEST_F(ShellFixture, ACardReadTwiceShowsItsStoredResultsAndIsNotAppended) {
    open();
    const QString first = cardLine(401001, coursePunches(M21A, 100, 3000), 1);
    feed(first);
    feed(cardLine(402001, coursePunches(M21A, 100, 2800), 2));
    ASSERT_EQ(ecardLines(), 2);
    main->cboCourse()->setCurrentIndex(0);
    const auto before = gridRows(main->grdResult());
    // The same card again after another one: the unit delivers it, the store knows it.
    feed(first);
    EXPECT_EQ(main->ResultLabelText(), u"M21A     0:50:00    2位\r\n※読み込み済み"_s);
    EXPECT_EQ(main->NameLabelText(), u"番号     401001\r\n氏名     山田 太郎\r\n所属     東京OLクラブ"_s);
    EXPECT_EQ(ecardLines(), 2);
    EXPECT_EQ(main->lblReadCount()->text(), u"2枚"_s);
    EXPECT_EQ(gridRows(main->grdResult()), before);
    EXPECT_EQ(main->TagStock()->TagTable().Count(), 2);
}

TEST_F(ShellFixture, ANonCompetitiveReadShowsReferenceInsteadOfARank) {
    const QString line = cardLine(401001, coursePunches(M21A, 100, 3000), 0);
    ecardTxt = line + u";\r\n"_s + cardLine(402001, coursePunches(M21A, 100, 3100), 1) + u";\r\n"_s;
    otherTxt = u"SpecificData: UniqueKey=261208100000401001;NotCompete=True;\r\n"_s;
    open();
    main->cboCourse()->setCurrentIndex(0);
    const std::vector<QStringList> expected{{u"参考"_s, u"山田太郎"_s, u"0:50:00"_s},
                                            {u"1"_s, u"伊藤花子"_s, u"0:51:40"_s}};
    EXPECT_EQ(gridRows(main->grdResult()), expected);
    feed(line);
    EXPECT_EQ(main->ResultLabelText(), u"M21A     0:50:00  参考\r\n※読み込み済み"_s);
}

TEST_F(ShellFixture, ReadingAndTestCommandFillTheLabels) {
    open();
    main->onReading(401739);
    EXPECT_EQ(main->NameLabelText(), u"[番号] 401739"_s);
    EXPECT_TRUE(main->ResultLabelText().isEmpty());
    main->button(u"うそ"_s)->click();
    EXPECT_EQ(main->NameLabelText(), u"番号     401739\r\n氏名     未登録"_s);
    EXPECT_EQ(main->CardLabelText(), u"\r\n"_s);
    ASSERT_NE(main->lastTag(), nullptr);
    EXPECT_EQ(main->lastTag()->EcardNo(), 401739);
    EXPECT_EQ(ecardLines(), 1);
}

TEST_F(ShellFixture, PeerRequestsRegisterNamesAndRenameTheResults) {
    ecardTxt = cardLine(403003, coursePunches(M21A, 100, 3000)) + u";\r\n"_s;
    open();
    clsFinishStation* station = main->station();
    struct Case {
        QString target, option, answer;
        qint32 number;
        QString runner;
        const char* file; // Name.csv that must hold the line, or nothing
    } cases[] = {
        {u"FolderNameData"_s, u"403003, 小林 翔太 ,名古屋大学OLC,余分"_s, u"OK"_s, 403003, u"小林 翔太"_s,
         "event"},
        {u"ApplicationNameData"_s, u"404001,吉田 和子,一般"_s, u"OK"_s, 404001, u"吉田 和子"_s, "app"},
        {u"SomethingElse"_s, u"405001,誰か,どこか"_s, QString(), 405001, QString(), nullptr},
        {u"FolderNameData"_s, u"x,番号なし,どこか"_s, QString(), 0, QString(), nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(station->answerRequest(c.target, c.option), c.answer) << c.option.toStdString();
        const auto name = main->NameDataTable()->NameData(c.number);
        EXPECT_EQ(name ? name->RunnerName : QString(), c.runner) << c.option.toStdString();
    }
    EXPECT_TRUE(
        basText::fromWindows31J(event.read(u"Name.csv"_s)).contains(u"403003,小林 翔太,名古屋大学OLC\r\n"_s));
    EXPECT_TRUE(basText::fromWindows31J(home.read(u"app/Name.csv"_s))
                    .startsWith(u"Ｅカード番号,名前,所属\r\n404001,吉田 和子,一般\r\n"_s));
    // The stored read's result now carries the name.
    const auto results = main->ResultManager()->ResultDataListOfEcardAll(403003);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0]->RunnerName(), u"小林 翔太"_s);
    EXPECT_EQ(main->lblNameCount()->text(), u"4件"_s);
}

TEST_F(ShellFixture, ThePeerLinkMenuServesNameRegistrationsOverTcp) {
    open();
    QAction* listen = main->action(u"他のパソコンからのコマンドを受け付ける"_s);
    listen->trigger();
    ASSERT_TRUE(main->Network()->IsListen());
    EXPECT_TRUE(listen->isChecked());
    const quint16 port = main->Network()->ListenPort();

    ctlSimpleNetwork client;
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QString answer = u"none"_s;
    QObject::connect(&client, &ctlSimpleNetwork::Connected, [&] {
        client.SendRequestToRemote(u"FolderNameData"_s, u"409999,新人 太郎,テストクラブ"_s);
    });
    QObject::connect(&client, &ctlSimpleNetwork::DataAnswered, [&](qint32, const QString& a) {
        answer = a;
        loop.quit();
    });
    client.OpenLink(u"127.0.0.1"_s, port);
    loop.exec();
    EXPECT_EQ(answer, u"OK"_s);
    ASSERT_NE(main->NameDataTable()->NameData(409999), nullptr);
    EXPECT_EQ(main->NameDataTable()->NameData(409999)->ClubName, u"テストクラブ"_s);
    client.CloseLink();

    listen->trigger();
    EXPECT_FALSE(main->Network()->IsListen());
    EXPECT_FALSE(listen->isChecked());
}

} // namespace
