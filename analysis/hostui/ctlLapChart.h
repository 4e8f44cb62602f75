#pragma once

#include <QWidget>

#include <memory>

class clsAnalyzer;
class clsChartObject;
class clsQuorvelin2;

// The lap chart: the chart object the library's DrawChart fills, painted by the chart renderer,
// with a choice of the eight chart kinds, zoom and scroll, the runner under the mouse named and
// a legend.
class ctlLapChart final : public QWidget {
    Q_OBJECT
public:
    explicit ctlLapChart(QWidget* parent = nullptr);
    ~ctlLapChart() override;

    void setRoot(std::shared_ptr<clsQuorvelin2> root);
    void setAnalyzer(std::shared_ptr<clsAnalyzer> analyzer);
    void refresh();
    // The chart as last drawn (for printing and HTML output of the chart).
    const clsChartObject& chart() const;
    qint32 mode() const;
    void setMode(qint32 mode);

private:
    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
    std::unique_ptr<clsChartObject> m_chart;
    qint32 m_mode = 0;
};
