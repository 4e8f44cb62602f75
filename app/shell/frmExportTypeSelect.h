#pragma once

// The export window: the lap file or an IOF XML 3.0 result list through the analysis library,
// or the CSV per card read.

#include <QDialog>
#include <QString>

class QRadioButton;
class UserPrompt;
class clsFinishStation;

class frmExportTypeSelect final : public QDialog {
    Q_OBJECT
public:
    // The event's settings that go into the lap file and the suggested file name.
    struct Event {
        QString EventName;
        double EventDate = 0;
        QString application; // the program's caption, kept as the file's maker
    };

    frmExportTypeSelect(const clsFinishStation& station, UserPrompt* prompt, Event event,
                        QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmExportTypeSelect)

    QRadioButton* optLapFile() const { return m_lap; }
    QRadioButton* optCsvPerRead() const { return m_csvPerRead; }
    QRadioButton* optCsvPerCard() const { return m_csvPerCard; }
    QRadioButton* optIofXml3() const { return m_iof3; }

    void cmdOK_Click();

private:
    void exportLapFile();
    void exportCsv();
    QString suggestedPath() const;
    void exportIofXml3();

    const clsFinishStation& m_station;
    UserPrompt* m_prompt;
    Event m_event;
    QRadioButton* m_lap;
    QRadioButton* m_csvPerRead;
    QRadioButton* m_csvPerCard;
    QRadioButton* m_iof3;
};
