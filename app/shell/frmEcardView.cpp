#include "frmEcardView.h"

#include "clsCourseDataTable.h"
#include "clsEcardTagData.h"
#include "clsFinishStation.h"
#include "clsOtherDataTable.h"
#include "clsResultManager.h"
#include "ctlEcardTagView.h"
#include "frmChangeCourse.h"
#include "frmChangeName.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmEcardView::frmEcardView(clsFinishStation& station, std::shared_ptr<clsEcardTagData> tag,
                           std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), m_station(station), m_redraw(std::move(redraw)), m_tag(std::move(tag)) {
    setWindowTitle(u"詳細表示"_s);
    const clsNameDataPtr name = m_station.NameDataOfEcardTag(*m_tag);
    m_number = new QLabel(QString::number(m_tag->EcardNo()), this);
    m_name = new QLabel(name ? name->RunnerName : QString(), this);
    m_club = new QLabel(name ? name->ClubName : QString(), this);
    auto* form = new QFormLayout;
    form->addRow(u"Ｅカード番号"_s, m_number);
    form->addRow(u"氏名"_s, m_name);
    form->addRow(u"所属"_s, m_club);

    m_view = new ctlEcardTagView(this);
    m_view->MakeView(*m_station.CourseDataTable(), *m_tag);

    const auto results = m_station.ResultManager()->ResultDataListOfEcard(m_tag->UniqueKey());
    m_results = new QTableWidget(static_cast<int>(results.size()), 3, this);
    m_results->setHorizontalHeaderLabels({u"クラス"_s, u"記録"_s, u"順位"_s});
    m_results->verticalHeader()->setVisible(false);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < static_cast<int>(results.size()); ++r) {
        const auto& result = results[static_cast<size_t>(r)];
        m_results->setItem(
            r, 0,
            new QTableWidgetItem(result->CourseData() ? result->CourseData()->CourseName() : QString()));
        auto* record = new QTableWidgetItem(result->Result());
        record->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_results->setItem(r, 1, record);
        auto* rank = new QTableWidgetItem(result->Rank());
        rank->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_results->setItem(r, 2, rank);
    }
    m_results->setMaximumHeight(140);

    auto* changeCourse = new QPushButton(u"クラス指定・参考記録"_s, this);
    auto* changeName = new QPushButton(u"名前変更"_s, this);
    auto* close = new QPushButton(u"閉じる"_s, this);
    connect(changeCourse, &QPushButton::clicked, this, &frmEcardView::cmdChangeCourse_Click);
    connect(changeName, &QPushButton::clicked, this, &frmEcardView::cmdChangeName_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = m_buttons = new QHBoxLayout;
    buttons->addWidget(changeCourse);
    buttons->addWidget(changeName);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_results);
    layout->addLayout(buttons);
    resize(720, 560);
}

void frmEcardView::setReprint(std::function<void()> reprint) {
    if (!m_reprint) {
        m_reprint = new QPushButton(u"ラップ票を再印刷"_s, this);
        m_buttons->insertWidget(2, m_reprint);
    }
    m_reprint->disconnect();
    connect(m_reprint, &QPushButton::clicked, this, std::move(reprint));
}

void frmEcardView::cmdChangeCourse_Click() {
    frmChangeCourse dialog(
        *m_station.CourseDataTable(), m_station.OtherDataTable()->SpecificData(m_tag->UniqueKey()),
        [this](const std::optional<QStringList>& CourseList, bool IsNotCompete) {
            if (!m_station.specifyClasses(m_tag->UniqueKey(), CourseList, IsNotCompete))
                return false;
            redraw();
            return true;
        },
        this);
    dialog.exec();
    accept();
}

void frmEcardView::cmdChangeName_Click() {
    frmChangeName dialog(
        m_station.NameDataOfEcardTag(*m_tag),
        [this](clsFinishStation::NameTarget target, const QString& RunnerName, const QString& ClubName) {
            if (!m_station.changeName(*m_tag, target, RunnerName, ClubName))
                return false;
            redraw();
            return true;
        },
        this);
    dialog.exec();
    accept();
}

void frmEcardView::redraw() {
    if (m_redraw)
        m_redraw();
}
