#include "clsLapTicket.h"

#include "basCsvPrepare.h"
#include "basDate.h"
#include "basRuntime.h"
#include "basText.h"
#include "clsEcardTagData.h"
#include "clsFinishStation.h"
#include "clsResultManager.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Column widths in bytes: the results block and the legs block each fill the line exactly.
struct Columns {
    int width;
    int className, result, rank;
    int label, leg, split, legRank;
    int caption;
};

constexpr Columns columnsOf(clsLapTicket::Paper paper) {
    return paper == clsLapTicket::Paper::Roll58 ? Columns{32, 14, 9, 9, 8, 8, 9, 7, 13}
                                                : Columns{48, 22, 13, 13, 12, 12, 13, 11, 14};
}

// A missed control, as the text lap reader knows it.
const QString MissedMark = u"--:--"_s;

QString left(const QString& text, int width) {
    return basText::padToWidth(text.trimmed(), width, basText::Align::Left);
}
QString right(const QString& text, int width) {
    return basText::padToWidth(text.trimmed(), width, basText::Align::Right);
}

QString timeText(const std::optional<qint64>& seconds) {
    return seconds ? basDate::format(basDate::fromSeconds(*seconds), basDate::Form::HNnSs) : MissedMark;
}

QString rankText(const QString& rank) {
    return basRuntime::isNumeric(rank) ? rank.trimmed() + u"位"_s : rank;
}

// The time of leg j when both of its ends were punched; a leg after a missed control spans
// more than one leg and compares with nothing.
std::optional<qint64> comparableLeg(const clsEcardPenaChecker& c, int j) {
    if (!c.PostChecked(j) || !c.PostChecked(j - 1))
        return std::nullopt;
    return c.PostSeconds(j) - c.PostSeconds(j - 1);
}

} // namespace

clsLapTicket::Paper clsLapTicket::paperOf(const QString& text) {
    return text.trimmed() == u"58"_s ? Paper::Roll58 : Paper::Roll80;
}

std::vector<clsLapTicket::LegLine> clsLapTicket::legsOf(const clsResultData& result,
                                                        const clsResultManager& manager) {
    std::vector<LegLine> legs;
    const auto checker = result.PenaChecker();
    const auto course = result.CourseData();
    if (!checker || !course)
        return legs;
    // The class list that holds this result: by position, or by name when the table moved.
    std::shared_ptr<CclsSort> list = manager.ResultList(course->CourseNumber());
    const auto holds = [&](const std::shared_ptr<CclsSort>& l) {
        if (!l)
            return false;
        for (int p = 1; p <= l->Count(); ++p)
            if (l->ObjectItem<clsResultData>(p).get() == &result)
                return true;
        return false;
    };
    if (!holds(list))
        list = manager.ResultList(course->CourseName());
    std::vector<std::shared_ptr<clsEcardPenaChecker>> others;
    for (int p = 1; list && p <= list->Count(); ++p)
        if (auto c = list->ObjectItem<clsResultData>(p)->PenaChecker())
            others.push_back(std::move(c));

    const int controls = course->ControlCount();
    const bool started = checker->PostChecked(0);
    const qint64 start = checker->PostSeconds(0);
    qint64 previous = start;
    for (int j = 1; j <= controls + 1; ++j) {
        LegLine leg;
        leg.label = basCsvPrepare::LegLabel(controls, true, j);
        if (started && checker->PostChecked(j)) {
            // As the analysis gets it: a leg after a miss spans from the last punched control.
            leg.legSeconds = checker->PostSeconds(j) - previous;
            leg.splitSeconds = checker->PostSeconds(j) - start;
            previous = checker->PostSeconds(j);
            if (const auto mine = comparableLeg(*checker, j)) {
                leg.rank =
                    1 + static_cast<int>(std::count_if(others.begin(), others.end(), [&](const auto& c) {
                        const auto theirs = comparableLeg(*c, j);
                        return theirs && *theirs < *mine;
                    }));
            }
        }
        legs.push_back(leg);
    }
    return legs;
}

std::optional<clsLapTicket> clsLapTicket::make(const clsFinishStation& station,
                                               const std::shared_ptr<clsEcardTagData>& tag,
                                               const QString& eventName, double eventDate) {
    if (!tag)
        return std::nullopt;
    const auto& manager = *station.ResultManager();
    const auto results = manager.ResultDataListOfEcard(tag->UniqueKey());
    if (results.empty())
        return std::nullopt;
    clsLapTicket t;
    t.eventName = eventName;
    t.eventDate = eventDate;
    t.ecardNo = tag->EcardNo();
    if (const clsNameDataPtr name = station.NameDataOfEcardTag(*tag)) {
        t.hasName = true;
        t.runnerName = name->RunnerName;
        t.clubName = name->ClubName;
    }
    for (const auto& r : results) {
        t.results.push_back(
            {r->CourseData() ? r->CourseData()->CourseName() : QString(), r->Result(), r->Rank()});
        if (t.legs.empty() && r->PenaChecker()) {
            t.legClass = r->CourseData() ? r->CourseData()->CourseName() : QString();
            t.legs = legsOf(*r, manager);
        }
    }
    t.readTime = tag->ReadTime();
    return t;
}

QStringList clsLapTicket::lines(Paper paper, QList<int>* bold) const {
    const Columns c = columnsOf(paper);
    const QString rule(c.width, u'-');
    const auto field = [&](const QString& caption, const QString& value) -> QString {
        return left(caption, c.caption) + left(value, c.width - c.caption);
    };
    QStringList out;
    if (bold)
        *bold = {0};
    out << left(eventName, c.width);
    if (eventDate != 0)
        out << left(basDate::format(eventDate, basDate::Form::YyyyMmDd), c.width);
    out << rule << field(u"Ｅカード番号"_s, QString::number(ecardNo));
    if (bold)
        *bold << static_cast<int>(out.size());
    if (hasName)
        out << field(u"氏名"_s, runnerName) << field(u"所属"_s, clubName);
    else
        out << field(u"氏名"_s, u"未登録"_s);
    out << rule;
    out << left(u"クラス"_s, c.className) + right(u"記録"_s, c.result) + right(u"順位"_s, c.rank);
    for (const ResultLine& r : results)
        out << left(r.className, c.className) + right(r.result, c.result) + right(rankText(r.rank), c.rank);
    if (!legs.empty()) {
        out << rule << left(legClass + u" のラップ"_s, c.width);
        out << left(u"区間"_s, c.label) + right(u"ラップ"_s, c.leg) + right(u"通過"_s, c.split) +
                   right(u"順位"_s, c.legRank);
        for (const LegLine& l : legs)
            out << left(l.label, c.label) + right(timeText(l.legSeconds), c.leg) +
                       right(timeText(l.splitSeconds), c.split) +
                       right(l.rank > 0 ? QString::number(l.rank) + u"位"_s : QString(), c.legRank);
    }
    out << rule << field(u"読取時刻"_s, basDate::format(readTime, u"yyyy/mm/dd hh:nn:ss"));
    return out;
}

QString clsLapTicket::fileName() const {
    return u"ticket-%1-%2.pdf"_s.arg(ecardNo).arg(basDate::format(readTime, u"yyyymmdd-hhnnss"));
}
