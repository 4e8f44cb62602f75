#include "basNameRule.h"

#include "clsEcardTagData.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"

namespace basNameRule {

clsNameDataPtr NameDataOfEcardTag(const clsEcardTagData& TagData, const clsOtherDataTable& OtherDataTable,
                                  const clsNameDataTable& NameDataTable) {
    if (const clsSpecificDataPtr specific = OtherDataTable.SpecificData(TagData.UniqueKey());
        specific && specific->NameData)
        return specific->NameData;
    return NameDataTable.NameData(TagData.EcardNo());
}

} // namespace basNameRule
