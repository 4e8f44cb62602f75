#pragma once

#include <QTableWidget>

#include <memory>

class clsAnalyzer;
class clsGraphicControl;
class clsQuorvelin2;
class clsTableGridObject;
class QTableView;

// The lap analysis as a table: the library's DrawGrid fills it through a grid object that
// writes into this table, with the host's section and rank colours. The title column and the
// name and club rows stay in view while the rest scrolls.
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

    // The selected cells as tab-separated lines, as Ctrl+C copies them for a spreadsheet.
    QString selectedText() const;

    // The grid object DrawGrid writes into (the colours the library chose per cell).
    clsTableGridObject* gridObject() const { return m_grid; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    static constexpr int FixedRows = 2;
    void placeFixedCells();

    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
    clsTableGridObject* m_grid;
    QTableView* m_titles;
    QTableView* m_names;
    QTableView* m_corner;
    bool m_filling = false;
    std::unique_ptr<clsGraphicControl> m_ownControl;
};
