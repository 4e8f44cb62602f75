#include "ProjectError.h"
#include "ProjectErrorCheck.h"
#include "basAutomation.h"
#include "basConstants.h"
#include "basDate.h"
#include "basQuorvelin2.h"
#include "clsDateValue.h"
#include "clsLegRankValue.h"
#include "clsMissTimeValue.h"
#include "clsPercentValue.h"
#include "clsQuorvelin2.h"
#include "clsTimeValue.h"

#include <QMetaEnum>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using basAutomation::Call;
using basAutomation::DefaultValue;
using basAutomation::Get;
using basAutomation::Let;

namespace {

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

TEST(basAutomation, MembersInSlotOrder) {
    struct Case {
        const QMetaObject* metaObject;
        const char* members;
    };
    const Case cases[] = {
        {&clsQuorvelin2::staticMetaObject,
         "FileName FileDate ErrorComment NewAnalyzer NewResultsHolder EventData FileControl GraphicControl "
         "HtmlControl TextControl "
         "ConfigControl MetaData AddClass RemoveClass RenameClass ClassData ClassCount IsClassExists "
         "AddCourse "
         "RemoveCourse CourseData CourseCount ClearCourse IsCourseExists ClassAndCourseList "
         "SeparateClassAndCourseValue SortLap SortClass SegmentData SegmentCount MakeSegmentSet Clear "
         "Version"},
        {&clsEventData::staticMetaObject, "EventName EventDate Terrain Memo FileName OfficialSite ToString"},
        {&clsMetaData::staticMetaObject, "CreateApplication CreateDate CreateUserName LastUpdateApplication "
                                         "LastUpdateDate LastUpdateUserName"},
        {&clsCourseData::staticMetaObject, "CourseIndex ControlCount ControlNum"},
        {&clsClassData::staticMetaObject,
         "ControlCount CourseNum Length Climb CutOffRank ClassName ClassInfo "
         "FileName AddLapObject AddLap RemoveLap ClearLap LapData LapCount SortLap"},
        {&clsLapData::staticMetaObject,
         "RunnerName ClubName Rank ID Ecard StartTime RankFix Seed Age Sex SerialNum "
         "ClassName Lap LegCount Result"},
        {&clsTimeValue::staticMetaObject, "Value ToString"},
        {&clsMissTimeValue::staticMetaObject, "Value ToString"},
        {&clsPercentValue::staticMetaObject, "Value ToString"},
        {&clsLegRankValue::staticMetaObject, "Value ToString"},
        {&clsDateValue::staticMetaObject, "Value ToString"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(basAutomation::MemberNames(*c.metaObject), words(c.members)) << c.metaObject->className();
}

TEST(basAutomation, WriteSidesOfPropertiesComeWhereTheirRowsStand) {
    // The class's file name is written before it is read; the lap record's leg count too.
    auto methodsOf = [](const QMetaObject& mo) {
        QStringList names;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
            if (!(mo.method(i).attributes() & QMetaMethod::Cloned))
                names << QString::fromLatin1(mo.method(i).name());
        }
        return names;
    };
    const QStringList cls = methodsOf(clsClassData::staticMetaObject);
    EXPECT_EQ(cls.indexOf(u"setFileName"_s) + 1, cls.indexOf(u"FileName"_s));
    const QStringList lap = methodsOf(clsLapData::staticMetaObject);
    EXPECT_EQ(lap.indexOf(u"setLegCount"_s) + 1, lap.indexOf(u"LegCount"_s));
    EXPECT_EQ(lap.indexOf(u"Result"_s) + 1, lap.indexOf(u"setResult"_s));
    // Values set only by the analysis have no write side by name.
    EXPECT_EQ(clsMissTimeValue::staticMetaObject.indexOfMethod("setValue(double)"), -1);
    EXPECT_EQ(clsLapData::staticMetaObject.indexOfMethod("setSerialNum(int)"), -1);
    EXPECT_EQ(clsLapData::staticMetaObject.indexOfMethod("setClassName(QString)"), -1);
}

TEST(basAutomation, EnumerationsByName) {
    struct Case {
        const char* enumeration;
        const char* constant;
        int value;
    };
    const Case cases[] = {
        {"LapTimeConst", "QV_TIME_DISQ", -2},
        {"LapTimeConst", "QV_TIME_NODATA", 0},
        {"QvLapFileTypeConst", "QV_FILETYPE_IOF_XML_20_RESULT", 7},
        {"QvLapFileTypeConst", "QV_FILETYPE_IOF_XML_30_RESULT", 8},
        {"QvLapFileLoadModeCosnt", "QV_LOADMODE_MERGE_NAME", 17},
        {"QvLapFileLoadModeCosnt", "QV_LOADMODE_NOTADD_NEWDATA", 4096},
        {"QvLapFileLoadModeCosnt", "QV_LOADMODE_PRIORITY_NEWDATA", 16384},
        {"QvLapFileSaveModeCosnt", "QV_SAVEMODE_FULL", 1},
        {"QvChartModeConst", "QV_CHART_BOSTRIME", 7},
        {"QvPrintAnalysisModeConst", "QV_PRINT_ANALYSIS_SPLITTIME", 2},
        {"QvAlignTypeConst", "QV_ALIGN_LEFT", 2},
        {"QvColorTypeConst", "QV_COLOR_NOMISS_TITLE", 19},
        {"QvColorTypeConst", "QV_COLOR_RANK3", 22},
        {"PrintBookAlignConst", "PRINTBOOK_ALIGN_RIGHT", 2},
        {"PrintBookValignConst", "PRINTBOOK_VALIGN_MIDDLE", 1},
        {"QvConfigFolderConst", "QV_CONFIG_FOLDER_DATA", 1},
    };
    const QMetaObject& mo = Quorvelin2::staticMetaObject;
    for (const auto& c : cases) {
        const int index = mo.indexOfEnumerator(c.enumeration);
        ASSERT_GE(index, 0) << c.enumeration;
        bool ok = false;
        EXPECT_EQ(mo.enumerator(index).keyToValue(c.constant, &ok), c.value) << c.constant;
        EXPECT_TRUE(ok) << c.constant;
    }
    const int colors = mo.indexOfEnumerator("QvColorTypeConst");
    EXPECT_EQ(mo.enumerator(colors).keyCount(), 23);
}

// A whole data set filled by names only, in the order a host calls.
TEST(basAutomation, HostFillsADataSetByName) {
    const std::shared_ptr<QObject> created = basQuorvelin2::CreateObject(u"Quorvelin2.clsQuorvelin2");
    const QVariant root = QVariant::fromValue(created.get());
    EXPECT_EQ(Get(root, u"Version", {false}).toString(), u"2.16"_s);
    EXPECT_TRUE(Get(root, u"version").toString().startsWith(u"2.16 ( Build "_s)); // names ignore case

    const double eventDay = basDate::dateSerial(2024, 6, 9);
    const QVariant event = Get(root, u"EventData");
    Let(Get(event, u"EventDate"), u"Value", eventDay);
    Let(event, u"EventName", u"Spring Cup"_s);
    const QVariant meta = Get(root, u"MetaData");
    Let(meta, u"CreateApplication", u"Host"_s);
    Let(meta, u"CreateDate", eventDay + 0.5);

    struct RunnerSpec {
        const char* name;
        const char* result;
        const char* rank;
        int card;
        std::vector<double> legs; // seconds; -2 a missing punch
    };
    struct ClassSpec {
        const char* name;
        int course;
        std::vector<int> controls;
        std::vector<RunnerSpec> runners;
    };
    const std::vector<ClassSpec> classes = {
        {"M21",
         1,
         {31, 32},
         {{"Ito Ken", "0:10:00", "2", 111, {200, 250, 150}},
          {"Abe Jun", "0:09:00", "1", 112, {190, 200, 150}}}},
        {"W21", 1, {31, 32}, {{"Oda Mai", "DNF", "", 0, {210, -2, 160}}}},
        {"M35", 2, {41, 42, 43}, {{"Kato Yu", "0:15:00", "1", 113, {200, 200, 200, 300}}}},
    };
    for (const ClassSpec& cs : classes) {
        const QVariant cls = Get(root, u"AddClass", {QString::fromLatin1(cs.name)});
        Let(cls, u"ControlCount", static_cast<int>(cs.controls.size()));
        Let(cls, u"CourseNum", cs.course);
        const QVariant course = Get(root, u"AddCourse", {cs.course});
        Let(course, u"ControlCount", static_cast<int>(cs.controls.size()));
        for (size_t i = 0; i < cs.controls.size(); ++i)
            Let(course, u"ControlNum", cs.controls[i], {static_cast<int>(i + 1)});
        for (const RunnerSpec& r : cs.runners) {
            const QVariant lap = Call(cls, u"AddLap");
            Let(lap, u"RunnerName", QString::fromLatin1(r.name));
            Let(lap, u"ClubName", u"OLC"_s);
            Let(lap, u"Result", QString::fromLatin1(r.result));
            Let(lap, u"Rank", QString::fromLatin1(r.rank));
            if (r.card != 0) {
                Let(lap, u"ID", r.card);
                Let(lap, u"Ecard", r.card);
            }
            for (size_t j = 0; j < r.legs.size(); ++j) {
                const double v = r.legs[j] < 0 ? r.legs[j] : basDate::fromSeconds(qint64(r.legs[j]));
                Let(lap, u"Lap", v, {static_cast<int>(j + 1)}); // the leg time object's default member
            }
        }
    }
    Call(root, u"SortLap");

    // Everything arrived, read back through the C++ interface.
    auto* q = qobject_cast<clsQuorvelin2*>(created.get());
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->EventData()->EventDate()->Value(), eventDay);
    EXPECT_EQ(q->EventData()->EventName(), u"Spring Cup"_s);
    EXPECT_EQ(q->MetaData()->CreateDate(), eventDay + 0.5);
    EXPECT_EQ(q->ClassCount(), 3);
    EXPECT_EQ(q->CourseCount(), 2);
    EXPECT_EQ(q->CourseData(u"2"_s)->ControlNum(3), 43);
    EXPECT_EQ(q->CourseData(u"2"_s)->ControlNum(4), 9999);
    const auto m21 = q->ClassData(u"M21"_s);
    EXPECT_EQ(m21->CourseNum(), 1);
    EXPECT_EQ(m21->LapData(1)->RunnerName(), u"Abe Jun"_s); // sorted by result
    EXPECT_EQ(m21->LapData(1)->SerialNum(), 2);
    EXPECT_EQ(m21->LapData(1)->Ecard(), 112);
    EXPECT_EQ(m21->LapData(1)->LegCount(), 3);
    EXPECT_EQ(m21->LapData(1)->Lap(2)->Value(), basDate::fromSeconds(200));
    const auto w21 = q->ClassData(u"W21"_s)->LapData(1);
    EXPECT_EQ(w21->Lap(2)->Value(), Quorvelin2::QV_TIME_DISQ);
    EXPECT_EQ(w21->Result(), u"DNF"_s);
    EXPECT_EQ(w21->ID(), 0);
    EXPECT_EQ(q->ClassData(u"M35"_s)->LapData(1)->LegCount(), 4);

    // Reading by name: nested objects, indexed properties, default members, lists.
    const QVariant firstLap = Get(Get(root, u"ClassData", {u"M21"_s}), u"LapData", {1});
    EXPECT_EQ(Get(firstLap, u"RunnerName").toString(), u"Abe Jun"_s);
    EXPECT_EQ(DefaultValue(Get(firstLap, u"Lap", {1})).toDouble(), basDate::fromSeconds(190));
    EXPECT_EQ(Get(Get(firstLap, u"Lap", {1}), u"ToString", {u"h:nn:ss"_s}).toString(), u"0:03:10"_s);
    EXPECT_EQ(Get(Get(firstLap, u"Lap", {1}), u"ToString", {u"hh:nn:ss"_s, true}).toString(), u"3:10"_s);
    EXPECT_EQ(Get(root, u"ClassCount").toInt(), 3);
    EXPECT_EQ(Get(Get(root, u"ClassData", {2}), u"ClassName").toString(), u"W21"_s);
    EXPECT_TRUE(basAutomation::isNothing(Get(root, u"ClassData", {u"M99"_s})));
    EXPECT_EQ(Get(root, u"ClassAndCourseList").toStringList().constLast(), u",1,M21/W21,m21_w21,3"_s);
    EXPECT_EQ(Get(Get(event, u"EventDate"), u"ToString").toString(), u"2024/06/09"_s);
    EXPECT_NE(Get(root, u"FileControl").value<QObject*>(), nullptr);

    // In/out parameters come back to the caller; the ones left out are optional.
    QVariantList args{u",1,M21/W21,m21_w21,3"_s, QString(), 0, 0, QString(), 0};
    basAutomation::CallByRef(root, u"SeparateClassAndCourseValue", args);
    EXPECT_EQ(args[1].toString(), u"M21/W21"_s);
    EXPECT_EQ(args[3].toInt(), 1);
    EXPECT_EQ(args[4].toString(), u"m21_w21"_s);
    EXPECT_EQ(args[5].toInt(), 3);
    QVariantList few{u"2,,W21,w21,1"_s, QString()};
    basAutomation::CallByRef(root, u"SeparateClassAndCourseValue", few);
    ASSERT_EQ(few.size(), 6);
    EXPECT_EQ(few[1].toString(), u"W21"_s);
    EXPECT_EQ(few[2].toInt(), 2);

    // An existing record handed over by name, merged by name with the new data winning.
    const QVariant loaded = QVariant::fromValue(std::make_shared<clsLapData>());
    Let(loaded, u"RunnerName", u"ABE JUN"_s);
    Let(loaded, u"ClubName", u"Tokyo"_s);
    const QVariant added =
        Get(Get(root, u"ClassData", {1}), u"AddLapObject",
            {loaded, Quorvelin2::QV_LOADMODE_MERGE_NAME | Quorvelin2::QV_LOADMODE_PRIORITY_NEWDATA});
    EXPECT_FALSE(added.toBool());
    EXPECT_EQ(m21->LapData(1)->ClubName(), u"Tokyo"_s);
    EXPECT_EQ(m21->LapCount(), 2);
    Let(loaded, u"StartTime", basDate::timeSerial(10, 0, 0)); // to the start time object's Value
    EXPECT_EQ(Get(Get(loaded, u"StartTime"), u"Value").toDouble(), basDate::timeSerial(10, 0, 0));
    Let(loaded, u"StartTime", QVariant::fromValue(clsTimeValue(0.25))); // an object is set whole
    EXPECT_EQ(DefaultValue(Get(loaded, u"StartTime")).toDouble(), 0.25);

    // Then the host asks for an analysis and a result list, by name as well.
    const QVariant analyzer = Get(root, u"NewAnalyzer");
    Call(analyzer, u"AddClass", {u"M21"_s});
    Call(analyzer, u"Execute");
    EXPECT_TRUE(Get(analyzer, u"IsExecuted").toBool());
    EXPECT_EQ(Get(analyzer, u"Count").toInt(), 2);
    const QVariant winner = Get(analyzer, u"Item", {1});
    EXPECT_EQ(Get(winner, u"RunnerName").toString(), u"ABE JUN"_s); // merged with the new name winning
    EXPECT_EQ(Get(winner, u"RankInDataSet").toString(), u"1"_s);
    EXPECT_EQ(Get(Get(winner, u"LapTime", {1}), u"ToString", {u"hh:nn:ss"_s, true}).toString(), u"3:10"_s);
    const QVariant holder = Get(root, u"NewResultsHolder");
    Call(holder, u"AddCourse", {1});
    Call(holder, u"CalcRank");
    EXPECT_EQ(Get(holder, u"Count").toInt(), 3);
    EXPECT_EQ(Get(holder, u"DataSetName").toString(), u"M21/W21"_s);
}

TEST(basAutomation, NewAnalysisObjectsOnEveryCall) {
    clsQuorvelin2 root;
    EXPECT_NE(root.NewAnalyzer(), nullptr);
    EXPECT_NE(root.NewAnalyzer(), root.NewAnalyzer());
    EXPECT_NE(root.NewResultsHolder(), root.NewResultsHolder());
}

TEST(basAutomation, SegmentsByName) {
    const std::shared_ptr<QObject> created = basQuorvelin2::CreateObject(u"Quorvelin2.clsQuorvelin2");
    const QVariant root = QVariant::fromValue(created.get());
    const std::vector<std::vector<int>> courses = {{31, 32, 33}, {40, 31, 32, 33, 50}};
    for (size_t c = 0; c < courses.size(); ++c) {
        const int index = static_cast<int>(c + 1);
        const QVariant cls = Get(root, u"AddClass", {QString(u"C"_s + QString::number(index))});
        Let(cls, u"CourseNum", index);
        Let(cls, u"ControlCount", static_cast<int>(courses[c].size()));
        const QVariant course = Get(root, u"AddCourse", {index});
        Let(course, u"ControlCount", static_cast<int>(courses[c].size()));
        for (size_t i = 0; i < courses[c].size(); ++i)
            Let(course, u"ControlNum", courses[c][i], {static_cast<int>(i + 1)});
    }
    EXPECT_EQ(Get(root, u"SegmentCount").toInt(), 0); // built only on request
    Call(root, u"MakeSegmentSet");
    ASSERT_EQ(Get(root, u"SegmentCount").toInt(), 1);
    const QVariant segment = Get(root, u"SegmentData", {1});
    EXPECT_EQ(Get(segment, u"SegmentName").toString(), u"31-32-33"_s);
    EXPECT_EQ(Get(segment, u"ControlCount").toInt(), 1);
    EXPECT_PROJECT_ERROR(Get(root, u"SegmentData", {2}), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(Get(root, u"SegmentData", {0}), ProjectError::OutOfRange);
    Call(root, u"ClearCourse");
    EXPECT_EQ(Get(root, u"SegmentCount").toInt(), 0);
}

TEST(basAutomation, ErrorsReachTheCaller) {
    clsQuorvelin2 root;
    const QVariant r = QVariant::fromValue(&root);
    const QVariant lap = Call(Get(r, u"AddClass", {u"A"_s}), u"AddLap");
    struct Case {
        const char* what;
        std::function<void()> call;
        ProjectError::Number number;
    };
    const Case cases[] = {
        {"unknown member", [&] { Get(r, u"NoSuchMember"); }, ProjectError::InvalidCall},
        {"unknown property", [&] { Let(lap, u"Nickname", u"x"_s); }, ProjectError::InvalidCall},
        {"leg out of range", [&] { Get(lap, u"Lap", {31}); }, ProjectError::OutOfRange},
        {"leg 0 holds nothing", [&] { Let(lap, u"Lap", 0.1, {0}); }, ProjectError::InvalidCall},
        {"not an object", [&] { Get(QVariant(5), u"Value"); }, ProjectError::TypeMismatch},
        {"nothing", [&] { Get(Get(r, u"ClassData", {9}), u"ClassName"); }, ProjectError::InvalidCall},
        {"argument that does not convert", [&] { Let(lap, u"ID", QVariant::fromValue(clsTimeValue(1))); },
         ProjectError::TypeMismatch},
        {"value without a write side", [&] { Let(r, u"ClassCount", 3); }, ProjectError::InvalidCall},
        {"subscript error of the class list", [&] { Get(r, u"SortClass", {u"2"_s}); },
         ProjectError::OutOfRange},
    };
    for (const auto& c : cases)
        EXPECT_PROJECT_ERROR(c.call(), c.number) << c.what;
}

// A bound member follows the class of each object it is called on, converts its arguments as Get
// does and raises the same errors.
TEST(basAutomation, BoundMemberFollowsTheObjectsClass) {
    const QVariant time = QVariant::fromValue(clsTimeValue(basDate::fromSeconds(3725)));
    const QVariant miss = QVariant::fromValue(clsMissTimeValue(basDate::fromSeconds(95)));
    const basAutomation::Member toString(u"tostring"_s);
    const basAutomation::Member value(u"Value"_s);
    struct Case {
        const char* what;
        const basAutomation::Member& member;
        QVariant object;
        QVariantList arguments;
        QVariant expected;
    };
    const Case cases[] = {
        {"time, form given", toString, time, {u"h:nn:ss"_s, false}, u"1:02:05"_s},
        {"miss time, another class", toString, miss, {u"hh:nn:ss"_s, true}, u"1:35"_s},
        {"time again, defaults", toString, time, {}, u"01:02:05"_s},
        {"argument converted", toString, time, {u"h:nn:ss"_s, 0}, u"1:02:05"_s},
        {"value", value, miss, {}, basDate::fromSeconds(95)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.member.Get(c.object, c.arguments), c.expected) << c.what;
        EXPECT_EQ(c.member.Get(c.object, c.arguments),
                  Get(c.object, &c.member == &toString ? u"ToString" : u"Value", c.arguments))
            << c.what;
    }

    clsQuorvelin2 root;
    const QVariant r = QVariant::fromValue(&root);
    const basAutomation::Member className(u"ClassName"_s);
    const basAutomation::Member count(u"ClassCount"_s);
    struct ErrorCase {
        const char* what;
        std::function<void()> call;
        ProjectError::Number number;
    };
    const ErrorCase errors[] = {
        {"no such member in this class", [&] { className.Get(r); }, ProjectError::InvalidCall},
        {"arguments that do not convert",
         [&] {
             toString.Get(time, {u"h:nn:ss"_s, QVariant::fromValue(clsTimeValue(1))});
         },
         ProjectError::TypeMismatch},
        {"not an object", [&] { count.Get(QVariant(5)); }, ProjectError::TypeMismatch},
        {"nothing", [&] { className.Get(Get(r, u"ClassData", {9})); }, ProjectError::InvalidCall},
        {"empty reference", [&] { className.Get(basAutomation::ObjectRef{}); }, ProjectError::InvalidCall},
    };
    for (const auto& c : errors)
        EXPECT_PROJECT_ERROR(c.call(), c.number) << c.what;
    EXPECT_EQ(count.Get(r).toInt(), 0); // the binding still works after the errors
}

} // namespace
