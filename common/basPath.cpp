#include "basPath.h"

#include <algorithm>

namespace basPath {

namespace {

// Names written on Windows: a backslash counts first, a slash only where there is none.
qsizetype lastSeparator(const QString& name) {
    qsizetype cut = name.lastIndexOf(u'\\');
    if (cut < 0)
        cut = name.lastIndexOf(u'/');
    if (cut < 0)
        cut = name.lastIndexOf(u':');
    return cut;
}

} // namespace

QString fileNamePart(const QString& name) {
    const qsizetype cut = lastSeparator(name);
    return cut < 0 ? name : name.mid(cut + 1);
}

QString folderPart(const QString& name) {
    const qsizetype cut = lastSeparator(name);
    return cut < 0 ? QString() : name.left(cut + 1);
}

QString withTrailingSeparator(const QString& folder) {
    if (folder.endsWith(u'\\') || folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString folderOf(const QString& path) {
    qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    if (cut < 0)
        cut = path.lastIndexOf(u':');
    return withTrailingSeparator(cut < 0 ? QString() : path.left(cut + 1));
}

} // namespace basPath
