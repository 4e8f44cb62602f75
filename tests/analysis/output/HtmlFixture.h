#pragma once

// A small class whose analysis is worked out by hand (upper averages 5:00, 6:40 and 3:20 over
// three legs; one runner skipped control 1), the event around it, and helpers to read pages.

#include "basDate.h"
#include "basText.h"
#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

#include <QFile>
#include <QString>

#include <memory>

namespace htmlfixture {

inline void addRunner(clsClassData& cls, const QString& name, const QString& club,
                      std::initializer_list<int> legs, const QString& result) {
    auto lap = cls.AddLap();
    lap->setRunnerName(name);
    lap->setClubName(club);
    int i = 1;
    for (const int s : legs)
        lap->Lap(i++)->setValue(s < 0 ? s : basDate::fromSeconds(s));
    lap->setResult(result);
}

// Event 第１回テスト on 2024-06-02 at 森林公園; class M21 (3000 m, 100 m climb, 2 controls):
//   山田 太郎 東京OLC    5:00  6:00  3:00                              -> 0:14:00
//   鈴木 花子 (no club)  4:45  skipped control 1, 9:00 to the finish  -> 0:13:45
//   佐藤一郎  A&B         5:15  7:20  3:40                              -> 0:16:15
// Cruise speeds 90 %, 90 % and 107 % (the two legs at 110 % tie; the later one counts first).
inline std::shared_ptr<clsClassData> smallEvent(clsQuorvelin2& root) {
    root.EventData()->setEventName(QStringLiteral("第１回テスト"));
    root.EventData()->EventDate()->setValue(basDate::dateSerial(2024, 6, 2));
    root.EventData()->setTerrain(QStringLiteral("森林公園"));
    auto cls = root.AddClass(QStringLiteral("M21"));
    cls->setControlCount(2);
    cls->setLength(3000);
    cls->setClimb(100);
    addRunner(*cls, QStringLiteral("山田 太郎"), QStringLiteral("東京OLC"), {300, 360, 180},
              QStringLiteral("0:14:00"));
    addRunner(*cls, QStringLiteral("鈴木 花子"), QString(), {285, -1, 540}, QStringLiteral("0:13:45"));
    addRunner(*cls, QStringLiteral("佐藤一郎"), QStringLiteral("A&B"), {315, 440, 220},
              QStringLiteral("0:16:15"));
    return cls;
}

inline std::shared_ptr<clsAnalyzer> analysed(clsQuorvelin2& root, const QVariant& classId) {
    auto a = root.NewAnalyzer();
    a->AddClass(classId);
    a->Execute();
    a->ExtraAnalyze();
    return a;
}

// A page written by hand with LF line ends, as the library writes it (CR LF), with {V} standing
// for the library's version.
inline QString page(const clsQuorvelin2& root, QString text) {
    return text.replace(QStringLiteral("{V}"), root.Version()).replace(u'\n', QStringLiteral("\r\n"));
}

inline QString readPage(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return basText::fromWindows31J(f.readAll());
}

} // namespace htmlfixture
