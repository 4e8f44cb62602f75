#include "frmExportTypeSelect.h"

#include "UserPrompt.h"
#include "basLapExport.h"
#include "clsFinishStation.h"
#include "clsQuorvelin2.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmExportTypeSelect::frmExportTypeSelect(const clsFinishStation& station, UserPrompt* prompt, Event event,
                                         QWidget* parent)
    : QDialog(parent), m_station(station), m_prompt(prompt), m_event(std::move(event)) {
    setWindowTitle(u"出力"_s);
    m_lap = new QRadioButton(u"クォルベリン２形式ファイル"_s, this);
    m_csvPerRead = new QRadioButton(u"Ｅカードデータごとに整理されたＣＳＶ形式ファイル"_s, this);
    m_csvPerCard = new QRadioButton(u"Ｅカードごとに整理されたＣＳＶ形式ファイル"_s, this);
    m_iof3 = new QRadioButton(u"IOF XML 3.0 形式ファイル"_s, this);
    m_lap->setChecked(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmExportTypeSelect::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lap);
    layout->addWidget(m_csvPerRead);
    layout->addWidget(m_csvPerCard);
    layout->addWidget(m_iof3);
    layout->addWidget(buttons);
}

QString frmExportTypeSelect::suggestedPath() const {
    return QDir(m_station.folder()).filePath(m_event.EventName);
}

void frmExportTypeSelect::cmdOK_Click() {
    if (m_lap->isChecked())
        exportLapFile();
    else if (m_csvPerRead->isChecked())
        exportCsv();
    else if (m_iof3->isChecked())
        exportIofXml3();
    // The CSV per card has no output: the window stays open.
}

void frmExportTypeSelect::exportLapFile() {
    const auto root = m_station.Quorvelin2Object(m_event.EventName, m_event.EventDate, m_event.application);
    if (root) {
        const auto path =
            m_prompt->saveFile(u"ラップファイル保存"_s, suggestedPath(), basLapExport::saveFilter(*root));
        QString error;
        if (path && !basLapExport::save(*root, *path, &error))
            m_prompt->message(error, UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation, QString());
    }
    accept();
}

void frmExportTypeSelect::exportCsv() {
    const auto path = m_prompt->saveFile(u"出力"_s, suggestedPath(), u"CSV形式 (*.csv)"_s);
    if (!path)
        return;
    const basTextFile::Result written = m_station.writeCsv(*path);
    if (!written) {
        m_prompt->message(written.error, UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation, QString());
        return;
    }
    accept();
}

// As the CSV: a cancelled dialog or a failed save keeps the window open.
void frmExportTypeSelect::exportIofXml3() {
    const auto root = m_station.Quorvelin2Object(m_event.EventName, m_event.EventDate, m_event.application);
    if (!root)
        return;
    const auto path = m_prompt->saveFile(u"出力"_s, suggestedPath(), u"IOF XML 3.0 (*.xml)"_s);
    if (!path)
        return;
    QString error;
    if (!basLapExport::saveIof3(*root, *path, &error)) {
        m_prompt->message(error, UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation, QString());
        return;
    }
    accept();
}
