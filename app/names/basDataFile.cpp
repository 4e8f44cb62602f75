#include "basDataFile.h"

namespace basDataFile {

QString pathInFolder(const QString& folder, const QString& fileName) {
    QString base = folder;
    if (base.endsWith(u'\\') || base.endsWith(u'/'))
        base.chop(1);
    if (folder.isEmpty())
        return fileName;
    return base + u'/' + fileName;
}

QString trimSpaces(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == u' ')
        ++from;
    while (to > from && text[to - 1] == u' ')
        --to;
    return text.mid(from, to - from).toString();
}

} // namespace basDataFile
