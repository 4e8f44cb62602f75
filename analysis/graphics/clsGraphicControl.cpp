#include "clsGraphicControl.h"

#include "ProjectError.h"
#include "basAnalysisGrid.h"

using namespace Qt::StringLiterals;

clsGraphicControl::clsGraphicControl(clsQuorvelin2* root) : m_root(root) {}

void clsGraphicControl::DrawGrid(const std::shared_ptr<clsAnalyzer>& AnalyzerObject,
                                 clsGridObject* GridObject) {
    if (!AnalyzerObject || !GridObject)
        throw ProjectError(ProjectError::InvalidCall, u"Object variable not set"_s);
    basAnalysisGrid::draw(*AnalyzerObject, *GridObject);
}
