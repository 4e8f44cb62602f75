#include "frmAddOtherResult.h"

#include "basWaitCursor.h"
#include "clsCourseDataTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmAddOtherResult::frmAddOtherResult(const clsCourseDataTable& CourseDataTable, Store store, QWidget* parent)
    : QDialog(parent), m_store(std::move(store)) {
    setWindowTitle(u"記録追加"_s);
    m_course = new QComboBox(this);
    m_course->setEditable(true);
    for (const auto& entry : CourseDataTable.CourseList())
        m_course->addItem(entry.value->CourseName());
    m_name = new QLineEdit(this);
    m_club = new QLineEdit(this);
    m_result = new QLineEdit(this);
    m_notCompete = new QCheckBox(u"参考記録"_s, this);

    auto* form = new QFormLayout;
    form->addRow(u"クラス"_s, m_course);
    form->addRow(u"氏名"_s, m_name);
    form->addRow(u"所属"_s, m_club);
    form->addRow(u"記録"_s, m_result);
    form->addRow(QString(), m_notCompete);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"Ｅカードに関係なく、記録を追加します。"_s, this));
    layout->addWidget(new QLabel(u"追加を取り消すには Other.txt を直接編集してください。"_s, this));
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void frmAddOtherResult::accept() {
    clsFinishStation::TypedResult typed;
    typed.CourseName = m_course->currentText();
    typed.RunnerName = m_name->text();
    typed.ClubName = m_club->text();
    typed.Result = m_result->text();
    typed.IsNotCompete = m_notCompete->isChecked();
    bool stored = false;
    basWaitCursor::run([&] { stored = m_store && m_store(typed); });
    if (stored)
        QDialog::accept();
}
