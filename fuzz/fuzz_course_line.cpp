// Course.txt lines of arbitrary content: definitions are added or the line is skipped or
// kept, and every definition checks a card without fault.
#include "basText.h"
#include "basTextFile.h"
#include "clsCourseDataTable.h"
#include "clsEcardPenaChecker.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = basText::fromWindows31J(QByteArrayView(reinterpret_cast<const char*>(data), size));
    const QStringList lines = basTextFile::splitLines(text);
    clsCourseDataTable table;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (!t.isEmpty())
            table.AddByString(t);
    }
    if (table.CourseCount() + table.KeptLines().size() > lines.size())
        std::abort();
    auto card = std::make_shared<clsEcardTagData>();
    card->setRegnlyFormat(QStringLiteral("24/06/02 12:00:00, Card No. (5), (2020,Week 1), 0, 00:00:00, 31, "
                                         "00:01:00, 32, 00:02:00, 100, 00:03:00, 250, 00:03:10"));
    const clsEcardPunchIndex index(card);
    for (int i = 1; i <= table.CourseCount(); ++i) {
        const auto course = table.CourseData(i);
        if (!course || course->CourseNumber() != i || table.CourseData(course->CourseName()) != course)
            std::abort();
        if (course->ControlCount() < 0 || course->ControlCount() > 50)
            std::abort();
        clsEcardPenaChecker checker(card, course);
        checker.Execute(index);
        if (checker.PenaCheckStatus() != clsEcardPenaChecker::CheckStatus(index, *course))
            std::abort();
    }
    return 0;
}
