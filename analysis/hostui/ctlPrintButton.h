#pragma once

#include <QPointer>
#include <QPushButton>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class clsAnalyzer;
class clsQuorvelin2;
class clsResultsHolder;
class ctlLapChart;

// Prints the current print kind (1 the analysis table, 2 the result list, 4 the chart; 0
// nothing) through a print preview that can also save a PDF.
class ctlPrintButton final : public QPushButton {
    Q_OBJECT
public:
    enum Kind : qint32 { None = 0, Analysis = 1, ResultList = 2, Chart = 4 };

    explicit ctlPrintButton(QWidget* parent = nullptr);
    ~ctlPrintButton() override;

    void setRoot(std::shared_ptr<clsQuorvelin2> root);
    void setChart(ctlLapChart* chart);
    void setData(std::shared_ptr<clsAnalyzer> analyzer, std::shared_ptr<clsResultsHolder> results);
    qint32 PrintKind() const { return m_kind; }
    void setPrintKind(qint32 kind);
    // Lays the current print kind out on a device (a printer or a PDF writer); the number of
    // pages printed, 0 for kind 0 or nothing linked.
    int printTo(QPagedPaintDevice& device);
    // Where failures are told; the default is a message box.
    void setMessageSink(std::function<void(const QString&)> sink);

private:
    void onClicked();
    // A4 in the orientation that suits the current kind, with margins of 10 mm.
    bool preparePage(QPagedPaintDevice& device);
    // Lays out on the device's current page layout.
    int paint(QPagedPaintDevice& device);
    void tell(const QString& text);

    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
    std::shared_ptr<clsResultsHolder> m_results;
    // The view owns the chart; it may go first.
    QPointer<ctlLapChart> m_chart;
    qint32 m_kind = 0;
    std::function<void(const QString&)> m_sink;
};
