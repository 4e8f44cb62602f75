// A reading-unit frame of arbitrary content (and length) decodes into a valid record.
#include "clsEcardTagData.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    clsEcardTagData t;
    t.setReadData(45000.5, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!t.IsValid() || t.ReadingUnitPosIndex() < 0 || t.ReadingUnitPosIndex() > clsEcardTagData::RecordCount)
        std::abort();
    if (t.EmitSystem().size() != 32 || t.Display(3).size() != 8)
        std::abort();
    clsEcardTagData back;
    back.setRegnlyFormat(t.ExtendRegnlyFormat() + QStringLiteral(";"));
    if (!back.IsValid() || back.StockKey() != t.StockKey() || back.UniqueKey() != t.UniqueKey())
        std::abort();
    return 0;
}
