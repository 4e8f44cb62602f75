#pragma once

#include <QTableWidget>

#include <memory>

class clsAnalyzer;
class clsQuorvelin2;

// Per leg its length, upper average, difficulty and the six best leg times.
class ctlLegDataGrid final : public QTableWidget {
    Q_OBJECT
public:
    explicit ctlLegDataGrid(QWidget* parent = nullptr);
    ~ctlLegDataGrid() override;

    void setRoot(std::shared_ptr<clsQuorvelin2> root);
    void setAnalyzer(std::shared_ptr<clsAnalyzer> analyzer);
    void refresh();

private:
    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
};
