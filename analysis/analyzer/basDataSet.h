#pragma once

// What the analyzer and the results holder share about filling a data set: taking whole classes
// and courses from the current root object, and the names of the set.

#include "basDataSetFields.h"
#include "basQuorvelin2.h"
#include "basText.h"
#include "clsQuorvelin2.h"

#include <QString>
#include <QVariant>

namespace basDataSet {

// The base name for output files: narrow, lower case, without the characters a file name
// cannot hold.
inline QString FileNameOf(const QString& name) {
    QString out = basText::toNarrow(name).toLower();
    for (const QChar c : {u':', u'/', u'|', u'>', u'<', u'\'', u'"'})
        out.remove(c);
    return out;
}

// "4200m ↑150m"; empty when no length is given.
inline QString ClassInfo(qint32 length, qint32 climb) {
    if (length == 0)
        return QString();
    QString out = QString::number(length) + QStringLiteral("m");
    if (climb != 0)
        out += QStringLiteral(" ↑") + QString::number(climb) + QStringLiteral("m");
    return out;
}

// The class a ClassID names: a text is a class name, anything else a 1-based position.
inline std::shared_ptr<clsClassData> ClassOf(const QVariant& classId) {
    clsQuorvelin2* root = basQuorvelin2::CurrentRoot();
    if (!root)
        return nullptr;
    if (classId.typeId() == QMetaType::QString) {
        if (!root->IsClassExists(classId.toString()))
            return nullptr;
        return root->ClassData(classId);
    }
    bool ok = false;
    const double position = classId.toDouble(&ok);
    if (!ok || position < 1 || position > root->ClassCount())
        return nullptr;
    return root->ClassData(classId);
}

// AddClass of both kinds of data set: names, cut-off rank, every record, then the course facts.
template <typename Set> void AddClass(Set& set, const QVariant& classId) {
    const std::shared_ptr<clsClassData> cls = ClassOf(classId);
    if (!cls)
        return;
    basDataSetFields::Fields& f = set.fields();
    if (f.name.isEmpty()) {
        f.name = cls->ClassName();
        f.fileName = cls->FileName();
        f.cutOffRank = cls->CutOffRank();
    } else {
        f.name += QStringLiteral("/") + cls->ClassName();
        f.fileName += QStringLiteral("_") + cls->FileName();
        f.isMix = true;
        f.cutOffRank = 0;
    }
    for (qint32 i = 1; i <= cls->LapCount(); ++i)
        set.AddLap(cls->LapData(i));
    if (cls->ControlCount() != 0)
        f.controlCount = cls->ControlCount();
    if (cls->Length() != 0)
        f.length = cls->Length();
    if (cls->Climb() != 0)
        f.climb = cls->Climb();
}

template <typename Set> void AddCourse(Set& set, qint32 courseNum) {
    clsQuorvelin2* root = basQuorvelin2::CurrentRoot();
    if (!root)
        return;
    // Positions are taken first: adding never changes the class list, but stay safe if it did.
    std::vector<qint32> positions;
    for (qint32 p = 1; p <= root->ClassCount(); ++p)
        if (const auto cls = root->ClassData(QVariant(p)); cls && cls->CourseNum() == courseNum)
            positions.push_back(p);
    for (qint32 p : positions)
        set.AddClass(QVariant(p));
}

} // namespace basDataSet
