#include "ctlResultGrid.h"

#include "clsHtmlControl.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

#include <QHeaderView>

using namespace Qt::StringLiterals;

namespace {
enum Column { RankColumn, NameColumn, SecondColumn, ResultColumn, ClubColumn, Columns };
} // namespace

ctlResultGrid::ctlResultGrid(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setColumnCount(Columns);
    setHorizontalHeaderLabels({u"順位"_s, u"氏名"_s, u"シード"_s, u"記録"_s, u"所属"_s});
}

ctlResultGrid::~ctlResultGrid() = default;

void ctlResultGrid::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}

void ctlResultGrid::setResultsHolder(std::shared_ptr<clsResultsHolder> data) {
    m_results = std::move(data);
    refresh();
}

void ctlResultGrid::refresh() {
    const clsResultsHolder* holder = m_results.get();
    const int rows = holder ? holder->Count() : 0;
    const bool mix = holder && holder->DataSetIsMix();
    setUpdatesEnabled(false);
    clearContents();
    setRowCount(rows);
    horizontalHeaderItem(SecondColumn)->setText(mix ? u"クラス"_s : u"シード"_s);
    const auto put = [this](int row, int column, const QString& text, Qt::Alignment align) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(align | Qt::AlignVCenter);
        setItem(row, column, item);
    };
    for (int k = 1; k <= rows; ++k) {
        const auto lap = holder->Item(k);
        if (!lap)
            continue;
        const int row = k - 1;
        put(row, RankColumn, clsHtmlControl::ListedRank(*holder, k), Qt::AlignRight);
        put(row, NameColumn, lap->RunnerName(), Qt::AlignLeft);
        put(row, SecondColumn, mix ? lap->ClassName() : lap->Seed(), Qt::AlignHCenter);
        put(row, ResultColumn, lap->Result(), Qt::AlignRight);
        put(row, ClubColumn, lap->ClubName(), Qt::AlignLeft);
    }
    resizeColumnsToContents();
    for (int c = 0; c < Columns - 1; ++c)
        setColumnWidth(c, columnWidth(c) + 16);
    setUpdatesEnabled(true);
}
