#include "ctlPrintButton.h"

#include "ProjectError.h"
#include "basChartSeries.h"
#include "basPrintLayout.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsEventData.h"
#include "clsGraphicControl.h"
#include "clsGridRecorder.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "ctlLapChart.h"

#include "basConstants.h"

#include <QMessageBox>
#include <QPagedPaintDevice>
#include <QPrintPreviewDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QMarginsF DefaultMargins(10, 10, 10, 10);

QString joined(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return a + b;
    return a + u"　"_s + b;
}

} // namespace

ctlPrintButton::ctlPrintButton(QWidget* parent) : QPushButton(u"印刷"_s, parent) {
    connect(this, &QPushButton::clicked, this, &ctlPrintButton::onClicked);
}
ctlPrintButton::~ctlPrintButton() = default;

void ctlPrintButton::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}
void ctlPrintButton::setChart(ctlLapChart* chart) {
    m_chart = chart;
}
void ctlPrintButton::setData(std::shared_ptr<clsAnalyzer> analyzer,
                             std::shared_ptr<clsResultsHolder> results) {
    m_analyzer = std::move(analyzer);
    m_results = std::move(results);
}
void ctlPrintButton::setPrintKind(qint32 kind) {
    m_kind = kind;
}
void ctlPrintButton::setMessageSink(std::function<void(const QString&)> sink) {
    m_sink = std::move(sink);
}

void ctlPrintButton::tell(const QString& text) {
    if (m_sink)
        m_sink(text);
    else
        QMessageBox::warning(window(), u"印刷"_s, text);
}

int ctlPrintButton::printTo(QPagedPaintDevice& device) {
    if (!preparePage(device))
        return 0;
    return paint(device);
}

bool ctlPrintButton::preparePage(QPagedPaintDevice& device) {
    if (!m_root)
        return false;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    switch (m_kind) {
    case Analysis: {
        if (!m_analyzer)
            return false;
        clsGridRecorder grid;
        const auto style = basPrintLayout::ReadAnalysisStyle(*m_root->ConfigControl());
        try {
            m_root->GraphicControl()->DrawGrid(m_analyzer, &grid);
        } catch (const ProjectError&) {
            return true; // told when painting
        }
        orientation = basPrintLayout::AnalysisOrientation(grid, style, DefaultMargins);
        break;
    }
    case ResultList:
        if (!m_results)
            return false;
        break;
    case Chart:
        if (!m_analyzer)
            return false;
        orientation = QPageLayout::Landscape;
        break;
    default:
        return false;
    }
    device.setPageLayout(basPrintLayout::A4(orientation, DefaultMargins));
    return true;
}

int ctlPrintButton::paint(QPagedPaintDevice& device) {
    if (!m_root)
        return 0;
    const QString event = m_root->EventData() ? m_root->EventData()->EventName() : QString();
    try {
        switch (m_kind) {
        case Analysis: {
            if (!m_analyzer)
                return 0;
            clsGridRecorder grid;
            const auto style = basPrintLayout::ReadAnalysisStyle(*m_root->ConfigControl());
            for (size_t k = 0; k < style.rankColors.size(); ++k)
                grid.setColor(QV_COLOR_RANK1 + static_cast<qint32>(k), style.rankColors[k]);
            m_root->GraphicControl()->DrawGrid(m_analyzer, &grid);
            const basPrintLayout::Header header{
                event,
                joined(QString(m_analyzer->DataSetName() + u"　ラップ解析"_s), m_analyzer->ClassInfo())};
            return basPrintLayout::PrintAnalysis(device, grid, m_analyzer->DataSetName(), header, style);
        }
        case ResultList: {
            if (!m_results)
                return 0;
            const basPrintLayout::Header header{
                event, joined(QString(m_results->DataSetName() + u"　記録一覧"_s), m_results->ClassInfo())};
            return basPrintLayout::PrintResults(device, *m_results, header);
        }
        case Chart: {
            if (!m_analyzer)
                return 0;
            const clsChartObject* shown = m_chart ? &m_chart->chart() : nullptr;
            const qint32 mode = m_chart ? m_chart->mode() : QV_CHART_NORMAL;
            const basPrintLayout::Header header{event,
                                                joined(QString(m_analyzer->DataSetName() + u"　チャート（"_s +
                                                               basChartSeries::ChartName(mode) + u"）"_s),
                                                       m_analyzer->ClassInfo())};
            // A chart widget that never drew (never shown) has no chart to copy.
            if (shown && shown->description().mode != mode)
                shown = nullptr;
            return basPrintLayout::PrintChart(device, *m_analyzer, shown, header);
        }
        default:
            return 0;
        }
    } catch (const ProjectError& e) {
        tell(e.description());
        return 0;
    }
}

void ctlPrintButton::onClicked() {
    if (m_kind != Analysis && m_kind != ResultList && m_kind != Chart)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!preparePage(printer))
        return;
    QPrintPreviewDialog preview(&printer, window());
    preview.setWindowTitle(u"印刷プレビュー"_s);
    // The page the user sets up in the preview is kept: only the first layout is chosen here.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { paint(*p); });
    preview.exec();
}
