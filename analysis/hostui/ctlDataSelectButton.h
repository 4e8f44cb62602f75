#pragma once

#include <QPushButton>

#include <memory>

class clsAnalyzer;
class clsResultsHolder;

// Chooses which runners the views show (all, none, or a list to tick) through the selection
// members of the analyzer and the results holder, then raises SelectionChanged. Both objects
// always show the same runners, in result order.
class ctlDataSelectButton final : public QPushButton {
    Q_OBJECT
public:
    explicit ctlDataSelectButton(QWidget* parent = nullptr);
    ~ctlDataSelectButton() override;

    // Both nullptr unlink; the button is disabled while unlinked.
    void setData(std::shared_ptr<clsAnalyzer> analyzer, std::shared_ptr<clsResultsHolder> results);
    // The selection a user makes in the button's window, applied without the window: the
    // 1-based positions in runnerNames() to show (positions given twice or outside count once
    // or not at all). The views show them in result order.
    void selectRunners(const QList<qint32>& positions);
    void selectAllRunners();
    void selectNoRunners();

    // The runners to choose from: the analyzer's full set in result order, then the results
    // holder's runners that have no leg times (and so no analysis).
    QStringList runnerNames() const;
    // Positions in runnerNames() of the runners shown now.
    QList<qint32> selectedRunners() const;

signals:
    void SelectionChanged();

private:
    struct Runner {
        qint32 serial;
        QStringList fields; // rank, name, club, result
    };
    std::vector<Runner> runners() const;
    void choose();

    std::shared_ptr<clsAnalyzer> m_analyzer;
    std::shared_ptr<clsResultsHolder> m_results;
};
