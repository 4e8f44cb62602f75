#include "clsGraphicControl.h"

#include "ProjectError.h"
#include "basAnalysisGrid.h"
#include "basChartSeries.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"

using namespace Qt::StringLiterals;

clsGraphicControl::clsGraphicControl(clsQuorvelin2* root) : m_root(root) {}

void clsGraphicControl::DrawChart(const std::shared_ptr<clsAnalyzer>& AnalyzerObject,
                                  clsChartObject* ChartObject, qint32 ChartMode, double RatioX, double RatioY,
                                  double PositionX, double PositionY) {
    if (!AnalyzerObject || !ChartObject)
        throw ProjectError(ProjectError::InvalidCall, u"Object variable not set"_s);
    basChartSeries::Draw(*AnalyzerObject, *ChartObject, ChartMode, RatioX, RatioY, PositionX, PositionY);
}

void clsGraphicControl::DrawGrid(const std::shared_ptr<clsAnalyzer>& AnalyzerObject,
                                 clsGridObject* GridObject) {
    if (!AnalyzerObject || !GridObject)
        throw ProjectError(ProjectError::InvalidCall, u"Object variable not set"_s);
    basAnalysisGrid::draw(*AnalyzerObject, *GridObject);
}
