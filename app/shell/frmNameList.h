#pragma once

// The names of one of the name tables, with whether each card has been read.

#include <QDialog>

class QComboBox;
class QLabel;
class ctlSortedGrid;
class frmMain;

class frmNameList final : public QDialog {
    Q_OBJECT
public:
    explicit frmNameList(frmMain* main, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmNameList)

    QComboBox* cboTable() const { return m_table; }
    ctlSortedGrid* grdName() const { return m_grid; }
    QLabel* lblCount() const { return m_count; }
    void Fill();
    void openRow(int row);

private:
    frmMain* m_main;
    QComboBox* m_table;
    ctlSortedGrid* m_grid;
    QLabel* m_count;
};
