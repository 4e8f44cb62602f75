#include "ctlAnalysisGrid.h"

#include "clsAnalyzer.h"
#include "clsGraphicControl.h"
#include "clsQuorvelin2.h"
#include "clsTableGridObject.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <exception>

using namespace Qt::StringLiterals;

namespace {

// The cells are laid out in half-width character widths, so they need a monospaced font that
// draws a full-width character twice as wide.
QFont gridFont(const QFont& base) {
    QFont font = base;
    font.setFamilies({u"Noto Sans Mono CJK JP"_s, u"Noto Sans Mono CJK SC"_s,
                      QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

void setUpTable(QTableView& view, const QFont& font) {
    view.setFont(font);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setWordWrap(false);
    view.setSortingEnabled(false);
    view.horizontalHeader()->hide();
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

} // namespace

ctlAnalysisGrid::ctlAnalysisGrid(QWidget* parent)
    : QTableWidget(parent), m_grid(new clsTableGridObject(this, this)), m_titles(new QTableView(this)) {
    const QFont font = gridFont(this->font());
    setUpTable(*this, font);
    setSelectionMode(QAbstractItemView::ContiguousSelection);

    // The title column drawn again over the left edge: the same model, only column 0, scrolled
    // with the table.
    setUpTable(*m_titles, font);
    m_titles->setModel(model());
    m_titles->setSelectionModel(selectionModel());
    m_titles->setFocusPolicy(Qt::NoFocus);
    m_titles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_titles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_titles->setFrameShape(QFrame::NoFrame);
    m_titles->setStyleSheet(u"QTableView { border-right: 1px solid #8899aa; }"_s);
    viewport()->stackUnder(m_titles);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_titles->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(m_titles->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int index, int, int size) {
        if (index == 0) {
            m_titles->setColumnWidth(0, size);
            placeTitleColumn();
        }
    });
    connect(model(), &QAbstractItemModel::columnsInserted, this, &ctlAnalysisGrid::placeTitleColumn);
    connect(model(), &QAbstractItemModel::columnsRemoved, this, &ctlAnalysisGrid::placeTitleColumn);
    placeTitleColumn();
}

ctlAnalysisGrid::~ctlAnalysisGrid() = default;

void ctlAnalysisGrid::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}

void ctlAnalysisGrid::setAnalyzer(std::shared_ptr<clsAnalyzer> data) {
    m_analyzer = std::move(data);
    refresh();
}

void ctlAnalysisGrid::refresh() {
    bool drawn = false;
    if (m_analyzer && m_analyzer->IsExecuted()) {
        clsGraphicControl* control = m_root ? m_root->GraphicControl() : nullptr;
        if (!control) {
            if (!m_ownControl)
                m_ownControl = std::make_unique<clsGraphicControl>(nullptr);
            control = m_ownControl.get();
        }
        // DrawGrid refuses an analysis longer than the runners' tables; the table stays empty.
        try {
            m_grid->setRows(0);
            control->DrawGrid(m_analyzer, m_grid);
            drawn = rowCount() > 0 && m_analyzer->Count() > 0;
        } catch (const std::exception&) {
            drawn = false;
        }
    }
    if (!drawn) {
        m_grid->setRows(0);
        m_grid->setCols(0);
        m_grid->flush();
    }
    placeTitleColumn();
}

void ctlAnalysisGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    placeTitleColumn();
}

void ctlAnalysisGrid::updateGeometries() {
    QTableWidget::updateGeometries();
    placeTitleColumn();
}

void ctlAnalysisGrid::placeTitleColumn() {
    if (!m_titles)
        return;
    const int columns = columnCount();
    for (int c = 1; c < columns; ++c)
        m_titles->setColumnHidden(c, true);
    if (columns == 0) {
        m_titles->hide();
        return;
    }
    m_titles->setColumnHidden(0, false);
    m_titles->setColumnWidth(0, columnWidth(0));
    m_titles->setGeometry(frameWidth(), frameWidth(), columnWidth(0), viewport()->height());
    m_titles->verticalScrollBar()->setValue(verticalScrollBar()->value());
    m_titles->show();
}
