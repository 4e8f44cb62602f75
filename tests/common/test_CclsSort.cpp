#include "CclsSort.h"
#include "ProjectErrorCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>

using namespace Qt::StringLiterals;

namespace {

std::vector<qint32> payloads(const CclsSort& s) {
    std::vector<qint32> out;
    for (int p = 1; p <= s.Count(); ++p)
        out.push_back(s.LongItem(p));
    return out;
}

TEST(CclsSort, EqualKeysStandInReverseOrderOfAdding) {
    CclsSort s;
    s.AddLong(5, 1);
    s.AddLong(3, 2);
    s.AddLong(9, 3);
    s.AddLong(3, 4);
    EXPECT_EQ(payloads(s), (std::vector<qint32>{4, 2, 1, 3}));
    s.AddLong(100, 5); // larger than all: appended
    s.AddLong(-1, 6);  // smaller than all: first
    EXPECT_EQ(payloads(s), (std::vector<qint32>{6, 4, 2, 1, 3, 5}));
}

TEST(CclsSort, CompetitionRanks) {
    struct Row {
        std::vector<double> keys;
        std::vector<qint32> ranks;
    } rows[] = {
        {{10, 20, 20, 30}, {1, 2, 2, 4}}, {{1, 1, 1}, {1, 1, 1}}, {{30, 20, 10, 20}, {1, 2, 2, 4}}, {{}, {}},
        {{0.1 + 0.2, 0.3}, {1, 2}}, // exact equality: these differ in the last bit
    };
    for (const Row& r : rows) {
        CclsSort s;
        for (double k : r.keys)
            s.AddLong(k, 0);
        for (int p = 1; p <= s.Count(); ++p)
            EXPECT_EQ(s.LineObject(p)->RankOrder, 0); // before ranking
        s.CalcRankOrder();
        std::vector<qint32> ranks;
        for (int p = 1; p <= s.Count(); ++p)
            ranks.push_back(s.LineObject(p)->RankOrder);
        EXPECT_EQ(ranks, r.ranks);
    }
}

TEST(CclsSort, StringItemsAreUniqueLookupKeys) {
    CclsSort s;
    s.AddString(2, u"b"_s);
    s.AddString(1, u"a"_s);
    EXPECT_PROJECT_ERROR(s.AddString(3, u"a"_s), ProjectError::DuplicateKey);
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.RankOrder(u"a"_s), 0);
    s.CalcRankOrder();
    EXPECT_EQ(s.RankOrder(u"b"_s), 2);
    EXPECT_EQ(s.StringItem(1), u"a"_s);
    EXPECT_PROJECT_ERROR(s.RankOrder(u"zz"_s), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(s.StringItem(0), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(s.SortKey(3), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(s.LongItem(1), ProjectError::TypeMismatch);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    s.AddString(1, u"a"_s); // keys are forgotten with Clear
    EXPECT_EQ(s.Count(), 1);
}

TEST(CclsSort, ObjectItemsKeepTheirType) {
    CclsSort s;
    auto obj = std::make_shared<QString>(u"runner"_s);
    s.AddObject(1.5, obj);
    EXPECT_EQ(s.ObjectItem<QString>(1), obj);
    EXPECT_PROJECT_ERROR(s.ObjectItem<int>(1), ProjectError::TypeMismatch);
    EXPECT_EQ(s.SortKey(1), 1.5);
    EXPECT_EQ(s.LineSet().size(), 1u);
}

// The insertion point of the galloping search equals a lower bound over the keys, and equal keys
// keep the newest first: compare with a reference built by std::lower_bound.
TEST(CclsSort, RandomizedOrderMatchesReference) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 20; ++round) {
        CclsSort s;
        std::vector<std::pair<double, qint32>> reference;
        const int n = 1 + static_cast<int>(rng() % 3000);
        const int keyRange = round % 2 ? 50 : 1000000; // many ties or few
        for (qint32 i = 0; i < n; ++i) {
            const double key = static_cast<double>(rng() % keyRange);
            s.AddLong(key, i);
            const auto at = std::lower_bound(reference.begin(), reference.end(), key,
                                             [](const auto& e, double k) { return e.first < k; });
            reference.insert(at, {key, i});
        }
        ASSERT_EQ(s.Count(), n);
        for (int p = 1; p <= n; ++p) {
            ASSERT_EQ(s.SortKey(p), reference[static_cast<size_t>(p - 1)].first) << "round " << round;
            ASSERT_EQ(s.LongItem(p), reference[static_cast<size_t>(p - 1)].second) << "round " << round;
        }
    }
}

TEST(CclsSort, ComparisonsGrowWithLogN) {
    for (int n : {1000, 16000}) {
        CclsSort s;
        std::mt19937 rng(7);
        for (int i = 0; i < n; ++i)
            s.AddLong(static_cast<double>(rng()), i);
        const double perInsert = static_cast<double>(s.comparisonCount()) / n;
        EXPECT_LT(perInsert, 4.0 * std::log2(n)) << n;
    }
}

} // namespace

namespace {

// Lines handed out stay valid and keep their values after the list lets go of them.
TEST(CclsSort, LinesOutliveClearAndLaterAdditions) {
    CclsSort s;
    std::vector<CclsSort::LinePtr> held;
    for (int i = 0; i < 600; ++i) {
        s.AddLong(600 - i, i);
        held.push_back(s.LineObject(1));
    }
    s.CalcRankOrder();
    s.Clear();
    for (int i = 0; i < 600; ++i)
        s.AddLong(i, -i);
    for (int i = 0; i < 600; ++i) {
        EXPECT_EQ(held[static_cast<size_t>(i)]->SortKey, 600 - i);
        EXPECT_EQ(held[static_cast<size_t>(i)]->Item.number, i);
        EXPECT_EQ(held[static_cast<size_t>(i)]->RankOrder, 600 - i);
    }
    EXPECT_EQ(s.LongItem(600), -599);
}

} // namespace

namespace {

// Adding in bulk must leave the list exactly as single additions in the same order do: order,
// ranks, search depth (seen through later single additions) and lines that outlive Clear.
TEST(CclsSort, BulkAdditionEqualsSingleAdditions) {
    std::mt19937 rng(20261209);
    const std::vector<double> specials = {0.0, -0.0, -1.5, 1e-300, -1e300, 1e9, 99.0, 2.0 / 86400};
    for (int round = 0; round < 120; ++round) {
        const int n = round < 40 ? round : static_cast<int>(rng() % 3000);
        const int keyRange = round % 3 == 0 ? 4 : round % 3 == 1 ? 200 : 1 << 30;
        std::vector<std::pair<double, qint32>> items;
        for (qint32 i = 0; i < n; ++i) {
            const double key =
                rng() % 10 == 0
                    ? specials[rng() % specials.size()]
                    : static_cast<double>(static_cast<int>(rng() % keyRange) - keyRange / 4) / 86400.0;
            items.emplace_back(key, static_cast<qint32>(rng() % 1000));
        }
        CclsSort single, bulk;
        for (const auto& [key, number] : items)
            single.AddLong(key, number);
        bulk.AddLongs(items);
        // Later single additions land where they would have without the bulk step.
        for (int extra = 0; extra < 5; ++extra) {
            const double key = static_cast<double>(rng() % keyRange) / 86400.0;
            single.AddLong(key, -extra);
            bulk.AddLong(key, -extra);
        }
        single.CalcRankOrder();
        bulk.CalcRankOrder();
        ASSERT_EQ(bulk.Count(), single.Count());
        for (int p = 1; p <= single.Count(); ++p) {
            ASSERT_EQ(std::bit_cast<quint64>(bulk.SortKey(p)), std::bit_cast<quint64>(single.SortKey(p)))
                << "round " << round << " position " << p;
            ASSERT_EQ(bulk.LongItem(p), single.LongItem(p)) << "round " << round << " position " << p;
            ASSERT_EQ(bulk.LineObject(p)->RankOrder, single.LineObject(p)->RankOrder);
        }
    }
}

TEST(CclsSort, BulkAdditionToAFilledListAndLinesThatOutliveIt) {
    CclsSort s;
    s.AddLong(5, 100);
    std::vector<std::pair<double, qint32>> items;
    for (qint32 i = 0; i < 100; ++i)
        items.emplace_back(i % 10, i);
    s.AddLongs(items); // joins the line already there
    ASSERT_EQ(s.Count(), 101);
    // Key 5 holds items 95, 85, ..., 5 (latest first), then the line added before the bulk.
    EXPECT_EQ(s.LongItem(51), 95);
    EXPECT_EQ(s.LongItem(60), 5);
    EXPECT_EQ(s.LongItem(61), 100);

    CclsSort fresh;
    fresh.AddLongs(items);
    const CclsSort::LinePtr held = fresh.LineObject(100);
    fresh.Clear();
    EXPECT_EQ(held->SortKey, 9);
    EXPECT_EQ(held->Item.number, 9);
}

} // namespace
