#include "ctlLapChart.h"

#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsQuorvelin2.h"

ctlLapChart::ctlLapChart(QWidget* parent) : QWidget(parent), m_chart(std::make_unique<clsChartObject>()) {}
ctlLapChart::~ctlLapChart() = default;

void ctlLapChart::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}
void ctlLapChart::setAnalyzer(std::shared_ptr<clsAnalyzer> analyzer) {
    m_analyzer = std::move(analyzer);
    refresh();
}
void ctlLapChart::refresh() {
    update();
}
const clsChartObject& ctlLapChart::chart() const {
    return *m_chart;
}
qint32 ctlLapChart::mode() const {
    return m_mode;
}
void ctlLapChart::setMode(qint32 mode) {
    m_mode = mode;
    refresh();
}
