#include "ctlAnalysisGrid.h"

#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"

ctlAnalysisGrid::ctlAnalysisGrid(QWidget* parent) : QTableWidget(parent) {}
ctlAnalysisGrid::~ctlAnalysisGrid() = default;

void ctlAnalysisGrid::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}
void ctlAnalysisGrid::setAnalyzer(std::shared_ptr<clsAnalyzer> data) {
    m_analyzer = std::move(data);
    refresh();
}
void ctlAnalysisGrid::refresh() {}
