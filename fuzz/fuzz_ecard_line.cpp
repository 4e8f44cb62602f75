// Ecard.txt from arbitrary bytes: every line parsed, the valid ones stored; whatever a line
// holds, a valid record writes lines and keys and survives reading its own line back.
#include "basText.h"
#include "basTextFile.h"
#include "clsEcardTagStock.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = basText::fromWindows31J(QByteArrayView(reinterpret_cast<const char*>(data), size));
    const QStringList lines = basTextFile::splitLines(text);
    clsEcardTagStock stock;
    const int skipped = stock.LoadLines(lines);
    if (skipped < 0 || skipped > lines.size() || stock.TagTable().Count() > lines.size())
        std::abort();
    for (const auto& e : stock.TagTable()) {
        const clsEcardTagData& t = *e.value;
        if (!t.IsValid() || t.ReadingUnitPosIndex() < 1 ||
            t.ReadingUnitPosIndex() > clsEcardTagData::RecordCount)
            std::abort();
        if (e.key != t.StockKey())
            std::abort();
        (void)t.UniqueKey();
        clsEcardTagData again;
        again.setRegnlyFormat(clsEcardTagStock::FileLine(t));
        if (!again.IsValid() || again.EcardNo() != t.EcardNo() || again.StockKey() != t.StockKey())
            std::abort();
    }
    return 0;
}
