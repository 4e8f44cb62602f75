#include "basIofReader.h"

#include "ProjectError.h"
#include "XmlPullReader.h"
#include "basDate.h"
#include "basIof3ResultList.h"
#include "basRuntime.h"
#include "basText.h"
#include "clsQuorvelin2.h"

#include <QFile>
#include <QXmlStreamReader>

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>

using namespace Qt::StringLiterals;
using basFileCommon::LoadError;

namespace basIofReader {

namespace {

// Longer than any orienteering race; a larger time is taken for a broken one.
constexpr qint64 LongestTime = 10 * 24 * 3600;

struct Split {
    qint32 code = 0;    // 0 for a code that is not a number
    bool named = false; // false when the document names no code
    std::optional<qint64> seconds;
};

struct Runner {
    QString name, club, status, position, sex;
    qint32 id = 0;
    qint32 ecard = 0;
    double start = 0; // time of day
    std::optional<qint64> total;
    std::vector<Split> splits;
    QString variation; // 2.0.3: the course variation the runner ran
};

struct ClassResult {
    QString name;
    qint32 length = 0;
    qint32 climb = 0;
    std::map<QString, std::vector<qint32>> variations; // 2.0.3 course variations by id
    std::vector<Runner> runners;
};

struct Document {
    QString eventName;
    double eventDate = 0;
    QString url;
    std::vector<ClassResult> classes;
};

std::optional<qint64> secondsOf(double value) {
    if (!std::isfinite(value) || value < 0 || value > double(LongestTime))
        return std::nullopt;
    return qint64(std::floor(value));
}

// 3.0 times: seconds as a decimal number.
std::optional<qint64> decimalSeconds(QStringView text) {
    // Whole seconds, as most documents write them, without the general number reading.
    if (!text.isEmpty() && text.size() <= 9) {
        qint64 v = 0;
        qsizetype i = 0;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
            v = v * 10 + (text[i].unicode() - u'0');
        if (i == text.size())
            return secondsOf(double(v));
    }
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? secondsOf(v) : std::nullopt;
}

// 2.0.3 times: "mm:ss" or "hh:mm:ss" (fractions of a second dropped), or bare seconds.
std::optional<qint64> clockSeconds(QStringView text) {
    const QList<QStringView> parts = text.trimmed().split(u':');
    if (parts.size() > 3)
        return std::nullopt;
    double total = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const double v = parts[i].toDouble(&ok);
        if (!ok || v < 0 || (i + 1 < parts.size() && v != std::floor(v)))
            return std::nullopt;
        total = total * 60 + v;
    }
    return secondsOf(total);
}

// The time of day of an xsd:dateTime ("2024-04-21T10:00:00", maybe with a fraction or zone)
// or of a clock text; 0 when there is none.
double timeOfDay(QStringView text) {
    const qsizetype t = text.indexOf(u'T');
    QStringView clock = t >= 0 ? text.mid(t + 1) : text.trimmed();
    for (qsizetype i = 0; i < clock.size(); ++i) {
        if (clock[i] == u'.' || clock[i] == u'Z' || clock[i] == u'+' || clock[i] == u'-') {
            clock = clock.left(i);
            break;
        }
    }
    const auto s = clockSeconds(clock);
    return s && *s > 0 && *s < 24 * 3600 ? basDate::fromSeconds(*s) : 0;
}

double dateOf(QStringView text) {
    return basDate::parse(text.trimmed().left(10), basDate::Form::YyyyMmDdDash).value_or(0);
}

qint32 numberOf(QStringView text) {
    // Codes and numbers are mostly plain digits: read those directly.
    text = text.trimmed();
    qint64 v = 0;
    bool digits = !text.isEmpty() && text.size() <= 10;
    for (qsizetype i = 0; digits && i < text.size(); ++i) {
        digits = text[i] >= u'0' && text[i] <= u'9';
        v = v * 10 + (text[i].unicode() - u'0');
    }
    if (digits)
        return v >= 1 && v <= 2147483647 ? qint32(v) : 0;
    if (!basRuntime::isNumeric(text))
        return 0;
    const double d = basRuntime::leadingNumber(text);
    return d >= 1 && d <= 2147483647.0 ? qint32(d) : 0;
}

bool declaresEntities(const QXmlStreamReader& xml) {
    return !xml.entityDeclarations().isEmpty();
}
// The pull reader leaves documents with declarations to QXmlStreamReader.
bool declaresEntities(const XmlPullReader&) {
    return false;
}

// Reads with either reader: XmlPullReader for speed, QXmlStreamReader for what that one leaves.
template <typename Xml> class Parser {
public:
    // Progress goes out for the classes after the first `reported`: those a first reading
    // raised already.
    Parser(const basFileCommon::LoadContext& context, Xml& xml, qsizetype classHint, qsizetype* reported)
        : m_ctx(context), m_xml(xml), m_classHint(std::max<qsizetype>(classHint, 1)), m_reported(reported) {}

    Document run() {
        if (!nextStartElement())
            fail(u"The document has no root element."_s);
        if (m_xml.name() != u"ResultList"_s)
            throw LoadError(u"The document is not an IOF XML result list (its root element is "_s +
                            m_xml.name().toString() + u")."_s);
        m_v3 = m_xml.namespaceUri() == basIof3ResultList::Namespace ||
               m_xml.attributes().value(u"iofVersion"_s).startsWith(u'3');
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"Event"_s)
                readEvent();
            else if (name == u"ClassResult"_s)
                readClassResult();
            else
                m_xml.skipCurrentElement();
        }
        while (!m_xml.atEnd())
            m_xml.readNext();
        if (m_xml.hasError())
            fail(QString());
        return std::move(m_doc);
    }

private:
    [[noreturn]] void fail(const QString& fallback) {
        // The pull reader has no errors of its own: it leaves malformed documents to the other.
        if constexpr (std::is_same_v<Xml, QXmlStreamReader>) {
            if (m_xml.hasError())
                throw LoadError(m_xml.errorString() + u" (line "_s + QString::number(m_xml.lineNumber()) +
                                u")"_s);
        }
        throw LoadError(fallback);
    }

    // The first start element; a document type declaration with entities stops the reading.
    bool nextStartElement() {
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == Xml::DTD && declaresEntities(m_xml))
                throw LoadError(u"The document declares entities; they are not read."_s);
            if (token == Xml::StartElement)
                return true;
        }
        if (m_xml.hasError())
            fail(QString());
        return false;
    }

    QString text() { return m_xml.readElementText(Xml::SkipChildElements).trimmed(); }

    // The text of the current element read into a buffer kept between calls: the numbers that
    // make most of a document cost no allocation each.
    QStringView numberText() {
        m_buffer.resize(0);
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == Xml::Characters)
                m_buffer += m_xml.text();
            else if (token == Xml::StartElement)
                m_xml.skipCurrentElement();
            else if (token == Xml::EndElement)
                break;
        }
        return QStringView(m_buffer).trimmed();
    }

    std::optional<qint64> timeText() {
        const QStringView t = numberText();
        return m_v3 ? decimalSeconds(t) : clockSeconds(t);
    }

    void readEvent() {
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"Name"_s)
                m_doc.eventName = text();
            else if (name == u"StartTime"_s || name == u"StartDate"_s)
                readEventDate();
            else if (name == u"URL"_s || name == u"WebURL"_s)
                m_doc.url = text();
            else
                m_xml.skipCurrentElement();
        }
    }

    void readEventDate() {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Date"_s)
                m_doc.eventDate = dateOf(text());
            else
                m_xml.skipCurrentElement();
        }
    }

    void progress() {
        ++m_classesRead;
        if (m_classesRead <= *m_reported)
            return;
        *m_reported = m_classesRead;
        const int p = basFileCommon::percent(m_classesRead, std::max(m_classHint, m_classesRead));
        m_ctx.raise(p);
        if (m_ctx.progressVisible)
            m_ctx.window(p);
    }

    void readClassResult() {
        progress();
        ClassResult cls;
        std::vector<std::vector<Runner>> legs; // relay members by leg
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"Class"_s || name == u"EventClass"_s)
                readClass(cls);
            else if (name == u"ClassShortName"_s || name == u"ClassId"_s) {
                const QString t = text();
                if (cls.name.isEmpty() || name == u"ClassShortName"_s)
                    cls.name = t;
            } else if (name == u"Course"_s)
                readClassCourse(cls);
            else if (name == u"PersonResult"_s)
                cls.runners.push_back(readPersonResult(cls));
            else if (name == u"TeamResult"_s)
                readTeamResult(cls, legs);
            else
                m_xml.skipCurrentElement();
        }
        if (cls.name.isEmpty())
            cls.name = u"Class %1"_s.arg(m_classesRead);
        for (size_t leg = 0; leg < legs.size(); ++leg) {
            if (legs[leg].empty())
                continue;
            ClassResult legClass;
            legClass.name = cls.name + u'-' + QString::number(leg + 1);
            legClass.variations = cls.variations;
            legClass.runners = std::move(legs[leg]);
            m_doc.classes.push_back(std::move(legClass));
        }
        if (!cls.runners.empty() || legs.empty())
            m_doc.classes.push_back(std::move(cls));
    }

    void readClass(ClassResult& cls) {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Name"_s)
                cls.name = text();
            else
                m_xml.skipCurrentElement();
        }
    }

    void readClassCourse(ClassResult& cls) {
        // Several courses of a class (a butterfly) have no single length.
        const bool first = cls.length == 0 && cls.climb == 0;
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"Length"_s && first)
                cls.length = numberOf(numberText());
            else if (name == u"Climb"_s && first)
                cls.climb = numberOf(numberText());
            else
                m_xml.skipCurrentElement();
        }
    }

    void readPerson(Runner& r) {
        const QStringView sex = m_xml.attributes().value(u"sex"_s);
        if (sex == u"M"_s || sex == u"F"_s)
            r.sex = sex.toString();
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"Name"_s || name == u"PersonName"_s) {
                QString family, given;
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == u"Family"_s)
                        family = text();
                    else if (m_xml.name() == u"Given"_s && given.isEmpty())
                        given = text();
                    else
                        m_xml.skipCurrentElement();
                }
                r.name = given.isEmpty() ? family : family + u' ' + given;
            } else {
                m_xml.skipCurrentElement();
            }
        }
    }

    QString readOrganisation() {
        QString full, shortName;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Name"_s)
                full = text();
            else if (m_xml.name() == u"ShortName"_s)
                shortName = text();
            else
                m_xml.skipCurrentElement();
        }
        return m_v3 ? (full.isEmpty() ? shortName : full) : (shortName.isEmpty() ? full : shortName);
    }

    Runner readPersonResult(ClassResult& cls) {
        Runner r;
        bool resultRead = false;
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"Person"_s)
                readPerson(r);
            else if (name == u"Organisation"_s || name == u"Club"_s)
                r.club = readOrganisation();
            else if (name == u"Result"_s && !resultRead) {
                // Of a result list of several races the first race is read.
                readResult(r, cls);
                resultRead = true;
            } else
                m_xml.skipCurrentElement();
        }
        return r;
    }

    // A relay team: each member becomes a runner of the class of its leg.
    void readTeamResult(ClassResult& cls, std::vector<std::vector<Runner>>& legs) {
        QString team;
        qint32 bib = 0;
        int member = 0;
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"Name"_s || name == u"TeamName"_s)
                team = text();
            else if (name == u"BibNumber"_s || name == u"StartNumber"_s)
                bib = numberOf(numberText());
            else if (name == u"TeamMemberResult"_s || name == u"PersonResult"_s) {
                ++member;
                Runner r;
                int leg = member;
                bool resultRead = false;
                while (m_xml.readNextStartElement()) {
                    const QStringView part = m_xml.name();
                    if (part == u"Person"_s)
                        readPerson(r);
                    else if (part == u"Result"_s && !resultRead) {
                        leg = readResult(r, cls).value_or(member);
                        resultRead = true;
                    } else
                        m_xml.skipCurrentElement();
                }
                if (leg < 1 || leg > 100)
                    throw LoadError(u"A relay leg number is out of range (%1)."_s.arg(leg));
                r.club = team;
                if (r.id == 0)
                    r.id = bib;
                if (legs.size() < size_t(leg))
                    legs.resize(size_t(leg));
                legs[size_t(leg) - 1].push_back(std::move(r));
            } else
                m_xml.skipCurrentElement();
        }
    }

    // Reads a Result into the runner; for a relay member, its leg number.
    std::optional<int> readResult(Runner& r, ClassResult& cls) {
        std::optional<int> leg;
        r.splits.reserve(clsLapData::MaxLegs);
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"SplitTime"_s) {
                readSplit(r);
            } else if (name == u"BibNumber"_s || name == u"StartNumber"_s) {
                if (const qint32 id = numberOf(numberText()); id != 0)
                    r.id = id;
            } else if (name == u"ControlCard"_s || name == u"CCardId"_s) {
                r.ecard = numberOf(numberText());
            } else if (name == u"CCard"_s) {
                while (m_xml.readNextStartElement())
                    if (m_xml.name() == u"CCardId"_s)
                        r.ecard = numberOf(numberText());
                    else
                        m_xml.skipCurrentElement();
            } else if (name == u"StartTime"_s) {
                r.start = m_v3 ? timeOfDay(text()) : clockOf();
            } else if (name == u"Time"_s) {
                r.total = timeText();
            } else if (name == u"Position"_s || name == u"ResultPosition"_s) {
                // A relay member's position is given per leg and per course; the leg's counts.
                const QStringView type = m_xml.attributes().value(u"type"_s);
                const QString t = text();
                if (type.isEmpty() || type == u"Leg"_s)
                    r.position = t;
            } else if (name == u"Status"_s) {
                r.status = text();
            } else if (name == u"CompetitorStatus"_s) {
                r.status = m_xml.attributes().value(u"value"_s).toString();
                m_xml.skipCurrentElement();
            } else if (name == u"Leg"_s || name == u"TeamSequence"_s) {
                leg = int(std::clamp(basRuntime::leadingNumber(text()), -1.0, 1000.0));
            } else if (name == u"LegOrder"_s) {
                if (basRuntime::leadingNumber(text()) > 1)
                    throw LoadError(u"Relay legs run by several members at once are not read."_s);
            } else if (name == u"CourseVariationId"_s) {
                r.variation = text();
            } else if (name == u"CourseVariation"_s) {
                r.variation = readCourseVariation(cls);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        // Older 2.0.3 writers end with the finish as a split time without a control code.
        if (!m_v3 && !r.splits.empty() && !r.splits.back().named && r.total &&
            r.splits.back().seconds == r.total)
            r.splits.pop_back();
        return leg;
    }

    double clockOf() {
        double value = 0;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Clock"_s)
                value = timeOfDay(text());
            else
                m_xml.skipCurrentElement();
        }
        return value;
    }

    void readSplit(Runner& r) {
        const QStringView status = m_xml.attributes().value(u"status"_s);
        // A punch at a control that is not on the course has no leg.
        const bool additional = status == u"Additional"_s;
        Split s;
        const auto readCode = [&] {
            const QStringView code = numberText();
            s.named = !code.isEmpty();
            s.code = numberOf(code);
        };
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"ControlCode"_s)
                readCode();
            else if (name == u"Time"_s)
                s.seconds = timeText();
            else if (name == u"Control"_s) {
                while (m_xml.readNextStartElement())
                    if (m_xml.name() == u"ControlCode"_s)
                        readCode();
                    else
                        m_xml.skipCurrentElement();
            } else
                m_xml.skipCurrentElement();
        }
        if (status == u"Missing"_s)
            s.seconds.reset();
        if (!additional)
            r.splits.push_back(std::move(s));
    }

    QString readCourseVariation(ClassResult& cls) {
        QString id;
        std::vector<std::pair<double, qint32>> controls;
        qint32 length = 0, climb = 0;
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"CourseVariationId"_s)
                id = text();
            else if (name == u"CourseLength"_s)
                length = numberOf(numberText());
            else if (name == u"CourseClimb"_s)
                climb = numberOf(numberText());
            else if (name == u"CourseControl"_s) {
                double sequence = double(controls.size() + 1);
                qint32 code = 0;
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == u"Sequence"_s)
                        sequence = basRuntime::leadingNumber(text());
                    else if (m_xml.name() == u"ControlCode"_s)
                        code = numberOf(numberText());
                    else
                        m_xml.skipCurrentElement();
                }
                controls.emplace_back(sequence, code);
            } else
                m_xml.skipCurrentElement();
        }
        std::stable_sort(controls.begin(), controls.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<qint32> codes;
        for (const auto& c : controls)
            codes.push_back(c.second);
        if (cls.length == 0 && cls.climb == 0) {
            cls.length = length;
            cls.climb = climb;
        }
        cls.variations[id] = std::move(codes);
        return id;
    }

    const basFileCommon::LoadContext& m_ctx;
    Xml& m_xml;
    qsizetype m_classHint;
    qsizetype* m_reported;
    qsizetype m_classesRead = 0;
    bool m_v3 = false;
    Document m_doc;
    QString m_buffer;
};

// ---- From the document to the data set ----

// The controls a runner ran: its course variation, else the codes of its split times.
std::vector<qint32> controlsOf(const ClassResult& cls, const Runner& r, bool* named) {
    *named = true;
    if (const auto v = cls.variations.find(r.variation); !r.variation.isEmpty() && v != cls.variations.end())
        return v->second;
    std::vector<qint32> codes;
    codes.reserve(r.splits.size());
    for (const Split& s : r.splits) {
        if (!s.named)
            *named = false;
        codes.push_back(s.code);
    }
    return codes;
}

// The time from the start at each control: the split times in order when they name no codes
// (or the controls are the split times themselves), else matched by code along the course, as
// 2.0.3 documents may leave out the controls that were missed.
std::vector<std::optional<qint64>> timesAtControls(const std::vector<qint32>& controls, const Runner& r,
                                                   bool fromSplits) {
    std::vector<std::optional<qint64>> times(controls.size());
    if (fromSplits) {
        for (size_t i = 0; i < controls.size() && i < r.splits.size(); ++i)
            times[i] = r.splits[i].seconds;
        return times;
    }
    size_t next = 0;
    for (size_t i = 0; i < controls.size() && next < r.splits.size(); ++i) {
        for (size_t k = next; k < r.splits.size(); ++k) {
            if (r.splits[k].named && r.splits[k].code == controls[i]) {
                times[i] = r.splits[k].seconds;
                next = k + 1;
                break;
            }
        }
    }
    return times;
}

QString resultText(const Runner& r, int missed, QString* rank) {
    const QString status = r.status;
    const QString time = r.total && *r.total > 0
                             ? basDate::format(basDate::fromSeconds(*r.total), basDate::Form::HNnSs)
                             : QString();
    if (basRuntime::isNumeric(r.position))
        *rank = r.position;
    if (status.isEmpty() || status == u"OK"_s || status == u"Finished"_s)
        return time;
    if (status == u"MissingPunch"_s || status == u"MisPunch"_s)
        return missed > 0 ? u"P"_s + QString::number(missed) : u"MP"_s;
    if (status == u"DidNotFinish"_s)
        return u"DNF"_s;
    if (status == u"DidNotStart"_s || status == u"Inactive"_s || status == u"DidNotEnter"_s ||
        status == u"Cancelled"_s || status == u"Moved"_s || status == u"MovedUp"_s)
        return u"DNS"_s;
    if (status == u"Active"_s)
        return QString();
    if (status == u"NotCompeting"_s) {
        *rank = u"OP"_s;
        return time;
    }
    if (status == u"OverTime"_s) {
        *rank = basRuntime::isNumeric(r.position) ? u"("_s + r.position + u')' : u"(OT)"_s;
        return time.isEmpty() ? u"DISQ"_s : time;
    }
    return u"DISQ"_s; // Disqualified, SportingWithdrawal and words the library does not know
}

class Loader {
public:
    explicit Loader(const basFileCommon::LoadContext& context) : m_ctx(context) {}

    void apply(const Document& doc) {
        clsQuorvelin2& root = m_ctx.root;
        if (m_ctx.loadMode == 0) {
            root.Clear();
            clsEventData& event = *root.EventData();
            event.setEventName(doc.eventName);
            event.EventDate()->setValue(doc.eventDate);
            event.setOfficialSite(doc.url);
        }
        for (const ClassResult& cls : doc.classes)
            addClass(cls);
    }

private:
    // The index of the course with these controls: an equal course of the data set, else a new one.
    qint32 courseFor(const std::vector<qint32>& controls) {
        clsQuorvelin2& root = m_ctx.root;
        qint32 highest = 0;
        for (int k = 1; k <= root.CourseCount(); ++k) {
            const auto course = root.Courses().Item(k);
            highest = std::max(highest, course->CourseIndex());
            bool same = course->ControlCount() == qint32(controls.size());
            for (size_t i = 0; same && i < controls.size(); ++i)
                same = course->ControlNum(int(i) + 1) == controls[i];
            if (same)
                return course->CourseIndex();
        }
        auto course = std::make_shared<clsCourseData>();
        course->setCourseIndex(highest + 1);
        course->setControlCount(qint32(controls.size()));
        for (size_t i = 0; i < controls.size(); ++i)
            course->setControlNum(int(i) + 1, controls[i]);
        root.AddCourseObject(course);
        return highest + 1;
    }

    void addClass(const ClassResult& in) {
        clsQuorvelin2& root = m_ctx.root;
        // The courses the runners ran; a class of several (a butterfly) is on none of them alone.
        std::vector<std::vector<qint32>> courses;
        std::vector<std::vector<qint32>> runnerControls;
        std::vector<bool> fromSplits;
        for (const Runner& r : in.runners) {
            bool named = true;
            std::vector<qint32> controls = controlsOf(in, r, &named);
            const bool usable = named && !controls.empty() && controls.size() < size_t(clsLapData::MaxLegs);
            fromSplits.push_back(r.variation.isEmpty() || !in.variations.count(r.variation));
            if (usable && std::find(courses.begin(), courses.end(), controls) == courses.end())
                courses.push_back(controls);
            runnerControls.push_back(usable || (!named && controls.size() < size_t(clsLapData::MaxLegs))
                                         ? std::move(controls)
                                         : std::vector<qint32>());
        }
        std::shared_ptr<clsClassData> cls = root.Classes().Item(in.name);
        if (!cls) {
            cls = std::make_shared<clsClassData>();
            cls->setClassName(in.name);
            cls->setLength(in.length);
            cls->setClimb(in.climb);
            qint32 mostControls = 0;
            for (const auto& c : courses)
                mostControls = std::max(mostControls, qint32(c.size()));
            for (const auto& c : courses) {
                const qint32 index = courseFor(c);
                if (courses.size() == 1)
                    cls->setCourseNum(index);
            }
            if (courses.empty()) {
                for (const auto& c : runnerControls)
                    mostControls = std::max(mostControls, qint32(c.size()));
            }
            cls->setControlCount(mostControls);
            root.AddClassObject(cls);
        } else {
            for (const auto& c : courses)
                courseFor(c);
        }
        for (size_t k = 0; k < in.runners.size(); ++k)
            addRunner(*cls, in.runners[k], runnerControls[k], fromSplits[k]);
    }

    void addRunner(clsClassData& cls, const Runner& r, const std::vector<qint32>& controls, bool fromSplits) {
        auto lap = std::make_shared<clsLapData>();
        lap->setRunnerName(r.name);
        lap->setClubName(r.club);
        lap->setID(r.id);
        lap->setEcard(r.ecard);
        lap->setSex(r.sex);
        if (r.start > 0)
            lap->setStartTime(clsTimeValue(r.start));
        // Legs from the times at the controls: a missing time, or one not later than the time
        // before it, makes that leg missing; the next leg runs from the last good time.
        int missed = 0;
        const auto times = timesAtControls(controls, r, fromSplits);
        bool anyTime = r.total.has_value();
        for (const auto& t : times)
            anyTime = anyTime || t.has_value();
        // Without its controls a runner's total alone is no leg, unless the class has none.
        const bool legsKnown = !controls.empty() || (r.splits.empty() && cls.ControlCount() == 0);
        if (anyTime && legsKnown) {
            qint64 previous = 0;
            const size_t legs = controls.size() + 1;
            for (size_t i = 0; i < legs; ++i) {
                const std::optional<qint64> at = i < times.size() ? times[i] : r.total;
                double value = -2;
                if (at && *at > previous) {
                    value = basDate::fromSeconds(*at - previous);
                    previous = *at;
                } else if (i < times.size()) {
                    ++missed;
                }
                lap->Lap(int(i) + 1)->setValue(value);
            }
        }
        QString rank;
        lap->setResult(resultText(r, missed, &rank));
        lap->setRank(rank);
        cls.AddLapObject(lap, m_ctx.loadMode);
    }

    const basFileCommon::LoadContext& m_ctx;
};

qsizetype classHint(const QByteArray& bytes) {
    qsizetype n = 0;
    for (qsizetype at = bytes.indexOf("ClassResult"); at >= 0; at = bytes.indexOf("ClassResult", at + 11))
        ++n;
    return n / 2;
}

// The document through the pull reader, or, when that one leaves it (malformed documents among
// them), through QXmlStreamReader: the outcome and the words of an error are QXmlStreamReader's.
// text is the document's text when it is known to be plain UTF-8, else null.
void read(const basFileCommon::LoadContext& context, const QString* text, const QByteArray* bytes,
          qsizetype hint) {
    try {
        qsizetype reported = 0;
        std::optional<Document> doc;
        if (text) {
            try {
                XmlPullReader xml(*text);
                doc = Parser<XmlPullReader>(context, xml, hint, &reported).run();
            } catch (const XmlPullReader::Unsupported&) {
            }
        }
        if (!doc) {
            const auto xml = bytes ? std::make_unique<QXmlStreamReader>(*bytes)
                                   : std::make_unique<QXmlStreamReader>(*text);
            doc = Parser<QXmlStreamReader>(context, *xml, hint, &reported).run();
        }
        Loader(context).apply(*doc);
    } catch (const ProjectError& e) {
        throw LoadError(e.description());
    }
}

} // namespace

void loadBytes(const basFileCommon::LoadContext& context, const QByteArray& bytes) {
    const std::optional<QString> text = XmlPullReader::decode(bytes);
    read(context, text ? &*text : nullptr, &bytes, classHint(bytes));
}

void load(const basFileCommon::LoadContext& context, const QString& fileName, const QString& fileData) {
    if (!fileData.isEmpty()) {
        read(context, &fileData, nullptr, fileData.count(u"ClassResult"_s) / 2);
        return;
    }
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw LoadError(f.errorString());
    loadBytes(context, f.readAll());
}

qint32 documentKind(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() != u"ResultList"_s)
            return 0;
        const bool v3 = xml.namespaceUri() == basIof3ResultList::Namespace ||
                        xml.attributes().value(u"iofVersion"_s).startsWith(u'3');
        return v3 ? 8 : 7;
    }
    return 0;
}

qint32 fileKind(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    // The root element is near the start; comments and a declaration come before it.
    return documentKind(f.read(64 * 1024));
}

} // namespace basIofReader
