#include "frmMain.h"

#include "UserPrompt.h"
#include "basBrevanto2.h"
#include "basResultText.h"
#include "basRuntime.h"
#include "basText.h"
#include "basTicketPrinter.h"
#include "basWaitCursor.h"
#include "clsCourseDataTable.h"
#include "clsEcard250FrameReader.h"
#include "clsEcardTagStock.h"
#include "clsFinishStation.h"
#include "clsLivePublisher.h"
#include "clsMachineSettings.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"
#include "clsQuorvelin2.h"
#include "clsResultManager.h"
#include "clsTicketPrinter.h"
#include "ctlDataFolder.h"
#include "ctlEcard250Reader.h"
#include "ctlSimpleNetwork.h"
#include "frmAddOtherResult.h"
#include "frmCourseSetting.h"
#include "frmEcardList.h"
#include "frmEcardView.h"
#include "frmEventSetting.h"
#include "frmExportTypeSelect.h"
#include "frmLapView.h"
#include "frmNameList.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The fixed sample line of the test command.
const QString SampleLine =
    u"03/05/14 23:53:45, Card No. (401739), (2002,Week 37), 0, 00:00:00, 76, 00:22:02, 47, 00:25:13, 35, "
    u"00:35:37, 38, 00:46:42, 41, 00:48:53, 42, 00:55:48, 62, 01:08:34, 49, 01:15:51, 60, 01:18:17, 58, "
    u"01:23:59, 52, 01:28:46, 51, 01:34:30, 78, 01:41:26, 64, 01:48:39, 100, 01:50:30, 80, 01:53:11, 250, "
    u"01:53:17"_s;

QString shown(const QString& text) {
    return QString(text).replace(u"\r\n"_s, u"\n"_s);
}

QFont monospaceJapanese() {
    QFont font(u"Noto Sans Mono CJK JP"_s);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(12);
    return font;
}

} // namespace

frmMain::frmMain(UserPrompt* prompt, clsMachineSettings* settings, const QString& applicationFolder,
                 QWidget* parent)
    : QMainWindow(parent), m_prompt(prompt), m_settings(settings) {
    // Load: settings key, the core objects, the grid, the caption, the last folder.
    m_settings->ensureKey();
    m_station = new clsFinishStation(prompt, applicationFolder, this);
    m_network = new ctlSimpleNetwork(this);
    setWindowTitle(basBrevanto2::windowCaption());

    auto* central = new QWidget(this);
    auto* top = new QVBoxLayout(central);
    m_folder = new ctlDataFolder(prompt, settings, central);
    top->addWidget(m_folder);
    m_reader = new ctlEcard250Reader(central);
    top->addWidget(m_reader);
    m_waitLabel = new QLabel(u"しばらくお待ちください ..."_s, central);
    m_waitLabel->setAlignment(Qt::AlignCenter);
    m_waitLabel->hide();
    top->addWidget(m_waitLabel);

    m_mainPanel = new QWidget(central);
    top->addWidget(m_mainPanel, 1);
    auto* panel = new QHBoxLayout(m_mainPanel);
    auto* left = new QVBoxLayout;
    panel->addLayout(left, 3);
    auto* right = new QVBoxLayout;
    panel->addLayout(right, 2);

    m_lblCard = new QLabel(m_mainPanel);
    m_lblName = new QLabel(m_mainPanel);
    m_lblResult = new QLabel(m_mainPanel);
    m_lblResult->setFont(monospaceJapanese());
    QFont nameFont = m_lblName->font();
    nameFont.setPointSize(16);
    nameFont.setBold(true);
    m_lblName->setFont(nameFont);
    for (QLabel* l : {m_lblCard, m_lblName, m_lblResult}) {
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setMinimumHeight(48);
        l->installEventFilter(this);
        left->addWidget(l);
    }
    left->setStretchFactor(m_lblResult, 1);
    m_lblName->setMinimumHeight(3 * QFontMetrics(nameFont).lineSpacing() + 8);
    m_lblResult->setMinimumHeight(140);

    auto* counts = new QGridLayout;
    m_lblReadCaption = new QLabel(u"読み込み数"_s, m_mainPanel);
    m_lblReadCount = new QLabel(basResultText::readCountText(0), m_mainPanel);
    m_lblNameCaption = new QLabel(u"名前データ数"_s, m_mainPanel);
    m_lblNameCount = new QLabel(basResultText::nameCountText(0), m_mainPanel);
    m_lblReadCaption->installEventFilter(this);
    m_lblNameCaption->installEventFilter(this);
    counts->addWidget(m_lblReadCaption, 0, 0);
    counts->addWidget(m_lblReadCount, 0, 1);
    counts->addWidget(m_lblNameCaption, 1, 0);
    counts->addWidget(m_lblNameCount, 1, 1);
    left->addLayout(counts);

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const QString& text, auto slot) {
        auto* b = new QPushButton(text, m_mainPanel);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    addButton(u"タグ一覧(F5)"_s, &frmMain::mnuEcardList_Click)->setShortcut(Qt::Key_F5);
    addButton(u"名前一覧(F6)"_s, &frmMain::mnuNameList_Click)->setShortcut(Qt::Key_F6);
    m_cmdLapView = addButton(u"解析(F7)"_s, &frmMain::mnuLapView_Click);
    m_cmdLapView->setShortcut(Qt::Key_F7);
    // The analysis needs the classes of an open data folder, like the data menus.
    m_cmdLapView->setEnabled(false);
    addButton(u"出力(F8)"_s, &frmMain::mnuExport_Click)->setShortcut(Qt::Key_F8);
    addButton(u"うそ"_s, &frmMain::cmdTest_Click);
    left->addLayout(buttons);

    m_cboCourse = new QComboBox(m_mainPanel);
    right->addWidget(m_cboCourse);
    right->addWidget(new QLabel(u"↑クラスを選択してください"_s, m_mainPanel));
    m_grdResult = new QTableWidget(0, 3, m_mainPanel);
    m_grdResult->setHorizontalHeaderLabels({u"順位"_s, u"氏名"_s, u"記録"_s});
    m_grdResult->verticalHeader()->setVisible(false);
    m_grdResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdResult->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdResult->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_grdResult->hide();
    right->addWidget(m_grdResult, 1);
    connect(m_cboCourse, &QComboBox::currentIndexChanged, this, [this] { fillGrid(); });
    connect(m_grdResult, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        const auto list = ResultManager()->ResultList(m_cboCourse->currentIndex() + 1);
        if (!list || row < 0 || row >= list->Count())
            return;
        showEcardView(list->ObjectItem<clsResultData>(row + 1)->TagData());
    });
    setCentralWidget(central);
    buildMenus();

    connect(m_folder, &ctlDataFolder::Opened, this, &frmMain::onOpened);
    connect(m_network, &ctlSimpleNetwork::ListenStarted, this, [this] { m_mnuListen->setChecked(true); });
    connect(m_network, &ctlSimpleNetwork::ListenStopped, this, [this] { m_mnuListen->setChecked(false); });
    connect(m_network, &ctlSimpleNetwork::ListenFailed, this, [this] {
        m_mnuListen->setChecked(m_network->IsListen());
        if (!m_network->IsListen())
            m_prompt->message(u"ポート "_s + QString::number(m_peerPort) + u" で接続を待ち受けられません"_s,
                              UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation, QString());
    });
    connect(m_network, &ctlSimpleNetwork::DataRequested, this,
            [this](const QString& target, const QString& option, int, QString& answer) {
                answer = m_station->answerRequest(target, option);
            });
    connect(m_station, &clsFinishStation::namesChanged, this, [this] { RefreshView(false); });
    connect(m_reader, &ctlEcard250Reader::Reading, this, &frmMain::onReading);
    connect(m_reader, &ctlEcard250Reader::ReadTag, this, &frmMain::onReadTag);
    connect(m_reader, &ctlEcard250Reader::ComPortChanged, this, [this](int port) {
        m_settings->setValue(clsMachineSettings::ComPortValue, QString::number(port));
    });
    const double port = basRuntime::roundHalfEven(
        basRuntime::leadingNumber(m_settings->value(clsMachineSettings::ComPortValue)));
    if (port >= 1 && port <= ctlEcard250Reader::MaxComPort)
        m_reader->setComPort(static_cast<int>(port));
    resize(980, 640);

    if (m_settings->value(clsMachineSettings::OpenLastFolderValue) == u"True"_s) {
        const QString last = m_settings->value(clsMachineSettings::LastFolderValue);
        if (!last.isEmpty() && QDir(last).exists())
            m_folder->SelectFolder(last);
        m_mnuOpenLast->setChecked(true);
    }
}

frmMain::~frmMain() = default;

void frmMain::buildMenus() {
    const auto add = [this](QMenu* menu, const QString& text, auto slot) {
        QAction* a = menu->addAction(text);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* file = menuBar()->addMenu(u"ファイル(&F)"_s);
    add(file, u"フォルダを選択(&O)"_s, [this] { m_folder->SelectFolder(QString()); });
    QAction* exportFile = add(file, u"ファイル出力"_s, &frmMain::mnuExport_Click);
    add(file, u"終了(&C)"_s, [this] { close(); });
    QMenu* view = menuBar()->addMenu(u"表示(&V)"_s);
    QAction* cards = add(view, u"Ｅカード一覧表示(&T)"_s, &frmMain::mnuEcardList_Click);
    QAction* names = add(view, u"名前データ一覧表示(&N)"_s, &frmMain::mnuNameList_Click);
    QAction* lapView = add(view, u"ラップ解析表示(&A)"_s, &frmMain::mnuLapView_Click);
    QMenu* setting = menuBar()->addMenu(u"設定(&S)"_s);
    QAction* event = add(setting, u"名称・日程設定(&E)"_s, &frmMain::mnuEventSetting_Click);
    QAction* course = add(setting, u"クラス設定(&C)"_s, &frmMain::mnuCourseSetting_Click);
    QAction* other = add(setting, u"記録追加(&R)"_s, &frmMain::mnuAddOtherResult_Click);
    QMenu* option = menuBar()->addMenu(u"オプション(&O)"_s);
    m_mnuOpenLast = option->addAction(u"起動時に前回のフォルダを開く"_s);
    m_mnuOpenLast->setCheckable(true);
    connect(m_mnuOpenLast, &QAction::triggered, this, [this] {
        m_settings->setValue(clsMachineSettings::OpenLastFolderValue,
                             m_mnuOpenLast->isChecked() ? u"True"_s : u"False"_s);
    });
    m_mnuListen = add(option, u"他のパソコンからのコマンドを受け付ける"_s, &frmMain::mnuListen_Click);
    m_mnuListen->setCheckable(true);
    buildPublishing(option);
    m_dataMenus = {cards, event, exportFile, names, lapView, m_mnuListen, course, other};
    for (QAction* a : m_dataMenus)
        a->setEnabled(false);
    buildTicketMenus(option);
}

void frmMain::buildTicketMenus(QMenu* option) {
    m_tickets = new clsTicketPrinter(this);
    m_tickets->readSettings(*m_settings);
    // The status line is there from the start, so that a message does not move the window's panels.
    statusBar();
    // Said once in the status line; the reading goes on.
    connect(m_tickets, &clsTicketPrinter::failed, this,
            [this](const QString& why) { statusBar()->showMessage(why); });
    connect(m_tickets, &clsTicketPrinter::printed, this, [this] {
        if (statusBar()->currentMessage().startsWith(u"ラップ票を印刷できません"_s))
            statusBar()->clearMessage();
    });
    const auto chosen = [this] {
        statusBar()->showMessage(u"ラップ票の印刷先: "_s + QDir::toNativeSeparators(m_tickets->destination()),
                                 5000);
    };
    option->addSeparator();
    QAction* on = option->addAction(u"ラップ票を印刷する"_s);
    on->setCheckable(true);
    on->setChecked(m_tickets->isEnabled());
    connect(on, &QAction::triggered, this, [this](bool checked) {
        m_tickets->setEnabled(checked);
        m_settings->setValue(clsMachineSettings::PrintLapTicketValue, checked ? u"True"_s : u"False"_s);
    });
    QMenu* target = option->addMenu(u"ラップ票の印刷先"_s);
    connect(target->addAction(u"プリンタを選択..."_s), &QAction::triggered, this, [this, chosen] {
        const auto printer = basTicketPrinter::choosePrinter(
            m_tickets->target() == clsTicketPrinter::Target::Printer ? m_tickets->destination() : QString(),
            this);
        if (!printer)
            return;
        m_tickets->setPrinter(*printer);
        m_settings->setValue(clsMachineSettings::LapTicketPrinterValue, *printer);
        chosen();
    });
    connect(target->addAction(u"フォルダを選択..."_s), &QAction::triggered, this, [this, chosen] {
        const auto folder = m_prompt->chooseFolder(
            u"ラップ票のフォルダ"_s,
            m_tickets->target() == clsTicketPrinter::Target::Folder ? m_tickets->destination() : QString());
        if (!folder || folder->isEmpty())
            return;
        m_tickets->setFolder(*folder);
        m_settings->setValue(clsMachineSettings::LapTicketFolderValue, *folder);
        // The folder wins over a printer chosen before.
        m_settings->setValue(clsMachineSettings::LapTicketPrinterValue, QString());
        chosen();
    });
    QMenu* paper = option->addMenu(u"ラップ票の用紙幅"_s);
    auto* papers = new QActionGroup(paper);
    for (const clsLapTicket::Paper p : {clsLapTicket::Paper::Roll80, clsLapTicket::Paper::Roll58}) {
        const QString mm = QString::number(static_cast<int>(p));
        QAction* a = paper->addAction(mm + u" mm"_s);
        a->setCheckable(true);
        a->setChecked(m_tickets->paper() == p);
        papers->addAction(a);
        connect(a, &QAction::triggered, this, [this, p, mm] {
            m_tickets->setPaper(p);
            m_settings->setValue(clsMachineSettings::LapTicketPaperValue, mm);
        });
    }
    QAction* reprint = option->addAction(u"ラップ票を再印刷"_s);
    connect(reprint, &QAction::triggered, this, [this] { reprintTicket(lastTag()); });
    reprint->setEnabled(false);
    m_dataMenus << reprint;
}

void frmMain::reprintTicket(const std::shared_ptr<clsEcardTagData>& tag) {
    if (!tag)
        return;
    const auto ticket = clsLapTicket::make(*m_station, tag, m_folder->EventName(), m_folder->EventDate());
    if (!ticket) {
        statusBar()->showMessage(u"このＥカード記録には記録がありません"_s, 5000);
        return;
    }
    QString error;
    if (m_tickets->print(*ticket, &error))
        statusBar()->showMessage(u"ラップ票を再印刷しました"_s, 5000);
    else
        m_prompt->message(error, UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation,
                          u"ラップ票を再印刷"_s);
}

void frmMain::buildPublishing(QMenu* option) {
    m_publisher = new clsLivePublisher(
        m_station, [this] { return Quorvelin2Object(); }, this);
    connect(m_reader, &ctlEcard250Reader::Reading, m_publisher, &clsLivePublisher::cardArriving);
    // Shown once; reading goes on, and the next write that succeeds takes the message away.
    connect(m_publisher, &clsLivePublisher::publishFailed, this,
            [this](const QString& why) { statusBar()->showMessage(why); });
    connect(m_publisher, &clsLivePublisher::publishRecovered, this, [this] { statusBar()->clearMessage(); });
    option->addSeparator();
    m_mnuPublish = option->addAction(u"結果を自動公開する"_s);
    m_mnuPublish->setCheckable(true);
    connect(m_mnuPublish, &QAction::triggered, this, &frmMain::mnuPublish_Click);
    m_mnuPublishAnalysis = option->addAction(u"解析ページも公開する"_s);
    m_mnuPublishAnalysis->setCheckable(true);
    connect(m_mnuPublishAnalysis, &QAction::triggered, this, &frmMain::mnuPublishAnalysis_Click);

    m_mnuPublishAnalysis->setChecked(m_settings->value(clsMachineSettings::PublishAnalysisValue) ==
                                     u"True"_s);
    m_publisher->setAnalysisPages(m_mnuPublishAnalysis->isChecked());
    const QString folder = m_settings->value(clsMachineSettings::PublishFolderValue);
    if (m_settings->value(clsMachineSettings::PublishResultsValue) == u"True"_s && !folder.isEmpty()) {
        m_publisher->setFolder(folder);
        m_mnuPublish->setChecked(true);
    }
}

void frmMain::mnuPublish_Click() {
    if (m_publisher->isEnabled()) {
        m_publisher->setFolder(QString());
        statusBar()->clearMessage();
    } else {
        const std::optional<QString> folder = m_prompt->chooseFolder(
            u"公開先フォルダ選択"_s, m_settings->value(clsMachineSettings::PublishFolderValue));
        if (folder && !folder->isEmpty()) {
            m_settings->setValue(clsMachineSettings::PublishFolderValue, *folder);
            m_publisher->setFolder(*folder);
        }
    }
    m_mnuPublish->setChecked(m_publisher->isEnabled());
    m_settings->setValue(clsMachineSettings::PublishResultsValue,
                         m_publisher->isEnabled() ? u"True"_s : u"False"_s);
}

void frmMain::mnuPublishAnalysis_Click() {
    m_publisher->setAnalysisPages(m_mnuPublishAnalysis->isChecked());
    m_settings->setValue(clsMachineSettings::PublishAnalysisValue,
                         m_mnuPublishAnalysis->isChecked() ? u"True"_s : u"False"_s);
}

QAction* frmMain::action(const QString& text) const {
    for (QAction* a : findChildren<QAction*>())
        if (a->text() == text)
            return a;
    return nullptr;
}

QPushButton* frmMain::button(const QString& text) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

const std::shared_ptr<clsEcardTagStock>& frmMain::TagStock() const {
    return m_station->TagStock();
}
const std::shared_ptr<clsNameDataTable>& frmMain::NameDataTable() const {
    return m_station->NameDataTable();
}
const std::shared_ptr<clsCourseDataTable>& frmMain::CourseDataTable() const {
    return m_station->CourseDataTable();
}
const std::shared_ptr<clsOtherDataTable>& frmMain::OtherDataTable() const {
    return m_station->OtherDataTable();
}
const std::shared_ptr<clsResultManager>& frmMain::ResultManager() const {
    return m_station->ResultManager();
}

std::shared_ptr<clsQuorvelin2> frmMain::Quorvelin2Object() const {
    return m_station->Quorvelin2Object(m_folder->EventName(), m_folder->EventDate(), windowTitle());
}

clsNameDataPtr frmMain::NameDataOfEcardTag(const clsEcardTagData& TagData) const {
    return m_station->NameDataOfEcardTag(TagData);
}

std::shared_ptr<clsEcardTagData> frmMain::lastTag() const {
    return m_station->lastTag();
}

void frmMain::RefreshData() {
    m_station->setPenacheckRule(m_folder->PenacheckRule());
    m_station->RefreshData();
}

void frmMain::RefreshView(bool RefreshCourseList) {
    if (RefreshCourseList) {
        const QSignalBlocker block(m_cboCourse);
        m_cboCourse->clear();
        for (const auto& entry : CourseDataTable()->CourseList())
            m_cboCourse->addItem(entry.value->CourseName());
        m_cboCourse->setCurrentIndex(-1);
    }
    fillGrid();
    m_lblReadCount->setText(basResultText::readCountText(TagStock()->TagTable().Count()));
    m_lblNameCount->setText(basResultText::nameCountText(NameDataTable()->NameDataTable().Count()));
}

void frmMain::rebuildAndRedraw(bool RefreshCourseList) {
    basWaitCursor::run([&] {
        RefreshData();
        RefreshView(RefreshCourseList);
    });
}

void frmMain::fillGrid() {
    const int position = m_cboCourse->currentIndex() + 1;
    const auto list = position >= 1 && position <= CourseDataTable()->CourseCount()
                          ? ResultManager()->ResultList(position)
                          : nullptr;
    if (!list) {
        m_grdResult->hide();
        return;
    }
    m_grdResult->setRowCount(list->Count());
    for (int i = 1; i <= list->Count(); ++i) {
        const auto r = list->ObjectItem<clsResultData>(i);
        auto* rank = new QTableWidgetItem(r->Rank());
        rank->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* name = new QTableWidgetItem(basText::removeSpaces(r->RunnerName()));
        auto* record = new QTableWidgetItem(r->Result());
        record->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grdResult->setItem(i - 1, 0, rank);
        m_grdResult->setItem(i - 1, 1, name);
        m_grdResult->setItem(i - 1, 2, record);
    }
    m_grdResult->resizeColumnToContents(0);
    m_grdResult->resizeColumnToContents(2);
    m_grdResult->show();
}

void frmMain::setLabel(QLabel* label, const QString& text) {
    label->setText(shown(text));
    label->repaint();
}

void frmMain::onOpened() {
    m_mainPanel->hide();
    m_waitLabel->show();
    m_waitLabel->repaint();
    basWaitCursor::run([this] {
        m_station->openFolder(m_folder->FolderName(), m_folder->PenacheckRule());
        m_cardText.clear();
        m_nameText.clear();
        m_resultText.clear();
        setLabel(m_lblCard, m_cardText);
        setLabel(m_lblName, m_nameText);
        setLabel(m_lblResult, m_resultText);
        RefreshView(true);
    });
    m_waitLabel->hide();
    for (QAction* a : m_dataMenus)
        a->setEnabled(true);
    m_cmdLapView->setEnabled(true);
    m_reader->Connect();
    m_mainPanel->show();
}

void frmMain::onReading(qint32 EcardNo) {
    m_nameText = basResultText::readingText(EcardNo);
    m_resultText.clear();
    m_cardText.clear();
    setLabel(m_lblName, m_nameText);
    setLabel(m_lblResult, m_resultText);
    setLabel(m_lblCard, m_cardText);
}

void frmMain::onReadTag(std::shared_ptr<clsEcardTagData> TagData) {
    m_prompt->beep();
    // No folder, no store to keep the read in.
    if (m_folder->FolderName().isEmpty())
        return;
    const clsFinishStation::ReadOutcome out = m_station->readTag(std::move(TagData));
    m_cardText = out.cardLabel;
    m_nameText = out.nameLabel;
    m_resultText = out.resultsLabel;
    setLabel(m_lblCard, m_cardText);
    setLabel(m_lblName, m_nameText);
    setLabel(m_lblResult, m_resultText);
    if (!out.hasRead)
        RefreshView(false);
    // Queued: it is printed once the window shows the read.
    m_tickets->afterRead(*m_station, out, m_folder->EventName(), m_folder->EventDate());
}

void frmMain::attachReader(clsEcard250FrameReader* reader) {
    connect(reader, &clsEcard250FrameReader::Reading, this, &frmMain::onReading);
    connect(reader, &clsEcard250FrameReader::Reading, m_publisher, &clsLivePublisher::cardArriving);
    connect(reader, &clsEcard250FrameReader::ReadTag, this, &frmMain::onReadTag);
}

void frmMain::cmdTest_Click() {
    auto tag = std::make_shared<clsEcardTagData>();
    tag->setRegnlyFormat(SampleLine);
    onReadTag(tag);
}

void frmMain::showEcardView(const std::shared_ptr<clsEcardTagData>& tag) {
    if (!tag)
        return;
    frmEcardView view(
        *m_station, tag, [this] { RefreshView(false); }, this);
    view.setReprint([this, tag] { reprintTicket(tag); });
    view.exec();
}

void frmMain::mnuEcardList_Click() {
    frmEcardList list(
        *m_station, [this](const auto& tag) { showEcardView(tag); }, this);
    list.exec();
}

void frmMain::mnuNameList_Click() {
    frmNameList list(
        *m_station, [this](const auto& tag) { showEcardView(tag); }, this);
    list.exec();
}

void frmMain::mnuEventSetting_Click() {
    frmEventSetting dialog(m_folder, this);
    dialog.exec();
}

static std::vector<frmCourseSetting::CardRow> cardRowsOf(const frmMain& main) {
    std::vector<frmCourseSetting::CardRow> rows;
    for (const auto& entry : main.TagStock()->TagTable()) {
        const auto& tag = entry.value;
        frmCourseSetting::CardRow row;
        row.EcardNo = tag->EcardNo();
        if (const auto name = main.NameDataOfEcardTag(*tag))
            row.RunnerName = basText::removeSpaces(name->RunnerName);
        row.Codes << u"0"_s;
        for (int i = 2; i <= clsEcardTagData::RecordCount && tag->ControlNum(i) != 0; ++i)
            row.Codes << QString::number(tag->ControlNum(i));
        rows.push_back(row);
    }
    return rows;
}

void frmMain::mnuCourseSetting_Click() {
    frmCourseSetting dialog(
        cardRowsOf(*this), CourseDataTable().get(), m_folder, m_prompt,
        [this] {
            RefreshData();
            RefreshView(true);
        },
        this);
    dialog.exec();
}

void frmMain::mnuAddOtherResult_Click() {
    frmAddOtherResult dialog(
        *CourseDataTable(),
        [this](const clsFinishStation::TypedResult& typed) {
            if (!m_station->addOtherResult(typed))
                return false;
            RefreshView(false);
            return true;
        },
        this);
    dialog.exec();
}

void frmMain::mnuExport_Click() {
    frmExportTypeSelect dialog(*m_station, m_prompt,
                               {m_folder->EventName(), m_folder->EventDate(), windowTitle()}, this);
    dialog.exec();
}

void frmMain::mnuLapView_Click() {
    std::shared_ptr<clsQuorvelin2> root;
    basWaitCursor::run([&] { root = Quorvelin2Object(); });
    frmLapView dialog(this);
    dialog.SetData(std::move(root));
    dialog.exec();
}

void frmMain::mnuListen_Click() {
    if (m_network->IsListen())
        m_network->StopListen();
    else
        m_network->StartListen(m_peerPort);
    m_mnuListen->setChecked(m_network->IsListen());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_lblCard || watched == m_lblName || watched == m_lblResult) {
            showEcardView(lastTag());
            return true;
        }
        if (watched == m_lblReadCaption) {
            mnuEcardList_Click();
            return true;
        }
        if (watched == m_lblNameCaption) {
            mnuNameList_Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_network->IsListen())
        m_network->StopListen();
    QMainWindow::closeEvent(event);
}
