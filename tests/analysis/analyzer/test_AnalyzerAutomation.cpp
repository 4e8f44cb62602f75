#include "AnalysisFixture.h"
#include "basAutomation.h"
#include "clsAnalyzer.h"
#include "clsResultsHolder.h"
#include "clsSegmentData.h"

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

TEST(AnalyzerAutomation, MembersInSlotOrder) {
    struct Case {
        const QMetaObject* metaObject;
        const char* members;
    } cases[] = {
        {&clsAnalyzer::staticMetaObject,
         "DataSetFileName DataSetIsMix ControlCount Length Climb CutOffRank IsExecuted ClassInfo AddLap "
         "AddClass "
         "AddCourse Clear Count Item FullSetCount FullSetItem GeneralData DataSetName Execute ExtraAnalyze "
         "Bostrime SelectItem SelectSort SelectAll SelectNone"},
        {&clsAnalyzedRunnerData::staticMetaObject,
         "BostrimeX BostrimeY BostrimeX BostrimeY SplitRank LapRank ModifiedSplitRank ModifiedLapRank "
         "TotalLapTo "
         "TotalLapFrom IsValidLapTime IsValidSplitTime RankInDataSet Rank CruiseSpeed FirstHalfCruiseSpeed "
         "SecondHalfCruiseSpeed TotalTimeRelative LapRelative LapTime SerialNum SplitTime ModifiedLapTime "
         "ModifiedSplitTime MissTime MissTimeTotal MissRate TotalTimeWithoutMiss RunnerName ClubName Result "
         "ResultRank StartTime OtherData"},
        {&clsAnalyzedGeneralData::staticMetaObject,
         "LegDifficulty IsUpperLapExists UpperLapAverage LegLength UpperLapTotal UpperLapObject"},
        {&clsResultsHolder::staticMetaObject,
         "DataSetFileName DataSetIsMix ControlCount Length Climb CutOffRank ClassInfo AddClass AddLap "
         "AddCourse "
         "Clear Count Item RankInDataSet CalcRank RankIsAvalilable FullSetCount FullSetItem DataSetName "
         "SelectItem SelectAll SelectNone"},
        {&clsSegmentData::staticMetaObject,
         "TargetClassList ControlCount SegmentName Analyzer ResultsHolder"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(basAutomation::MemberNames(*c.metaObject), words(c.members)) << c.metaObject->className();
}

TEST(AnalyzerAutomation, SettersReservedToTheLibraryAreNotReachable) {
    struct Case {
        const QMetaObject* metaObject;
        const char* signature;
    } cases[] = {
        {&clsAnalyzedRunnerData::staticMetaObject, "setRank(QString)"},
        {&clsAnalyzedRunnerData::staticMetaObject, "setRankInDataSet(QString)"},
        {&clsAnalyzedRunnerData::staticMetaObject, "setTotalLapTo(int,int)"},
        {&clsAnalyzedRunnerData::staticMetaObject, "setIsValidLapTime(int,bool)"},
        {&clsAnalyzedGeneralData::staticMetaObject, "setUpperLapObject(int,int,RunnerPtr)"},
        {&clsSegmentData::staticMetaObject, "setSegmentName(QString)"},
        {&clsSegmentData::staticMetaObject, "setControlCount(int)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.metaObject->indexOfMethod(c.signature), -1) << c.signature;
}

// An analysis driven by names only, as a host does after filling the data set.
TEST(AnalyzerAutomation, HostAnalysesByName) {
    auto root = std::make_shared<clsQuorvelin2>();
    auto cls = root->AddClass(u"M21"_s);
    cls->setControlCount(1);
    analysisfixture::addRunner(*cls, u"A"_s, u"0:05:00"_s, {100, 200});
    analysisfixture::addRunner(*cls, u"B"_s, u"0:04:30"_s, {120, 150});

    const QVariant analyzer = QVariant::fromValue(std::make_shared<clsAnalyzer>());
    Call(analyzer, u"AddClass", {u"M21"_s});
    Call(analyzer, u"Execute");
    EXPECT_TRUE(Get(analyzer, u"IsExecuted").toBool());
    EXPECT_EQ(Get(analyzer, u"Count").toInt(), 2);
    const QVariant first = Get(analyzer, u"Item", {1});
    EXPECT_EQ(Get(first, u"RunnerName").toString(), u"B"_s);
    EXPECT_EQ(Get(first, u"RankInDataSet").toString(), u"1"_s);
    EXPECT_EQ(DefaultValue(Get(first, u"LapRank", {2})).toInt(), 1);
    const QVariant rankText = Get(Get(first, u"LapRank", {2}), u"ToString", {true, true});
    EXPECT_EQ(rankText.metaType() == QMetaType::fromType<QVariant>() ? rankText.value<QVariant>().toString()
                                                                     : rankText.toString(),
              u"1)"_s);
    EXPECT_EQ(Get(Get(first, u"SplitTime", {2}), u"ToString").toString(), u"00:04:30"_s);
    EXPECT_EQ(DefaultValue(Get(first, u"LapTime", {1})).toDouble(), basDate::fromSeconds(120));
    EXPECT_GT(DefaultValue(Get(first, u"CruiseSpeed")).toDouble(), 0);
    Let(first, u"BostrimeX", 12.5);
    EXPECT_EQ(Get(first, u"BostrimeX").toDouble(), 12.5);
    const QVariant general = Get(analyzer, u"GeneralData");
    EXPECT_TRUE(Get(general, u"IsUpperLapExists", {1, 2}).toBool());
    EXPECT_FALSE(Get(general, u"IsUpperLapExists", {1, 3}).toBool());
    Let(analyzer, u"DataSetName", u"Ｍ２１ 決勝"_s);
    EXPECT_EQ(Get(analyzer, u"DataSetFileName").toString(), u"m21 決勝"_s);

    const QVariant holder = QVariant::fromValue(std::make_shared<clsResultsHolder>());
    Call(holder, u"AddClass", {1});
    Call(holder, u"CalcRank");
    EXPECT_EQ(Get(holder, u"RankInDataSet", {2}).toString(), u"2"_s);
    EXPECT_EQ(Get(Get(holder, u"Item", {1}), u"RunnerName").toString(), u"B"_s);
}

} // namespace
