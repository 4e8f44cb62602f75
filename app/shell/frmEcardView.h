#pragma once

// The detail window of one card read: runner, punches against every class, and its results.

#include <QDialog>

#include <memory>

class QLabel;
class QTableWidget;
class clsEcardTagData;
class ctlEcardTagView;
class frmMain;

class frmEcardView final : public QDialog {
    Q_OBJECT
public:
    frmEcardView(frmMain* main, std::shared_ptr<clsEcardTagData> tag, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmEcardView)

    QLabel* lblEcardNo() const { return m_number; }
    QLabel* lblName() const { return m_name; }
    QLabel* lblClub() const { return m_club; }
    ctlEcardTagView* TagView() const { return m_view; }
    QTableWidget* grdResult() const { return m_results; }

    void cmdChangeCourse_Click();
    void cmdChangeName_Click();

private:
    frmMain* m_main;
    std::shared_ptr<clsEcardTagData> m_tag;
    QLabel* m_number;
    QLabel* m_name;
    QLabel* m_club;
    ctlEcardTagView* m_view;
    QTableWidget* m_results;
};
