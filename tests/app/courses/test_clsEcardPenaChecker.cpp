#include "CourseTestSupport.h"
#include "LiteralPenaCheck.h"
#include "ProjectError.h"
#include "ProjectErrorCheck.h"
#include "clsEcardPenaChecker.h"
#include "clsEcardPunchIndex.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

TEST(PenaChecker, ExampleCardFitsTheClassMadeFromIt) {
    auto card = std::make_shared<clsEcardTagData>();
    card->setRegnlyFormat(
        u"03/05/14 23:53:45, Card No. (401739), (2002,Week 37), 0, 00:00:00, 76, 00:22:02, 47, 00:25:13, "
        "35, 00:35:37, 38, 00:46:42, 41, 00:48:53, 42, 00:55:48, 62, 01:08:34, 49, 01:15:51, 60, 01:18:17, "
        "58, 01:23:59, 52, 01:28:46, 51, 01:34:30, 78, 01:41:26, 64, 01:48:39, 100, 01:50:30, 80, 01:53:11, "
        "250, 01:53:17"_s);
    ASSERT_TRUE(card->IsValid());
    auto course =
        courseOf(simpleCourse({0, 76, 47, 35, 38, 41, 42, 62, 49, 60, 58, 52, 51, 78, 64, 100, 80}));
    clsEcardPenaChecker c(card, course);
    c.Execute();
    EXPECT_EQ(c.PenaCheckResult(), u"OK"_s);
    EXPECT_EQ(c.PenaCheckStatus(), 0);
    EXPECT_EQ(c.MatchedRecord(16), 17);
    EXPECT_EQ(c.MatchedRecord(0), 1);
    EXPECT_EQ(c.ResultSeconds(), 1 * 3600 + 53 * 60 + 11);
    EXPECT_EQ(basDate::format(c.FinishUnitTime() - c.StartUnitTime(), basDate::Form::HNnSs), u"1:53:11"_s);
    // 23:53:45 less 1:53:17 is the card's zero; the finish punch came 1:53:11 after it.
    EXPECT_EQ(c.StartUnitTime(), basDate::timeSerial(22, 0, 28));
    EXPECT_EQ(c.FinishUnitTime(), basDate::timeSerial(23, 53, 39));
    EXPECT_FALSE(c.IsValidPanch(18));
}

struct CheckRow {
    const char* name;
    std::vector<std::vector<int>> course;
    bool forbid;
    std::vector<int> card;
    QString result;
    int status;
    std::vector<int> matched; // record per position, 0 = not found
};

TEST(PenaChecker, Cases) {
    const CheckRow rows[] = {
        {"control punched twice",
         simpleCourse({0, 31, 32, 100}),
         false,
         {0, 31, 32, 31, 32, 100, 250},
         u"OK"_s,
         0,
         {1, 2, 5, 6}},
        {"out of order",
         simpleCourse({0, 31, 32, 100}),
         false,
         {0, 32, 31, 100, 250},
         u"P1"_s,
         1,
         {1, 0, 2, 4}},
        {"last control after the finish",
         simpleCourse({0, 31, 32, 100}),
         false,
         {0, 31, 100, 32, 250},
         u"DNF"_s,
         98,
         {1, 2, 0, 3}},
        {"extra punches ignored",
         simpleCourse({0, 31, 32, 100}),
         false,
         {0, 45, 31, 46, 32, 47, 100, 250},
         u"OK"_s,
         0,
         {1, 3, 5, 7}},
        {"finish after the reading unit",
         simpleCourse({0, 31, 32, 100}),
         false,
         {0, 31, 32, 250, 100},
         u"DNQ"_s,
         99,
         {1, 2, 3, 0}},
        {"no start record",
         simpleCourse({0, 31, 32, 100}),
         false,
         {31, 32, 100, 250},
         u"DNQ"_s,
         99,
         {0, 1, 2, 3}},
        {"no finish punch",
         simpleCourse({0, 31, 32, 100}),
         false,
         {0, 31, 32, 250},
         u"DNQ"_s,
         99,
         {1, 2, 3, 0}},
        {"two missed",
         simpleCourse({0, 31, 32, 33, 34, 100}),
         false,
         {0, 32, 34, 100, 250},
         u"P2"_s,
         2,
         {1, 0, 2, 0, 3, 4}},
        {"card without records", simpleCourse({0, 31, 100}), false, {}, u"DNQ"_s, 99, {0, 0, 0}},
        {"alternative codes",
         {{0}, {31, 41}, {32}, {100, 101}},
         false,
         {0, 41, 32, 101, 250},
         u"OK"_s,
         0,
         {1, 2, 3, 4}},
        {"no controls, punches allowed",
         simpleCourse({0, 100}),
         false,
         {0, 55, 100, 250},
         u"OK"_s,
         0,
         {1, 3}},
        {"no controls, nothing between", simpleCourse({0, 100}), true, {0, 100, 250}, u"OK"_s, 0, {1, 2}},
        {"no controls, a punch between",
         simpleCourse({0, 100}),
         true,
         {0, 55, 100, 250},
         u"DNQ"_s,
         99,
         {1, 3}},
        {"no controls, finish moved next to the start",
         simpleCourse({0, 100}),
         true,
         {0, 100, 100, 250},
         u"OK"_s,
         0,
         {1, 2}},
        {"no controls, no start unit", {{}, {100}}, true, {0, 100, 250}, u""_s, 0, {0, 2}},
        {"no controls, no finish unit", {{0}, {}}, true, {0, 100, 250}, u"DNQ"_s, 99, {1, 0}},
        {"start code also a control",
         simpleCourse({0, 0, 100}),
         false,
         {0, 0, 100, 250},
         u"OK"_s,
         0,
         {1, 2, 3}},
    };
    for (const CheckRow& r : rows) {
        SCOPED_TRACE(r.name);
        auto card = cardOf(r.card);
        auto course = courseOf(r.course, r.forbid);
        clsEcardPenaChecker c(card, course);
        c.Execute();
        EXPECT_EQ(c.PenaCheckResult(), r.result);
        EXPECT_EQ(c.PenaCheckStatus(), r.status);
        ASSERT_EQ(static_cast<int>(r.matched.size()), course->ControlCount() + 2);
        for (size_t p = 0; p < r.matched.size(); ++p) {
            const int pos = static_cast<int>(p);
            EXPECT_EQ(c.MatchedRecord(pos), r.matched[p]) << "position " << p;
            EXPECT_EQ(c.PostChecked(pos), r.matched[p] != 0) << "position " << p;
            if (r.matched[p]) {
                EXPECT_TRUE(c.IsValidPanch(r.matched[p]));
                EXPECT_EQ(c.ControlIndex(r.matched[p]), pos);
                EXPECT_EQ(c.PostSeconds(pos), card->ActivateSeconds() + 60 * (r.matched[p] - 1));
            } else {
                EXPECT_EQ(c.PostTime(pos), 0.0) << "position " << p;
            }
        }
        int used = 0;
        for (int i = 1; i <= 50; ++i)
            used += c.IsValidPanch(i);
        EXPECT_EQ(used, static_cast<int>(
                            std::count_if(r.matched.begin(), r.matched.end(), [](int m) { return m; })));
        EXPECT_EQ(clsEcardPenaChecker::CheckStatus(clsEcardPunchIndex(card), *course), r.status);
    }
}

TEST(PenaChecker, DoublePunchReconsidersOnlyTheNextPosition) {
    auto card = cardOf({0, 31, 32, 31, 32, 100, 250});
    clsEcardPenaChecker c(card, courseOf(simpleCourse({0, 31, 32, 100})));
    c.Execute();
    EXPECT_TRUE(c.IsValidPanch(2));
    EXPECT_FALSE(c.IsValidPanch(3));
    EXPECT_FALSE(c.IsValidPanch(4));
    EXPECT_TRUE(c.IsValidPanch(5));
    EXPECT_EQ(c.ControlIndex(4), 0);
    EXPECT_EQ(c.ControlIndex(1), 0);
    EXPECT_EQ(c.ControlIndex(5), 2);
}

TEST(PenaChecker, ExecuteStartsAfresh) {
    auto course = courseOf(simpleCourse({0, 31, 100}));
    clsEcardPenaChecker c(cardOf({0, 31, 100, 250}), course);
    c.Execute();
    EXPECT_EQ(c.PenaCheckResult(), u"OK"_s);
    c.setTagData(cardOf({0, 100, 250}));
    c.Execute();
    EXPECT_EQ(c.PenaCheckResult(), u"DNF"_s);
    EXPECT_FALSE(c.IsValidPanch(3));
    EXPECT_EQ(c.MatchedRecord(2), 2);
    EXPECT_PROJECT_ERROR(c.PostTime(52), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(c.IsValidPanch(0), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(c.ControlIndex(51), ProjectError::OutOfRange);
}

// Random cards and classes that stress the search: few distinct codes, so they repeat and
// come out of order; extra punches; missing start or finish units; punches after the reading
// unit's record; alternative codes; classes without controls.
class RandomEvent {
public:
    explicit RandomEvent(unsigned seed) : m_rng(seed) {}

    int code() {
        const int roll = pick(0, 99);
        if (roll < 8)
            return 0;
        if (roll < 10)
            return pick(251, 400); // only text lines carry these
        return pick(30, 30 + m_alphabet);
    }

    std::shared_ptr<clsEcardTagData> card() {
        m_alphabet = pick(3, 14);
        auto t = std::make_shared<clsEcardTagData>();
        t->setReadTime(45000 + pick(0, 86399) / 86400.0);
        const int n = pick(0, 50);
        int elapsed = 0;
        for (int i = 1; i <= n; ++i) {
            elapsed += pick(0, 400);
            t->setPunch(i, i == 1 && pick(0, 9) < 8 ? 0 : code(), elapsed);
        }
        int rupi = n;
        const int roll = pick(0, 9);
        if (roll == 0)
            rupi = 0;
        else if (roll < 3 && n > 0)
            rupi = pick(1, n); // punches after the unit's record
        t->setReadingUnitPosIndex(rupi);
        t->setActivateTime(basDate::fromSeconds(pick(-3600, 80000)));
        return t;
    }

    std::shared_ptr<clsEcardCourseData> course() {
        auto c = std::make_shared<clsEcardCourseData>();
        const int cc = pick(0, 9) == 0 ? 0 : pick(0, 9) == 0 ? pick(11, 50) : pick(1, 10);
        c->setControlCount(cc);
        for (int p = 0; p <= cc + 1; ++p) {
            int kinds = 1;
            const int roll = pick(0, 19);
            if ((p == 0 || p == cc + 1) && roll == 0)
                kinds = 0;
            else if (roll == 1)
                kinds = pick(2, 3);
            for (int k = 0; k < kinds; ++k)
                c->AddUnitCode(p, p == 0 && k == 0 && pick(0, 3) > 0 ? 0 : code());
        }
        if (cc == 0)
            c->setForbidControl(pick(0, 2) > 0);
        return c;
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

private:
    std::mt19937 m_rng;
    int m_alphabet = 8;
};

TEST(PenaChecker, IndexedCheckGivesExactlyTheLiteralResult) {
    RandomEvent ev(20240602);
    clsEcardPunchIndex index;
    int pairs = 0;
    int statusSeen[100] = {};
    for (int n = 0; n < 12000; ++n) {
        auto card = ev.card();
        index.prepare(card);
        for (int k = 0; k < 10; ++k, ++pairs) {
            auto course = ev.course();
            LiteralPenaCheck want;
            want.run(*card, *course);
            clsEcardPenaChecker got;
            got.setCourseData(course);
            if (k == 0) {
                got.setTagData(card);
                got.Execute();
            } else {
                got.Execute(index);
            }
            const int status = clsEcardPenaChecker::CheckStatus(index, *course);
            ++statusSeen[want.status];
            bool same = got.PenaCheckResult() == want.result && got.PenaCheckStatus() == want.status &&
                        status == want.status && got.TagData() == card;
            for (int p = 0; p <= 51; ++p) {
                same = same && got.PostChecked(p) == want.found[p] &&
                       got.MatchedRecord(p) == want.matched[p] &&
                       basDate::toSeconds(got.PostTime(p)) == basDate::toSeconds(want.postTime[p]);
            }
            for (int i = 1; i <= 50; ++i)
                same =
                    same && got.IsValidPanch(i) == want.valid[i] && got.ControlIndex(i) == want.position[i];
            if (!same) {
                ADD_FAILURE() << "pair " << pairs << ": card " << card->RegnlyFormat().toStdString()
                              << " limit " << card->ReadingUnitPosIndex() << "; literal "
                              << want.result.toStdString() << ", got " << got.PenaCheckResult().toStdString()
                              << " / " << status;
                return;
            }
        }
    }
    EXPECT_GE(pairs, 100000);
    // The random cases reach every kind of outcome.
    EXPECT_GT(statusSeen[0], 1000);
    EXPECT_GT(statusSeen[1], 100);
    EXPECT_GT(statusSeen[98], 1000);
    EXPECT_GT(statusSeen[99], 1000);
}

} // namespace
