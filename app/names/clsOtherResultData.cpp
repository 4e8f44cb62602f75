#include "clsOtherResultData.h"
