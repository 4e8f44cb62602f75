#include "ctlAnalysisGrid.h"

#include "clsAnalyzer.h"
#include "clsGraphicControl.h"
#include "clsQuorvelin2.h"
#include "clsTableGridObject.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

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
    : QTableWidget(parent), m_grid(new clsTableGridObject(this, this)), m_titles(new QTableView(this)),
      m_names(new QTableView(this)), m_corner(new QTableView(this)) {
    const QFont font = gridFont(this->font());
    setUpTable(*this, font);
    setSelectionMode(QAbstractItemView::ContiguousSelection);

    // The title column and the name rows drawn again over the edges (the same model and
    // selection) so that they stay in view while the rest scrolls.
    for (QTableView* view : {m_titles, m_names, m_corner}) {
        setUpTable(*view, font);
        view->setModel(model());
        view->setSelectionModel(selectionModel());
        view->setFocusPolicy(Qt::NoFocus);
        view->setAutoScroll(false);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setFrameShape(QFrame::NoFrame);
        view->viewport()->installEventFilter(this);
        view->hide();
    }
    m_titles->setStyleSheet(u"QTableView { border-right: 1px solid #8899aa; }"_s);
    m_names->setStyleSheet(u"QTableView { border-bottom: 1px solid #8899aa; }"_s);
    m_corner->setStyleSheet(
        u"QTableView { border-right: 1px solid #8899aa; border-bottom: 1px solid #8899aa; }"_s);
    viewport()->stackUnder(m_titles);
    m_names->stackUnder(m_corner);
    m_titles->stackUnder(m_corner);
    const auto follow = [](QScrollBar* from, QScrollBar* to) {
        QObject::connect(from, &QAbstractSlider::valueChanged, to, &QAbstractSlider::setValue);
    };
    follow(verticalScrollBar(), m_titles->verticalScrollBar());
    follow(m_titles->verticalScrollBar(), verticalScrollBar());
    follow(horizontalScrollBar(), m_names->horizontalScrollBar());
    follow(m_names->horizontalScrollBar(), horizontalScrollBar());
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int index, int, int size) {
        if (m_filling)
            return;
        m_names->setColumnWidth(index, size);
        if (index == 0) {
            m_titles->setColumnWidth(0, size);
            m_corner->setColumnWidth(0, size);
        }
        placeFixedCells();
    });
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
    // The widths are copied once below, not per column as the drawing sets them.
    m_filling = true;
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
    // The copies show only what their size leaves in view (they never scroll to a cell), so
    // only the widths need to follow.
    const int columns = columnCount();
    for (int c = 0; c < columns; ++c)
        if (m_names->columnWidth(c) != columnWidth(c))
            m_names->setColumnWidth(c, columnWidth(c));
    m_titles->setColumnWidth(0, columnWidth(0));
    m_corner->setColumnWidth(0, columnWidth(0));
    m_filling = false;
    placeFixedCells();
}

bool ctlAnalysisGrid::eventFilter(QObject* watched, QEvent* event) {
    // The wheel scrolls the table, never one of the fixed copies on its own.
    const bool copy = m_corner && (watched == m_titles->viewport() || watched == m_names->viewport() ||
                                   watched == m_corner->viewport());
    if (copy && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

QString ctlAnalysisGrid::selectedText() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return QString();
    // The selection is one block; each row a line, the cells separated by tabs.
    const QTableWidgetSelectionRange& block = ranges.first();
    QString text;
    for (int r = block.topRow(); r <= block.bottomRow(); ++r) {
        for (int c = block.leftColumn(); c <= block.rightColumn(); ++c) {
            if (c > block.leftColumn())
                text += u'\t';
            if (const QTableWidgetItem* cell = item(r, c))
                text += cell->text().trimmed();
        }
        text += u'\n';
    }
    return text;
}

void ctlAnalysisGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(selectedText());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void ctlAnalysisGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    placeFixedCells();
}

void ctlAnalysisGrid::updateGeometries() {
    QTableWidget::updateGeometries();
    placeFixedCells();
}

void ctlAnalysisGrid::placeFixedCells() {
    if (!m_corner || m_filling)
        return;
    const bool drawn = columnCount() > 1 && rowCount() > FixedRows;
    for (QTableView* view : {m_titles, m_names, m_corner})
        view->setVisible(drawn);
    if (!drawn)
        return;
    const int left = frameWidth(), top = frameWidth();
    const int titleWidth = columnWidth(0);
    int namesHeight = 0;
    for (int r = 0; r < FixedRows; ++r)
        namesHeight += rowHeight(r);
    m_titles->setGeometry(left, top, titleWidth + 1, viewport()->height());
    m_names->setGeometry(left, top, viewport()->width(), namesHeight + 1);
    m_corner->setGeometry(left, top, titleWidth + 1, namesHeight + 1);
    m_titles->verticalScrollBar()->setValue(verticalScrollBar()->value());
    m_names->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
}
