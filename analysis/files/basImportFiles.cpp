#include "basImportFiles.h"

#include "basConstants.h"
#include "basCsvPrepare.h"
#include "basDate.h"
#include "basLapText.h"
#include "basRuntime.h"
#include "basText.h"
#include "clsQuorvelin2.h"

#include <QHash>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
using basFileCommon::LoadError;

namespace basImportFiles {

namespace {

const QString Unnamed = u"名称未設定"_s;

std::optional<double> validTime(const QString& text) {
    const QString v = basLapText::NormalizeTime(text, true, u"hh:nn:ss");
    if (v.isEmpty())
        return std::nullopt;
    return basLapText::TimeOf(v);
}

clsTimeValue* leg(clsLapData& lap, int index) {
    if (index < 1 || index > clsLapData::MaxLegs)
        throw LoadError(u"Subscript out of range (leg "_s + QString::number(index) + u")"_s);
    return lap.Lap(index);
}

} // namespace

QString byteMid(const QString& line, int start, int length) {
    if (start < 0) {
        length += start;
        start = 0;
    }
    if (length <= 0)
        return {};
    QString out;
    int pos = 0;
    for (QChar c : line) {
        const int w = basText::byteWidth(c);
        if (pos >= start && pos + w <= start + length)
            out.append(c);
        pos += w;
        if (pos >= start + length)
            break;
    }
    return out;
}

void loadOEvent(const basFileCommon::LoadContext& ctx, const QStringList& lines) {
    clsQuorvelin2& root = ctx.root;
    if (lines.size() < 2 || !lines[1].contains(u"Split times of"_s))
        throw LoadError(u"The text is not an OEvent split-time list (no \"Split times of\" in line 2)."_s);
    if (root.EventData()->EventName().isEmpty())
        root.EventData()->setEventName(lines[0].trimmed());
    std::shared_ptr<clsClassData> cls;
    const qsizetype n = lines.size();
    const qsizetype last = n - 1;
    qsizetype endMarker = -1;
    auto fieldOf = [](const QString& line, int i) { return line.section(u',', i, i).trimmed(); };
    for (qsizetype i = 2; i < n; ++i) {
        if (i % 20 == 0) {
            const int p = basFileCommon::percent(i, last);
            ctx.raise(p);
            if (ctx.progressVisible)
                ctx.window(p);
        }
        const QString line = lines[i];
        if (line.contains(u"-------"_s) || line.trimmed().isEmpty())
            continue;
        const QString f1 = fieldOf(line, 0);
        const QString f2 = fieldOf(line, 1);
        if (f2.isEmpty()) {
            if (f1.isEmpty())
                continue;
            if (line.contains(u"Created with OEvent"_s)) {
                endMarker = i;
                break;
            }
            cls = root.AddClass(line.trimmed());
            continue;
        }
        if (!cls)
            cls = root.AddClass(Unnamed);
        auto lap = std::make_shared<clsLapData>();
        lap->setRank(QString(f1).remove(u'.'));
        lap->setRunnerName(f2);
        lap->setResult(basLapText::NormalizeTime(fieldOf(line, 4), true, u"hh:nn:ss"));
        int legs = 0;
        qint64 previous = 0;
        auto readSplits = [&](const QString& splitLine) {
            const QStringList fields = splitLine.split(u',');
            for (int f = 5; f <= 23 && f < fields.size(); f += 2) {
                const QString t = fields[f].trimmed();
                if (t == u"--:--"_s) {
                    leg(*lap, ++legs)->setValue(Quorvelin2::TimeDisq);
                    continue;
                }
                const auto time = validTime(t);
                if (!time)
                    continue;
                ++legs;
                const qint64 s = basDate::toSeconds(*time);
                if (s > previous) {
                    leg(*lap, legs)->setValue(basDate::fromSeconds(s - previous));
                    previous = s;
                }
            }
        };
        if (i + 1 < n)
            readSplits(lines[++i]);
        // Continuation pairs: a line with neither place nor name, then another split line. A
        // class line or an empty line is not part of the runner.
        while (i + 2 < n && fieldOf(lines[i + 1], 1).isEmpty() && fieldOf(lines[i + 1], 0).isEmpty() &&
               !lines[i + 1].trimmed().isEmpty() && !lines[i + 1].contains(u"-------"_s)) {
            i += 2;
            readSplits(lines[i]);
        }
        if (cls->ControlCount() < legs - 1)
            cls->setControlCount(legs - 1);
        cls->AddLapObject(lap, ctx.loadMode);
    }
    if (endMarker >= 0) {
        clsMetaData& meta = *root.MetaData();
        meta.setCreateApplication(u"OEvent"_s);
        const QString dateLine =
            endMarker + 1 < n ? lines[endMarker + 1].trimmed().replace(u'.', u'/') : QString();
        meta.setCreateDate(basDate::recognize(dateLine).value_or(0));
    }
    if (root.EventData()->EventName().isEmpty())
        root.EventData()->setEventName(Unnamed);
}

namespace {

struct LegColumn {
    int leg;
    int code;
    int endByte; // the time column ends here (exclusive) and is 8 bytes wide
    bool finish = false;
};

// leg(code) tokens of a control header line. A token "F" ends the list; its column holds the
// finish leg (numbered after the last control once all header lines are read).
std::vector<LegColumn> controlTokens(const QString& line) {
    static const QRegularExpression token(u"\\S+"_s);
    static const QRegularExpression legCode(u"^(\\d+)\\((\\d+)\\)$"_s);
    std::vector<LegColumn> out;
    auto it = token.globalMatch(line);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString t = m.captured();
        if (t == u"F"_s) {
            out.push_back({0, 0, basText::byteWidth(QStringView(line).left(m.capturedEnd())), true});
            break;
        }
        const auto lc = legCode.match(t);
        if (!lc.hasMatch())
            continue;
        const int endByte = basText::byteWidth(QStringView(line).left(m.capturedEnd()));
        out.push_back(
            {basRuntime::leadingLong(lc.captured(1)), basRuntime::leadingLong(lc.captured(2)), endByte});
    }
    return out;
}

QChar charAt(const QString& line, int pos) {
    return pos >= 0 && pos < line.size() ? line[pos] : QChar(u' ');
}

} // namespace

void loadSportIdent(const basFileCommon::LoadContext& ctx, const QStringList& lines) {
    clsQuorvelin2& root = ctx.root;
    if (lines.size() < 3 || !lines[2].contains(u"SPORTident results"_s))
        throw LoadError(
            u"The text is not a SPORTident results printout (no \"SPORTident results\" in line 3)."_s);
    const QString line2 = lines[1];
    if (const qsizetype pair = line2.lastIndexOf(u"  "_s); pair >= 0) {
        root.EventData()->setEventName(line2.left(pair).trimmed());
        const QStringList items = line2.mid(pair + 2).trimmed().split(u' ', Qt::SkipEmptyParts);
        const QString dateText = items.mid(0, 2).join(u' ');
        root.MetaData()->setCreateDate(basDate::recognize(dateText).value_or(0));
    }
    if (lines.size() > 3)
        root.MetaData()->setCreateApplication(
            QString(lines[3]).remove(u'-').trimmed().section(u' ', 0, 0, QString::SectionSkipEmpty));
    const QString header = lines.value(5);
    const int pl = int(header.indexOf(u"Pl"_s));
    const int stno = int(header.indexOf(u"Stno"_s));
    const int nameAt = int(header.indexOf(u"Name"_s));
    const int timeAt = int(header.indexOf(u"Time"_s));
    if (pl < 0 || stno < 0 || nameAt < 0 || timeAt < 0)
        throw LoadError(u"The column header in line 6 lacks Pl, Stno, Name or Time."_s);
    const int stnoProbe = stno + 3;

    std::shared_ptr<clsClassData> cls;
    std::vector<std::vector<LegColumn>> headers;
    const qsizetype n = lines.size();
    for (qsizetype i = 6; i < n; ++i) {
        if (ctx.progressVisible) {
            const int p = basFileCommon::percent(i + 1, n);
            ctx.raise(p);
            if ((i + 1) % 20 == 0 || i + 1 == n)
                ctx.window(p);
        }
        const QString line = lines[i];
        if (line.isEmpty())
            continue;
        if (line[0] != u' ') {
            const qsizetype space = line.indexOf(u' ');
            if (space < 0)
                continue;
            cls = root.AddClass(line.left(space));
            QString rest = line.mid(space + 1);
            while (rest.contains(u"  "_s))
                rest.replace(u"  "_s, u" "_s);
            const QStringList tokens = rest.trimmed().split(u' ');
            for (qsizetype t = 1; t < tokens.size(); ++t) {
                const QString& unit = tokens[t];
                if (unit == u"Km"_s || unit == u"km"_s)
                    cls->setLength(basRuntime::toLong(basRuntime::leadingNumber(tokens[t - 1]) * 1000));
                else if (unit == u"Cm"_s || unit == u"m"_s)
                    cls->setClimb(basRuntime::leadingLong(tokens[t - 1]));
            }
            headers.clear();
            std::vector<int> codes;
            int lastControl = 0;
            while (headers.size() < 2 && i + 1 < n && !lines[i + 1].isEmpty() &&
                   charAt(lines[i + 1], stnoProbe) == u' ') {
                ++i;
                headers.push_back(controlTokens(lines[i]));
                for (const LegColumn& c : headers.back()) {
                    if (c.finish)
                        continue;
                    codes.push_back(c.code);
                    lastControl = std::max(lastControl, c.leg);
                }
            }
            for (auto& h : headers)
                for (LegColumn& c : h)
                    if (c.finish)
                        c.leg = lastControl + 1;
            const int count = int(codes.size());
            if (count > clsCourseData::MaxPosition)
                throw LoadError(u"More than 50 control codes in class "_s + cls->ClassName());
            int courseNum = 0;
            for (int k = 1; k <= root.CourseCount() && courseNum == 0; ++k) {
                const auto course = root.Courses().Item(k);
                if (!course || course->ControlCount() != count)
                    continue;
                bool same = true;
                for (int c = 0; c < count && same; ++c)
                    same = course->ControlNum(c + 1) == codes[size_t(c)];
                if (same)
                    courseNum = course->CourseIndex();
            }
            if (courseNum == 0) {
                courseNum = root.CourseCount() + 1;
                while (root.IsCourseExists(courseNum))
                    ++courseNum;
                const auto course = root.AddCourse(courseNum);
                course->setControlCount(count);
                for (int c = 0; c < count; ++c)
                    course->setControlNum(c + 1, codes[size_t(c)]);
            }
            cls->setCourseNum(courseNum);
            cls->setControlCount(count);
            continue;
        }
        if (!cls || charAt(line, stnoProbe) == u' ')
            continue;
        auto lap = std::make_shared<clsLapData>();
        lap->setID(basRuntime::leadingLong(byteMid(line, stno - 2, 6).trimmed()));
        lap->setRank(line.mid(std::max(pl - 1, 0), 3).trimmed());
        lap->setRunnerName(byteMid(line, nameAt, 16).trimmed());
        lap->setClubName(byteMid(lines.value(i + 1), nameAt, 16).trimmed().remove(u'_'));
        int lastLeg = 0;
        for (size_t h = 0; h < headers.size(); ++h) {
            const QString timeLine = lines.value(i + 1 + qsizetype(2 * h));
            for (const LegColumn& c : headers[h]) {
                const auto t = validTime(byteMid(timeLine, c.endByte - 8, 8).trimmed());
                leg(*lap, c.leg)->setValue(t ? *t : Quorvelin2::TimeDisq);
                lastLeg = std::max(lastLeg, c.leg);
            }
        }
        const QString resultText =
            basLapText::NormalizeTime(byteMid(line, timeAt - 4, 8).trimmed(), true, u"hh:nn:ss");
        if (!resultText.isEmpty() && basLapText::TimeOf(resultText)) {
            lap->setResult(resultText);
        } else if (resultText.compare(u"mp"_s, Qt::CaseInsensitive) == 0) {
            int disq = 0;
            for (int l = 1; l <= lap->LegCount(); ++l)
                if (lap->LapValue(l) == Quorvelin2::TimeDisq)
                    ++disq;
            lap->setResult(lastLeg > 0 && lap->LapValue(lastLeg) == Quorvelin2::TimeDisq
                               ? u"DNF"_s
                               : QString::number(disq) + u'P');
        } else if (resultText.compare(u"dnf"_s, Qt::CaseInsensitive) == 0) {
            lap->setResult(u"DNF"_s);
        } else {
            lap->setResult(u"DISQ"_s);
        }
        cls->AddLapObject(lap, ctx.loadMode);
    }
    if (root.EventData()->EventName().isEmpty())
        root.EventData()->setEventName(Unnamed);
}

void loadImportOnly(const basFileCommon::LoadContext& ctx, const QStringList& lines) {
    clsQuorvelin2& root = ctx.root;
    // The runners by their name without spaces, looked up once for the whole list.
    QHash<QString, std::vector<std::shared_ptr<clsLapData>>> byName;
    for (int c = 1; c <= root.ClassCount(); ++c) {
        const auto cls = root.Classes().Item(c);
        if (!cls)
            continue;
        for (int r = 1; r <= cls->LapCount(); ++r)
            if (const auto lap = cls->LapData(r))
                byName[basText::removeSpaces(lap->RunnerName())].push_back(lap);
    }
    const bool priorityNew = (ctx.loadMode & 0x4000) != 0;
    int nameCol = -1, clubCol = -1, sexCol = -1;
    const qsizetype n = lines.size();
    for (qsizetype i = 0; i < n; ++i) {
        QString line = lines[i];
        if (QString(line).remove(u',').remove(u' ').isEmpty())
            line.clear();
        else
            line = line.trimmed();
        if (ctx.progressVisible) {
            const int p = basFileCommon::percent(i + 1, n);
            ctx.raise(p);
            if ((i + 1) % 20 == 0 || i + 1 == n)
                ctx.window(p);
        }
        if (line.isEmpty())
            continue;
        if (basCsvPrepare::isHeaderLine(line))
            line = basCsvPrepare::normaliseHeaderLine(line, false);
        QStringList fields = line.split(u',');
        for (QString& f : fields)
            f = f.trimmed();
        if (fields.contains(u"名前"_s)) {
            nameCol = int(fields.indexOf(u"名前"_s));
            clubCol = int(fields.indexOf(u"所属"_s));
            sexCol = int(fields.indexOf(u"性別"_s));
            continue;
        }
        if (nameCol < 0)
            continue;
        const QString club = clubCol >= 0 ? fields.value(clubCol) : QString();
        const QString sex = sexCol >= 0 ? fields.value(sexCol) : QString();
        const auto it = byName.constFind(basText::removeSpaces(fields.value(nameCol)));
        if (it == byName.constEnd() || fields.value(nameCol).isEmpty())
            continue;
        for (const auto& lap : *it) {
            if (!club.isEmpty() && (lap->ClubName().isEmpty() || priorityNew))
                lap->setClubName(club);
            if (lap->Sex().isEmpty())
                lap->setSex(sex);
        }
    }
}

} // namespace basImportFiles
