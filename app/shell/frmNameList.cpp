#include "frmNameList.h"

#include "clsEcardTagStock.h"
#include "clsFinishStation.h"
#include "clsNameDataTable.h"
#include "ctlSortedGrid.h"
#include "frmEcardSelect.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmNameList::frmNameList(const clsFinishStation& station, ShowRead showRead, QWidget* parent)
    : QDialog(parent), m_station(station), m_showRead(std::move(showRead)) {
    setWindowTitle(u"名前データリスト"_s);
    m_table = new QComboBox(this);
    m_table->addItems({u"データフォルダに登録されている名前データ"_s,
                       u"アプリケーションフォルダに登録されている名前データ"_s,
                       u"登録されている全ての名前データ"_s});
    m_grid = new ctlSortedGrid({u"番号"_s, u"氏名"_s, u"所属"_s, u"状況"_s}, {0, 1, 2, 3}, {0}, this);
    m_grid->sortBy(3, true);
    m_count = new QLabel(this);
    connect(m_table, &QComboBox::currentIndexChanged, this, [this] { Fill(); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row) { openRow(row); });
    auto* close = new QPushButton(u"閉じる"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_grid, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count);
    bottom->addStretch();
    bottom->addWidget(close);
    layout->addLayout(bottom);
    resize(600, 480);
    Fill();
}

void frmNameList::Fill() {
    const auto& names = m_station.NameDataTable();
    const clsNameDataTable::Table& table = m_table->currentIndex() == 0 ? names->DataFolderNameDataTable()
                                           : m_table->currentIndex() == 1
                                               ? names->ApplicationFolderNameDataTable()
                                               : names->NameDataTable();
    std::vector<ctlSortedGrid::Row> rows;
    int read = 0;
    for (const auto& entry : table) {
        const auto& name = entry.value;
        const bool isRead = m_station.TagStock()->TagListOfNumber(name->EcardNo) != nullptr;
        read += isRead ? 1 : 0;
        rows.push_back({{QString::number(name->EcardNo), name->RunnerName, name->ClubName,
                         isRead ? u"読み込み済み"_s : QString()},
                        QString::number(name->EcardNo)});
    }
    m_grid->setRows(std::move(rows));
    m_count->setText(QString::number(read) + u'/' + QString::number(table.Count()));
}

void frmNameList::openRow(int row) {
    const auto reads = m_station.TagStock()->TagListOfNumber(m_grid->keyOf(row).toInt());
    if (!reads || reads->Count() == 0)
        return;
    if (reads->Count() == 1) {
        if (m_showRead)
            m_showRead(reads->Item(1));
    } else {
        frmEcardSelect select(*reads, m_showRead, this);
        select.exec();
    }
    Fill();
}
