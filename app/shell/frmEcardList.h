#pragma once

// Every card read of the store, sortable, each opening its detail window.

#include <QDialog>

class ctlSortedGrid;
class frmMain;

class frmEcardList final : public QDialog {
    Q_OBJECT
public:
    explicit frmEcardList(frmMain* main, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmEcardList)

    ctlSortedGrid* grdEcard() const { return m_grid; }
    void Fill();
    void openRow(int row);

private:
    frmMain* m_main;
    ctlSortedGrid* m_grid;
};
