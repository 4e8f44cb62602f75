#include "ctlPrintButton.h"

#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "ctlLapChart.h"

ctlPrintButton::ctlPrintButton(QWidget* parent) : QPushButton(parent) {}
ctlPrintButton::~ctlPrintButton() = default;

void ctlPrintButton::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}
void ctlPrintButton::setChart(ctlLapChart* chart) {
    m_chart = chart;
}
void ctlPrintButton::setData(std::shared_ptr<clsAnalyzer> analyzer,
                             std::shared_ptr<clsResultsHolder> results) {
    m_analyzer = std::move(analyzer);
    m_results = std::move(results);
}
void ctlPrintButton::setPrintKind(qint32 kind) {
    m_kind = kind;
}
int ctlPrintButton::printTo(QPagedPaintDevice&) {
    return 0;
}
