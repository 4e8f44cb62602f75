#include "frmEcardSelect.h"

#include "basDate.h"
#include "clsEcardTagData.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmEcardSelect::frmEcardSelect(const KeyedList<std::shared_ptr<clsEcardTagData>>& reads, ShowRead showRead,
                               QWidget* parent)
    : QDialog(parent), m_showRead(std::move(showRead)) {
    setWindowTitle(u"選択"_s);
    m_list = new QListWidget(this);
    for (const auto& entry : reads) {
        m_reads.push_back(entry.value);
        const QString line = lineOf(*entry.value);
        auto* item = new QListWidgetItem(line, m_list);
        item->setToolTip(line);
    }
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { openRow(m_list->row(item)); });
    auto* close = new QPushButton(u"閉じる"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(560, 300);
}

QString frmEcardSelect::lineOf(const clsEcardTagData& tag) {
    QString line = u"["_s + basDate::format(tag.ActivateTime(), basDate::Form::HhNnSs) + u"→"_s +
                   basDate::format(tag.ReadTime(), basDate::Form::HhNnSs) + u"]"_s;
    for (int i = 1; i <= tag.ReadingUnitPosIndex(); ++i)
        line += u' ' + QString::number(tag.ControlNum(i));
    return line;
}

void frmEcardSelect::openRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_reads.size()) || !m_showRead)
        return;
    m_showRead(m_reads[static_cast<size_t>(row)]);
}
