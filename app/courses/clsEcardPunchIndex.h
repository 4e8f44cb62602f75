#pragma once

// A card read prepared for punch checking: for every control code, the set of the card's
// records (1 .. ReadingUnitPosIndex - 1) that carry it, as a bit mask. Built once per read and
// reused for every class it is checked against.

#include "clsEcardTagData.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

class clsEcardPunchIndex {
public:
    clsEcardPunchIndex();
    explicit clsEcardPunchIndex(std::shared_ptr<clsEcardTagData> card);
    // Re-prepares this object for another card (cheaper than building a new one).
    void prepare(std::shared_ptr<clsEcardTagData> card);

    const std::shared_ptr<clsEcardTagData>& card() const { return m_card; }
    // The reading unit's record: records from here on are never matched.
    int limit() const { return m_limit; }
    // Bit r (1..limit-1) set for every record r with this code.
    quint64 mask(qint32 code) const {
        if (static_cast<quint32>(code) < DirectCodes)
            return m_byCode[static_cast<size_t>(code)];
        return otherMask(code);
    }
    qint32 elapsedSeconds(int record) const { return m_seconds[static_cast<size_t>(record)]; }
    qint64 activateSeconds() const { return m_activateSeconds; }

private:
    static constexpr quint32 DirectCodes = 256;
    quint64 otherMask(qint32 code) const;

    std::shared_ptr<clsEcardTagData> m_card;
    int m_limit = 0;
    qint64 m_activateSeconds = 0;
    std::array<quint64, DirectCodes> m_byCode{};
    std::vector<std::pair<qint32, quint64>> m_other; // codes outside 0..255, rare
    std::array<qint32, clsEcardTagData::RecordCount + 1> m_seconds{};
    std::vector<quint32> m_used; // direct codes set, to clear on the next prepare
};
