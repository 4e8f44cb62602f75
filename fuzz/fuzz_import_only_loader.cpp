#include "FuzzFileLoad.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(data, size, u"f.txt"_s, 6, true);
    return 0;
}
