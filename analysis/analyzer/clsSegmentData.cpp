#include "clsSegmentData.h"

#include "basAutomation.h"
#include "basDate.h"
#include "basLegTime.h"
#include "basQuorvelin2.h"
#include "basRuntime.h"
#include "clsQuorvelin2.h"

using namespace Qt::StringLiterals;

namespace {
const bool registered = basAutomation::registerShared<clsSegmentData>();

QString keyOf(const QString& entry) {
    const qsizetype semicolon = entry.indexOf(u';');
    return semicolon < 0 ? entry : entry.left(semicolon);
}
} // namespace

QStringList clsSegmentData::TargetClassList() const {
    QStringList out;
    for (const auto& e : m_targetClasses)
        out << e.value;
    return out;
}

void clsSegmentData::setTargetClassList(const QStringList& TargetClassList) {
    m_targetClasses.Clear();
    for (const QString& entry : TargetClassList)
        m_targetClasses.Add(entry, keyOf(entry));
}

bool clsSegmentData::addTargetClass(const QString& className, qint32 startLeg) {
    return m_targetClasses.Add(className + u';' + QString::number(startLeg), className);
}

std::shared_ptr<clsLapData> clsSegmentData::DeriveLap(clsLapData& r, int s, int legs) {
    auto lap = std::make_shared<clsLapData>();
    lap->setRunnerName(r.RunnerName());
    lap->setClubName(r.ClubName());
    lap->setRank(r.Rank());
    lap->setID(r.ID());
    lap->setEcard(r.Ecard());
    lap->setRankFix(r.RankFix());
    lap->setSeed(r.Seed());
    lap->setAge(r.Age());
    lap->setSex(r.Sex());
    lap->setClassName(r.ClassName());
    lap->setSerialNum(r.SerialNum());

    const double start = r.StartTime()->Value();
    if (start != 0) {
        qint64 before = 0;
        for (int i = 1; i < s; ++i)
            if (r.LapValue(i) > 0)
                before += basLegTime::secondsOf(r.LapValue(i));
        lap->StartTime()->setValue(basLegTime::daysOf(basLegTime::secondsOf(start) + before));
    }
    qint64 total = 0;
    bool complete = true;
    for (int i = 1; i <= legs && i <= clsLapData::MaxLegs; ++i) {
        const double v = r.LapValue(s + i - 1);
        lap->Lap(i)->setValue(v);
        if (v > 0)
            total += basLegTime::secondsOf(v);
        else
            complete = false;
    }
    lap->setResult(complete ? basDate::format(basLegTime::daysOf(total), basDate::Form::HNnSs) : u"DISQ"_s);
    return lap;
}

template <typename Set> void clsSegmentData::fill(Set& set, const QString& sexOption) const {
    set.setControlCount(m_controlCount);
    clsQuorvelin2* root = basQuorvelin2::CurrentRoot();
    if (root) {
        for (const auto& e : m_targetClasses) {
            const qsizetype semicolon = e.value.indexOf(u';');
            const QString name = semicolon < 0 ? e.value : e.value.left(semicolon);
            const int s =
                semicolon < 0 ? 1 : static_cast<int>(basRuntime::leadingNumber(e.value.mid(semicolon + 1)));
            const auto cls = root->IsClassExists(name) ? root->ClassData(QVariant(name)) : nullptr;
            if (!cls)
                continue;
            for (qint32 k = 1; k <= cls->LapCount(); ++k) {
                const auto record = cls->LapData(k);
                if (sexOption.isEmpty() || record->Sex() == sexOption)
                    set.AddLap(DeriveLap(*record, s, m_controlCount + 1));
            }
        }
    }
    set.setDataSetName(sexOption.isEmpty() ? m_segmentName : m_segmentName + u" - "_s + sexOption);
}

std::shared_ptr<clsAnalyzer> clsSegmentData::Analyzer(const QString& SexOption) const {
    auto analyzer = std::make_shared<clsAnalyzer>();
    fill(*analyzer, SexOption);
    return analyzer;
}

std::shared_ptr<clsResultsHolder> clsSegmentData::ResultsHolder(const QString& SexOption) const {
    auto holder = std::make_shared<clsResultsHolder>();
    fill(*holder, SexOption);
    return holder;
}

std::vector<std::shared_ptr<clsSegmentData>> clsSegmentData::MakeSegmentSet(const clsQuorvelin2& root) {
    std::vector<std::shared_ptr<clsSegmentData>> segments;
    KeyedList<std::shared_ptr<clsSegmentData>> byName;
    const auto& courses = root.Courses();
    const auto& classes = root.Classes();
    const auto addClassesOn = [&classes](clsSegmentData& segment, qint32 courseIndex, qint32 start) {
        for (const auto& c : classes)
            if (c.value->CourseNum() == courseIndex)
                segment.addTargetClass(c.value->ClassName(), start);
    };

    if (courses.Count() < 2)
        return segments;
    // Every course's codes, start (0) to finish, read once: the pairs below compare them often.
    std::vector<std::vector<qint32>> codesOf(static_cast<size_t>(courses.Count()) + 1);
    for (int i = 1; i <= courses.Count(); ++i) {
        const clsCourseData& c = *courses.Item(i);
        for (qint64 k = 0; k <= qint64{c.ControlCount()} + 1; ++k)
            codesOf[static_cast<size_t>(i)].push_back(c.ControlNum(k));
    }

    for (int i = 1; i <= courses.Count(); ++i) {
        const clsCourseData& a = *courses.Item(i);
        const std::vector<qint32>& aCodes = codesOf[static_cast<size_t>(i)];
        const int aFinish = static_cast<int>(aCodes.size()) - 1;
        for (int j = i + 1; j <= courses.Count(); ++j) {
            const clsCourseData& b = *courses.Item(j);
            const std::vector<qint32>& bCodes = codesOf[static_cast<size_t>(j)];
            const int bFinish = static_cast<int>(bCodes.size()) - 1;
            for (int d = -aFinish; d <= bFinish; ++d) {
                int run = 0;
                for (int k = 0; k <= aFinish; ++k) {
                    if (k + d < 0 || k + d > bFinish)
                        continue;
                    const bool equal = aCodes[static_cast<size_t>(k)] == bCodes[static_cast<size_t>(k + d)];
                    if (equal)
                        ++run;
                    if (equal && k != aFinish && k + d != bFinish)
                        continue;
                    if (run < 3) {
                        run = 0;
                        continue;
                    }
                    const int e = equal ? k + 1 : k;
                    QStringList codes;
                    for (int p = e - run; p <= e - 1; ++p)
                        codes << QString::number(a.ControlNum(p));
                    QString name = u'-' + codes.join(u'-') + u'-';
                    name.replace(u"-0-"_s, u"-S-"_s);
                    name.replace(u"-9999-"_s, u"-F-"_s);
                    name = name.mid(1, name.size() - 2);

                    if (const auto existing = byName.Item(name)) {
                        addClassesOn(*existing, b.CourseIndex(), e + d - run + 1);
                    } else {
                        auto segment = std::make_shared<clsSegmentData>();
                        segment->setSegmentName(name);
                        segment->setControlCount(run - 2);
                        segments.push_back(segment);
                        byName.Add(segment, name);
                        addClassesOn(*segment, a.CourseIndex(), e - run + 1);
                        addClassesOn(*segment, b.CourseIndex(), e + d - run + 1);
                    }
                    run = 0;
                }
            }
        }
    }
    return segments;
}
