#include "ctlQuorvelinView.h"

#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "ctlAnalysisGrid.h"
#include "ctlClassCombo.h"
#include "ctlDataSelectButton.h"
#include "ctlHtmlOutputButton.h"
#include "ctlLapChart.h"
#include "ctlLegDataGrid.h"
#include "ctlPrintButton.h"
#include "ctlResultGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

#ifndef QUORVELIN_VIEW_VERSION_MAJOR
#error                                                                                                       \
    "the build must define QUORVELIN_VIEW_VERSION_MAJOR, QUORVELIN_VIEW_VERSION_MINOR and QUORVELIN_VIEW_BUILD"
#endif
#define QUORVELIN_VIEW_STRINGIFY2(x) #x
#define QUORVELIN_VIEW_STRINGIFY(x) QUORVELIN_VIEW_STRINGIFY2(x)

namespace {

// Output kinds of the HTML and print buttons per view type; -1 leaves the kind as it is.
struct ViewKinds {
    qint32 html;
    qint32 print;
};
constexpr ViewKinds KindsOf[] = {{0, -1}, {1, 1}, {2, 2}, {4, 0}, {8, 4}};

} // namespace

ctlQuorvelinView::ctlQuorvelinView(QWidget* parent)
    : QWidget(parent), m_cboClass(new ctlClassCombo(this)), m_cboViewType(new QComboBox(this)),
      m_cmdDataSelect(new ctlDataSelectButton(this)), m_cmdHtml(new ctlHtmlOutputButton(this)),
      m_cmdPrint(new ctlPrintButton(this)), m_grdAnalysis(new ctlAnalysisGrid(this)),
      m_grdResult(new ctlResultGrid(this)), m_grdLegData(new ctlLegDataGrid(this)),
      m_chart(new ctlLapChart(this)) {
    // What to show on the left, where it goes out on the right.
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    m_cboClass->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cboClass->setMinimumContentsLength(18);
    top->addWidget(m_cboClass);
    m_cboViewType->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    top->addWidget(m_cboViewType);
    top->addWidget(m_cmdDataSelect);
    top->addStretch(1);
    top->addWidget(m_cmdHtml);
    top->addWidget(m_cmdPrint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    // Only one data view is visible at a time; hidden ones take no room.
    for (QWidget* view : {static_cast<QWidget*>(m_grdAnalysis), static_cast<QWidget*>(m_grdResult),
                          static_cast<QWidget*>(m_grdLegData), static_cast<QWidget*>(m_chart)})
        layout->addWidget(view, 1);
    layout->addStretch(0);

    // In a dialog Enter must not press an output button that merely had the focus.
    for (QPushButton* button : {static_cast<QPushButton*>(m_cmdDataSelect),
                                static_cast<QPushButton*>(m_cmdHtml), static_cast<QPushButton*>(m_cmdPrint)})
        button->setAutoDefault(false);
    setFocusProxy(m_cboClass);
    m_cboViewType->setEnabled(false);
    hideDataViews();

    connect(m_cboClass, &ctlClassCombo::ClassChosen, this,
            [this] { useClassData(m_cboClass->Analyzer(), m_cboClass->ResultsHolder()); });
    connect(m_cboViewType, &QComboBox::currentIndexChanged, this, [this] { updateDisplay(); });
    connect(m_cmdDataSelect, &ctlDataSelectButton::SelectionChanged, this, [this] { updateDisplay(); });
}

ctlQuorvelinView::~ctlQuorvelinView() = default;

void ctlQuorvelinView::setQuorvelin2Object(std::shared_ptr<clsQuorvelin2> root) {
    m_analyzer.reset();
    m_results.reset();
    unlinkAll();
    m_root = std::move(root);
    m_grdAnalysis->setRoot(m_root);
    m_grdResult->setRoot(m_root);
    m_grdLegData->setRoot(m_root);
    m_chart->setRoot(m_root);
    m_cmdHtml->setRoot(m_root);
    m_cmdHtml->setChart(m_chart);
    m_cmdPrint->setRoot(m_root);
    m_cmdPrint->setChart(m_chart);
    m_cboClass->setRoot(m_root);
    {
        const QSignalBlocker block(m_cboViewType);
        m_cboViewType->clear();
        m_cboViewType->addItems(
            {u"選択してください"_s, u"ラップ解析"_s, u"記録一覧"_s, u"レッグ分析"_s, u"チャート"_s});
        m_cboViewType->setCurrentIndex(ViewAnalysis);
    }
    m_cboViewType->setEnabled(true);
    m_cmdHtml->setOutputKind(1);
    m_cmdPrint->setPrintKind(1);
    // Nothing is chosen yet: whatever showed the previous root goes.
    updateDisplay();
}

void ctlQuorvelinView::unlinkAll() {
    m_cboClass->setRoot(nullptr);
    m_cmdDataSelect->setData(nullptr, nullptr);
    m_grdAnalysis->setAnalyzer(nullptr);
    m_grdAnalysis->setRoot(nullptr);
    m_grdResult->setResultsHolder(nullptr);
    m_grdResult->setRoot(nullptr);
    m_grdLegData->setAnalyzer(nullptr);
    m_grdLegData->setRoot(nullptr);
    m_chart->setAnalyzer(nullptr);
    m_chart->setRoot(nullptr);
    m_cmdHtml->setData(nullptr, nullptr);
    m_cmdHtml->setChart(nullptr);
    m_cmdHtml->setRoot(nullptr);
    m_cmdPrint->setData(nullptr, nullptr);
    m_cmdPrint->setChart(nullptr);
    m_cmdPrint->setRoot(nullptr);
}

QString ctlQuorvelinView::Version(bool WithTestBuild) const {
    QString text = QString::number(QUORVELIN_VIEW_VERSION_MAJOR) + u'.' +
                   u"%1"_s.arg(QUORVELIN_VIEW_VERSION_MINOR, 2, 10, QLatin1Char('0'));
    if (WithTestBuild)
        text += u" ( Build "_s + QStringLiteral(QUORVELIN_VIEW_STRINGIFY(QUORVELIN_VIEW_BUILD)) + u" )"_s;
    return text;
}

void ctlQuorvelinView::useClassData(std::shared_ptr<clsAnalyzer> analyzer,
                                    std::shared_ptr<clsResultsHolder> results) {
    m_analyzer = std::move(analyzer);
    m_results = std::move(results);
    if (m_analyzer)
        m_analyzer->ExtraAnalyze();
    m_cmdDataSelect->setData(m_analyzer, m_results);
    m_cmdHtml->setData(m_analyzer, m_results);
    m_cmdPrint->setData(m_analyzer, m_results);
    updateDisplay();
}

void ctlQuorvelinView::hideDataViews() {
    m_grdAnalysis->hide();
    m_grdResult->hide();
    m_grdLegData->hide();
    m_chart->hide();
}

void ctlQuorvelinView::updateDisplay() {
    hideDataViews();
    if (!m_analyzer)
        return;
    const ViewType type = viewType();
    switch (type) {
    case ViewAnalysis:
        m_grdAnalysis->setAnalyzer(m_analyzer);
        m_grdAnalysis->show();
        break;
    case ViewResult:
        m_grdResult->setResultsHolder(m_results);
        m_grdResult->show();
        break;
    case ViewLegData:
        m_grdLegData->setAnalyzer(m_analyzer);
        m_grdLegData->show();
        break;
    case ViewChart:
        m_chart->setAnalyzer(m_analyzer);
        m_chart->show();
        break;
    case ViewNone:
        break;
    }
    const ViewKinds& kinds = KindsOf[type];
    m_cmdHtml->setOutputKind(kinds.html);
    if (kinds.print >= 0)
        m_cmdPrint->setPrintKind(kinds.print);
}

void ctlQuorvelinView::setViewType(ViewType type) {
    m_cboViewType->setCurrentIndex(type);
}

ctlQuorvelinView::ViewType ctlQuorvelinView::viewType() const {
    const int index = m_cboViewType->currentIndex();
    return index >= ViewNone && index <= ViewChart ? static_cast<ViewType>(index) : ViewNone;
}
