#include "basLapFile.h"

#include "basConstants.h"
#include "basCsvPrepare.h"
#include "basDate.h"
#include "basLapText.h"
#include "basRuntime.h"
#include "basText.h"
#include "basTextFile.h"
#include "clsQuorvelin2.h"

#include <array>

using namespace Qt::StringLiterals;
using basFileCommon::LoadError;

namespace basLapFile {

namespace {
const QString Unnamed = u"名称未設定"_s;
}

QStringList lines(const clsQuorvelin2& root) {
    QStringList out;
    clsEventData& event = *root.EventData();
    out << u"$LAPFILE Ver=2"_s << u"$LAPFILE Rev=3"_s;
    out << u"$名称="_s + event.EventName();
    out << u"$日時="_s + event.EventDate()->ToString(u"yyyy/mm/dd"_s);
    out << u"$場所="_s + event.Terrain();
    out << u"$備考="_s + event.Memo();
    out << u"$公式サイト="_s + event.OfficialSite();
    out << u"$ファイル名キーワード="_s + event.FileName();
    const auto& classes = root.Classes();
    for (int c = 1; c <= classes.Count(); ++c) {
        const auto cls = classes.Item(c);
        if (!cls || cls->ControlCount() == 0)
            continue;
        const QString name = cls->ClassName();
        out << u"$距離:"_s + name + u'=' + QString::number(cls->Length());
        out << u"$登距離:"_s + name + u'=' + QString::number(cls->Climb());
        out << u"$コントロール数:"_s + name + u'=' + QString::number(cls->ControlCount());
        out << u"$コース番号:"_s + name + u'=' + QString::number(cls->CourseNum());
    }
    for (int c = 1; c <= classes.Count(); ++c) {
        const auto cls = classes.Item(c);
        if (!cls || cls->ControlCount() == 0)
            continue;
        const qint64 legs = qint64{cls->ControlCount()} + 1;
        out << QString();
        QString header = u"クラス,名前,所属,シード,性別,スタート時刻,総タイム,順位"_s;
        for (int i = 1; i <= legs; ++i)
            header += u',' + basCsvPrepare::LegLabel(cls->ControlCount(), true, i);
        out << header;
        for (int r = 1; r <= cls->LapCount(); ++r) {
            const auto lap = cls->LapData(r);
            if (!lap || lap->LegCount() == 0)
                continue;
            QString row = QStringList{cls->ClassName(),
                                      lap->RunnerName(),
                                      lap->ClubName(),
                                      lap->Seed(),
                                      lap->Sex(),
                                      lap->StartTime()->ToString(),
                                      lap->Result() == u"×"_s ? u"n/a"_s : lap->Result(),
                                      lap->Rank()}
                              .join(u',');
            for (int i = 1; i <= lap->LegCount(); ++i)
                row +=
                    u',' +
                    clsTimeValue(lap->LapValue(i)).ToString(u"hh:nn:ss"_s, false, u"n/a"_s, u"→"_s, u"n/a"_s);
            for (int i = lap->LegCount() + 1; i <= legs; ++i)
                row += u",n/a"_s;
            out << row;
        }
    }
    return out;
}

bool save(const clsQuorvelin2& root, const QString& fileName) {
    try {
        return basTextFile::writeLines(fileName, lines(root)).ok;
    } catch (const std::exception&) {
        return false;
    }
}

namespace {

struct Columns {
    int cls = -1, name = -1, club = -1, total = -1, rank = -1, start = -1, seed = -1, sex = -1;
    std::array<int, clsLapData::MaxLegs + 1> legs{};
    int highest = 0;
    Columns() { legs.fill(-1); }
};

QString field(const QStringList& fields, int column) {
    return column >= 0 && column < fields.size() ? fields[column] : QString();
}

void readHeaderRow(Columns& c, const QString& line) {
    const QStringList fields = line.split(u',');
    c = Columns();
    for (int i = 0; i < fields.size(); ++i) {
        const QString f = fields[i].trimmed();
        if (f == u"クラス"_s)
            c.cls = i;
        else if (f == u"名前"_s)
            c.name = i;
        else if (f == u"所属"_s)
            c.club = i;
        else if (f == u"総タイム"_s)
            c.total = i;
        else if (f == u"順位"_s)
            c.rank = i;
        else if (f == u"スタート時刻"_s)
            c.start = i;
        else if (f == u"シード"_s)
            c.seed = i;
        else if (f == u"性別"_s)
            c.sex = i;
        else if (basRuntime::like(f, u"*→*")) {
            const QString to = basText::toNarrow(f.mid(f.indexOf(u'→') + 1));
            const double leg = to == u"◎"_s ? c.highest + 1 : basRuntime::leadingNumber(to);
            if (!(leg >= 0.5 && leg < clsLapData::MaxLegs + 0.5))
                throw LoadError(u"Subscript out of range (leg column "_s + f + u")"_s);
            const int n = basRuntime::toLong(leg);
            c.highest = std::max(c.highest, n);
            c.legs[n] = i;
        }
    }
}

struct LegValue {
    bool set = false;
    double value = 0;
    bool time = false;
};

LegValue legValue(const QString& raw) {
    // The forms the file itself is written in, read directly (the normalisation leaves them as
    // they are).
    if (raw.size() == 8 && raw[2] == u':' && raw[5] == u':')
        if (const auto t = basDate::parse(raw, basDate::Form::HhNnSs))
            return {true, *t, true};
    if (raw == u"n/a"_s)
        return {true, Quorvelin2::TimeDisq, false};
    const QString v = basLapText::NormalizeTime(raw, true, u"hh:nn:ss");
    if (const auto t = basLapText::TimeOf(v); t && !v.isEmpty())
        return {true, *t, true};
    if (v == u"↓"_s || v == u"→"_s || v == u"+"_s)
        return {true, Quorvelin2::TimeSkip, false};
    if (v == u"--:--"_s || v == u"×"_s || v == u"n/a"_s || v == u"X"_s)
        return {true, Quorvelin2::TimeDisq, false};
    if (basRuntime::isNumeric(v)) {
        const double n = basRuntime::numericValue(v);
        if (n == Quorvelin2::TimeDisq)
            return {true, Quorvelin2::TimeDisq, false};
        if (n == Quorvelin2::TimeSkip)
            return {true, Quorvelin2::TimeSkip, false};
    }
    if (v.isEmpty())
        return {};
    return {true, 0, false};
}

} // namespace

Outcome load(const basFileCommon::LoadContext& ctx, QStringList lines) {
    clsQuorvelin2& root = ctx.root;
    const bool lapFile = !lines.isEmpty() && lines.first().contains(u"$LAPFILE Ver=2"_s);
    QStringList headerLines;
    qsizetype dataStart = 0;
    bool splitRecognition = false;
    if (lapFile) {
        while (dataStart < lines.size() && lines[dataStart].startsWith(u'$'))
            headerLines << lines[dataStart++];
    } else {
        if (!lines.isEmpty() && basRuntime::like(lines.last(), u"Made with Quorvelin*"))
            return Outcome::Refused;
        if (basCsvPrepare::prepare(lines) == basCsvPrepare::Outcome::NoFieldNames) {
            ctx.message(basCsvPrepare::NoFieldNamesMessage);
            return Outcome::Refused;
        }
        splitRecognition = true;
    }

    Columns col;
    QString previousClass;
    std::shared_ptr<clsClassData> cls;
    const qsizetype total = lines.size() - dataStart;
    for (qsizetype li = dataStart; li < lines.size(); ++li) {
        QString line = lines[li];
        if (basText::removeSpaces(line).isEmpty())
            line.clear();
        else
            line = line.trimmed();
        if (ctx.progressVisible) {
            const int p = basFileCommon::percent(li - dataStart + 1, total);
            ctx.raise(p);
            if ((li + 1) % 20 == 0 || li + 1 == lines.size())
                ctx.window(p);
        }
        if (line.isEmpty())
            continue;
        if (line.contains(u"クラス"_s)) {
            readHeaderRow(col, line);
            continue;
        }
        if (col.cls < 0 || col.name < 0)
            continue;
        const QStringList fields = line.split(u',');
        QString className = field(fields, col.cls);
        if (className.isEmpty())
            className = Unnamed;
        if (className != previousClass || !cls) {
            cls = root.AddClass(className);
            if (cls->ControlCount() == 0)
                cls->setControlCount(col.highest - 1);
            previousClass = className;
        }
        auto lap = std::make_shared<clsLapData>();
        lap->setRunnerName(field(fields, col.name));
        lap->setClubName(field(fields, col.club));
        lap->setResult(field(fields, col.total));
        lap->setRank(field(fields, col.rank));
        lap->setSeed(field(fields, col.seed));
        lap->setSex(field(fields, col.sex));
        const QString start = basLapText::NormalizeTime(field(fields, col.start), false, u"hh:nn:ss");
        const auto startTime = start.isEmpty() ? std::nullopt : basLapText::TimeOf(start);
        lap->setStartTime(clsTimeValue(startTime.value_or(0)));
        double previousTime = 0;
        for (int i = 1; i <= col.highest; ++i) {
            const LegValue v = legValue(field(fields, col.legs[i]));
            if (!v.set)
                continue;
            if (v.time && splitRecognition) {
                if (v.value <= previousTime)
                    splitRecognition = false;
                previousTime = v.value;
            }
            lap->Lap(i)->setValue(v.value);
        }
        if (splitRecognition) {
            qint64 previousSplit = 0;
            for (int i = 1; i <= lap->LegCount(); ++i) {
                const double v = lap->LapValue(i);
                if (v > 0) {
                    const qint64 split = basDate::toSeconds(v);
                    lap->Lap(i)->setValue(basDate::fromSeconds(split - previousSplit));
                    previousSplit = split;
                }
            }
        }
        cls->AddLapObject(lap, ctx.loadMode);
    }

    if (lapFile) {
        clsEventData& event = *root.EventData();
        for (const QString& h : headerLines) {
            const qsizetype eq = h.indexOf(u'=');
            if (eq < 0)
                continue;
            const QString key = h.left(eq).trimmed();
            QString value = h.mid(eq + 1);
            if (const qsizetype second = value.indexOf(u'='); second >= 0)
                value = value.left(second);
            value = value.trimmed();
            if (const qsizetype comma = value.indexOf(u','); comma >= 0)
                value = value.left(comma);
            if (ctx.loadMode == 0) {
                if (key == u"$名称"_s)
                    event.setEventName(value);
                else if (key == u"$日時"_s) {
                    if (const auto d = basDate::recognize(value))
                        event.EventDate()->setValue(*d);
                } else if (key == u"$場所"_s)
                    event.setTerrain(value);
                else if (key == u"$備考"_s)
                    event.setMemo(value);
                else if (key == u"$公式サイト"_s)
                    event.setOfficialSite(value);
                else if (key == u"$ファイル名キーワード"_s)
                    event.setFileName(value);
            }
            const qsizetype colon = key.indexOf(u':');
            if (colon < 0)
                continue;
            const QString prefix = key.left(colon + 1);
            const QString className = key.mid(colon + 1).section(u':', 0, 0);
            const auto target = root.Classes().Item(className);
            if (!target)
                continue;
            const qint32 n = basRuntime::leadingLong(value);
            if (prefix == u"$距離:"_s)
                target->setLength(n);
            else if (prefix == u"$登距離:"_s)
                target->setClimb(n);
            else if (prefix == u"$コントロール数:"_s)
                target->setControlCount(n);
            else if (prefix == u"$コース番号:"_s)
                target->setCourseNum(n);
        }
    }
    if (root.EventData()->EventName().isEmpty())
        root.EventData()->setEventName(Unnamed);
    return Outcome::Loaded;
}

} // namespace basLapFile
