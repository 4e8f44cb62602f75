#pragma once

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QScrollBar;
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

    // Zoom (RatioX at least 0.5, RatioY at least 1) and scroll (0 to 1); the chart keeps the
    // values DrawChart accepted. fitWidth shows the whole width again.
    void setZoom(double ratioX, double ratioY);
    void setScroll(double positionX, double positionY);
    void fitWidth();
    // The runner drawn wider and named: 0 for none. Follows the mouse and the legend.
    qint32 highlightedRunner() const { return m_highlighted; }
    void highlightRunner(qint32 index);
    // The runner under a point of the drawing area, 0 when none.
    qint32 runnerAt(QPoint position) const;
    QWidget* canvas() const;

signals:
    void ModeChanged(qint32 mode);

private:
    class Canvas;
    void draw();
    void rebuildLegend();
    void updateScrollBars();
    void zoomBy(double factorX, double factorY);

    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
    std::unique_ptr<clsChartObject> m_chart;
    qint32 m_mode = 0;
    double m_ratioX = 1;
    double m_ratioY = 1;
    double m_positionX = 0;
    double m_positionY = 0;
    bool m_fitting = true;
    bool m_bostrimeDone = false;
    qint32 m_highlighted = 0;
    bool m_updatingScroll = false;
    QComboBox* m_kinds = nullptr;
    QLabel* m_runnerName = nullptr;
    QListWidget* m_legend = nullptr;
    QScrollBar* m_scrollX = nullptr;
    QScrollBar* m_scrollY = nullptr;
    Canvas* m_canvas = nullptr;
};
