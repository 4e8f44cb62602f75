#include "ctlClassCombo.h"

#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

ctlClassCombo::ctlClassCombo(QWidget* parent) : QComboBox(parent) {}
ctlClassCombo::~ctlClassCombo() = default;

void ctlClassCombo::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
    m_analyzer.reset();
    m_results.reset();
    clear();
}

void ctlClassCombo::chooseEntry(int index) {
    setCurrentIndex(index);
    emit ClassChosen();
}
