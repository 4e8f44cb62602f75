#include "ctlLegDataGrid.h"

#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"

ctlLegDataGrid::ctlLegDataGrid(QWidget* parent) : QTableWidget(parent) {}
ctlLegDataGrid::~ctlLegDataGrid() = default;

void ctlLegDataGrid::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}
void ctlLegDataGrid::setAnalyzer(std::shared_ptr<clsAnalyzer> data) {
    m_analyzer = std::move(data);
    refresh();
}
void ctlLegDataGrid::refresh() {}
