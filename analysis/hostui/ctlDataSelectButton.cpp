#include "ctlDataSelectButton.h"

#include "clsAnalyzer.h"
#include "clsResultsHolder.h"

ctlDataSelectButton::ctlDataSelectButton(QWidget* parent) : QPushButton(parent) {}
ctlDataSelectButton::~ctlDataSelectButton() = default;

void ctlDataSelectButton::setData(std::shared_ptr<clsAnalyzer> analyzer,
                                  std::shared_ptr<clsResultsHolder> results) {
    m_analyzer = std::move(analyzer);
    m_results = std::move(results);
}

void ctlDataSelectButton::selectRunners(const QList<qint32>&) {
    emit SelectionChanged();
}
void ctlDataSelectButton::selectAllRunners() {
    emit SelectionChanged();
}
void ctlDataSelectButton::selectNoRunners() {
    emit SelectionChanged();
}
