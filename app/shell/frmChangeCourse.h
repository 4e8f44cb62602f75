#pragma once

// Gives one card read its own class list and the non-competitive mark (stored in Other.txt),
// then rebuilds the results.

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QListWidget;
class clsCourseDataTable;
class clsOtherDataTable;

class frmChangeCourse final : public QDialog {
    Q_OBJECT
public:
    frmChangeCourse(const QString& EcardTagUniqueKey, clsCourseDataTable* CourseDataTable,
                    clsOtherDataTable* OtherDataTable, std::function<void()> rebuild,
                    QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmChangeCourse)

    QCheckBox* chkCourse() const { return m_specify; }
    QCheckBox* chkNotCompete() const { return m_notCompete; }
    QListWidget* lstCourse() const { return m_list; }

    void accept() override;

private:
    QString m_key;
    clsOtherDataTable* m_other;
    std::function<void()> m_rebuild;
    QCheckBox* m_specify;
    QCheckBox* m_notCompete;
    QListWidget* m_list;
};
