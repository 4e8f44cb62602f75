#pragma once

#include "Quorvelin2Global.h"

#include <QMetaType>
#include <QString>

#include <memory>

// Who created and last changed a data set, and when.
class QV_EXPORT clsMetaData {
    Q_GADGET
public:
    Q_INVOKABLE QString CreateApplication() const { return m_createApplication; }
    Q_INVOKABLE void setCreateApplication(const QString& CreateApplication) {
        m_createApplication = CreateApplication;
    }
    Q_INVOKABLE double CreateDate() const { return m_createDate; }
    Q_INVOKABLE void setCreateDate(double CreateDate) { m_createDate = CreateDate; }
    Q_INVOKABLE QString CreateUserName() const { return m_createUserName; }
    Q_INVOKABLE void setCreateUserName(const QString& CreateUserName) { m_createUserName = CreateUserName; }
    Q_INVOKABLE QString LastUpdateApplication() const { return m_lastUpdateApplication; }
    Q_INVOKABLE void setLastUpdateApplication(const QString& LastUpdateApplication) {
        m_lastUpdateApplication = LastUpdateApplication;
    }
    Q_INVOKABLE double LastUpdateDate() const { return m_lastUpdateDate; }
    Q_INVOKABLE void setLastUpdateDate(double LastUpdateDate) { m_lastUpdateDate = LastUpdateDate; }
    Q_INVOKABLE QString LastUpdateUserName() const { return m_lastUpdateUserName; }
    Q_INVOKABLE void setLastUpdateUserName(const QString& LastUpdateUserName) {
        m_lastUpdateUserName = LastUpdateUserName;
    }

private:
    QString m_createApplication;
    double m_createDate = 0;
    QString m_createUserName;
    QString m_lastUpdateApplication;
    double m_lastUpdateDate = 0;
    QString m_lastUpdateUserName;
};
