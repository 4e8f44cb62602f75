#pragma once

// The names of one of the name tables, with whether each card has been read.

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class clsEcardTagData;
class clsFinishStation;
class ctlSortedGrid;

class frmNameList final : public QDialog {
    Q_OBJECT
public:
    // Opens the detail window of a read.
    using ShowRead = std::function<void(const std::shared_ptr<clsEcardTagData>&)>;

    frmNameList(const clsFinishStation& station, ShowRead showRead, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmNameList)

    QComboBox* cboTable() const { return m_table; }
    ctlSortedGrid* grdName() const { return m_grid; }
    QLabel* lblCount() const { return m_count; }
    void Fill();
    void openRow(int row);

private:
    const clsFinishStation& m_station;
    ShowRead m_showRead;
    QComboBox* m_table;
    ctlSortedGrid* m_grid;
    QLabel* m_count;
};
