#pragma once

// The finish program's main window: the data folder, the reading unit, the runner and results
// of the last card read, the counts, and the ranked list of one class.

#include "clsNameData.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;
class UserPrompt;
class clsCourseDataTable;
class clsEcard250FrameReader;
class clsEcardTagData;
class clsEcardTagStock;
class clsFinishStation;
class clsLivePublisher;
class clsMachineSettings;
class clsNameDataTable;
class clsOtherDataTable;
class clsQuorvelin2;
class clsResultManager;
class clsTicketPrinter;
class ctlDataFolder;
class ctlSimpleNetwork;
class ctlEcard250Reader;

class frmMain final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int PeerPort = 2035;

    frmMain(UserPrompt* prompt, clsMachineSettings* settings, const QString& applicationFolder = QString(),
            QWidget* parent = nullptr);
    ~frmMain() override;
    Q_DISABLE_COPY_MOVE(frmMain)

    // The five core objects, created once and kept for the window's life.
    const std::shared_ptr<clsEcardTagStock>& TagStock() const;
    const std::shared_ptr<clsNameDataTable>& NameDataTable() const;
    const std::shared_ptr<clsCourseDataTable>& CourseDataTable() const;
    const std::shared_ptr<clsOtherDataTable>& OtherDataTable() const;
    const std::shared_ptr<clsResultManager>& ResultManager() const;
    // A new root object of the analysis library filled with the current results.
    std::shared_ptr<clsQuorvelin2> Quorvelin2Object() const;
    clsNameDataPtr NameDataOfEcardTag(const clsEcardTagData& TagData) const;
    void RefreshData();
    void RefreshView(bool RefreshCourseList);

    // The reading unit's events.
    void onReading(qint32 EcardNo);
    void onReadTag(std::shared_ptr<clsEcardTagData> TagData);
    // A reader of the unit's byte stream whose cards this window takes.
    void attachReader(clsEcard250FrameReader* reader);

    clsFinishStation* station() const { return m_station; }
    ctlDataFolder* DataFolderControl() const { return m_folder; }
    ctlSimpleNetwork* Network() const { return m_network; }
    // The reading-unit panel (none when the program is built without it).
    ctlEcard250Reader* ReaderPanel() const { return m_reader; }
    UserPrompt* prompt() const { return m_prompt; }
    std::shared_ptr<clsEcardTagData> lastTag() const;

    // The labels' texts as shown (line ends CR LF).
    QString CardLabelText() const { return m_cardText; }
    QString NameLabelText() const { return m_nameText; }
    QString ResultLabelText() const { return m_resultText; }
    QLabel* lblCard() const { return m_lblCard; }
    QLabel* lblName() const { return m_lblName; }
    QLabel* lblResult() const { return m_lblResult; }
    QLabel* lblReadCount() const { return m_lblReadCount; }
    QLabel* lblNameCount() const { return m_lblNameCount; }
    QComboBox* cboCourse() const { return m_cboCourse; }
    QTableWidget* grdResult() const { return m_grdResult; }
    QAction* action(const QString& text) const;
    QPushButton* button(const QString& text) const;

    // Menu and button commands.
    void mnuEcardList_Click();
    void mnuNameList_Click();
    void mnuEventSetting_Click();
    void mnuCourseSetting_Click();
    void mnuAddOtherResult_Click();
    void mnuExport_Click();
    // Opens the analysis window on the current results.
    void mnuLapView_Click();
    void mnuListen_Click();
    void cmdTest_Click();
    // The detail window of a read (nothing without one).
    void showEcardView(const std::shared_ptr<clsEcardTagData>& tag);
    // Rebuild with the hourglass, then redraw.
    void rebuildAndRedraw(bool RefreshCourseList);
    // Live results: the option menu's switch asks for the folder; the analysis pages switch.
    void mnuPublish_Click();
    void mnuPublishAnalysis_Click();
    clsLivePublisher* publisher() const { return m_publisher; }
    // The port the peer link listens on (tests use a free one).
    void setPeerPort(int port) { m_peerPort = port; }

    // Lap tickets: where they go, and the operator's reprint of a read's ticket (at once).
    clsTicketPrinter* Tickets() const { return m_tickets; }
    void reprintTicket(const std::shared_ptr<clsEcardTagData>& tag);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildTicketMenus(QMenu* option);
    void buildPublishing(QMenu* option);
    void onOpened();
    void showTexts();
    void fillGrid();
    void setLabel(QLabel* label, const QString& text);

    UserPrompt* m_prompt;
    clsMachineSettings* m_settings;
    clsFinishStation* m_station;
    ctlDataFolder* m_folder;
    ctlSimpleNetwork* m_network;
    ctlEcard250Reader* m_reader = nullptr;
    int m_peerPort = PeerPort;

    QString m_cardText, m_nameText, m_resultText;
    QWidget* m_mainPanel;
    QLabel* m_waitLabel;
    QLabel* m_lblCard;
    QLabel* m_lblName;
    QLabel* m_lblResult;
    QLabel* m_lblReadCaption;
    QLabel* m_lblReadCount;
    QLabel* m_lblNameCaption;
    QLabel* m_lblNameCount;
    QComboBox* m_cboCourse;
    QTableWidget* m_grdResult;
    QAction* m_mnuOpenLast;
    QAction* m_mnuListen;
    QList<QAction*> m_dataMenus;
    QPushButton* m_cmdLapView;
    clsTicketPrinter* m_tickets = nullptr;

    clsLivePublisher* m_publisher = nullptr;
    QAction* m_mnuPublish = nullptr;
    QAction* m_mnuPublishAnalysis = nullptr;
};
