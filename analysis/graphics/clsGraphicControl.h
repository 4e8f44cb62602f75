#pragma once

#include "Quorvelin2Global.h"

#include <QObject>

#include <memory>

class clsAnalyzer;
class clsChartObject;
class clsGridObject;
class clsQuorvelin2;

// The root object's control for charts and the analysis grid. The root creates one and keeps it
// for its lifetime; the control reaches the data set through the root.
class QV_EXPORT clsGraphicControl : public QObject {
    Q_OBJECT
public:
    explicit clsGraphicControl(clsQuorvelin2* root);

    // The chart of an executed analysis on a chart object: ChartMode (QvChartModeConst), zoom
    // RatioX and RatioY, scroll PositionX and PositionY (0 to 1). Without an analyzer or a chart
    // object it raises InvalidCall.
    Q_INVOKABLE void DrawChart(const std::shared_ptr<clsAnalyzer>& AnalyzerObject,
                               clsChartObject* ChartObject, qint32 ChartMode, double RatioX = 1,
                               double RatioY = 1, double PositionX = 0, double PositionY = 0);
    // Lays the executed analyzer's selection out in the host's grid.
    Q_INVOKABLE void DrawGrid(const std::shared_ptr<clsAnalyzer>& AnalyzerObject, clsGridObject* GridObject);

    clsQuorvelin2* root() const { return m_root; }

private:
    clsQuorvelin2* m_root;
};
