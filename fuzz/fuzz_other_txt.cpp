// An Other.txt of any bytes loads without failing; every record it gives is written back as a
// line that reads back to the same record, unless a value holds a separator (which the format
// cannot store).
#include "clsOtherDataTable.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {
bool storable(const QString& text) {
    return !text.contains(u';') && !text.contains(u',') && !text.contains(u'=') && !text.contains(u'\r') &&
           !text.contains(u'\n');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    clsOtherDataTable table;
    table.loadBytes(bytes);
    for (const auto& e : table.SpecificDataTable()) {
        const clsSpecificData& s = *e.value;
        if (s.EcardTagUniqueKey.isEmpty() || table.SpecificData(s.EcardTagUniqueKey) != e.value)
            std::abort();
        bool plain = storable(s.EcardTagUniqueKey);
        if (s.NameData)
            plain = plain && storable(s.NameData->RunnerName) && storable(s.NameData->ClubName);
        if (s.CourseList)
            for (const QString& c : *s.CourseList)
                plain = plain && storable(c) && !c.isEmpty();
        if (!plain)
            continue;
        clsOtherDataTable again;
        if (!again.readLine(clsOtherDataTable::specificLine(s)))
            std::abort();
        const auto back = again.SpecificData(s.EcardTagUniqueKey);
        if (!back || back->IsNotCompete != s.IsNotCompete || back->CourseList != s.CourseList ||
            bool(back->NameData) != bool(s.NameData))
            std::abort();
        if (s.NameData && (back->NameData->RunnerName != s.NameData->RunnerName ||
                           back->NameData->ClubName != s.NameData->ClubName))
            std::abort();
    }
    for (const auto& o : table.OtherResultDataList()) {
        if (!o || !o->NameData)
            std::abort();
        (void)clsOtherDataTable::otherResultLine(*o);
    }
    return 0;
}
