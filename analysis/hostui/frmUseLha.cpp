#include "frmUseLha.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmUseLha::frmUseLha(QWidget* parent) : QDialog(parent) {
    setWindowTitle(u"圧縮ファイル"_s);
    setModal(true);
    m_label = new QLabel(u"ファイルを選択してください"_s, this);
    m_lstFile = new QListWidget(this);
    m_lstFile->setObjectName(u"lstFile"_s);
    m_cmdOK = new QPushButton(u"ＯＫ"_s, this);
    m_cmdOK->setObjectName(u"cmdOK"_s);
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(u"キャンセル"_s, this);
    m_cmdCancel->setObjectName(u"cmdCancel"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_lstFile);
    layout->addLayout(buttons);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmUseLha::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lstFile, &QListWidget::itemDoubleClicked, this, &frmUseLha::cmdOK_Click);
}

void frmUseLha::cmdOK_Click() {
    if (const QListWidgetItem* item = m_lstFile->currentItem(); item && item->isSelected())
        m_chosen = item->text();
    accept();
}

std::optional<QString> frmUseLha::ChooseFile(const QStringList& files) {
    m_chosen.clear();
    m_lstFile->clear();
    m_lstFile->addItems(files);
    if (exec() != QDialog::Accepted || m_chosen.isEmpty())
        return std::nullopt;
    return m_chosen;
}
