#include "clsMetaData.h"

#include "basAutomation.h"

namespace {
const bool registered = basAutomation::registerShared<clsMetaData>();
} // namespace
