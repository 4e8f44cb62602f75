#include "ctlLegDataGrid.h"

#include "clsAnalyzer.h"
#include "clsHtmlControl.h"
#include "clsQuorvelin2.h"

#include <QHeaderView>

using namespace Qt::StringLiterals;

namespace {

enum Column { LegColumn, LengthColumn, AverageColumn, DifficultyColumn, FirstUpperColumn, Columns = 10 };

// The first three places in the colours of the leg data page (background, text).
const QColor PlaceColours[3][2] = {{QColor(0xff, 0xdd, 0xdd), QColor(0x80, 0x00, 0x00)},
                                   {QColor(0xdd, 0xdd, 0xff), QColor(0x00, 0x00, 0x80)},
                                   {QColor(0xdd, 0xff, 0xdd), QColor(0x00, 0x80, 0x00)}};
const QColor LegLabelColour(0xff, 0xff, 0xbb);
const QColor TotalColour(0xee, 0xee, 0xee);

} // namespace

ctlLegDataGrid::ctlLegDataGrid(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(true);
    verticalHeader()->hide();
    // Two lines per leg: a best runner's name above the leg time.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setColumnCount(Columns);
    setHorizontalHeaderLabels({QString(), u"レッグ長"_s, u"上位平均"_s, u"難易度"_s, u"１位"_s, u"２位"_s,
                               u"３位"_s, u"４位"_s, u"５位"_s, u"６位"_s});
}

ctlLegDataGrid::~ctlLegDataGrid() = default;

void ctlLegDataGrid::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}

void ctlLegDataGrid::setAnalyzer(std::shared_ptr<clsAnalyzer> data) {
    m_analyzer = std::move(data);
    refresh();
}

void ctlLegDataGrid::refresh() {
    std::vector<clsHtmlControl::LegDataRow> rows;
    // The page's rule: nothing to show without runners or before the analysis.
    if (m_analyzer && m_analyzer->IsExecuted() && m_analyzer->Count() > 0)
        rows = clsHtmlControl::LegDataRows(*m_analyzer);
    setUpdatesEnabled(false);
    clearContents();
    setRowCount(static_cast<int>(rows.size()));
    const auto put = [this](int row, int column, const QString& text, Qt::Alignment align) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(align | Qt::AlignVCenter);
        setItem(row, column, item);
        return item;
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const clsHtmlControl::LegDataRow& r = rows[i];
        const int row = static_cast<int>(i);
        const bool total = i + 1 == rows.size();
        put(row, LegColumn, r.label, Qt::AlignHCenter)->setBackground(total ? TotalColour : LegLabelColour);
        put(row, LengthColumn, r.length, Qt::AlignRight);
        put(row, AverageColumn, r.average, Qt::AlignRight);
        put(row, DifficultyColumn, r.difficulty, Qt::AlignRight);
        for (size_t k = 0; k < r.upper.size(); ++k) {
            const auto& u = r.upper[k];
            if (!u.exists)
                continue;
            auto* item = put(row, FirstUpperColumn + static_cast<int>(k),
                             u.name + QChar(QChar::LineSeparator) + u.time, Qt::AlignRight);
            if (k < 3) {
                item->setBackground(PlaceColours[k][0]);
                item->setForeground(PlaceColours[k][1]);
            }
        }
        if (total)
            for (int c = LengthColumn; c < Columns; ++c)
                if (QTableWidgetItem* item = this->item(row, c))
                    item->setBackground(TotalColour);
    }
    resizeColumnsToContents();
    for (int c = 0; c < Columns; ++c)
        setColumnWidth(c, columnWidth(c) + 12);
    const int lines = fontMetrics().lineSpacing();
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, (row + 1 < rowCount() ? 2 : 1) * lines + 10);
    setUpdatesEnabled(true);
}
