#include "clsConfigControl.h"

#include "basConstants.h"
#include "basText.h"

#include <QSettings>
#include <QStandardPaths>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

#if defined(Q_OS_WIN)
const QString StoreRoot;
#else
// The ini file keeps the registry's key path, so that its groups read like the registry keys.
const QString StoreRoot = u"SOFTWARE/Veskard/Quorvelin2/"_s;
#endif

QString& movedStoreFile() {
    static QString fileName;
    return fileName;
}

std::unique_ptr<QSettings> openStore() {
#if defined(Q_OS_WIN)
    return std::make_unique<QSettings>(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Veskard\\Quorvelin2"_s,
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(clsConfigControl::storeFile(), QSettings::IniFormat);
#endif
}

} // namespace

clsConfigControl::clsConfigControl(clsQuorvelin2* root) : m_root(root) {
    ChangeFolder(u"Quorvelin2"_s);
}

QString clsConfigControl::storeFile() {
    if (!movedStoreFile().isEmpty())
        return movedStoreFile();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/Veskard/Quorvelin2.ini"_s;
}

QString clsConfigControl::key(qint32 ConfigFolder) const {
    return ConfigFolder == Quorvelin2::QV_CONFIG_FOLDER_DATA ? m_folder + u'/' : QString();
}

void clsConfigControl::setStoreFile(const QString& fileName) {
    movedStoreFile() = fileName;
}

void clsConfigControl::ChangeFolder(const QString& NewValue) {
    // A settings file has no empty keys: the folder's key appears with its first value.
    m_folder = NewValue;
}

QString clsConfigControl::Value(qint32 ConfigFolder, const QString& Item, const QString& DefaultValue) const {
    QString text = openStore()->value(StoreRoot + key(ConfigFolder) + Item.toUpper()).toString();
    // The value is read up to its first zero character.
    if (const qsizetype zero = text.indexOf(QChar(0)); zero >= 0)
        text.truncate(zero);
    return text.isEmpty() ? DefaultValue : text;
}

void clsConfigControl::setValue(qint32 ConfigFolder, const QString& Item, const QString& NewValue) {
    setValue(ConfigFolder, Item, QString(), NewValue);
}

void clsConfigControl::setValue(qint32 ConfigFolder, const QString& Item, const QString& DefaultValue,
                                const QString& NewValue) {
    // Values are kept in the system's code page: what it lacks becomes "?", as it does there.
    const QString value =
        basText::fromWindows31J(basText::toWindows31J(NewValue.isEmpty() ? DefaultValue : NewValue));
    const auto settings = openStore();
    settings->setValue(StoreRoot + key(ConfigFolder) + Item.toUpper(), value);
    settings->sync(); // a store that cannot be written loses the value silently
}
