#pragma once

// Gives one card read its own class list and the non-competitive mark; the store callback
// keeps them (Other.txt) and rebuilds the results.

#include "clsSpecificData.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QListWidget;
class clsCourseDataTable;

class frmChangeCourse final : public QDialog {
    Q_OBJECT
public:
    // Stores the class list (none: the pattern decides) and the mark; false when it could not
    // (the dialog then stays open).
    using Store = std::function<bool(const std::optional<QStringList>& CourseList, bool IsNotCompete)>;

    // specific: the read's specific data now (none when it has none).
    frmChangeCourse(const clsCourseDataTable& CourseDataTable, const clsSpecificDataPtr& specific,
                    Store store, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmChangeCourse)

    QCheckBox* chkCourse() const { return m_specify; }
    QCheckBox* chkNotCompete() const { return m_notCompete; }
    QListWidget* lstCourse() const { return m_list; }

    void accept() override;

private:
    Store m_store;
    QCheckBox* m_specify;
    QCheckBox* m_notCompete;
    QListWidget* m_list;
};
