#pragma once

// Adds a result typed by hand; the store callback keeps it (Other.txt) and rebuilds the
// results.

#include "clsFinishStation.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class clsCourseDataTable;

class frmAddOtherResult final : public QDialog {
    Q_OBJECT
public:
    // Stores the typed result; false when it could not (the dialog then stays open).
    using Store = std::function<bool(const clsFinishStation::TypedResult&)>;

    frmAddOtherResult(const clsCourseDataTable& CourseDataTable, Store store, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmAddOtherResult)

    QComboBox* cboCourse() const { return m_course; }
    QLineEdit* txtName() const { return m_name; }
    QLineEdit* txtClub() const { return m_club; }
    QLineEdit* txtResult() const { return m_result; }
    QCheckBox* chkNotCompete() const { return m_notCompete; }

    void accept() override;

private:
    Store m_store;
    QComboBox* m_course;
    QLineEdit* m_name;
    QLineEdit* m_club;
    QLineEdit* m_result;
    QCheckBox* m_notCompete;
};
