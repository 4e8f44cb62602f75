#include "clsResultData.h"

#include "clsEcardCourseData.h"
#include "clsEcardTagData.h"

using namespace Qt::StringLiterals;

QString clsResultData::Rank() const {
    if (!m_rankText.isEmpty() || m_rankNumber == 0)
        return m_rankText;
    return QString::number(m_rankNumber);
}

void clsResultData::setRank(const QString& value) {
    m_rankText = value;
    m_rankNumber = 0;
}

std::shared_ptr<clsEcardPenaChecker> clsResultData::PenaChecker() const {
    if (!m_checker || !m_checker->TagData())
        return {};
    return m_checker;
}

std::shared_ptr<clsEcardCourseData> clsResultData::CourseData() const {
    return m_checker ? m_checker->CourseData() : nullptr;
}

std::shared_ptr<clsEcardTagData> clsResultData::TagData() const {
    return m_checker ? m_checker->TagData() : nullptr;
}

clsNameDataPtr clsResultData::nameInEffect() const {
    if (m_specificData && m_specificData->NameData)
        return m_specificData->NameData;
    return m_nameData;
}

QString clsResultData::RunnerName() const {
    if (const clsNameDataPtr name = nameInEffect())
        return name->RunnerName;
    const std::shared_ptr<clsEcardTagData> tag = TagData();
    return u"("_s + QString::number(tag ? tag->EcardNo() : 0) + u')';
}

QString clsResultData::ClubName() const {
    const clsNameDataPtr name = nameInEffect();
    return name ? name->ClubName : QString();
}
