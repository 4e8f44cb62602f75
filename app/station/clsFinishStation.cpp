#include "clsFinishStation.h"

#include "UserPrompt.h"
#include "basConstants.h"
#include "basDate.h"
#include "basNameRule.h"
#include "basQuorvelin2.h"
#include "basResultRebuild.h"
#include "basResultText.h"
#include "basRuntime.h"
#include "basTypedResult.h"
#include "clsCourseDataTable.h"
#include "clsEcardTagStock.h"
#include "clsLapData.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"
#include "clsQuorvelin2.h"
#include "clsResultManager.h"

#include <QScopeGuard>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A failure the user is told of; one without a text (a refused record) is not shown.
void report(UserPrompt* prompt, const Result& r) {
    if (!r && prompt && !r.error.isEmpty())
        prompt->message(r.error, UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation, QString());
}

// Whole seconds of a result text read as a time; 0 for a text that is no time.
qint64 secondsOfResult(const QString& text) {
    const auto value = basDate::recognize(text.trimmed());
    return value ? basDate::toSeconds(basDate::timePart(*value)) : 0;
}

} // namespace

clsFinishStation::clsFinishStation(UserPrompt* prompt, const QString& applicationFolder, QObject* parent)
    : QObject(parent), m_prompt(prompt), m_tagStock(std::make_shared<clsEcardTagStock>()),
      m_names(std::make_shared<clsNameDataTable>(applicationFolder)),
      m_courses(std::make_shared<clsCourseDataTable>()), m_other(std::make_shared<clsOtherDataTable>()),
      m_results(std::make_shared<clsResultManager>()) {}

clsFinishStation::~clsFinishStation() = default;

void clsFinishStation::openFolder(const QString& folder, qint32 PenacheckRule) {
    m_folder = folder;
    m_rule = PenacheckRule;
    m_lastTag.reset();
    m_tagStock->Clear();
    m_names->Clear();
    m_courses->Clear();
    m_other->Clear();
    m_results->Clear();
    for (const Result& r : m_names->OpenFolder(folder))
        report(m_prompt, r);
    report(m_prompt, m_tagStock->OpenFolder(folder));
    report(m_prompt, m_courses->OpenFolder(folder));
    report(m_prompt, m_other->OpenFolder(folder));
    RefreshData();
}

void clsFinishStation::RefreshData() {
    basResultRebuild::RefreshData(*m_results, m_tagStock->TagTable(), m_names, m_courses, m_other, m_rule);
    emit resultsChanged();
}

clsNameDataPtr clsFinishStation::NameDataOfEcardTag(const clsEcardTagData& TagData) const {
    return basNameRule::NameDataOfEcardTag(TagData, *m_other, *m_names);
}

QString clsFinishStation::resultsLabel(const std::vector<std::shared_ptr<clsResultData>>& results,
                                       bool hasRead) {
    QString text;
    for (const auto& r : results)
        text += basResultText::resultLine(r->CourseData() ? r->CourseData()->CourseName() : QString(),
                                          r->Result(), r->Rank());
    if (hasRead)
        text += basResultText::AlreadyRead;
    return text;
}

clsFinishStation::ReadOutcome clsFinishStation::readTag(std::shared_ptr<clsEcardTagData> tag) {
    emit cardHandling(true);
    const auto handled = qScopeGuard([this] { emit cardHandling(false); });
    ReadOutcome out;
    out.cardLabel =
        basResultText::cardLabelText(tag->EmitSystem(), tag->Display(1), tag->Display(2), tag->Display(3));
    std::shared_ptr<clsEcardTagStock::TagList> ofNumber;
    const basTextFile::Result appended = m_tagStock->AddAndAppend(tag, out.hasRead, ofNumber);
    out.tag = tag;
    m_lastTag = tag;
    const clsNameDataPtr name = NameDataOfEcardTag(*tag);
    out.nameLabel =
        basResultText::nameLabelText(tag->EcardNo(), name != nullptr, name ? name->RunnerName : QString(),
                                     name ? name->ClubName : QString());
    if (!appended) {
        // Not in the store: it gets no results either, so that a rebuild shows the same.
        out.stored = false;
        report(m_prompt, appended);
        return out;
    }
    std::vector<std::shared_ptr<clsResultData>> results;
    if (out.hasRead) {
        results = m_results->ResultDataListOfEcard(tag->UniqueKey());
    } else {
        results = m_results->Add(tag);
        m_results->Refresh();
    }
    out.resultsLabel = resultsLabel(results, out.hasRead);
    emit tagRead(tag);
    emit resultsChanged();
    return out;
}

bool clsFinishStation::registerName(const clsNameDataPtr& name, bool applicationFolder) {
    // A record without a number is never stored; a failed write leaves the tables as they were.
    if (!name || name->EcardNo == 0)
        return false;
    const Result added =
        applicationFolder ? m_names->AddToApplicationFolder(name) : m_names->AddToDataFolder(name);
    if (!added) {
        report(m_prompt, added);
        return false;
    }
    m_results->NameDataChanged(name->EcardNo, name);
    emit resultsChanged();
    return true;
}

bool clsFinishStation::changeName(const clsEcardTagData& tag, NameTarget target, const QString& RunnerName,
                                  const QString& ClubName) {
    auto name = std::make_shared<clsNameData>(tag.EcardNo(), RunnerName, ClubName);
    if (target != NameTarget::ThisRead)
        return registerName(name, target == NameTarget::ApplicationFolder);
    // A copy, so that memory stays as it was when Other.txt cannot be written.
    const clsSpecificDataPtr old = m_other->SpecificData(tag.UniqueKey());
    auto specific = old ? std::make_shared<clsSpecificData>(*old) : std::make_shared<clsSpecificData>();
    specific->EcardTagUniqueKey = tag.UniqueKey();
    specific->NameData = name;
    if (const Result stored = m_other->AddSpecificData(specific); !stored) {
        report(m_prompt, stored);
        return false;
    }
    m_results->SpecificDataChanged(tag.UniqueKey(), specific);
    emit resultsChanged();
    return true;
}

bool clsFinishStation::specifyClasses(const QString& EcardTagUniqueKey,
                                      const std::optional<QStringList>& CourseList, bool IsNotCompete) {
    const clsSpecificDataPtr old = m_other->SpecificData(EcardTagUniqueKey);
    auto specific = old ? std::make_shared<clsSpecificData>(*old) : std::make_shared<clsSpecificData>();
    specific->EcardTagUniqueKey = EcardTagUniqueKey;
    specific->CourseList = CourseList;
    specific->IsNotCompete = IsNotCompete;
    if (const Result stored = m_other->AddSpecificData(specific); !stored) {
        report(m_prompt, stored);
        return false;
    }
    // The classes a read counts in change which lists hold it: nothing short of a rebuild.
    RefreshData();
    return true;
}

bool clsFinishStation::addOtherResult(const TypedResult& typed) {
    auto other = std::make_shared<clsOtherResultData>();
    other->NameData = std::make_shared<clsNameData>(0, typed.RunnerName, typed.ClubName);
    other->CourseName = typed.CourseName;
    other->IsNotCompete = typed.IsNotCompete;
    const basTypedResult::TypedTime time = basTypedResult::ReadTypedTime(typed.Result);
    other->Result = time.isTime ? time.text : typed.Result;
    if (const Result stored = m_other->AddOtherResultData(other); !stored) {
        report(m_prompt, stored);
        return false;
    }
    RefreshData();
    return true;
}

QString clsFinishStation::answerRequest(const QString& TargetValue, const QString& OptionValue) {
    const bool application = TargetValue == ApplicationNameTarget;
    if (!application && TargetValue != FolderNameTarget)
        return QString();
    const QStringList fields = OptionValue.split(u',');
    const auto field = [&](int i) { return i < fields.size() ? fields[i].trimmed() : QString(); };
    const auto name = std::make_shared<clsNameData>(basRuntime::leadingLong(field(0)), field(1), field(2));
    if (!registerName(name, application))
        return QString();
    emit namesChanged();
    return u"OK"_s;
}

QStringList clsFinishStation::csvLines() const {
    const int n = m_courses->CourseCount();
    QStringList header{u"Ｅカード番号"_s, u"名前"_s, u"所属"_s};
    for (int i = 1; i <= n; ++i)
        header << m_courses->CourseData(i)->CourseName() << QString();
    header << u"合計"_s << QString();
    QStringList lines{header.join(u',')};
    for (const auto& entry : m_tagStock->TagTable()) {
        const auto& tag = entry.value;
        QStringList fields(2 * n + 4);
        fields[0] = QString::number(tag->EcardNo());
        if (const clsNameDataPtr name = NameDataOfEcardTag(*tag)) {
            fields[1] = name->RunnerName;
            fields[2] = name->ClubName;
        }
        bool failed = false;
        qint64 total = 0;
        for (const auto& r : m_results->ResultDataListOfEcard(tag->UniqueKey())) {
            const int m = r->CourseData() ? r->CourseData()->CourseNumber() : 0;
            if (m >= 1 && m <= n) {
                fields[2 * m + 1] = r->Result();
                fields[2 * m + 2] = r->Rank();
            }
            failed = failed || r->IsNotQualify();
            total += secondsOfResult(r->Result());
        }
        if (!failed) {
            // Whole hours beyond a day are kept rather than wrapped.
            fields[2 * n + 3] = QString::number(total / 3600) + u':' +
                                basDate::format(basDate::fromSeconds(total % 3600), u"nn:ss");
        }
        lines << fields.join(u',');
    }
    return lines;
}

basTextFile::Result clsFinishStation::writeCsv(const QString& path) const {
    return basTextFile::writeLines(path, csvLines());
}

std::shared_ptr<clsQuorvelin2> clsFinishStation::Quorvelin2Object(const QString& eventName, double eventDate,
                                                                  const QString& application) const {
    std::shared_ptr<QObject> created =
        basQuorvelin2::CreateObject(QStringView(basQuorvelin2::RootIdentifier));
    auto root = std::dynamic_pointer_cast<clsQuorvelin2>(created);
    if (!root)
        return nullptr;
    (void)root->Version(false);
    root->EventData()->EventDate()->setValue(eventDate);
    root->EventData()->setEventName(eventName);
    root->MetaData()->setCreateApplication(application);
    root->MetaData()->setCreateDate(basDate::now());
    for (int k = 1; k <= m_courses->CourseCount(); ++k) {
        const auto course = m_courses->CourseData(k);
        const int controls = course->ControlCount();
        const auto cls = root->AddClass(course->CourseName());
        cls->setControlCount(controls);
        cls->setCourseNum(k);
        const auto target = root->AddCourse(k);
        target->setControlCount(controls);
        for (int i = 1; i <= controls; ++i)
            target->setControlNum(i, course->UnitCode(i, 1));
        const auto list = m_results->ResultList(k);
        if (!list)
            continue;
        for (int p = 1; p <= list->Count(); ++p) {
            const auto result = list->ObjectItem<clsResultData>(p);
            const auto lap = cls->AddLap();
            lap->setRunnerName(result->RunnerName());
            lap->setClubName(result->ClubName());
            lap->setResult(result->Result());
            lap->setRank(result->Rank());
            const auto tag = result->TagData();
            const auto checker = result->PenaChecker();
            if (!tag || !checker)
                continue;
            lap->setID(tag->EcardNo());
            lap->setEcard(tag->EcardNo());
            // A missed control gets the missing-punch code; the next found one spans from the
            // last found post. A lap record holds so many legs: a longer course hands over its
            // first legs rather than failing the whole data set.
            qint64 previous = checker->PostSeconds(0);
            for (int j = 1; j <= std::min(controls + 1, clsLapData::MaxLegs); ++j) {
                if (checker->PostChecked(j)) {
                    lap->Lap(j)->setValue(basDate::fromSeconds(checker->PostSeconds(j) - previous));
                    previous = checker->PostSeconds(j);
                } else {
                    lap->Lap(j)->setValue(Quorvelin2::QV_TIME_DISQ);
                }
            }
        }
    }
    return root;
}
