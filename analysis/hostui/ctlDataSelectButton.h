#pragma once

#include <QPushButton>

#include <memory>

class clsAnalyzer;
class clsResultsHolder;

// Chooses which runners the views show (all, none, or a list to tick) through the selection
// members of the analyzer and the results holder, then raises SelectionChanged.
class ctlDataSelectButton final : public QPushButton {
    Q_OBJECT
public:
    explicit ctlDataSelectButton(QWidget* parent = nullptr);
    ~ctlDataSelectButton() override;

    // Both nullptr unlink; the button is disabled while unlinked.
    void setData(std::shared_ptr<clsAnalyzer> analyzer, std::shared_ptr<clsResultsHolder> results);
    // The selection a user makes in the button's window, applied without the window: the
    // 1-based full-set positions to show, in the order given.
    void selectRunners(const QList<qint32>& serials);
    void selectAllRunners();
    void selectNoRunners();

signals:
    void SelectionChanged();

private:
    std::shared_ptr<clsAnalyzer> m_analyzer;
    std::shared_ptr<clsResultsHolder> m_results;
};
