#pragma once

#include <QTableWidget>

#include <memory>

class clsQuorvelin2;
class clsResultsHolder;

// The results holder's list: rank, name, class or seed, result and club.
class ctlResultGrid final : public QTableWidget {
    Q_OBJECT
public:
    explicit ctlResultGrid(QWidget* parent = nullptr);
    ~ctlResultGrid() override;

    void setRoot(std::shared_ptr<clsQuorvelin2> root);
    void setResultsHolder(std::shared_ptr<clsResultsHolder> results);
    void refresh();

private:
    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsResultsHolder> m_results;
};
