#include "CourseTestSupport.h"
#include "LiteralPenaCheck.h"
#include "basPenacheckRule.h"
#include "clsCourseAssigner.h"
#include "clsEcardPunchIndex.h"
#include "clsSpecificData.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<clsEcardCourseData> named(const QString& name, std::shared_ptr<clsEcardCourseData> c) {
    c->setCourseName(name);
    return c;
}

// Names of the classes selected for a read.
QStringList selectedNames(const std::vector<std::shared_ptr<clsEcardCourseData>>& courses,
                          const std::shared_ptr<clsEcardTagData>& card, qint32 rule,
                          const clsSpecificData* specific = nullptr) {
    clsCourseAssigner a;
    a.setCourses(courses);
    const clsEcardPunchIndex index(card);
    QStringList names;
    for (int p : a.Select(index, specific, rule))
        names.append(courses[static_cast<size_t>(p)]->CourseName());
    return names;
}

} // namespace

TEST(PenacheckRule, ValuesAndTexts) {
    const QList<qint32> values = basPenacheckRule::Values();
    ASSERT_EQ(values.size(), 13);
    EXPECT_EQ(values.front(), -9);
    EXPECT_EQ(values[1], -1);
    EXPECT_EQ(values[2], 0);
    EXPECT_EQ(values[3], 1);
    EXPECT_EQ(values[11], 9);
    EXPECT_EQ(values.back(), 98);
    struct Case {
        qint32 rule;
        QString text;
    } cases[] = {
        {-9, u"最も良くあてはまるクラスを割り当てる"_s},
        {-1, u"全てのクラスを割り当てる"_s},
        {0, u"失格ではない全てのクラスを割り当てる"_s},
        {1, u"P1 よりもよい全てのクラスを割り当てる"_s},
        {3, u"P3 よりもよい全てのクラスを割り当てる"_s},
        {9, u"P9 よりもよい全てのクラスを割り当てる"_s},
        {98, u"スタートとゴールを通過している全てのクラスを割り当てる"_s},
        {10, QString()},
        {-2, QString()},
        {99, QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(basPenacheckRule::Text(c.rule), c.text) << c.rule;
        EXPECT_EQ(basPenacheckRule::IsValid(c.rule), !c.text.isEmpty()) << c.rule;
    }
}

TEST(CourseAssigner, EveryPatternOnTheP2ForAOkForBCard) {
    // A: 0, 31, 32, 33, 34, 100 (P2: 32 and 33 missed); B: 0, 31, 34, 100 (OK).
    const std::vector<std::shared_ptr<clsEcardCourseData>> courses = {
        named(u"A"_s, courseOf(simpleCourse({0, 31, 32, 33, 34, 100}))),
        named(u"B"_s, courseOf(simpleCourse({0, 31, 34, 100}))),
    };
    const auto card = cardOf({0, 31, 34, 100, 250});
    ASSERT_EQ(clsCourseAssigner::Status(clsEcardPunchIndex(card), *courses[0]), 2);
    ASSERT_EQ(clsCourseAssigner::Status(clsEcardPunchIndex(card), *courses[1]), 0);
    struct Case {
        qint32 rule;
        QStringList expected;
    } cases[] = {
        {-9, {u"B"_s}},         {0, {u"B"_s}},          {1, {u"B"_s}},
        {2, {u"A"_s, u"B"_s}},  {3, {u"A"_s, u"B"_s}},  {9, {u"A"_s, u"B"_s}},
        {98, {u"A"_s, u"B"_s}}, {-1, {u"A"_s, u"B"_s}}, {-5, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(selectedNames(courses, card, c.rule), c.expected) << c.rule;
}

TEST(CourseAssigner, BestFittingTies) {
    std::vector<int> ten{0}, twelve{0};
    for (int i = 0; i < 12; ++i) {
        if (i < 10)
            ten.push_back(31 + i);
        twelve.push_back(31 + i);
    }
    ten.push_back(100);
    twelve.push_back(100);
    std::vector<int> punches = twelve;
    punches.push_back(250);
    const auto card = cardOf(punches);
    const auto dnqCard = cardOf({0, 31, 32, 33, 250}); // no finish for any class
    struct Case {
        const char* what;
        std::vector<std::shared_ptr<clsEcardCourseData>> courses;
        std::shared_ptr<clsEcardTagData> card;
        qint32 rule;
        QStringList expected;
    } cases[] = {
        {"more controls win",
         {named(u"Ten"_s, courseOf(simpleCourse(ten))), named(u"Twelve"_s, courseOf(simpleCourse(twelve)))},
         card,
         -9,
         {u"Twelve"_s}},
        {"more controls win, other order",
         {named(u"Twelve"_s, courseOf(simpleCourse(twelve))), named(u"Ten"_s, courseOf(simpleCourse(ten)))},
         card,
         -9,
         {u"Twelve"_s}},
        {"equal counts: earlier",
         {named(u"X"_s, courseOf(simpleCourse(ten))), named(u"Y"_s, courseOf(simpleCourse(ten)))},
         card,
         -9,
         {u"X"_s}},
        {"all DNQ: most controls",
         {named(u"Ten"_s, courseOf(simpleCourse(ten))), named(u"Twelve"_s, courseOf(simpleCourse(twelve))),
          named(u"Twelve2"_s, courseOf(simpleCourse(twelve)))},
         dnqCard,
         -9,
         {u"Twelve"_s}},
        {"all DNQ: pattern 98 none",
         {named(u"Ten"_s, courseOf(simpleCourse(ten))), named(u"Twelve"_s, courseOf(simpleCourse(twelve)))},
         dnqCard,
         98,
         {}},
        {"lower status beats more controls",
         {named(u"Twelve"_s, courseOf(simpleCourse(twelve))),
          named(u"Short"_s, courseOf(simpleCourse({0, 31, 100})))},
         cardOf({0, 31, 35, 100, 250}),
         -9,
         {u"Short"_s}},
        {"class without finish takes no part",
         {named(u"NoFinish"_s, courseOf({{0}, {31}, {}})),
          named(u"Dnq"_s, courseOf(simpleCourse({0, 31, 77})))},
         cardOf({0, 31, 100, 250}),
         -9,
         {u"Dnq"_s}},
        {"no class takes part",
         {named(u"NoStart"_s, courseOf({{}, {31}, {100}}))},
         cardOf({0, 31, 100, 250}),
         -9,
         {}},
        {"no class at all", {}, cardOf({0, 31, 100, 250}), -9, {}},
        {"without controls, forbidden punch between",
         {named(u"F"_s, courseOf({{0}, {100}}, true)), named(u"G"_s, courseOf({{0}, {100}}, false))},
         cardOf({0, 31, 100, 250}),
         0,
         {u"G"_s}},
        {"without controls, nothing between",
         {named(u"F"_s, courseOf({{0}, {100}}, true))},
         cardOf({0, 100, 31, 250}),
         0,
         {u"F"_s}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(selectedNames(c.courses, c.card, c.rule), c.expected) << c.what;
}

TEST(CourseAssigner, ClassListOfTheRead) {
    const std::vector<std::shared_ptr<clsEcardCourseData>> courses = {
        named(u"M21A"_s, courseOf(simpleCourse({0, 31, 32, 33, 34, 100}))),
        named(u"M21B"_s, courseOf(simpleCourse({0, 31, 34, 100}))),
        named(u"W21"_s, courseOf(simpleCourse({0, 50, 51, 100}))),
        named(u"Open"_s, courseOf({{0}, {40}, {}})), // no finish: takes no part
    };
    const auto card = cardOf({0, 31, 34, 100, 250});
    struct Case {
        const char* what;
        std::optional<QStringList> list;
        qint32 rule;
        QStringList expected;
    } cases[] = {
        {"no list: the pattern", std::nullopt, -9, {u"M21B"_s}},
        {"two classes whatever status, in table order",
         QStringList{u"W21"_s, u"M21A"_s},
         -9,
         {u"M21A"_s, u"W21"_s}},
        {"names in upper case", QStringList{u"m21a"_s, u"w21"_s}, 0, {u"M21A"_s, u"W21"_s}},
        {"a deleted class", QStringList{u"Gone"_s, u"M21B"_s}, -9, {u"M21B"_s}},
        {"empty list: no class", QStringList{}, -1, {}},
        {"a class without finish stays out", QStringList{u"Open"_s, u"W21"_s}, -9, {u"W21"_s}},
    };
    for (const Case& c : cases) {
        clsSpecificData s;
        s.CourseList = c.list;
        EXPECT_EQ(selectedNames(courses, card, c.rule, &s), c.expected) << c.what;
    }
}

namespace {

// Events of classes that share codes, and reads of runners who ran one of them with the
// usual faults: missed, repeated and swapped controls, extra punches, a missing start or
// finish, punches after the reading unit's record.
class RandomEvent {
public:
    explicit RandomEvent(unsigned seed) : m_rng(seed) {}

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

    std::vector<std::shared_ptr<clsEcardCourseData>> courses() {
        std::vector<std::shared_ptr<clsEcardCourseData>> list;
        const int n = pick(1, 8);
        const int alphabet = pick(3, 20);
        for (int k = 0; k < n; ++k) {
            auto c = std::make_shared<clsEcardCourseData>();
            c->setCourseName(QString::number(k));
            const int cc = pick(0, 6) == 0 ? 0 : pick(1, pick(0, 4) == 0 ? 50 : 12);
            c->setControlCount(cc);
            for (int p = 0; p <= cc + 1; ++p) {
                const int kinds = pick(0, 15) == 0 ? pick(2, 3) : (p == cc + 1 && pick(0, 30) == 0 ? 0 : 1);
                for (int j = 0; j < kinds; ++j)
                    c->AddUnitCode(p, p == 0        ? (pick(0, 5) ? 0 : 30 + pick(0, alphabet))
                                      : p == cc + 1 ? (pick(0, 3) ? 100 : 30 + pick(0, alphabet))
                                                    : 30 + pick(0, alphabet));
            }
            if (cc == 0)
                c->setForbidControl(pick(0, 1) == 1);
            list.push_back(c);
        }
        return list;
    }

    std::shared_ptr<clsEcardTagData> card(const std::vector<std::shared_ptr<clsEcardCourseData>>& courses) {
        const auto& ran = courses[static_cast<size_t>(pick(0, static_cast<int>(courses.size()) - 1))];
        std::vector<int> codes;
        for (int p = 0; p <= ran->ControlCount() + 1; ++p) {
            const int kinds = ran->UnitCodeKind(p);
            const int roll = pick(0, 19);
            if (kinds == 0 || roll == 0)
                continue; // missed
            const int code = ran->UnitCode(p, pick(1, kinds));
            if (roll == 1 && !codes.empty())
                codes.insert(codes.begin() + pick(0, static_cast<int>(codes.size()) - 1), code);
            else
                codes.push_back(code);
            if (roll == 2)
                codes.push_back(code); // punched twice
            if (roll == 3)
                codes.push_back(30 + pick(0, 25)); // an extra punch
        }
        if (codes.size() > 49)
            codes.resize(49);
        codes.push_back(250);
        auto t = std::make_shared<clsEcardTagData>();
        t->setReadTime(45000.5);
        int elapsed = 0;
        for (size_t i = 0; i < codes.size(); ++i) {
            elapsed += pick(0, 300);
            t->setPunch(static_cast<int>(i) + 1, codes[i], elapsed);
        }
        const int n = static_cast<int>(codes.size());
        t->setReadingUnitPosIndex(pick(0, 9) == 0 ? pick(0, n) : n);
        return t;
    }

private:
    std::mt19937 m_rng;
};

// The selection made the slow way: the literal check of every class that takes part.
std::vector<int> literalSelection(const std::vector<std::shared_ptr<clsEcardCourseData>>& courses,
                                  const clsEcardTagData& card, qint32 rule) {
    std::vector<int> selected;
    int best = -1;
    int bestStatus = 0;
    for (size_t i = 0; i < courses.size(); ++i) {
        const auto& c = *courses[i];
        if (!c.IsLiftUpStart() || !c.IsPunchingFinish())
            continue;
        LiteralPenaCheck check;
        check.run(card, c);
        if (rule == -9) {
            if (best < 0 || check.status < bestStatus ||
                (check.status == bestStatus &&
                 c.ControlCount() > courses[static_cast<size_t>(best)]->ControlCount())) {
                best = static_cast<int>(i);
                bestStatus = check.status;
            }
        } else if (rule == -1 || check.status <= rule) {
            selected.push_back(static_cast<int>(i));
        }
    }
    if (rule == -9 && best >= 0)
        selected.push_back(best);
    return selected;
}

} // namespace

TEST(CourseAssigner, SelectionIsExactlyThatOfTheLiteralCheck) {
    RandomEvent ev(7301);
    const qint32 rules[] = {-9, -1, 0, 1, 2, 3, 5, 9, 98};
    int pairs = 0;
    int statusSeen[100] = {};
    clsEcardPunchIndex index;
    while (pairs < 110000) {
        const auto courses = ev.courses();
        clsCourseAssigner assigner;
        assigner.setCourses(courses);
        for (int r = 0; r < 20; ++r) {
            const auto card = ev.card(courses);
            index.prepare(card);
            for (const auto& c : courses) {
                if (!c->IsLiftUpStart() || !c->IsPunchingFinish())
                    continue;
                LiteralPenaCheck check;
                check.run(*card, *c);
                ++statusSeen[check.status];
                ++pairs;
                ASSERT_EQ(clsCourseAssigner::Status(index, *c), check.status)
                    << card->RegnlyFormat().toStdString() << " limit " << card->ReadingUnitPosIndex();
            }
            for (const qint32 rule : rules)
                ASSERT_EQ(assigner.Select(index, nullptr, rule), literalSelection(courses, *card, rule))
                    << "rule " << rule << ": " << card->RegnlyFormat().toStdString();
        }
    }
    EXPECT_GT(statusSeen[0], 1000);
    EXPECT_GT(statusSeen[1], 1000);
    EXPECT_GT(statusSeen[2], 500);
    EXPECT_GT(statusSeen[98], 1000);
    EXPECT_GT(statusSeen[99], 1000);
}
