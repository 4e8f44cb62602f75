#pragma once

#include <QTableWidget>

#include <memory>

class clsAnalyzer;
class clsQuorvelin2;

// The lap analysis as a table: the library's DrawGrid fills it through a grid object that
// writes into this table, with the host's section and rank colours.
class ctlAnalysisGrid final : public QTableWidget {
    Q_OBJECT
public:
    explicit ctlAnalysisGrid(QWidget* parent = nullptr);
    ~ctlAnalysisGrid() override;

    void setRoot(std::shared_ptr<clsQuorvelin2> root);
    // Draws the analyzer's grid (nullptr empties the table).
    void setAnalyzer(std::shared_ptr<clsAnalyzer> analyzer);
    // Draws again from the linked analyzer (after a change of the selection).
    void refresh();

private:
    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
};
