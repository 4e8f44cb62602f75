#pragma once

// Every card read of the store, sortable, each opening its detail window.

#include <QDialog>

#include <functional>
#include <memory>

class clsEcardTagData;
class clsFinishStation;
class ctlSortedGrid;

class frmEcardList final : public QDialog {
    Q_OBJECT
public:
    // Opens the detail window of a read.
    using ShowRead = std::function<void(const std::shared_ptr<clsEcardTagData>&)>;

    frmEcardList(const clsFinishStation& station, ShowRead showRead, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmEcardList)

    ctlSortedGrid* grdEcard() const { return m_grid; }
    void Fill();
    void openRow(int row);

private:
    const clsFinishStation& m_station;
    ShowRead m_showRead;
    ctlSortedGrid* m_grid;
};
