#include "basLapExport.h"

#include "ProjectError.h"
#include "basConstants.h"
#include "clsFileControl.h"
#include "clsQuorvelin2.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

using namespace Qt::StringLiterals;

namespace basLapExport {
namespace {

QString libraryFilter(clsQuorvelin2& root) {
    return root.FileControl()->FileSaveFilter();
}

} // namespace

QString saveFilter(clsQuorvelin2& root) {
    const QStringList parts = libraryFilter(root).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + u" ("_s + QString(parts[i + 1]).replace(u';', u' ') + u')';
    return filters.join(u";;"_s);
}

int filterIndexOf(const QString& library, const QString& path) {
    const QStringList parts = library.split(u'|');
    const QString name = QFileInfo(path).fileName();
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            if (pattern.trimmed() == u"*.*"_s || pattern.trimmed() == u"*"_s)
                continue;
            const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
                                        QRegularExpression::CaseInsensitiveOption);
            if (re.match(name).hasMatch())
                return static_cast<int>(i / 2) + 1;
        }
    }
    return 1;
}

namespace {

// The file kind of the library's save filter that the extension picks, or the kind given.
bool saveAs(clsQuorvelin2& root, const QString& path, std::optional<qint32> kind, QString* error) {
    try {
        clsFileControl& control = *root.FileControl();
        const qint32 mode =
            kind ? *kind : control.FileSaveMode(filterIndexOf(control.FileSaveFilter(), path));
        if (control.SaveLapFile(path, mode))
            return true;
        if (error)
            *error = root.ErrorComment();
    } catch (const ProjectError& e) {
        if (error)
            *error = e.description();
    }
    if (error && error->isEmpty())
        *error = u"ラップファイルを保存できませんでした: "_s + path;
    return false;
}

} // namespace

bool save(clsQuorvelin2& root, const QString& path, QString* error) {
    return saveAs(root, path, std::nullopt, error);
}

bool saveIof3(clsQuorvelin2& root, const QString& path, QString* error) {
    return saveAs(root, path, Quorvelin2::QV_FILETYPE_IOF_XML_30_RESULT, error);
}

} // namespace basLapExport
