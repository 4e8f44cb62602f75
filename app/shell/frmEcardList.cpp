#include "frmEcardList.h"

#include "basDate.h"
#include "clsEcardTagStock.h"
#include "clsFinishStation.h"
#include "ctlSortedGrid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmEcardList::frmEcardList(const clsFinishStation& station, ShowRead showRead, QWidget* parent)
    : QDialog(parent), m_station(station), m_showRead(std::move(showRead)) {
    setWindowTitle(u"Ｅカードデータ一覧"_s);
    m_grid = new ctlSortedGrid({u"番号"_s, u"Activate"_s, u"Read"_s, u"氏名"_s, u"所属"_s, u"StockKey"_s},
                               {0, 1, 2}, {0}, this);
    m_grid->setColumnHidden(5, true);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row) { openRow(row); });
    auto* close = new QPushButton(u"閉じる"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(640, 480);
    Fill();
}

void frmEcardList::Fill() {
    std::vector<ctlSortedGrid::Row> rows;
    for (const auto& entry : m_station.TagStock()->TagTable()) {
        const auto& tag = entry.value;
        const clsNameDataPtr name = m_station.NameDataOfEcardTag(*tag);
        rows.push_back(
            {{QString::number(tag->EcardNo()), basDate::format(tag->ActivateTime(), basDate::Form::HhNnSs),
              basDate::format(tag->ReadTime(), basDate::Form::HhNnSs),
              name ? name->RunnerName : u"  (未登録)"_s, name ? name->ClubName : QString(), tag->StockKey()},
             tag->StockKey()});
    }
    m_grid->setRows(std::move(rows));
}

void frmEcardList::openRow(int row) {
    const auto tag = m_station.TagStock()->TagTable().Item(m_grid->keyOf(row));
    if (!tag)
        return;
    if (m_showRead)
        m_showRead(tag);
    Fill();
}
