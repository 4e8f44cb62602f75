#pragma once

// Printed pages of an analysis on any paged device (a printer or a PDF writer): the analysis
// table across as many pages as it needs, the result list with page numbers and a chart on one
// page. Only QtGui; the page size and orientation are the device's when printing starts.

#include "Quorvelin2Global.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QString>

#include <array>

class QPagedPaintDevice;
class clsAnalyzer;
class clsChartObject;
class clsConfigControl;
class clsGridRecorder;
class clsResultsHolder;

namespace basPrintLayout {

// The lines at the top of every page: the event and what is printed of it.
struct Header {
    QString title;
    QString subtitle;
};

struct AnalysisStyle {
    double classLabelFontSize = 35; // points
    double classLabelWidth = 15;    // millimetres
    // Backgrounds of first, second and third ranks, as colour numbers (0x00BBGGRR).
    std::array<qint32, 3> rankColors{0xcccccc, 0xdddddd, 0xeeeeee};
};

// The print settings of the configuration store's current data folder; values that are not
// numbers keep the defaults.
QV_EXPORT AnalysisStyle ReadAnalysisStyle(const clsConfigControl& config);

// A4 with margins in millimetres.
QV_EXPORT QPageLayout A4(QPageLayout::Orientation orientation, const QMarginsF& margins);
// The orientation on which the analysis takes fewer pages (portrait when even).
QV_EXPORT QPageLayout::Orientation AnalysisOrientation(const clsGridRecorder& grid,
                                                       const AnalysisStyle& style, const QMarginsF& margins);
QV_EXPORT int AnalysisPageCount(const clsGridRecorder& grid, const AnalysisStyle& style,
                                const QPageLayout& layout);

// Each prints from the first page of the device and gives the number of pages (0 when the
// device cannot be painted on or there is nothing to print).
QV_EXPORT int PrintAnalysis(QPagedPaintDevice& device, const clsGridRecorder& grid, const QString& classLabel,
                            const Header& header, const AnalysisStyle& style);
QV_EXPORT int PrintResults(QPagedPaintDevice& device, const clsResultsHolder& holder, const Header& header);
// The chart of an executed analyzer as shown (mode, zoom, scroll and runner colours of the
// chart object), or the whole normal chart without one.
QV_EXPORT int PrintChart(QPagedPaintDevice& device, const clsAnalyzer& analyzer, const clsChartObject* shown,
                         const Header& header);

} // namespace basPrintLayout
