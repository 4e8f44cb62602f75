#pragma once

// Chooses one of several reads of the same card number.

#include "KeyedList.h"

#include <QDialog>

#include <memory>
#include <vector>

class QListWidget;
class clsEcardTagData;
class frmMain;

class frmEcardSelect final : public QDialog {
    Q_OBJECT
public:
    frmEcardSelect(frmMain* main, const KeyedList<std::shared_ptr<clsEcardTagData>>& reads,
                   QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmEcardSelect)

    // One line of the list: read times and the punched codes.
    static QString lineOf(const clsEcardTagData& tag);
    QListWidget* lstEcard() const { return m_list; }
    void openRow(int row);

private:
    frmMain* m_main;
    std::vector<std::shared_ptr<clsEcardTagData>> m_reads;
    QListWidget* m_list;
};
