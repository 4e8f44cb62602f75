#include "frmChangeName.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmChangeName::frmChangeName(const clsNameDataPtr& name, Store store, QWidget* parent)
    : QDialog(parent), m_store(std::move(store)) {
    setWindowTitle(u"名前変更"_s);
    m_name = new QLineEdit(name ? name->RunnerName : QString(), this);
    m_club = new QLineEdit(name ? name->ClubName : QString(), this);
    m_dataFolder = new QRadioButton(u"名前データをデータフォルダに保存"_s, this);
    m_applicationFolder = new QRadioButton(u"名前データをアプリケーションフォルダに保存"_s, this);
    m_thisRead = new QRadioButton(u"特定のＥカード記録に限定して名前変更"_s, this);
    m_dataFolder->setChecked(true);
    auto* form = new QFormLayout;
    form->addRow(u"氏名"_s, m_name);
    form->addRow(u"所属"_s, m_club);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_dataFolder);
    layout->addWidget(m_applicationFolder);
    layout->addWidget(m_thisRead);
    layout->addWidget(buttons);
}

void frmChangeName::accept() {
    using Target = clsFinishStation::NameTarget;
    const Target target = m_thisRead->isChecked()            ? Target::ThisRead
                          : m_applicationFolder->isChecked() ? Target::ApplicationFolder
                                                             : Target::DataFolder;
    if (!m_store || !m_store(target, m_name->text(), m_club->text()))
        return;
    QDialog::accept();
}
