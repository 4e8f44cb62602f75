#include "FileTestSupport.h"

#include "basDate.h"

#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<clsLapData> addRunner(clsClassData& cls, const QString& name, const QString& club,
                                      const QString& result, const std::vector<double>& legs) {
    auto lap = cls.AddLap();
    lap->setRunnerName(name);
    lap->setClubName(club);
    lap->setResult(result);
    for (size_t i = 0; i < legs.size(); ++i)
        lap->Lap(int(i) + 1)->setValue(legs[i]);
    return lap;
}

double t(int minutes, int seconds) {
    return basDate::fromSeconds(minutes * 60 + seconds);
}

} // namespace

std::unique_ptr<clsQuorvelin2> makeSampleEvent() {
    auto root = std::make_unique<clsQuorvelin2>();
    clsEventData& e = *root->EventData();
    e.setEventName(u"春の大会"_s);
    e.EventDate()->setValue(basDate::dateSerial(2024, 4, 21));
    e.setTerrain(u"高尾山"_s);
    e.setMemo(u"雨天決行"_s);
    e.setOfficialSite(u"http://example.org/spring"_s);
    e.setFileName(u"spring"_s);
    clsMetaData& m = *root->MetaData();
    m.setCreateApplication(u"Brevanto2"_s);
    m.setCreateDate(basDate::dateSerial(2024, 4, 21) + basDate::timeSerial(9, 30, 0));
    m.setCreateUserName(u"organiser"_s);
    m.setLastUpdateApplication(u"Quorvelin2"_s);
    m.setLastUpdateDate(basDate::dateSerial(2024, 4, 22) + basDate::timeSerial(18, 5, 7));

    auto m21 = root->AddClass(u"M21"_s);
    m21->setControlCount(3);
    m21->setCourseNum(1);
    m21->setLength(4200);
    m21->setClimb(150);
    m21->setCutOffRank(10);
    auto a = addRunner(*m21, u"山田 太郎"_s, u"OLC"_s, u"0:30:00"_s, {t(5, 0), t(7, 30), t(10, 0), t(7, 30)});
    a->setID(101);
    a->setEcard(50101);
    a->StartTime()->setValue(basDate::timeSerial(10, 0, 0));
    a->setRank(u"1"_s);
    a->setSex(u"M"_s);
    a->setSeed(u"A"_s);
    a->setRankFix(u"1"_s);
    a->setAge(u"30"_s);
    auto b = addRunner(*m21, u"佐藤　花子"_s, u"KOC"_s, u"1P"_s, {t(6, 0), -2, -1, t(12, 0)});
    b->setID(102);
    b->setSex(u"F"_s);
    auto c = addRunner(*m21, u"Lee"_s, QString(), QString(), {t(6, 10), 0, t(9, 9), t(8, 0)});
    c->setID(103);
    addRunner(*m21, u"No Legs"_s, u"OLC"_s, u"DNS"_s, {});

    auto w21 = root->AddClass(u"W21"_s);
    w21->setControlCount(2);
    w21->setCourseNum(2);
    w21->setFileName(u"women21"_s);
    addRunner(*w21, u"鈴木 一"_s, u"TOC"_s, u"0:20:05"_s, {t(5, 0), t(5, 5), t(10, 0)});

    auto open = root->AddClass(u"Open"_s);
    addRunner(*open, u"Guest"_s, QString(), u"0:40:00"_s, {t(40, 0)});

    auto c1 = root->AddCourse(1);
    c1->setControlCount(3);
    c1->setControlNum(1, 31);
    c1->setControlNum(2, 32);
    c1->setControlNum(3, 33);
    auto c2 = root->AddCourse(2);
    c2->setControlCount(0);
    return root;
}

void fillGeneratedEvent(clsQuorvelin2& root, int classes, int runnersPerClass, int legs) {
    root.EventData()->setEventName(u"Generated"_s);
    root.EventData()->EventDate()->setValue(basDate::dateSerial(2025, 5, 5));
    for (int c = 1; c <= classes; ++c) {
        auto cls = root.AddClass(u"Class %1"_s.arg(c));
        cls->setControlCount(legs - 1);
        cls->setCourseNum(c);
        cls->setLength(3000 + c);
        auto course = root.AddCourse(c);
        course->setControlCount(legs - 1);
        for (int i = 1; i < legs; ++i)
            course->setControlNum(i, 30 + (i * 7 + c) % 70);
        for (int r = 1; r <= runnersPerClass; ++r) {
            auto lap = cls->AddLap();
            lap->setRunnerName(u"Runner %1-%2"_s.arg(c).arg(r));
            lap->setClubName(u"Club %1"_s.arg(r % 37));
            lap->setID(c * 1000 + r);
            lap->setEcard(200000 + c * 1000 + r);
            qint64 total = 0;
            for (int i = 1; i <= legs; ++i) {
                const qint64 s = 60 + (r * 13 + i * 29 + c) % 400;
                total += s;
                lap->Lap(i)->setValue(r % 50 == 0 && i == 3 ? -2 : basDate::fromSeconds(s));
            }
            lap->setResult(r % 50 == 0 ? u"1P"_s : basDate::format(basDate::fromSeconds(total), u"h:nn:ss"));
            lap->StartTime()->setValue(basDate::timeSerial(10, r % 60, 0));
        }
    }
}

QStringList picture(const clsQuorvelin2& root, const Keeps& keeps) {
    QStringList out;
    const clsEventData& e = *root.EventData();
    out << u"event %1|%2|%3|%4|%5|%6"_s.arg(e.EventName())
               .arg(e.EventDateValue())
               .arg(e.Terrain(), e.Memo(), e.OfficialSite(), e.FileName());
    if (keeps.meta) {
        const clsMetaData& m = *root.MetaData();
        out << u"meta %1|%2|%3|%4|%5|%6"_s.arg(
            m.CreateApplication(), basDate::format(m.CreateDate(), u"yyyy/mm/dd hh:nn:ss"),
            m.CreateUserName(), m.LastUpdateApplication(),
            basDate::format(m.LastUpdateDate(), u"yyyy/mm/dd hh:nn:ss"), m.LastUpdateUserName());
    }
    for (int c = 1; c <= root.ClassCount(); ++c) {
        const auto cls = root.Classes().Item(c);
        if (!keeps.classesWithoutControls && cls->ControlCount() == 0)
            continue;
        out << u"class %1 controls=%2 course=%3 length=%4 climb=%5"_s.arg(cls->ClassName())
                   .arg(cls->ControlCount())
                   .arg(cls->CourseNum())
                   .arg(cls->Length())
                   .arg(cls->Climb());
        if (keeps.classDetails)
            out << u"  details cutoff=%1 file=%2"_s.arg(cls->CutOffRank()).arg(cls->FileName());
        QStringList runners;
        for (int r = 1; r <= cls->LapCount(); ++r) {
            const auto lap = cls->LapData(r);
            if (!keeps.runnersWithoutLegs && lap->LegCount() == 0)
                continue;
            QString line = u"  runner %1|%2|%3|%4|%5|%6|start=%7"_s
                               .arg(lap->RunnerName(), lap->ClubName(), lap->Result(), lap->Rank(),
                                    lap->Seed(), lap->Sex())
                               .arg(lap->StartTime()->ToString());
            if (keeps.idAndEcard)
                line += u"|id=%1|ecard=%2"_s.arg(lap->ID()).arg(lap->Ecard());
            if (keeps.rankFixAndAge)
                line += u"|fix=%1|age=%2"_s.arg(lap->RankFix(), lap->Age());
            line += u"|legs"_s;
            for (int i = 1; i <= lap->LegCount(); ++i) {
                double v = lap->LapValue(i);
                if (!keeps.noDataLegs && v == 0)
                    v = -2;
                line += u' ' + clsTimeValue(v).ToString();
            }
            runners << line;
        }
        // Sorting leaves runners with equal result keys in either order; compare them by name.
        runners.sort();
        out << runners;
    }
    if (keeps.courses) {
        for (int k = 1; k <= root.CourseCount(); ++k) {
            const auto course = root.Courses().Item(k);
            QString line = u"course %1 controls=%2:"_s.arg(course->CourseIndex()).arg(course->ControlCount());
            for (int i = 1; i <= course->ControlCount(); ++i)
                line += u' ' + QString::number(course->ControlNum(i));
            out << line;
        }
    }
    return out;
}

namespace {

QString xmllintErrors(const QStringList& arguments) {
    QProcess p;
    p.start(u"xmllint"_s, arguments);
    if (!p.waitForFinished(60000))
        return u"xmllint did not finish"_s;
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return {};
    return QString::fromLocal8Bit(p.readAllStandardError() + p.readAllStandardOutput());
}

} // namespace

QString iofValidationErrors(const QString& path) {
    return xmllintErrors({u"--noout"_s, u"--dtdvalid"_s, QStringLiteral(IOF_DTD_PATH), path});
}

QString iof3ValidationErrors(const QString& path) {
    return xmllintErrors({u"--noout"_s, u"--nonet"_s, u"--schema"_s, QStringLiteral(IOF_XSD_PATH), path});
}
