#pragma once

// A read-only grid of text rows that sorts by a clicked column header, a second click on the
// same column reversing the order; number columns sort by value, the others as text ignoring
// case. Rows keep a hidden key for the caller.

#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>
#include <functional>
#include <vector>

class ctlSortedGrid final : public QTableWidget {
public:
    struct Row {
        QStringList cells;
        QString key;
    };

    ctlSortedGrid(const QStringList& headers, QList<int> sortable, QList<int> numeric, QWidget* parent)
        : QTableWidget(0, static_cast<int>(headers.size()), parent), m_sortable(std::move(sortable)),
          m_numeric(std::move(numeric)) {
        setHorizontalHeaderLabels(headers);
        verticalHeader()->setVisible(false);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setSelectionMode(QAbstractItemView::SingleSelection);
        horizontalHeader()->setStretchLastSection(true);
        connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { headerClicked(c); });
    }

    void setRows(std::vector<Row> rows) {
        m_rows = std::move(rows);
        show();
    }
    void sortBy(int column, bool descending) {
        m_column = column;
        m_descending = descending;
        show();
    }
    void headerClicked(int column) {
        if (!m_sortable.contains(column))
            return;
        sortBy(column, column == m_column ? !m_descending : false);
    }
    int sortColumn() const { return m_column; }
    bool descending() const { return m_descending; }
    QString keyOf(int row) const {
        return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row].key : QString();
    }
    QString cellText(int row, int column) const {
        return item(row, column) ? item(row, column)->text() : QString();
    }

private:
    void show() {
        const bool numeric = m_numeric.contains(m_column);
        const int c = m_column;
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](const Row& a, const Row& b) {
            const int order = numeric ? (a.cells[c].toLongLong() < b.cells[c].toLongLong()   ? -1
                                         : a.cells[c].toLongLong() > b.cells[c].toLongLong() ? 1
                                                                                             : 0)
                                      : a.cells[c].compare(b.cells[c], Qt::CaseInsensitive);
            return m_descending ? order > 0 : order < 0;
        });
        setRowCount(static_cast<int>(m_rows.size()));
        for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
            for (int k = 0; k < columnCount() && k < m_rows[r].cells.size(); ++k) {
                auto* cell = new QTableWidgetItem(m_rows[r].cells[k]);
                if (m_numeric.contains(k))
                    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                setItem(r, k, cell);
            }
        resizeColumnsToContents();
    }

    std::vector<Row> m_rows;
    QList<int> m_sortable;
    QList<int> m_numeric;
    int m_column = 0;
    bool m_descending = false;
};
