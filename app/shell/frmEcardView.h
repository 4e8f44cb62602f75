#pragma once

// The detail window of one card read: runner, punches against every class, and its results.

#include <QDialog>

#include <functional>
#include <memory>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableWidget;
class clsEcardTagData;
class clsFinishStation;
class ctlEcardTagView;

class frmEcardView final : public QDialog {
    Q_OBJECT
public:
    // The class and name dialogs edit through the station; redraw then updates the views
    // behind (the main window's, without re-filling its class list).
    frmEcardView(clsFinishStation& station, std::shared_ptr<clsEcardTagData> tag,
                 std::function<void()> redraw, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmEcardView)

    QLabel* lblEcardNo() const { return m_number; }
    QLabel* lblName() const { return m_name; }
    QLabel* lblClub() const { return m_club; }
    ctlEcardTagView* TagView() const { return m_view; }
    QTableWidget* grdResult() const { return m_results; }

    // Shows the button that prints the read's lap ticket again.
    void setReprint(std::function<void()> reprint);
    QPushButton* cmdReprint() const { return m_reprint; }

    void cmdChangeCourse_Click();
    void cmdChangeName_Click();

private:
    void redraw();

    clsFinishStation& m_station;
    std::function<void()> m_redraw;
    std::shared_ptr<clsEcardTagData> m_tag;
    QLabel* m_number;
    QLabel* m_name;
    QLabel* m_club;
    ctlEcardTagView* m_view;
    QTableWidget* m_results;
    QHBoxLayout* m_buttons;
    QPushButton* m_reprint = nullptr;
};
