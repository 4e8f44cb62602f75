#include "clsMachineSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MaxValueLength = 1024;

// QSettings separates sub-keys with "/"; the key is written with "\" as the registry does.
QString groupName() {
    QString g = clsMachineSettings::Key;
    g.replace(u'\\', u'/');
    return g;
}

} // namespace

QString clsMachineSettings::defaultFile() {
    const QString overridden = qEnvironmentVariable("BREVANTO2_SETTINGS");
    if (!overridden.isEmpty())
        return overridden;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(u"Veskard/Brevanto2.conf"_s);
}

clsMachineSettings::clsMachineSettings(const QString& file) {
#ifdef Q_OS_WIN
    if (file.isEmpty()) {
        m_settings = std::make_unique<QSettings>(u"HKEY_LOCAL_MACHINE\\"_s + Key, QSettings::NativeFormat);
        return;
    }
#endif
    const QString path = file.isEmpty() ? defaultFile() : file;
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    m_settings->beginGroup(groupName());
}

clsMachineSettings::~clsMachineSettings() = default;

QString clsMachineSettings::value(const QString& name) const {
    QString text = m_settings->value(name).toString();
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    if (text.size() > MaxValueLength)
        text.truncate(MaxValueLength);
    return text;
}

void clsMachineSettings::setValue(const QString& name, const QString& text) {
    m_settings->setValue(name, text);
    m_settings->sync();
}

void clsMachineSettings::ensureKey() {
    // A file store has no empty keys; the key appears with its first value.
    m_settings->sync();
}

QString clsMachineSettings::file() const {
    return m_settings->fileName();
}
