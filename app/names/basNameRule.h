#pragma once

// The main window's rule for the name of one card read.

#include "clsNameData.h"

class clsEcardTagData;
class clsNameDataTable;
class clsOtherDataTable;

namespace basNameRule {

// The name that applies to this read: its own name from Other.txt when it has one, else the
// name table's record of the card number (the data folder's Name.csv over the application
// folder's), else none.
clsNameDataPtr NameDataOfEcardTag(const clsEcardTagData& TagData, const clsOtherDataTable& OtherDataTable,
                                  const clsNameDataTable& NameDataTable);

} // namespace basNameRule
