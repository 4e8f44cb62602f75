#include "clsEventSettingFile.h"

#include "basDate.h"
#include "basRuntime.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

QString clsEventSettingFile::pathIn(const QString& folder) {
    return QDir(folder).filePath(FileName);
}

clsEventSettingFile clsEventSettingFile::read(const QString& folder) {
    clsEventSettingFile settings;
    const QString path = pathIn(folder);
    if (!QFileInfo::exists(path))
        return settings;
    QStringList lines;
    if (!basTextFile::readLines(path, &lines) || lines.size() < 3)
        return settings;
    const QString rule = lines[2].trimmed();
    if (!basRuntime::isNumeric(rule))
        return settings;
    const double value = basRuntime::roundHalfEven(basRuntime::numericValue(rule));
    if (!std::isfinite(value) || value < -2147483648.0 || value > 2147483647.0)
        return settings;
    settings.EventName = lines[0];
    settings.EventDate = basDate::recognize(lines[1].trimmed()).value_or(0.0);
    settings.PenacheckRule = static_cast<qint32>(value);
    return settings;
}

basTextFile::Result clsEventSettingFile::write(const QString& folder) const {
    return basTextFile::writeLines(
        pathIn(folder),
        {EventName, basDate::format(EventDate, basDate::Form::YyyyMmDd), QString::number(PenacheckRule)});
}
