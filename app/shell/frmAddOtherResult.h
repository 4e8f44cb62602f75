#pragma once

// Adds a result typed by hand (stored in Other.txt), then rebuilds the results.

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class clsCourseDataTable;
class clsOtherDataTable;

class frmAddOtherResult final : public QDialog {
    Q_OBJECT
public:
    frmAddOtherResult(clsCourseDataTable* CourseDataTable, clsOtherDataTable* OtherDataTable,
                      std::function<void()> rebuild, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmAddOtherResult)

    QComboBox* cboCourse() const { return m_course; }
    QLineEdit* txtName() const { return m_name; }
    QLineEdit* txtClub() const { return m_club; }
    QLineEdit* txtResult() const { return m_result; }
    QCheckBox* chkNotCompete() const { return m_notCompete; }

    void accept() override;

private:
    clsOtherDataTable* m_other;
    std::function<void()> m_rebuild;
    QComboBox* m_course;
    QLineEdit* m_name;
    QLineEdit* m_club;
    QLineEdit* m_result;
    QCheckBox* m_notCompete;
};
