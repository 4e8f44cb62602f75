#include "basTextFile.h"

#include "basText.h"

#include <QFile>
#include <QSaveFile>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace basTextFile {
namespace {

Result failure(const QFileDevice& file) {
    return Result{false, file.errorString()};
}

} // namespace

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

Result readLines(const QString& path, QStringList* lines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(file);
    *lines = splitLines(basText::fromWindows31J(bytes));
    return {};
}

Result appendLine(const QString& path, const QString& line) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return failure(file);
    QByteArray bytes = basText::toWindows31J(line);
    bytes += "\r\n";
    if (file.write(bytes) != bytes.size() || !file.flush())
        return failure(file);
    if (::fsync(file.handle()) != 0)
        return Result{false, QString::fromLocal8Bit(strerror(errno))};
    file.close();
    return {};
}

Result writeBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file);
    if (file.write(bytes) != bytes.size())
        return failure(file);
    if (!file.commit())
        return failure(file);
    return {};
}

Result writeLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += basText::toWindows31J(line);
        bytes += "\r\n";
    }
    return writeBytes(path, bytes);
}

} // namespace basTextFile
