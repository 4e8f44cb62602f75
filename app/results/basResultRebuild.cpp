#include "basResultRebuild.h"

#include "clsCourseDataTable.h"
#include "clsEcardTagData.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"
#include "clsResultManager.h"

namespace basResultRebuild {

void RefreshData(clsResultManager& manager, const TagTable& tags, std::shared_ptr<clsNameDataTable> names,
                 std::shared_ptr<clsCourseDataTable> courses, std::shared_ptr<clsOtherDataTable> other,
                 qint32 PenacheckRule) {
    manager.Clear();
    manager.setNameDataTable(std::move(names));
    manager.setPenacheckRule(PenacheckRule);
    manager.setCourseDataTable(std::move(courses));
    manager.setOtherDataTable(other);
    for (const auto& entry : tags)
        manager.Add(entry.value);
    if (other) {
        // A copy: adding never changes the table, but the list must not move under the loop.
        const clsOtherDataTable::OtherResultList typed = other->OtherResultDataList();
        for (const clsOtherResultDataPtr& o : typed)
            manager.AddOtherResultData(o);
    }
    manager.Refresh();
}

} // namespace basResultRebuild
