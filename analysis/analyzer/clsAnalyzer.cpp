#include "clsAnalyzer.h"

#include "CclsSort.h"
#include "basAutomation.h"
#include "basBostrime.h"
#include "basConstants.h"
#include "basDataSet.h"
#include "basLegTime.h"
#include "basResultKey.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {
const bool registered = basAutomation::registerShared<clsAnalyzer>();

constexpr int maxLegs = clsLapData::MaxLegs;

size_t at(int i) {
    return static_cast<size_t>(i);
}
} // namespace

clsAnalyzer::clsAnalyzer() : m_general(std::make_shared<clsAnalyzedGeneralData>()) {}

QString clsAnalyzer::ClassInfo() const {
    return basDataSet::ClassInfo(m_fields.length, m_fields.climb);
}

void clsAnalyzer::AddLap(const std::shared_ptr<clsLapData>& LapObject) {
    if (!LapObject)
        return;
    clsLapData& lap = *LapObject;
    const int legs = std::min<int>(lap.LegCount(), maxLegs);
    if (legs <= 0)
        return;
    auto runner = std::make_shared<clsAnalyzedRunnerData>();
    clsAnalyzedRunnerData& r = *runner;
    qint64 total = 0;
    for (int i = 1; i <= legs; ++i) {
        double v = lap.LapValue(i);
        if (v == Quorvelin2::TimeSkip && r.m_totalLapFrom[at(i)] == 0) {
            int j = 0;
            for (int k = i + 1; k <= legs; ++k)
                if (lap.LapValue(k) > 0) {
                    j = k;
                    break;
                }
            if (j != 0) {
                // The time of leg j covers legs i to j.
                for (int m = i; m <= j; ++m) {
                    r.m_totalLapFrom[at(m)] = i;
                    r.m_totalLapTo[at(m)] = j;
                }
            } else {
                lap.Lap(i)->setValue(0);
                v = 0;
            }
        }
        r.m_lapValue[at(i)] = v;
        if (v > 0) {
            const qint64 seconds = basLegTime::secondsOf(v);
            r.m_lapSeconds[at(i)] = seconds;
            total += seconds;
            r.m_splitSeconds[at(i)] = total;
            r.m_splitValue[at(i)] = basLegTime::daysOf(total);
            r.m_validLap[at(i)] = i == 1 || lap.LapValue(i - 1) >= 0;
            r.m_validSplit[at(i)] = i == 1 || r.m_validSplit[at(i - 1)];
        } else if (v == Quorvelin2::TimeSkip) {
            r.m_splitValue[at(i)] = Quorvelin2::TimeSkip;
            r.m_validLap[at(i)] = false;
            r.m_validSplit[at(i)] = i == 1 || r.m_validSplit[at(i - 1)];
        } else if (v == Quorvelin2::TimeDisq || v == 0) {
            r.m_splitValue[at(i)] = v;
            r.m_validLap[at(i)] = false;
            r.m_validSplit[at(i)] = false;
        }
    }
    r.m_lap = LapObject;
    m_fullSet.push_back(std::move(runner));
    m_isExecuted = false;
}

void clsAnalyzer::AddClass(const QVariant& ClassID) {
    basDataSet::AddClass(*this, ClassID);
}

void clsAnalyzer::AddCourse(qint32 CourseNum) {
    basDataSet::AddCourse(*this, CourseNum);
}

void clsAnalyzer::Clear() {
    m_selection.clear();
    m_fullSet.clear();
    m_general = std::make_shared<clsAnalyzedGeneralData>();
    const qint32 cutOff = m_fields.cutOffRank;
    m_fields = basDataSetFields::Fields();
    m_fields.cutOffRank = cutOff;
    m_isExecuted = false;
    m_legs = 0;
}

std::shared_ptr<clsAnalyzedRunnerData> clsAnalyzer::Item(qint32 Index) const {
    if (Index < 1 || Index > Count())
        return nullptr;
    return m_selection[at(Index - 1)];
}

std::shared_ptr<clsAnalyzedRunnerData> clsAnalyzer::FullSetItem(qint32 Index) const {
    if (Index < 1 || Index > FullSetCount())
        return nullptr;
    return m_fullSet[at(Index - 1)];
}

void clsAnalyzer::setDataSetName(const QString& DataSetName) {
    m_fields.name = DataSetName;
    m_fields.fileName = basDataSet::FileNameOf(DataSetName);
    m_fields.isMix = true;
}

double clsAnalyzer::resultKey(clsAnalyzedRunnerData& runner) const {
    const QString text = runner.Result();
    if (!runner.m_keyKnown || runner.m_keyText != text) {
        runner.m_keyText = text;
        runner.m_key = basResultKey::ResultKey(text);
        runner.m_resultIsTime = basResultKey::IsTimeText(text);
        runner.m_resultSeconds = basResultKey::TimeSeconds(text);
        runner.m_keyKnown = true;
    }
    return runner.m_key;
}

bool clsAnalyzer::resultIsTime(clsAnalyzedRunnerData& runner) const {
    resultKey(runner);
    return runner.m_resultIsTime;
}

double clsAnalyzer::cruiseSpeed(const clsAnalyzedRunnerData& r, int from, int to, double limit) const {
    const clsAnalyzedGeneralData& g = *m_general;
    std::vector<std::pair<double, qint32>> keyed;
    keyed.reserve(at(maxLegs));
    for (int i = std::max(from, 0); i <= to; ++i) {
        const double upper = g.m_upperAverageSeconds[at(i)];
        if (r.m_modifiedLapSeconds[at(i)] > 0 && upper != 0)
            keyed.emplace_back(r.m_modifiedLapSeconds[at(i)] / upper, i);
    }
    CclsSort legs;
    legs.AddLongs(keyed);
    double length = 0, own = 0, upper = 0;
    for (int p = 1; p <= legs.Count(); ++p) {
        const int i = legs.LongItem(p);
        length += g.m_legLength[at(i)];
        own += r.m_modifiedLapSeconds[at(i)];
        upper += g.m_upperAverageSeconds[at(i)];
        if (length >= limit)
            break;
    }
    return upper != 0 ? own / upper : 0;
}

// Orders, leg by leg, the selected runners that take part by a key and writes each runner's
// rank into the given table. Keys are gathered, and ranks written, in one pass over the
// runners, so that a runner's tables are visited once rather than once per leg.
struct clsAnalyzer::LegRanker {
    using RankTable = std::array<qint32, clsAnalyzedRunnerData::TableSize>;

    const std::vector<RunnerPtr>& selection;
    const int n;
    const int selected = static_cast<int>(selection.size());
    std::vector<std::vector<std::pair<double, qint32>>> keyed =
        std::vector<std::vector<std::pair<double, qint32>>>(at(n + 1));
    const size_t stride = at(n + 1);
    std::vector<qint32> rankAt = std::vector<qint32>(at(selected) * stride); // 0: not ranked on that leg

    template <typename Include, typename KeyOf, typename OnLeg>
    void rank(Include&& include, KeyOf&& keyOf, RankTable clsAnalyzedRunnerData::*table, OnLeg&& onLeg) {
        for (auto& leg : keyed) {
            leg.clear();
            leg.reserve(at(selected));
        }
        for (int k = 0; k < selected; ++k) {
            const clsAnalyzedRunnerData& r = *selection[at(k)];
            for (int i = 1; i <= n; ++i)
                if (include(i, k, r))
                    keyed[at(i)].emplace_back(keyOf(i, r), k);
        }
        std::fill(rankAt.begin(), rankAt.end(), 0);
        for (int i = 1; i <= n; ++i) {
            CclsSort order;
            order.AddLongs(keyed[at(i)]);
            order.CalcRankOrder();
            for (const CclsSortLine* line : order.LineSet())
                rankAt[at(line->Item.number) * stride + at(i)] = line->RankOrder;
            onLeg(i, order.LineSet());
        }
        for (int k = 0; k < selected; ++k) {
            RankTable& ranks = (*selection[at(k)]).*table;
            for (int i = 1; i <= n; ++i)
                if (const qint32 rank = rankAt[at(k) * stride + at(i)])
                    ranks[at(i)] = rank;
        }
    }
    template <typename Include, typename KeyOf>
    void rank(Include&& include, KeyOf&& keyOf, RankTable clsAnalyzedRunnerData::*table) {
        rank(include, keyOf, table, [](int, const std::vector<CclsSortLine*>&) {});
    }
};

void clsAnalyzer::Execute() {
    const int n = static_cast<int>(std::clamp<qint64>(qint64{m_fields.controlCount} + 1, 0, maxLegs));
    m_legs = n;
    m_general = std::make_shared<clsAnalyzedGeneralData>();
    m_general->setAnalyzer(weak_from_this(), n);
    for (const RunnerPtr& r : m_fullSet)
        r->resetAnalysis();

    orderResults();
    chooseRanks();
    LegRanker ranker{m_selection, n};
    rankLegsAndUpperAverages(ranker);
    rankSplits(ranker);
    rankModifiedTimes(ranker, shareOutSkipRanges());
    for (const RunnerPtr& r : m_selection)
        analyseRunner(*r);

    m_fullSet = m_selection;
    m_isExecuted = true;
}

// Result order and the rank within the data set.
void clsAnalyzer::orderResults() {
    const int count = FullSetCount();
    std::vector<std::pair<double, qint32>> keyed;
    keyed.reserve(at(count));
    for (int k = 0; k < count; ++k)
        keyed.emplace_back(resultKey(*m_fullSet[at(k)]), k);
    CclsSort order;
    order.AddLongs(keyed);
    order.CalcRankOrder();
    m_selection.clear();
    m_selection.reserve(at(count));
    for (int p = 1; p <= order.Count(); ++p) {
        const RunnerPtr& r = m_fullSet[at(order.LongItem(p))];
        r->m_rankInDataSet = basResultKey::IsStatusKey(order.SortKey(p))
                                 ? r->m_lap->Rank()
                                 : QString::number(order.LineObject(p)->RankOrder);
        m_selection.push_back(r);
    }
}

// Published ranks count when at least half of the runners carry one.
void clsAnalyzer::chooseRanks() {
    const int count = FullSetCount();
    int published = 0;
    for (const RunnerPtr& r : m_selection)
        if (!r->m_lap->Rank().isEmpty())
            ++published;
    const bool usePublished = !(count * 0.5 > published);
    for (const RunnerPtr& r : m_selection)
        r->m_rank = usePublished ? r->m_lap->Rank() : r->m_rankInDataSet;
}

// Leg ranks, the six best of every leg, and the mean of the three best.
void clsAnalyzer::rankLegsAndUpperAverages(LegRanker& ranker) {
    clsAnalyzedGeneralData& g = *m_general;
    const int n = m_legs;
    std::array<qint64, maxLegs + 1> best{};
    std::array<int, maxLegs + 1> bestCount{};
    ranker.rank(
        [](int i, int, const clsAnalyzedRunnerData& r) { return r.m_validLap[at(i)]; },
        [](int i, const clsAnalyzedRunnerData& r) { return basLegTime::daysOf(r.m_lapSeconds[at(i)]); },
        &clsAnalyzedRunnerData::m_lapRank,
        [&](int i, const std::vector<CclsSortLine*>& lines) {
            for (size_t p = 0; p < lines.size() && p < size_t(clsAnalyzedGeneralData::UpperCount); ++p) {
                const RunnerPtr& r = m_selection[at(lines[p]->Item.number)];
                g.m_upper[at(i)][p + 1] = r;
                if (p < 3) {
                    best[at(i)] += r->m_lapSeconds[at(i)];
                    ++bestCount[at(i)];
                }
            }
        });
    double upperTotal = 0;
    for (int i = 1; i <= n; ++i) {
        g.m_upperAverageSeconds[at(i)] =
            bestCount[at(i)] ? static_cast<double>(best[at(i)]) / bestCount[at(i)] : 0;
        upperTotal += g.m_upperAverageSeconds[at(i)];
    }
    g.m_upperTotalSeconds = upperTotal;
    for (int i = 1; i <= n; ++i)
        g.m_legLength[at(i)] =
            static_cast<float>(upperTotal != 0 ? g.m_upperAverageSeconds[at(i)] / upperTotal : 1.0 / n);
}

void clsAnalyzer::rankSplits(LegRanker& ranker) {
    ranker.rank(
        [](int i, int, const clsAnalyzedRunnerData& r) {
            return r.m_validSplit[at(i)] && r.m_splitValue[at(i)] > 0;
        },
        [](int i, const clsAnalyzedRunnerData& r) { return r.m_splitValue[at(i)]; },
        &clsAnalyzedRunnerData::m_splitRank);
}

// Modified lap times: the time of a skip range shared out over its legs by their lengths.
// True when some runner has a skip range.
bool clsAnalyzer::shareOutSkipRanges() {
    const clsAnalyzedGeneralData& g = *m_general;
    const int n = m_legs;
    bool skipRanges = false;
    for (const RunnerPtr& rp : m_selection) {
        clsAnalyzedRunnerData& r = *rp;
        for (int i = 1; i <= n; ++i) {
            if (r.m_validLap[at(i)]) {
                r.m_modifiedLapSeconds[at(i)] = static_cast<double>(r.m_lapSeconds[at(i)]);
            } else if (r.m_totalLapTo[at(i)] == i && r.m_totalLapFrom[at(i)] >= 1) {
                const int f = r.m_totalLapFrom[at(i)];
                const double time = static_cast<double>(r.m_lapSeconds[at(i)]);
                double share = 0;
                for (int m = f; m <= i; ++m)
                    share += g.m_legLength[at(m)];
                for (int m = f; m <= i; ++m)
                    r.m_modifiedLapSeconds[at(m)] =
                        share != 0 ? g.m_legLength[at(m)] * time / share : time / (i - f + 1);
                skipRanges = true;
            }
        }
    }
    return skipRanges;
}

// Modified lap and split ranks: the plain ones when no runner has a skip range.
void clsAnalyzer::rankModifiedTimes(LegRanker& ranker, bool skipRanges) {
    const int n = m_legs;
    const int selected = Count();
    const size_t stride = at(n + 1);
    if (!skipRanges) {
        for (const RunnerPtr& r : m_selection)
            for (int i = 1; i <= n; ++i) {
                r->m_modifiedLapRank[at(i)] = r->m_lapRank[at(i)];
                if (r->m_splitValue[at(i)] > 0)
                    r->m_modifiedSplitSeconds[at(i)] = static_cast<double>(r->m_splitSeconds[at(i)]);
                r->m_modifiedSplitRank[at(i)] = r->m_splitRank[at(i)];
            }
    } else {
        ranker.rank(
            [](int i, int, const clsAnalyzedRunnerData& r) { return r.m_modifiedLapSeconds[at(i)] > 0; },
            [](int i, const clsAnalyzedRunnerData& r) {
                return basLegTime::daysOf(r.m_modifiedLapSeconds[at(i)]);
            },
            &clsAnalyzedRunnerData::m_modifiedLapRank);
        // Splits at skipped controls estimated from the shared-out leg times.
        std::vector<char> timed(at(selected) * stride, 0);
        for (int k = 0; k < selected; ++k) {
            clsAnalyzedRunnerData& r = *m_selection[at(k)];
            for (int i = 1; i <= n; ++i) {
                if (!r.m_validSplit[at(i)])
                    continue;
                if (r.m_splitValue[at(i)] > 0) {
                    r.m_modifiedSplitSeconds[at(i)] = static_cast<double>(r.m_splitSeconds[at(i)]);
                } else if (r.m_totalLapFrom[at(i)] >= 1) {
                    r.m_modifiedSplitSeconds[at(i)] =
                        i == 1 ? r.m_modifiedLapSeconds[at(1)]
                               : r.m_modifiedSplitSeconds[at(i - 1)] + r.m_modifiedLapSeconds[at(i)];
                } else {
                    continue;
                }
                timed[at(k) * stride + at(i)] = 1;
            }
        }
        ranker.rank(
            [&](int i, int k, const clsAnalyzedRunnerData&) { return timed[at(k) * stride + at(i)] != 0; },
            [](int i, const clsAnalyzedRunnerData& r) {
                return basLegTime::daysOf(r.m_modifiedSplitSeconds[at(i)]);
            },
            &clsAnalyzedRunnerData::m_modifiedSplitRank);
    }
}

// One runner's relative leg times, cruise speed, miss times and totals.
void clsAnalyzer::analyseRunner(clsAnalyzedRunnerData& r) {
    const clsAnalyzedGeneralData& g = *m_general;
    const int n = m_legs;
    const double upperTotal = g.m_upperTotalSeconds;
    // Leg time against the upper average (of the whole skip range for its last leg).
    for (int i = 1; i <= n; ++i) {
        const double t = r.m_lapValue[at(i)];
        if (t == Quorvelin2::TimeSkip) {
            r.m_lapRelative[at(i)] = Quorvelin2::TimeSkip;
            continue;
        }
        if (t <= 0)
            continue;
        double ref = 0;
        if (r.m_validLap[at(i)]) {
            ref = g.m_upperAverageSeconds[at(i)];
        } else if (r.m_totalLapTo[at(i)] != 0) {
            for (int m = r.m_totalLapFrom[at(i)]; m <= r.m_totalLapTo[at(i)]; ++m)
                ref += g.m_upperAverageSeconds[at(m)];
        } else {
            continue;
        }
        r.m_lapRelative[at(i)] =
            ref != 0 ? static_cast<float>(static_cast<double>(r.m_lapSeconds[at(i)]) / ref) : 0.0f;
    }
    if (n >= 1 && r.m_validSplit[at(n)] && r.m_splitValue[at(n)] > 0 && upperTotal != 0)
        r.m_totalTimeRelative = static_cast<float>(static_cast<double>(r.m_splitSeconds[at(n)]) / upperTotal);

    const double c = cruiseSpeed(r, 1, n, 0.5);
    r.m_cruiseSpeed = static_cast<float>(c);

    // Time lost on each leg against the runner's own pace; S and M of the totals.
    double sum = 0, lost = 0;
    for (int i = 1; i <= n; ++i) {
        sum += r.m_modifiedLapSeconds[at(i)];
        const double upper = g.m_upperAverageSeconds[at(i)];
        double miss = 0;
        if (r.m_validLap[at(i)]) {
            miss = static_cast<double>(r.m_lapSeconds[at(i)]) - c * upper;
        } else if (r.m_totalLapTo[at(i)] == i && r.m_totalLapFrom[at(i)] >= 1) {
            for (int m = r.m_totalLapFrom[at(i)]; m <= i; ++m)
                if (g.m_upperAverageSeconds[at(m)] != 0)
                    miss += r.m_modifiedLapSeconds[at(m)] - c * g.m_upperAverageSeconds[at(m)];
        } else {
            // A leg without data keeps the initial value, which reads 0 and prints no data.
            r.m_missTime[at(i)] = r.m_lapValue[at(i)] == Quorvelin2::TimeSkip ? Quorvelin2::TimeSkip
                                                                              : clsMissTimeValue::Initial;
            continue;
        }
        r.m_missTime[at(i)] = basLegTime::daysOf(miss);
        if (miss > 0)
            lost += miss;
    }

    if (sum != 0 && resultIsTime(r)) {
        const double rate = lost / sum;
        r.m_missTimeTotal = basLegTime::daysOf(lost);
        r.m_missRate = static_cast<float>(rate);
        r.m_timeWithoutMiss = basLegTime::daysOf(static_cast<double>(r.m_resultSeconds) * (1 - rate));
    }
}

void clsAnalyzer::ExtraAnalyze() {
    if (!m_isExecuted)
        return;
    const int n = m_legs;
    clsAnalyzedGeneralData& g = *m_general;

    // The first part ends where 40 % of the course is reached; the last part starts one leg
    // before the one that reaches 60 %.
    int firstEnd = n, secondFrom = n;
    bool firstFound = false, secondFound = false;
    double length = 0;
    for (int i = 1; i <= n; ++i) {
        length += g.m_legLength[at(i)];
        if (!firstFound && length >= 0.4) {
            firstEnd = i;
            firstFound = true;
        }
        if (!secondFound && length >= 0.6) {
            secondFrom = i;
            secondFound = true;
        }
    }
    for (const RunnerPtr& r : m_fullSet) {
        r->m_firstHalfCruiseSpeed = static_cast<float>(cruiseSpeed(*r, 1, firstEnd, 0.2));
        r->m_secondHalfCruiseSpeed = static_cast<float>(cruiseSpeed(*r, secondFrom - 1, n, 0.2));
    }
    m_selection = m_fullSet;

    // Difficulty: the spread of the runners' losses on the leg, relative to their race time.
    const int count = FullSetCount();
    std::array<double, clsAnalyzedGeneralData::TableSize> raw{};
    double rawSum = 0;
    for (int i = 1; i <= n; ++i) {
        int k = 0;
        double sx = 0, sxx = 0;
        for (const RunnerPtr& r : m_fullSet) {
            const double finish = n >= 1 ? r->m_splitValue[at(n)] : 0;
            // A finish split that is a leg code (a missing punch) is no race time to divide by.
            if (!r->m_validLap[at(i)] || !(r->m_lapRank[at(i)] < 0.8 * count) || !(finish > 0))
                continue;
            const double x = clsMissTimeValue(r->m_missTime[at(i)]).Value() / finish;
            ++k;
            sx += x;
            sxx += x * x;
        }
        double variance = 1;
        if (k > 1) {
            variance = (k * sxx - sx * sx) / (static_cast<double>(k) * k);
            if (variance < 0)
                variance = 1;
        }
        raw[at(i)] = std::sqrt(variance);
        rawSum += raw[at(i)];
    }
    if (rawSum == 0)
        rawSum = 1;
    for (int i = 1; i <= n; ++i)
        g.m_legDifficulty[at(i)] = static_cast<float>(raw[at(i)] * n / rawSum);
}

void clsAnalyzer::Bostrime() {
    for (const RunnerPtr& r : m_fullSet) {
        r->m_bostrimeX = 0;
        r->m_bostrimeY = 0;
    }
    if (!m_isExecuted)
        return;
    const int n = m_legs;
    const clsAnalyzedGeneralData& g = *m_general;
    std::vector<clsAnalyzedRunnerData*> taking;
    for (const RunnerPtr& r : m_fullSet)
        if (resultIsTime(*r))
            taking.push_back(r.get());
    if (taking.size() < 5 || n < 1)
        return;

    basBostrime::MissMatrix m;
    m.legs = n;
    m.points = static_cast<int>(taking.size()) + 1;
    m.miss.assign(static_cast<size_t>(m.points) * at(n), 0.0); // the reference column stays 0
    for (size_t j = 0; j < taking.size(); ++j) {
        const clsAnalyzedRunnerData& r = *taking[j];
        for (int i = 1; i <= n; ++i) {
            double v;
            if (r.m_modifiedLapSeconds[at(i)] == 0) {
                v = g.m_legLength[at(i)] * clsMissTimeValue(r.m_missTimeTotal).Value();
            } else {
                // The skip mark of a leg inside a skip range is a code, not a loss: its loss is
                // counted on the range's last leg.
                const double stored = r.m_missTime[at(i)];
                v = (stored == Quorvelin2::TimeSkip || stored == Quorvelin2::TimeDisq ||
                     stored == clsMissTimeValue::Initial)
                        ? 0
                        : stored;
            }
            m.miss[j * at(n) + at(i - 1)] = v;
        }
    }
    const auto xy = basBostrime::Coordinates(m);
    for (size_t j = 0; j < taking.size(); ++j) {
        taking[j]->m_bostrimeX = xy[j].first;
        taking[j]->m_bostrimeY = xy[j].second;
    }
}

void clsAnalyzer::SelectItem(qint32 SerialNum) {
    for (const RunnerPtr& r : m_fullSet)
        if (r->m_lap->SerialNum() == SerialNum) {
            m_selection.push_back(r);
            return;
        }
}

void clsAnalyzer::SelectSort() {
    std::vector<std::pair<double, qint32>> keyed;
    keyed.reserve(m_selection.size());
    for (size_t k = 0; k < m_selection.size(); ++k)
        keyed.emplace_back(resultKey(*m_selection[k]), static_cast<qint32>(k));
    CclsSort order;
    order.AddLongs(keyed);
    std::vector<RunnerPtr> sorted;
    sorted.reserve(m_selection.size());
    for (int p = 1; p <= order.Count(); ++p)
        sorted.push_back(m_selection[at(order.LongItem(p))]);
    m_selection = std::move(sorted);
}

void clsAnalyzer::SelectAll() {
    m_selection = m_fullSet;
}

void clsAnalyzer::SelectNone() {
    m_selection.clear();
}
