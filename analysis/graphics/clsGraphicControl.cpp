#include "clsGraphicControl.h"

#include "basChartSeries.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"

clsGraphicControl::clsGraphicControl(clsQuorvelin2* root) : m_root(root) {}

void clsGraphicControl::DrawChart(const std::shared_ptr<clsAnalyzer>& AnalyzerObject,
                                  clsChartObject* ChartObject, qint32 ChartMode, double RatioX, double RatioY,
                                  double PositionX, double PositionY) {
    if (AnalyzerObject && ChartObject)
        basChartSeries::Draw(*AnalyzerObject, *ChartObject, ChartMode, RatioX, RatioY, PositionX, PositionY);
}
