#include "basFileName.h"

#include "basPath.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace basFileName {

namespace {
qsizetype extensionDot(const QString& name) {
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        const QChar c = name[i];
        if (c == u'.')
            return i;
        if (c == u'\\' || c == u'/' || c == u':')
            return -1;
    }
    return -1;
}
} // namespace

QString Extension(const QString& name) {
    if (!name.contains(u'*') && !name.contains(u'?') && !name.isEmpty() && QFileInfo(name).isDir())
        return {};
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

QString FileNamePart(const QString& name) {
    return basPath::fileNamePart(name);
}

QString WithoutExtension(const QString& name) {
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? name : name.left(dot);
}

QString FolderPart(const QString& name) {
    return basPath::folderPart(name);
}

QString WithTrailingSeparator(const QString& folder) {
    return basPath::withTrailingSeparator(folder);
}

} // namespace basFileName
