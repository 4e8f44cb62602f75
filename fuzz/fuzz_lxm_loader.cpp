#include "FuzzFileLoad.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(data, size, u"f.lxm"_s, 0, false);
    return 0;
}
