#pragma once

// Chooses one of several reads of the same card number.

#include "KeyedList.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QListWidget;
class clsEcardTagData;

class frmEcardSelect final : public QDialog {
    Q_OBJECT
public:
    // Opens the detail window of a read.
    using ShowRead = std::function<void(const std::shared_ptr<clsEcardTagData>&)>;

    frmEcardSelect(const KeyedList<std::shared_ptr<clsEcardTagData>>& reads, ShowRead showRead,
                   QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmEcardSelect)

    // One line of the list: read times and the punched codes.
    static QString lineOf(const clsEcardTagData& tag);
    QListWidget* lstEcard() const { return m_list; }
    void openRow(int row);

private:
    ShowRead m_showRead;
    std::vector<std::shared_ptr<clsEcardTagData>> m_reads;
    QListWidget* m_list;
};
