// A Name.csv of any bytes loads without failing, and whatever it holds obeys the table's rules.
#include "clsNameDataTable.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    clsNameDataTable table(QStringLiteral("/nonexistent"));
    // Loaded twice, as the two folders would be: the second replaces records of the first.
    table.loadBytes(bytes, true);
    table.loadBytes(bytes, false);
    for (const auto& e : table.NameDataTable()) {
        if (!e.value || e.value->EcardNo == 0 || e.key != QString::number(e.value->EcardNo))
            std::abort();
        if (table.NameData(e.value->EcardNo) != e.value)
            std::abort();
    }
    if (table.DataFolderNameDataTable().Count() != table.ApplicationFolderNameDataTable().Count())
        std::abort();
    return 0;
}
