#include "frmChangeName.h"

#include "clsEcardTagData.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"
#include "clsResultManager.h"
#include "frmMain.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmChangeName::frmChangeName(frmMain* main, std::shared_ptr<clsEcardTagData> tag, QWidget* parent)
    : QDialog(parent), m_main(main), m_tag(std::move(tag)) {
    setWindowTitle(u"名前変更"_s);
    const clsNameDataPtr name = m_main->NameDataOfEcardTag(*m_tag);
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
    auto name = std::make_shared<clsNameData>(m_tag->EcardNo(), m_name->text(), m_club->text());
    if (m_thisRead->isChecked()) {
        const auto& other = m_main->OtherDataTable();
        const clsSpecificDataPtr old = other->SpecificData(m_tag->UniqueKey());
        auto specific = old ? std::make_shared<clsSpecificData>(*old) : std::make_shared<clsSpecificData>();
        specific->EcardTagUniqueKey = m_tag->UniqueKey();
        specific->NameData = name;
        if (!other->AddSpecificData(specific))
            return;
        for (const auto& r : m_main->ResultManager()->ResultDataListOfEcard(m_tag->UniqueKey()))
            r->setSpecificData(specific);
    } else {
        const auto& names = m_main->NameDataTable();
        const bool added =
            m_dataFolder->isChecked() ? names->AddToDataFolder(name) : names->AddToApplicationFolder(name);
        if (!added)
            return;
        for (const auto& r : m_main->ResultManager()->ResultDataListOfEcardAll(m_tag->EcardNo()))
            r->setNameData(name);
    }
    m_main->RefreshView(false);
    QDialog::accept();
}
