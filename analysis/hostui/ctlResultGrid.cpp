#include "ctlResultGrid.h"

#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

ctlResultGrid::ctlResultGrid(QWidget* parent) : QTableWidget(parent) {}
ctlResultGrid::~ctlResultGrid() = default;

void ctlResultGrid::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}
void ctlResultGrid::setResultsHolder(std::shared_ptr<clsResultsHolder> data) {
    m_results = std::move(data);
    refresh();
}
void ctlResultGrid::refresh() {}
