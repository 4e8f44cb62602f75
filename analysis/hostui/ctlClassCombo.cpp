#include "ctlClassCombo.h"

#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

#include <QSignalBlocker>

using namespace Qt::StringLiterals;

namespace {
// Item data of an entry: the class position (0 for a course entry) and the course number.
constexpr int ClassRole = Qt::UserRole;
constexpr int CourseRole = Qt::UserRole + 1;
} // namespace

ctlClassCombo::ctlClassCombo(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setPlaceholderText(u"クラスを選択"_s);
    connect(this, &QComboBox::activated, this, &ctlClassCombo::chooseEntry);
}

ctlClassCombo::~ctlClassCombo() = default;

void ctlClassCombo::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    const QSignalBlocker quiet(this);
    m_root = std::move(root);
    m_analyzer.reset();
    m_results.reset();
    clear();
    if (!m_root)
        return;
    for (const QString& expression : m_root->ClassAndCourseList()) {
        QString name, fileName;
        qint32 classIndex = 0, courseNum = 0, runners = 0;
        m_root->SeparateClassAndCourseValue(expression, name, classIndex, courseNum, fileName, runners);
        // The texts come from the classes themselves: a name holding a comma does not survive
        // the expression, whose positions before the name do.
        if (classIndex > 0) {
            if (const auto cls = m_root->ClassData(classIndex)) {
                name = cls->ClassName();
                runners = cls->LapCount();
            }
        } else {
            QStringList names;
            runners = 0;
            for (qint32 c = 1; c <= m_root->ClassCount(); ++c)
                if (const auto cls = m_root->ClassData(c); cls->CourseNum() == courseNum) {
                    names << cls->ClassName();
                    runners += cls->LapCount();
                }
            name = names.join(u'/');
        }
        const QString text = classIndex > 0 ? u"%1 (%2人)"_s.arg(name).arg(runners)
                                            : u"コース%1: %2 (%3人)"_s.arg(courseNum).arg(name).arg(runners);
        addItem(text);
        setItemData(count() - 1, classIndex, ClassRole);
        setItemData(count() - 1, courseNum, CourseRole);
    }
    setCurrentIndex(-1);
}

void ctlClassCombo::chooseEntry(int index) {
    if (!m_root || index < 0 || index >= count())
        return;
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(index);
    }
    const qint32 classIndex = itemData(index, ClassRole).toInt();
    const qint32 courseNum = itemData(index, CourseRole).toInt();
    auto analyzer = m_root->NewAnalyzer();
    auto results = m_root->NewResultsHolder();
    if (classIndex > 0) {
        analyzer->AddClass(classIndex);
        results->AddClass(classIndex);
    } else {
        analyzer->AddCourse(courseNum);
        results->AddCourse(courseNum);
    }
    analyzer->Execute();
    results->CalcRank();
    m_analyzer = std::move(analyzer);
    m_results = std::move(results);
    emit ClassChosen();
}
