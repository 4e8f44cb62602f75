#pragma once

#include "Quorvelin2Global.h"

#include "clsDateValue.h"

#include <QMetaType>
#include <QString>

#include <memory>

// The event a data set belongs to.
class QV_EXPORT clsEventData {
    Q_GADGET
public:
    Q_INVOKABLE QString EventName() const { return m_eventName; }
    Q_INVOKABLE void setEventName(const QString& EventName) { m_eventName = EventName; }
    // The event's date object (value 0 = no date).
    Q_INVOKABLE clsDateValue* EventDate() { return &m_eventDate; }
    Q_INVOKABLE void setEventDate(const clsDateValue& EventDate) { m_eventDate = EventDate; }
    Q_INVOKABLE QString Terrain() const { return m_terrain; }
    Q_INVOKABLE void setTerrain(const QString& Terrain) { m_terrain = Terrain; }
    Q_INVOKABLE QString Memo() const { return m_memo; }
    Q_INVOKABLE void setMemo(const QString& Memo) { m_memo = Memo; }
    Q_INVOKABLE QString FileName() const { return m_fileName; }
    Q_INVOKABLE void setFileName(const QString& FileName) { m_fileName = FileName; }
    Q_INVOKABLE QString OfficialSite() const { return m_officialSite; }
    Q_INVOKABLE void setOfficialSite(const QString& OfficialSite) { m_officialSite = OfficialSite; }
    // The event name, the terrain in brackets and the date, as titles show them.
    Q_INVOKABLE QString ToString() const;

    double EventDateValue() const { return m_eventDate.Value(); }

private:
    QString m_eventName;
    clsDateValue m_eventDate;
    QString m_terrain;
    QString m_memo;
    QString m_fileName;
    QString m_officialSite;
};
