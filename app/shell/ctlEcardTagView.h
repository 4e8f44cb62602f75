#pragma once

// The punches of one card read, and where each fits on every class's course.

#include <QTableWidget>

#include <memory>

class clsCourseDataTable;
class clsEcardTagData;

class ctlEcardTagView final : public QTableWidget {
    Q_OBJECT
public:
    explicit ctlEcardTagView(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ctlEcardTagView)

    void MakeView(const clsCourseDataTable& CourseDataList, const clsEcardTagData& TagData);
};
