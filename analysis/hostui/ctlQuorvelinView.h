#pragma once

#include <QWidget>

#include <memory>

class QComboBox;
class clsAnalyzer;
class clsQuorvelin2;
class clsResultsHolder;
class ctlAnalysisGrid;
class ctlClassCombo;
class ctlDataSelectButton;
class ctlHtmlOutputButton;
class ctlLapChart;
class ctlLegDataGrid;
class ctlPrintButton;
class ctlResultGrid;

// The analysis view: the class choice, the view-type list and the output buttons in one row, the
// data view of the chosen type below. It hosts the eight analysis controls and wires them to a
// root object, to the chosen class's analyzer and results holder and to each other.
class ctlQuorvelinView final : public QWidget {
    Q_OBJECT
public:
    // The view-type list's entries, in list order.
    enum ViewType { ViewNone = 0, ViewAnalysis = 1, ViewResult = 2, ViewLegData = 3, ViewChart = 4 };

    explicit ctlQuorvelinView(QWidget* parent = nullptr);
    ~ctlQuorvelinView() override;
    Q_DISABLE_COPY_MOVE(ctlQuorvelinView)

    // Wires the hosted controls to a new root object; what was chosen before is forgotten.
    void setQuorvelin2Object(std::shared_ptr<clsQuorvelin2> root);
    std::shared_ptr<clsQuorvelin2> root() const { return m_root; }
    // "major.minor" with two minor digits, and " ( Build n )" when WithTestBuild.
    QString Version(bool WithTestBuild = true) const;

    // What a class choice in the combo does, with the analyzer and results holder it gave:
    // extra analysis, linking, display update.
    void useClassData(std::shared_ptr<clsAnalyzer> analyzer, std::shared_ptr<clsResultsHolder> results);
    // Shows the data view of the current view type linked to the current analysis.
    void updateDisplay();
    // Chooses a view type as a user would in the list.
    void setViewType(ViewType type);
    ViewType viewType() const;

    std::shared_ptr<clsAnalyzer> Analyzer() const { return m_analyzer; }
    std::shared_ptr<clsResultsHolder> ResultsHolder() const { return m_results; }

    ctlClassCombo* classCombo() const { return m_cboClass; }
    QComboBox* viewTypeList() const { return m_cboViewType; }
    ctlDataSelectButton* dataSelectButton() const { return m_cmdDataSelect; }
    ctlHtmlOutputButton* htmlOutputButton() const { return m_cmdHtml; }
    ctlPrintButton* printButton() const { return m_cmdPrint; }
    ctlAnalysisGrid* analysisGrid() const { return m_grdAnalysis; }
    ctlResultGrid* resultGrid() const { return m_grdResult; }
    ctlLegDataGrid* legDataGrid() const { return m_grdLegData; }
    ctlLapChart* lapChart() const { return m_chart; }

private:
    void unlinkAll();
    void hideDataViews();

    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
    std::shared_ptr<clsResultsHolder> m_results;

    ctlClassCombo* m_cboClass;
    QComboBox* m_cboViewType;
    ctlDataSelectButton* m_cmdDataSelect;
    ctlHtmlOutputButton* m_cmdHtml;
    ctlPrintButton* m_cmdPrint;
    ctlAnalysisGrid* m_grdAnalysis;
    ctlResultGrid* m_grdResult;
    ctlLegDataGrid* m_grdLegData;
    ctlLapChart* m_chart;
};
