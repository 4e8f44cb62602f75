#include "basLxmFile.h"

#include "ProjectError.h"
#include "basConstants.h"
#include "basDate.h"
#include "basLapText.h"
#include "basRuntime.h"
#include "basText.h"
#include "basTextFile.h"
#include "clsQuorvelin2.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;
using basFileCommon::LoadError;

namespace basLxmFile {

namespace {

const QString DateTimeForm = u"yyyy/mm/dd hh:nn:ss"_s;

QString number(qint32 v) {
    return v == 0 ? QString() : QString::number(v);
}

QString timeText(double value) {
    if (value > 0)
        return basDate::format(value, basDate::Form::HhNnSs);
    return clsTimeValue(value).ToString();
}

void writeMeta(QXmlStreamWriter& w, const QString& type, const QString& application, double date,
               const QString& user) {
    w.writeStartElement(u"file"_s);
    if (!application.isEmpty()) {
        w.writeAttribute(u"type"_s, type);
        w.writeAttribute(u"application"_s, application);
        w.writeAttribute(u"date"_s, basDate::format(date, DateTimeForm));
        if (!user.isEmpty())
            w.writeAttribute(u"username"_s, user);
    }
    w.writeEndElement();
}

} // namespace

QByteArray write(const clsQuorvelin2& root, qint32 saveMode) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s);
    w.writeStartElement(u"quorvelin"_s);
    w.writeAttribute(u"version"_s, root.Version(false));
    w.writeAttribute(u"filedate"_s, basDate::format(basDate::now(), DateTimeForm));
    w.writeAttribute(u"type"_s, u"application/x-quorvelin2"_s);

    const clsMetaData& meta = *root.MetaData();
    w.writeStartElement(u"meta"_s);
    // A file element without data carries no attributes; both are written only with data.
    if (!meta.CreateApplication().isEmpty())
        writeMeta(w, u"create"_s, meta.CreateApplication(), meta.CreateDate(), meta.CreateUserName());
    if (!meta.LastUpdateApplication().isEmpty())
        writeMeta(w, u"last-update"_s, meta.LastUpdateApplication(), meta.LastUpdateDate(),
                  meta.LastUpdateUserName());
    w.writeEndElement();

    clsEventData& event = *root.EventData();
    w.writeStartElement(u"event"_s);
    w.writeAttribute(u"name"_s, event.EventName());
    if (event.EventDateValue() != 0)
        w.writeAttribute(u"date"_s, basDate::format(event.EventDateValue(), u"yyyy/mm/dd"));
    if (!event.Terrain().isEmpty())
        w.writeAttribute(u"terrain"_s, event.Terrain());
    if (!event.Memo().isEmpty())
        w.writeAttribute(u"memo"_s, event.Memo());
    if (!event.OfficialSite().isEmpty())
        w.writeAttribute(u"homepage"_s, event.OfficialSite());
    if (!event.FileName().isEmpty())
        w.writeAttribute(u"filename"_s, event.FileName());
    w.writeEndElement();

    w.writeStartElement(u"classes"_s);
    for (int c = 1; c <= root.ClassCount(); ++c) {
        const auto cls = root.Classes().Item(c);
        if (!cls)
            continue;
        w.writeStartElement(u"class"_s);
        w.writeAttribute(u"name"_s, cls->ClassName());
        if (cls->Length() != 0)
            w.writeAttribute(u"length"_s, QString::number(cls->Length()));
        if (cls->Climb() != 0)
            w.writeAttribute(u"climb"_s, QString::number(cls->Climb()));
        if (cls->ControlCount() != 0)
            w.writeAttribute(u"controls"_s, QString::number(cls->ControlCount()));
        if (cls->CourseNum() != 0)
            w.writeAttribute(u"course"_s, QString::number(cls->CourseNum()));
        if (cls->CutOffRank() != 0)
            w.writeAttribute(u"cutoffrank"_s, QString::number(cls->CutOffRank()));
        if (basText::toNarrow(cls->FileName()).toLower() != basText::toNarrow(cls->ClassName()).toLower())
            w.writeAttribute(u"filename"_s, cls->FileName());
        for (const auto& lap : basFileCommon::runnersInResultOrder(*cls)) {
            w.writeStartElement(u"runner"_s);
            w.writeAttribute(u"name"_s, lap->RunnerName());
            if (lap->ID() != 0)
                w.writeAttribute(u"id"_s, QString::number(lap->ID()));
            if (lap->Ecard() != 0)
                w.writeAttribute(u"ecard"_s, QString::number(lap->Ecard()));
            if (!lap->Seed().isEmpty())
                w.writeAttribute(u"seed"_s, lap->Seed());
            if (!lap->ClubName().isEmpty())
                w.writeAttribute(u"club"_s, lap->ClubName());
            if (lap->StartTime()->Value() != 0)
                w.writeAttribute(u"start"_s, timeText(lap->StartTime()->Value()));
            if (!lap->Result().isEmpty())
                w.writeAttribute(u"result"_s, lap->Result());
            if (!lap->Rank().isEmpty())
                w.writeAttribute(u"rank"_s, lap->Rank());
            if (!lap->Sex().isEmpty())
                w.writeAttribute(u"sex"_s, lap->Sex());
            if (saveMode == 1) {
                if (!lap->RankFix().isEmpty())
                    w.writeAttribute(u"rankfix"_s, lap->RankFix());
                if (!lap->Age().isEmpty())
                    w.writeAttribute(u"age"_s, lap->Age());
            }
            for (int i = 1; i <= lap->LegCount(); ++i) {
                w.writeStartElement(u"leg"_s);
                w.writeAttribute(u"index"_s, QString::number(i));
                w.writeAttribute(u"laptime"_s, timeText(lap->LapValue(i)));
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(u"courses"_s);
    for (int k = 1; k <= root.CourseCount(); ++k) {
        const auto course = root.Courses().Item(k);
        if (!course)
            continue;
        w.writeStartElement(u"course"_s);
        w.writeAttribute(u"number"_s, number(course->CourseIndex()));
        w.writeAttribute(u"controls"_s, number(course->ControlCount()));
        const int controls = std::min(course->ControlCount(), qint32(clsCourseData::MaxPosition));
        for (int i = 1; i <= controls; ++i) {
            w.writeStartElement(u"control"_s);
            w.writeAttribute(u"index"_s, QString::number(i));
            w.writeAttribute(u"unit-number"_s, number(course->ControlNum(i)));
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

bool save(const clsQuorvelin2& root, const QString& fileName, qint32 saveMode) {
    try {
        return basTextFile::writeBytes(fileName, write(root, saveMode)).ok;
    } catch (const std::exception&) {
        return false;
    }
}

namespace {

class Reader {
public:
    Reader(const basFileCommon::LoadContext& context, QXmlStreamReader& xml, qsizetype classCountHint)
        : m_ctx(context), m_xml(xml), m_classHint(classCountHint) {}

    void run() {
        if (!m_xml.readNextStartElement())
            fail();
        if (m_xml.name() != u"quorvelin"_s)
            throw LoadError(u"The root element is not quorvelin."_s);
        if (const auto d = basDate::recognize(attr(u"filedate"_s)))
            m_ctx.root.setFileDate(*d);
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"event"_s && m_ctx.loadMode == 0)
                readEvent();
            else if (name == u"meta"_s && m_ctx.loadMode == 0)
                readMeta();
            else if (name == u"classes"_s)
                readClasses();
            else if (name == u"courses"_s)
                readCourses();
            else
                m_xml.skipCurrentElement();
        }
        // Reading to the end reports a document that breaks off after the root element.
        while (!m_xml.atEnd())
            m_xml.readNext();
        if (m_xml.hasError())
            fail();
    }

private:
    [[noreturn]] void fail() {
        throw LoadError(m_xml.hasError() ? m_xml.errorString() + u" (line "_s +
                                               QString::number(m_xml.lineNumber()) + u")"_s
                                         : u"The document has no root element."_s);
    }

    // The attributes of the current element, copied out of the reader once per element.
    const QXmlStreamAttributes& attributes() const {
        if (m_attributesAt != m_xml.characterOffset()) {
            m_attributes = m_xml.attributes();
            m_attributesAt = m_xml.characterOffset();
        }
        return m_attributes;
    }

    QString attr(const QString& name, bool trim = true) const {
        const QStringView v = attributes().value(name);
        return trim ? v.trimmed().toString() : v.toString();
    }

    static qint32 toLong(const QString& text) { return basRuntime::toLong(basRuntime::leadingNumber(text)); }

    void readEvent() {
        clsEventData& e = *m_ctx.root.EventData();
        e.setEventName(attr(u"name"_s));
        if (const auto d = basDate::recognize(attr(u"date"_s)))
            e.EventDate()->setValue(*d);
        e.setTerrain(attr(u"terrain"_s));
        e.setMemo(attr(u"memo"_s));
        e.setOfficialSite(attr(u"homepage"_s));
        const QString fileName = attr(u"filename"_s);
        e.setFileName(fileName.isEmpty() ? QString() : basLapText::DeriveFileName(fileName));
        m_xml.skipCurrentElement();
    }

    void readMeta() {
        clsMetaData& meta = *m_ctx.root.MetaData();
        while (m_xml.readNextStartElement()) {
            const QString type = attr(u"type"_s);
            const QString app = attr(u"application"_s);
            const double date = basDate::recognize(attr(u"date"_s)).value_or(0);
            const QString user = attr(u"username"_s);
            if (type == u"create"_s) {
                meta.setCreateApplication(app);
                meta.setCreateDate(date);
                meta.setCreateUserName(user);
            } else if (type == u"last-update"_s) {
                meta.setLastUpdateApplication(app);
                meta.setLastUpdateDate(date);
                meta.setLastUpdateUserName(user);
            }
            m_xml.skipCurrentElement();
        }
    }

    void readClasses() {
        qsizetype position = 0;
        while (m_xml.readNextStartElement()) {
            ++position;
            const int p = basFileCommon::percent(position, std::max(m_classHint, position));
            m_ctx.raise(p);
            if (m_ctx.progressVisible)
                m_ctx.window(p);
            readClass();
        }
    }

    void readClass() {
        const QString name = attr(u"name"_s);
        std::shared_ptr<clsClassData> cls = m_ctx.root.Classes().Item(name);
        if (!cls) {
            cls = std::make_shared<clsClassData>();
            cls->setClassName(name);
            const QString fileName = attr(u"filename"_s);
            if (!fileName.isEmpty())
                cls->setFileName(basText::toNarrow(fileName).toLower());
            cls->setLength(toLong(attr(u"length"_s)));
            cls->setClimb(toLong(attr(u"climb"_s)));
            cls->setControlCount(toLong(attr(u"controls"_s)));
            cls->setCutOffRank(toLong(attr(u"cutoffrank"_s)));
            cls->setCourseNum(toLong(attr(u"course"_s)));
            m_ctx.root.AddClassObject(cls);
        }
        while (m_xml.readNextStartElement())
            readRunner(*cls);
    }

    void readRunner(clsClassData& cls) {
        auto lap = std::make_shared<clsLapData>();
        lap->setRunnerName(attr(u"name"_s));
        lap->setClubName(attr(u"club"_s));
        if (const auto t = basLapText::TimeOf(attr(u"start"_s)))
            lap->setStartTime(clsTimeValue(*t));
        lap->setResult(attr(u"result"_s));
        lap->setID(toLong(attr(u"id"_s)));
        lap->setEcard(toLong(attr(u"ecard"_s)));
        lap->setRank(attr(u"rank"_s));
        lap->setSeed(attr(u"seed"_s));
        lap->setRankFix(attr(u"rankfix"_s));
        lap->setAge(attr(u"age"_s));
        lap->setSex(attr(u"sex"_s));
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"leg"_s) {
                // Legs are most of a file: their attributes are read in place, without copies.
                const QXmlStreamAttributes& legAttributes = attributes();
                const QStringView indexText = legAttributes.value(u"index"_s);
                const double index = basRuntime::leadingNumber(indexText);
                if (!(index >= 0.5 && index < clsLapData::MaxLegs + 0.5))
                    throw LoadError(u"Subscript out of range (leg "_s + indexText.toString() + u")"_s);
                const QStringView text = legAttributes.value(u"laptime"_s);
                double value = 0;
                // The form the file is written in is read directly; any other time text as well.
                if (const auto exact = basDate::parse(text, basDate::Form::HhNnSs))
                    value = *exact;
                else if (const auto t = basLapText::TimeOf(text))
                    value = *t;
                else if (text == u"×"_s || text == u"X"_s)
                    value = Quorvelin2::TimeDisq;
                else if (text == u"↓"_s || text == u"→"_s || text == u"+"_s)
                    value = Quorvelin2::TimeSkip;
                lap->Lap(basRuntime::toLong(index))->setValue(value);
            }
            m_xml.skipCurrentElement();
        }
        cls.AddLapObject(lap, m_ctx.loadMode);
    }

    void readCourses() {
        while (m_xml.readNextStartElement()) {
            auto course = std::make_shared<clsCourseData>();
            course->setCourseIndex(toLong(attr(u"number"_s)));
            course->setControlCount(toLong(attr(u"controls"_s)));
            // A course the data set already has is kept, as an existing class is.
            m_ctx.root.AddCourseObject(course);
            while (m_xml.readNextStartElement()) {
                const qint32 index = toLong(attr(u"index"_s));
                const qint32 code = toLong(attr(u"unit-number"_s));
                try {
                    course->setControlNum(index, code);
                } catch (const ProjectError& e) {
                    throw LoadError(e.description());
                }
                m_xml.skipCurrentElement();
            }
        }
    }

    const basFileCommon::LoadContext& m_ctx;
    QXmlStreamReader& m_xml;
    mutable QXmlStreamAttributes m_attributes;
    mutable qint64 m_attributesAt = -1;
    qsizetype m_classHint;
};

} // namespace

void loadBytes(const basFileCommon::LoadContext& context, const QByteArray& bytes) {
    // The number of classes for the progress, counted cheaply on the bytes.
    qsizetype hint = 0;
    for (qsizetype at = bytes.indexOf("<class"); at >= 0; at = bytes.indexOf("<class", at + 6)) {
        const char next = at + 6 < bytes.size() ? bytes[at + 6] : '\0';
        hint += next == ' ' || next == '>' || next == '/';
    }
    QXmlStreamReader xml(bytes);
    try {
        Reader(context, xml, hint).run();
    } catch (const ProjectError& e) {
        throw LoadError(e.description());
    }
}

void load(const basFileCommon::LoadContext& context, const QString& fileName, const QString& fileData) {
    if (!fileData.isEmpty()) {
        // The text is already characters; its declaration must not make the reader decode again.
        QXmlStreamReader xml(fileData);
        try {
            Reader(context, xml, fileData.count(u"<class "_s) + fileData.count(u"<class>"_s)).run();
        } catch (const ProjectError& e) {
            throw LoadError(e.description());
        }
        return;
    }
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw LoadError(f.errorString());
    loadBytes(context, f.readAll());
}

} // namespace basLxmFile
