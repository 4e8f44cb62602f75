#include "basIof3ResultList.h"

#include "basDate.h"
#include "basFileCommon.h"
#include "basIofResultList.h"
#include "basLapText.h"
#include "basRuntime.h"
#include "basText.h"
#include "basTextFile.h"
#include "clsQuorvelin2.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace basIof3ResultList {

namespace {

const QString DateTimeForm = u"yyyy-mm-ddThh:nn:ss"_s;

bool missingPunchText(const QString& text) {
    static const QRegularExpression form(u"^(MP|P\\d+|\\d+P)$"_s);
    return form.match(text).hasMatch();
}

void number(QXmlStreamWriter& w, const QString& name, qint64 value) {
    w.writeTextElement(name, QString::number(value));
}

// The controls of a class's course; none without a course.
std::vector<qint32> controlsOf(const clsQuorvelin2& root, const clsClassData& cls) {
    std::vector<qint32> codes;
    if (cls.CourseNum() <= 0)
        return codes;
    const auto course = root.Courses().Item(QString::number(cls.CourseNum()));
    if (!course)
        return codes;
    const int count = std::clamp(course->ControlCount(), 0, int(clsCourseData::MaxPosition));
    for (int i = 1; i <= count; ++i)
        codes.push_back(course->ControlNum(i));
    return codes;
}

void writeCourse(QXmlStreamWriter& w, const clsClassData& cls, qsizetype controls) {
    if (cls.CourseNum() <= 0 && cls.Length() == 0 && cls.Climb() == 0)
        return;
    w.writeStartElement(u"Course"_s);
    if (cls.CourseNum() > 0)
        number(w, u"Id"_s, cls.CourseNum());
    if (cls.Length() != 0)
        number(w, u"Length"_s, cls.Length());
    if (cls.Climb() != 0)
        number(w, u"Climb"_s, cls.Climb());
    if (controls > 0)
        number(w, u"NumberOfControls"_s, controls);
    w.writeEndElement();
}

// One split time per control of the course: the time from the start when the leg has one,
// otherwise the control is missing (a missed control, a control covered by a skip, or no data).
// Appended as markup directly: they are most of a document and hold only numbers.
void appendSplitTimes(QString& out, const clsLapData& lap, const std::vector<qint32>& controls) {
    qint64 sum = 0;
    for (size_t k = 0; k < controls.size(); ++k) {
        const double v = lap.LapValue(int(k) + 1);
        if (v > 0) {
            sum += basDate::toSeconds(v);
            out += u"<SplitTime><ControlCode>"_s;
            basRuntime::appendNumber(out, controls[k]);
            out += u"</ControlCode><Time>"_s;
            basRuntime::appendNumber(out, sum);
            out += u"</Time></SplitTime>"_s;
        } else {
            out += u"<SplitTime status=\"Missing\"><ControlCode>"_s;
            basRuntime::appendNumber(out, controls[k]);
            out += u"</ControlCode></SplitTime>"_s;
        }
    }
}

void writeRunner(QXmlStreamWriter& w, QString& out, clsLapData& lap, double eventDate,
                 const std::vector<qint32>& controls) {
    w.writeStartElement(u"PersonResult"_s);
    w.writeStartElement(u"Person"_s);
    if (const QString sex = basIofResultList::sexAttribute(lap.Sex()); !sex.isEmpty())
        w.writeAttribute(u"sex"_s, sex);
    const auto [family, given] = basIofResultList::nameParts(lap.RunnerName());
    w.writeStartElement(u"Name"_s);
    w.writeTextElement(u"Family"_s, family);
    w.writeTextElement(u"Given"_s, given);
    w.writeEndElement();
    w.writeEndElement(); // Person
    if (!lap.ClubName().isEmpty()) {
        w.writeStartElement(u"Organisation"_s);
        w.writeTextElement(u"Name"_s, lap.ClubName());
        w.writeEndElement();
    }

    const QString status = resultStatus(lap);
    // Who did not finish has no finish time: the sum of the legs run is no result.
    const bool finished = status != u"DidNotFinish"_s && status != u"DidNotStart"_s;
    const qint64 total = finished ? basIofResultList::totalSeconds(lap) : 0;
    w.writeStartElement(u"Result"_s);
    if (lap.ID() != 0)
        number(w, u"BibNumber"_s, lap.ID());
    // A date-time needs the day: without the event's date the start is not written.
    const double start = lap.StartTime()->Value();
    if (start > 0 && eventDate > 0) {
        const double startAt = basDate::datePart(eventDate) + basDate::timePart(start);
        w.writeTextElement(u"StartTime"_s, basDate::format(startAt, DateTimeForm));
        if (total > 0)
            w.writeTextElement(u"FinishTime"_s,
                               basDate::format(startAt + basDate::fromSeconds(total), DateTimeForm));
    }
    if (total > 0)
        number(w, u"Time"_s, total);
    if (basRuntime::isNumeric(lap.Rank()))
        w.writeTextElement(u"Position"_s,
                           QString::number(basRuntime::toLong(basRuntime::leadingNumber(lap.Rank()))));
    w.writeTextElement(u"Status"_s, status);
    bool anyTime = false;
    for (int i = 1; i <= lap.LegCount() && !anyTime; ++i)
        anyTime = lap.LapValue(i) > 0;
    if (anyTime) {
        w.writeCharacters(QString()); // closes the open start tag
        appendSplitTimes(out, lap, controls);
    }
    if (lap.Ecard() != 0)
        number(w, u"ControlCard"_s, lap.Ecard());
    w.writeEndElement(); // Result
    w.writeEndElement(); // PersonResult
}

} // namespace

// The mapping beside the 2.0.3 one: see basIofResultList::competitorStatus.
QString resultStatus(const clsLapData& lap) {
    const QString rank = lap.Rank();
    if (!rank.isEmpty() && !basRuntime::isNumeric(rank))
        return rank.contains(u'(') ? u"OverTime"_s : u"NotCompeting"_s;
    const QString result = lap.Result();
    if (!result.isEmpty() && basLapText::TimeOf(result))
        return u"OK"_s;
    if (result.isEmpty()) {
        for (int i = 1; i <= lap.LegCount(); ++i)
            if (lap.LapValue(i) == -2)
                return u"MissingPunch"_s;
        return u"OK"_s;
    }
    const QString text = basText::toNarrow(result.trimmed()).toUpper();
    if (text == u"DNS"_s)
        return u"DidNotStart"_s;
    if (text == u"DNF"_s)
        return u"DidNotFinish"_s;
    if (missingPunchText(text))
        return u"MissingPunch"_s;
    return u"Disqualified"_s;
}

QByteArray write(const clsQuorvelin2& root) {
    // As the 2.0.3 document: written as text, encoded a class at a time.
    QByteArray bytes;
    QString out;
    out.reserve(1 << 16);
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s);
    w.writeDefaultNamespace(Namespace.toString());
    w.writeStartElement(u"ResultList"_s);
    w.writeAttribute(u"iofVersion"_s, u"3.0"_s);
    w.writeAttribute(u"createTime"_s, basDate::format(basDate::now(), DateTimeForm));
    w.writeAttribute(u"creator"_s, u"Quorvelin2 "_s + root.Version(false));
    w.writeAttribute(u"status"_s, u"Complete"_s);

    clsEventData& event = *root.EventData();
    const double eventDate = event.EventDateValue();
    w.writeStartElement(u"Event"_s);
    w.writeTextElement(u"Name"_s, event.EventName());
    if (eventDate > 0) {
        w.writeStartElement(u"StartTime"_s);
        w.writeTextElement(u"Date"_s, basDate::format(eventDate, basDate::Form::YyyyMmDdDash));
        w.writeEndElement();
    }
    if (!event.OfficialSite().isEmpty()) {
        w.writeStartElement(u"URL"_s);
        w.writeAttribute(u"type"_s, u"Website"_s);
        w.writeCharacters(event.OfficialSite());
        w.writeEndElement();
    }
    w.writeEndElement();
    bytes += out.toUtf8();
    out.resize(0);

    const auto& classes = root.Classes();
    for (int c = 1; c <= classes.Count(); ++c) {
        const auto cls = classes.Item(c);
        if (!cls)
            continue;
        const std::vector<qint32> controls = controlsOf(root, *cls);
        w.writeStartElement(u"ClassResult"_s);
        w.writeStartElement(u"Class"_s);
        w.writeTextElement(u"Name"_s, cls->ClassName());
        w.writeEndElement();
        writeCourse(w, *cls, qsizetype(controls.size()));
        for (const auto& lap : basFileCommon::runnersInResultOrder(*cls))
            writeRunner(w, out, *lap, eventDate, controls);
        w.writeEndElement();
        bytes += out.toUtf8();
        out.resize(0);
    }
    w.writeEndElement();
    w.writeEndDocument();
    bytes += out.toUtf8();
    return bytes;
}

bool save(const clsQuorvelin2& root, const QString& fileName) {
    try {
        return basTextFile::writeBytes(fileName, write(root)).ok;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace basIof3ResultList
