#include "frmEventSetting.h"

#include "basDate.h"
#include "ctlDataFolder.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmEventSetting::frmEventSetting(ctlDataFolder* DataFolderControl, QWidget* parent)
    : QDialog(parent), m_folder(DataFolderControl) {
    setWindowTitle(u"名称・日程設定"_s);
    m_name = new QLineEdit(m_folder->EventName(), this);
    const double date =
        m_folder->EventDate() == 0 ? basDate::datePart(basDate::now()) : m_folder->EventDate();
    m_date = new QLineEdit(basDate::format(date, basDate::Form::YyyyMmDd), this);
    auto* form = new QFormLayout;
    form->addRow(u"名称"_s, m_name);
    form->addRow(u"日程"_s, m_date);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(360, sizeHint().height());
}

void frmEventSetting::accept() {
    const double date = basDate::recognize(m_date->text().trimmed()).value_or(0.0);
    m_folder->SetEventSetting(m_name->text(), date);
    QDialog::accept();
}
