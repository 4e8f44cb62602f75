#pragma once

#include <QComboBox>

#include <memory>

class clsAnalyzer;
class clsQuorvelin2;
class clsResultsHolder;

// The class choice of the analysis view: one entry per class of the root object, then the
// course entries that two or more classes share, each with its runner count. Choosing an entry
// builds that entry's analyzer (executed) and results holder (ranked) and raises ClassChosen.
class ctlClassCombo final : public QComboBox {
    Q_OBJECT
public:
    explicit ctlClassCombo(QWidget* parent = nullptr);
    ~ctlClassCombo() override;

    // Links the combo to a root object (nullptr unlinks): the entries are filled anew and no
    // entry is chosen yet.
    void setRoot(std::shared_ptr<clsQuorvelin2> root);
    std::shared_ptr<clsQuorvelin2> root() const { return m_root; }
    // Of the chosen entry; nullptr before a choice.
    std::shared_ptr<clsAnalyzer> Analyzer() const { return m_analyzer; }
    std::shared_ptr<clsResultsHolder> ResultsHolder() const { return m_results; }
    // Chooses the entry at a 0-based position as a user would (raises ClassChosen); a position
    // outside the entries changes nothing.
    void chooseEntry(int index);

signals:
    void ClassChosen();

private:
    std::shared_ptr<clsQuorvelin2> m_root;
    std::shared_ptr<clsAnalyzer> m_analyzer;
    std::shared_ptr<clsResultsHolder> m_results;
};
