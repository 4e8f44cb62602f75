#pragma once

#include <QPointer>
#include <QPushButton>

#include <functional>
#include <memory>

class clsAnalyzer;
class clsQuorvelin2;
class clsResultsHolder;
class ctlLapChart;

// Writes the page set of the current output kind (1 analysis, 2 result list, 4 leg data,
// 8 chart; 0 nothing) into a folder the user chooses, with the progress shown.
class ctlHtmlOutputButton final : public QPushButton {
    Q_OBJECT
public:
    enum Kind : qint32 { None = 0, Analysis = 1, ResultList = 2, LegData = 4, Chart = 8 };

    explicit ctlHtmlOutputButton(QWidget* parent = nullptr);
    ~ctlHtmlOutputButton() override;

    void setRoot(std::shared_ptr<clsQuorvelin2> root);
    void setChart(ctlLapChart* chart);
    void setData(std::shared_ptr<clsAnalyzer> analyzer, std::shared_ptr<clsResultsHolder> results);
    qint32 OutputKind() const { return m_kind; }
    void setOutputKind(qint32 kind);
    // The folder question; the default asks with the platform's folder dialog. An empty answer
    // cancels.
    void setFolderChooser(std::function<QString()> chooser);
    // Writes the page set into the folder as a click would after the folder was chosen;
    // the paths written, empty for kind 0.
    QStringList outputTo(const QString& folder);
    // Where failures are told; the default is a message box.
    void setMessageSink(std::function<void(const QString&)> sink);
    // The file name pattern of a kind's pages ("*" stands for the class's file name); empty for
    // kinds without pages. Every kind also writes the index page "index.html".
    static QString pagePattern(qint32 kind);

private:
    void onClicked();

    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
    std::shared_ptr<clsResultsHolder> m_results;
    // The view owns the chart; it may go first.
    QPointer<ctlLapChart> m_chart;
    std::function<QString()> m_chooser;
    std::function<void(const QString&)> m_sink;
    qint32 m_kind = 0;
};
