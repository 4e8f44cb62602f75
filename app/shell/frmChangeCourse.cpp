#include "frmChangeCourse.h"

#include "basWaitCursor.h"
#include "clsCourseDataTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmChangeCourse::frmChangeCourse(const clsCourseDataTable& CourseDataTable,
                                 const clsSpecificDataPtr& specific, Store store, QWidget* parent)
    : QDialog(parent), m_store(std::move(store)) {
    setWindowTitle(u"クラス指定"_s);
    m_specify = new QCheckBox(u"クラスを指定する"_s, this);
    m_notCompete = new QCheckBox(u"参考記録にする"_s, this);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const auto& entry : CourseDataTable.CourseList())
        m_list->addItem(entry.value->CourseName());

    m_list->setEnabled(false);
    if (specific) {
        m_notCompete->setChecked(specific->IsNotCompete);
        if (specific->CourseList) {
            m_specify->setChecked(true);
            m_list->setEnabled(true);
            for (int i = 0; i < m_list->count(); ++i)
                m_list->item(i)->setSelected(specific->listsCourse(m_list->item(i)->text()));
        }
    }
    connect(m_specify, &QCheckBox::toggled, m_list, &QWidget::setEnabled);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_specify);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_notCompete);
    layout->addWidget(buttons);
    resize(320, 360);
}

void frmChangeCourse::accept() {
    std::optional<QStringList> names;
    if (m_specify->isChecked()) {
        names.emplace();
        for (int i = 0; i < m_list->count(); ++i)
            if (m_list->item(i)->isSelected())
                names->append(m_list->item(i)->text());
    }
    bool stored = false;
    basWaitCursor::run([&] { stored = m_store && m_store(names, m_notCompete->isChecked()); });
    if (stored)
        QDialog::accept();
}
