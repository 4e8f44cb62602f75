#include "ctlHtmlOutputButton.h"

#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "ctlLapChart.h"

ctlHtmlOutputButton::ctlHtmlOutputButton(QWidget* parent) : QPushButton(parent) {}
ctlHtmlOutputButton::~ctlHtmlOutputButton() = default;

void ctlHtmlOutputButton::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}
void ctlHtmlOutputButton::setChart(ctlLapChart* chart) {
    m_chart = chart;
}
void ctlHtmlOutputButton::setData(std::shared_ptr<clsAnalyzer> analyzer,
                                  std::shared_ptr<clsResultsHolder> results) {
    m_analyzer = std::move(analyzer);
    m_results = std::move(results);
}
void ctlHtmlOutputButton::setOutputKind(qint32 kind) {
    m_kind = kind;
}
void ctlHtmlOutputButton::setFolderChooser(std::function<QString()> chooser) {
    m_chooser = std::move(chooser);
}
QStringList ctlHtmlOutputButton::outputTo(const QString&) {
    return {};
}
