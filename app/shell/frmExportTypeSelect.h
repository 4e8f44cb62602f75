#pragma once

// The export window: the lap file or an IOF XML 3.0 result list through the analysis library,
// or the CSV per card read.

#include <QDialog>

class QRadioButton;
class frmMain;

class frmExportTypeSelect final : public QDialog {
    Q_OBJECT
public:
    explicit frmExportTypeSelect(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmExportTypeSelect)

    void SetData(frmMain* main) { m_main = main; }
    QRadioButton* optLapFile() const { return m_lap; }
    QRadioButton* optCsvPerRead() const { return m_csvPerRead; }
    QRadioButton* optCsvPerCard() const { return m_csvPerCard; }
    QRadioButton* optIofXml3() const { return m_iof3; }

    void cmdOK_Click();

private:
    void exportLapFile();
    void exportCsv();
    void exportIofXml3();

    frmMain* m_main = nullptr;
    QRadioButton* m_lap;
    QRadioButton* m_csvPerRead;
    QRadioButton* m_csvPerCard;
    QRadioButton* m_iof3;
};
