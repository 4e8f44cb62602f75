#include "clsEventData.h"

#include "basAutomation.h"

using namespace Qt::StringLiterals;

namespace {
const bool registered = basAutomation::registerShared<clsEventData>();
} // namespace

QString clsEventData::ToString() const {
    QString text = m_eventName;
    if (!m_terrain.isEmpty())
        text += u" ["_s + m_terrain + u"] "_s;
    if (m_eventDate.Value() > 0)
        text += u' ' + m_eventDate.ToString(u"yyyy年mm月dd日"_s);
    return text;
}
