#include "AnalysisFixture.h"
#include "clsSegmentData.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace analysisfixture;

namespace {

void course(clsQuorvelin2& root, qint32 index, std::initializer_list<qint32> controls) {
    auto c = root.AddCourse(index);
    c->setControlCount(static_cast<qint32>(controls.size()));
    qint32 p = 1;
    for (qint32 code : controls)
        c->setControlNum(p++, code);
}

TEST(Segments, CommonRunsOfCourses) {
    struct Row {
        std::vector<std::vector<qint32>> courses;
        QStringList names;
        std::vector<qint32> controlCounts;
    } rows[] = {
        {{{31, 32, 33}, {40, 31, 32, 33, 50}}, {u"31-32-33"_s}, {1}},
        {{{31, 32, 45}, {40, 31, 32, 50}}, {}, {}}, // only two consecutive points in common
        {{{31, 32}, {31, 32, 60}}, {u"S-31-32"_s}, {1}},
        {{{70, 101, 102}, {80, 101, 102}}, {u"101-102-F"_s}, {1}},
        {{{31, 32, 33, 34}, {31, 32, 33, 34}}, {u"S-31-32-33-34-F"_s}, {4}},
    };
    for (const Row& row : rows) {
        clsQuorvelin2 root;
        qint32 index = 1;
        for (const auto& controls : row.courses) {
            auto c = root.AddCourse(index++);
            c->setControlCount(static_cast<qint32>(controls.size()));
            for (size_t p = 0; p < controls.size(); ++p)
                c->setControlNum(static_cast<qint32>(p + 1), controls[p]);
        }
        const auto segments = clsSegmentData::MakeSegmentSet(root);
        QStringList names;
        std::vector<qint32> counts;
        for (const auto& s : segments) {
            names << s->SegmentName();
            counts.push_back(s->ControlCount());
        }
        EXPECT_EQ(names, row.names);
        EXPECT_EQ(counts, row.controlCounts);
    }
}

TEST(Segments, SharedByTwoAndByThreeCourses) {
    clsQuorvelin2 root;
    course(root, 1, {31, 32, 33});
    course(root, 2, {40, 31, 32, 33, 50});
    root.AddClass(u"M21"_s)->setCourseNum(1);
    root.AddClass(u"W21"_s)->setCourseNum(2);
    auto two = clsSegmentData::MakeSegmentSet(root);
    ASSERT_EQ(two.size(), 1u);
    // 31 stands at point 1 of course 1 (its leg 2 leaves it) and at point 2 of course 2.
    EXPECT_EQ(two[0]->TargetClassList(), (QStringList{u"M21;2"_s, u"W21;3"_s}));

    course(root, 3, {50, 31, 32, 33, 70});
    root.AddClass(u"M35"_s)->setCourseNum(3);
    root.AddClass(u"M40"_s)->setCourseNum(3);
    auto three = clsSegmentData::MakeSegmentSet(root);
    ASSERT_EQ(three.size(), 1u);
    // Pairs 1-2 and 1-3 add their classes; pair 2-3 finds them all listed.
    EXPECT_EQ(three[0]->TargetClassList(), (QStringList{u"M21;2"_s, u"W21;3"_s, u"M35;3"_s, u"M40;3"_s}));
    EXPECT_EQ(three[0]->SegmentName(), u"31-32-33"_s);
}

TEST(Segments, AnalyzerAndResultsHolderOverDerivedLaps) {
    auto root = std::make_shared<clsQuorvelin2>();
    course(*root, 1, {31, 32, 33});
    course(*root, 2, {40, 31, 32, 33, 50});
    auto m = root->AddClass(u"M21"_s);
    m->setCourseNum(1);
    m->setControlCount(3);
    auto w = root->AddClass(u"W21"_s);
    w->setCourseNum(2);
    w->setControlCount(5);
    // Segment legs: course 1 legs 2-3, course 2 legs 3-4.
    auto a = addRunner(*m, u"a"_s, u"0:20:00"_s, {100, 200, 300, 400}, u"1"_s, u"M"_s);
    a->StartTime()->setValue(basDate::fromSeconds(10 * 3600));
    addRunner(*m, u"b"_s, u"0:21:00"_s, {100, 250, -2, 400}, QString(), u"M"_s);
    addRunner(*w, u"c"_s, u"0:30:00"_s, {50, 60, 210, 280, 90, 100}, QString(), u"W"_s);
    const auto segments = clsSegmentData::MakeSegmentSet(*root);
    ASSERT_EQ(segments.size(), 1u);
    const auto& s = segments[0];

    const auto all = s->Analyzer();
    EXPECT_EQ(all->ControlCount(), 1);
    EXPECT_EQ(all->DataSetName(), u"31-32-33"_s);
    ASSERT_EQ(all->FullSetCount(), 3);
    all->Execute();
    // a: 200 + 300 = 0:08:20; c: 210 + 280 = 0:08:10; b has the missing punch inside: DISQ.
    EXPECT_EQ(all->Item(1)->RunnerName(), u"c"_s);
    EXPECT_EQ(all->Item(1)->Result(), u"0:08:10"_s);
    EXPECT_EQ(all->Item(2)->Result(), u"0:08:20"_s);
    EXPECT_EQ(all->Item(3)->Result(), u"DISQ"_s);
    const auto derived = all->Item(2)->OtherData();
    EXPECT_NE(derived, a); // a copy, not the class's record
    EXPECT_EQ(derived->SerialNum(), a->SerialNum());
    EXPECT_EQ(derived->ClassName(), u"M21"_s);
    EXPECT_EQ(derived->Rank(), u"1"_s);
    EXPECT_EQ(derived->LegCount(), 2);
    EXPECT_EQ(derived->LapValue(1), basDate::fromSeconds(200));
    EXPECT_EQ(derived->StartTime()->Value(), basDate::fromSeconds(10 * 3600 + 100)); // leg 1 before it
    EXPECT_EQ(m->LapCount(), 2); // nothing was added to the class

    const auto men = s->Analyzer(u"M"_s);
    EXPECT_EQ(men->FullSetCount(), 2);
    EXPECT_EQ(men->DataSetName(), u"31-32-33 - M"_s);
    const auto holder = s->ResultsHolder(u"W"_s);
    ASSERT_EQ(holder->Count(), 1);
    EXPECT_EQ(holder->Item(1)->RunnerName(), u"c"_s);
    EXPECT_EQ(holder->DataSetName(), u"31-32-33 - W"_s);
    EXPECT_EQ(holder->ControlCount(), 1);
}

TEST(Segments, TargetClassListIsKeyedByClassName) {
    clsSegmentData s;
    s.setTargetClassList({u"M21;2"_s, u"W21;3"_s, u"m21;5"_s});
    EXPECT_EQ(s.TargetClassList(), (QStringList{u"M21;2"_s, u"W21;3"_s}));
    EXPECT_FALSE(s.addTargetClass(u"w21"_s, 4));
    EXPECT_TRUE(s.addTargetClass(u"M35"_s, 4));
    EXPECT_EQ(s.TargetClassList().last(), u"M35;4"_s);
}

} // namespace
