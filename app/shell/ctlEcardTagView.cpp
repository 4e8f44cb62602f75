#include "ctlEcardTagView.h"

#include "basDate.h"
#include "clsCourseDataTable.h"
#include "clsEcardTagData.h"

#include <QHeaderView>

using namespace Qt::StringLiterals;

ctlEcardTagView::ctlEcardTagView(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setVisible(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

void ctlEcardTagView::MakeView(const clsCourseDataTable& CourseDataList, const clsEcardTagData& TagData) {
    clear();
    QStringList headers{u"番号"_s, u"経過時間"_s, u"通過時刻"_s};
    for (const auto& entry : CourseDataList.CourseList())
        headers << entry.value->CourseName();
    setColumnCount(static_cast<int>(headers.size()));
    setHorizontalHeaderLabels(headers);
    const int rows = TagData.ReadingUnitPosIndex();
    setRowCount(rows);
    const auto right = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return item;
    };
    for (int i = 1; i <= rows; ++i) {
        const qint32 code = TagData.ControlNum(i);
        const double elapsed = TagData.ControlTime(i);
        setItem(i - 1, 0, right(QString::number(code)));
        setItem(i - 1, 1, right(basDate::format(elapsed, basDate::Form::HhNnSs)));
        setItem(i - 1, 2, right(basDate::format(TagData.ActivateTime() + elapsed, basDate::Form::HhNnSs)));
        int column = 3;
        for (const auto& entry : CourseDataList.CourseList()) {
            const auto& course = entry.value;
            const int finish = course->ControlCount() + 1;
            QStringList marks;
            for (int p = 0; p <= finish; ++p) {
                bool fits = false;
                for (int k = 1; k <= course->UnitCodeKind(p); ++k)
                    fits = fits || course->UnitCode(p, k) == code;
                if (!fits)
                    continue;
                marks << (p == 0 ? u"△"_s : p == finish ? u"◎"_s : QString::number(p));
            }
            auto* item = new QTableWidgetItem(marks.join(u','));
            item->setTextAlignment(Qt::AlignCenter);
            setItem(i - 1, column++, item);
        }
    }
    resizeColumnsToContents();
}
