#pragma once

// The full rebuild of the results, in the one order the main window runs it after opening a
// data folder and after every edit of classes, class lists or typed results.

#include "KeyedList.h"

#include <memory>

class clsCourseDataTable;
class clsEcardTagData;
class clsNameDataTable;
class clsOtherDataTable;
class clsResultManager;

namespace basResultRebuild {

using TagTable = KeyedList<std::shared_ptr<clsEcardTagData>>;

// Clear; name table; pattern; course table; other-data table; every card read in store order;
// every typed result in table order; ranks.
void RefreshData(clsResultManager& manager, const TagTable& tags, std::shared_ptr<clsNameDataTable> names,
                 std::shared_ptr<clsCourseDataTable> courses, std::shared_ptr<clsOtherDataTable> other,
                 qint32 PenacheckRule);

} // namespace basResultRebuild
