#pragma once

#include "Quorvelin2Global.h"

#include <QObject>
#include <QString>

class clsQuorvelin2;

// The library's settings store: named text values in the folder of the current data folder name
// (QV_CONFIG_FOLDER_DATA) or in the system folder shared by all (QV_CONFIG_FOLDER_SYSTEM). On
// Windows the values live in the registry under HKEY_LOCAL_MACHINE\SOFTWARE\Veskard\Quorvelin2,
// elsewhere in Veskard/Quorvelin2.ini under the user's configuration folder, with the same key
// path and value names. Reading never fails (a missing value gives the default); a write the
// store cannot keep is lost without a word.
class QV_EXPORT clsConfigControl : public QObject {
    Q_OBJECT
public:
    explicit clsConfigControl(clsQuorvelin2* root);

    Q_INVOKABLE void ChangeFolder(const QString& NewValue);
    Q_INVOKABLE QString Value(qint32 ConfigFolder, const QString& Item,
                              const QString& DefaultValue = QString()) const;
    // An empty new value stores the default in its place.
    Q_INVOKABLE void setValue(qint32 ConfigFolder, const QString& Item, const QString& NewValue);
    Q_INVOKABLE void setValue(qint32 ConfigFolder, const QString& Item, const QString& DefaultValue,
                              const QString& NewValue);

    QString folderName() const { return m_folder; }
    // The settings file outside Windows: the one set by setStoreFile, else Veskard/Quorvelin2.ini
    // in the user's configuration folder.
    static QString storeFile();
    // Moves the store (of every instance) to another settings file; an empty name restores the
    // usual place.
    static void setStoreFile(const QString& fileName);

    clsQuorvelin2* root() const { return m_root; }

private:
    // The key of a folder kind, with "/" between its parts.
    QString key(qint32 ConfigFolder) const;

    clsQuorvelin2* m_root;
    QString m_folder;
};
