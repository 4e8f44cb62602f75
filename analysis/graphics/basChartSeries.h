#pragma once

// The chart series of an executed analysis: for a chart mode, the axes with their ranges and
// scales, the grid lines with their labels and every selected runner's polyline or point,
// handed to a chart object as a plain description in chart coordinates.

#include "Quorvelin2Global.h"

#include <QString>
#include <QtGlobal>

class clsAnalyzer;
class clsChartObject;

namespace basChartSeries {

// Chart modes (QvChartModeConst).
inline constexpr qint32 ModeCount = 8;

// Draws the chart of a mode on the chart object (zoom RatioX, RatioY; scroll PositionX,
// PositionY from 0 to 1). A mode outside 0 to 7 leaves an empty chart.
QV_EXPORT void Draw(const clsAnalyzer& analyzer, clsChartObject& chart, qint32 mode, double ratioX,
                    double ratioY, double positionX, double positionY);

// The RatioX at which the whole content of a mode fits the chart's width (at least the
// smallest zoom, 0.5).
QV_EXPORT double FitRatioX(const clsAnalyzer& analyzer, qint32 mode, qint32 width);

// The name of a chart mode as headings, menus and printed pages show it; empty outside the modes.
QV_EXPORT QString ChartName(qint32 mode);

// A date value as signed whole seconds of its time of day (whole days dropped).
QV_EXPORT qint64 SignedSeconds(double value);

} // namespace basChartSeries
