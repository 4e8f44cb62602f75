#include "basCliIof.h"

#include "basConstants.h"
#include "basIofReader.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace basCliIof {

qint32 loadKind(const QString& input, qint32 requested) {
    if (requested != Quorvelin2::QV_FILETYPE_AUTODETECT ||
        QFileInfo(input).suffix().compare(u"lzh"_s, Qt::CaseInsensitive) == 0)
        return requested;
    const qint32 kind = basIofReader::fileKind(input);
    return kind != 0 ? kind : requested;
}

std::optional<qint32> kindNamed(const QString& name, bool loading) {
    if (name.compare(u"iof3"_s, Qt::CaseInsensitive) == 0)
        return Quorvelin2::QV_FILETYPE_IOF_XML_30_RESULT;
    if (loading && name.compare(u"iof2"_s, Qt::CaseInsensitive) == 0)
        return Quorvelin2::QV_FILETYPE_IOF_XML_20_RESULT;
    return std::nullopt;
}

} // namespace basCliIof
