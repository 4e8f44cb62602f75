#include "clsEcardPunchIndex.h"

clsEcardPunchIndex::clsEcardPunchIndex() = default;

clsEcardPunchIndex::clsEcardPunchIndex(std::shared_ptr<clsEcardTagData> card) {
    prepare(std::move(card));
}

void clsEcardPunchIndex::prepare(std::shared_ptr<clsEcardTagData> card) {
    for (quint32 c : m_used)
        m_byCode[c] = 0;
    m_used.clear();
    m_other.clear();
    m_seconds.fill(0);
    m_card = std::move(card);
    m_limit = 0;
    m_activateSeconds = 0;
    if (!m_card)
        return;
    const clsEcardTagData& t = *m_card;
    m_limit = std::clamp(t.ReadingUnitPosIndex(), 0, clsEcardTagData::RecordCount);
    m_activateSeconds = t.ActivateSeconds();
    for (int r = 1; r < m_limit; ++r) {
        const qint32 code = t.ControlNum(r);
        const quint64 bit = quint64(1) << r;
        m_seconds[static_cast<size_t>(r)] = t.ControlSeconds(r);
        if (static_cast<quint32>(code) < DirectCodes) {
            quint64& m = m_byCode[static_cast<size_t>(code)];
            if (m == 0)
                m_used.push_back(static_cast<quint32>(code));
            m |= bit;
            continue;
        }
        auto it =
            std::find_if(m_other.begin(), m_other.end(), [&](const auto& e) { return e.first == code; });
        if (it == m_other.end())
            m_other.emplace_back(code, bit);
        else
            it->second |= bit;
    }
}

quint64 clsEcardPunchIndex::otherMask(qint32 code) const {
    for (const auto& e : m_other)
        if (e.first == code)
            return e.second;
    return 0;
}
