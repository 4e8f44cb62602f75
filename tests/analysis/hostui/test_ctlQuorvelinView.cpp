#include "LapDataGenerator.h"
#include "clsAnalyzedGeneralData.h"
#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "ctlAnalysisGrid.h"
#include "ctlClassCombo.h"
#include "ctlDataSelectButton.h"
#include "ctlHtmlOutputButton.h"
#include "ctlLapChart.h"
#include "ctlLegDataGrid.h"
#include "ctlPrintButton.h"
#include "ctlQuorvelinView.h"
#include "ctlResultGrid.h"

#include <QComboBox>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QStringList ViewTypeTexts{u"選択してください"_s, u"ラップ解析"_s, u"記録一覧"_s, u"レッグ分析"_s,
                                u"チャート"_s};

std::shared_ptr<clsQuorvelin2> eventRoot() {
    auto root = std::make_shared<clsQuorvelin2>();
    lapdatagenerator::Options o;
    o.runners = 12;
    o.legs = 8;
    lapdatagenerator::GenerateClass(*root, u"M21A"_s, o);
    o.seed = 2;
    lapdatagenerator::GenerateClass(*root, u"W21A"_s, o);
    return root;
}

// What the class combo gives for a class: an executed analyzer and a ranked results holder.
struct ClassData {
    std::shared_ptr<clsAnalyzer> analyzer;
    std::shared_ptr<clsResultsHolder> results;
};
ClassData classData(const clsQuorvelin2& root, int position) {
    ClassData d{root.NewAnalyzer(), root.NewResultsHolder()};
    d.analyzer->AddClass(QVariant(position));
    d.analyzer->Execute();
    d.results->AddClass(QVariant(position));
    d.results->CalcRank();
    return d;
}

// The data views a person sees, by name.
QStringList visibleViews(const ctlQuorvelinView& view) {
    QStringList shown;
    if (!view.analysisGrid()->isHidden())
        shown << u"analysis"_s;
    if (!view.resultGrid()->isHidden())
        shown << u"result"_s;
    if (!view.legDataGrid()->isHidden())
        shown << u"leg"_s;
    if (!view.lapChart()->isHidden())
        shown << u"chart"_s;
    return shown;
}

QStringList listTexts(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

TEST(ctlQuorvelinView, ANewViewHasAnEmptyDisabledListAndNoDataView) {
    ctlQuorvelinView view;
    EXPECT_EQ(view.viewTypeList()->count(), 0);
    EXPECT_EQ(view.viewTypeList()->currentIndex(), -1);
    EXPECT_FALSE(view.viewTypeList()->isEnabled());
    EXPECT_TRUE(visibleViews(view).isEmpty());
    EXPECT_EQ(view.Analyzer(), nullptr);
    EXPECT_EQ(view.Version(false), u"2.16"_s);
    EXPECT_EQ(view.Version(true), clsQuorvelin2().Version(true));
    EXPECT_TRUE(view.Version(true).startsWith(u"2.16 ( Build "_s));
}

TEST(ctlQuorvelinView, ARootFillsTheListChoosesLapAnalysisAndResetsTheKinds) {
    ctlQuorvelinView view;
    view.htmlOutputButton()->setOutputKind(8);
    view.printButton()->setPrintKind(4);
    const auto root = eventRoot();
    view.setQuorvelin2Object(root);
    EXPECT_EQ(listTexts(view.viewTypeList()), ViewTypeTexts);
    EXPECT_EQ(view.viewTypeList()->currentText(), u"ラップ解析"_s);
    EXPECT_TRUE(view.viewTypeList()->isEnabled());
    EXPECT_EQ(view.htmlOutputButton()->OutputKind(), 1);
    EXPECT_EQ(view.printButton()->PrintKind(), 1);
    EXPECT_EQ(view.root(), root);
    EXPECT_EQ(view.classCombo()->root(), root);
    // Before a class is chosen no view type shows data, and the kinds stay as set.
    for (int type = 0; type < ViewTypeTexts.size(); ++type) {
        view.setViewType(static_cast<ctlQuorvelinView::ViewType>(type));
        EXPECT_TRUE(visibleViews(view).isEmpty()) << type;
        EXPECT_EQ(view.htmlOutputButton()->OutputKind(), 1) << type;
        EXPECT_EQ(view.printButton()->PrintKind(), 1) << type;
    }
}

TEST(ctlQuorvelinView, ChoosingAClassAnalysesItFurtherAndShowsTheLapAnalysis) {
    ctlQuorvelinView view;
    const auto root = eventRoot();
    view.setQuorvelin2Object(root);
    const ClassData d = classData(*root, 2);
    ASSERT_EQ(d.analyzer->FullSetItem(1)->FirstHalfCruiseSpeed().Value(), 0.0f);
    view.useClassData(d.analyzer, d.results);
    EXPECT_GT(d.analyzer->FullSetItem(1)->FirstHalfCruiseSpeed().Value(), 0.0f);
    EXPECT_GT(d.analyzer->GeneralData()->LegDifficulty(1).Value(), 0.0f);
    EXPECT_EQ(view.Analyzer(), d.analyzer);
    EXPECT_EQ(view.ResultsHolder(), d.results);
    EXPECT_EQ(visibleViews(view), QStringList{u"analysis"_s});
    EXPECT_EQ(view.htmlOutputButton()->OutputKind(), 1);
    EXPECT_EQ(view.printButton()->PrintKind(), 1);

    // The combo's event takes its data: with no entry chosen there is none, and nothing shows.
    ASSERT_EQ(view.classCombo()->Analyzer(), nullptr);
    emit view.classCombo()->ClassChosen();
    EXPECT_EQ(view.Analyzer(), nullptr);
    EXPECT_TRUE(visibleViews(view).isEmpty());
}

// Each step switches the view type from where the previous one left it, so that "unchanged"
// print kinds are checked against different kinds before them.
TEST(ctlQuorvelinView, EveryViewTypeShowsItsViewAndSetsTheOutputKinds) {
    ctlQuorvelinView view;
    const auto root = eventRoot();
    view.setQuorvelin2Object(root);
    const ClassData d = classData(*root, 1);
    view.useClassData(d.analyzer, d.results);
    struct Step {
        ctlQuorvelinView::ViewType type;
        QStringList shown;
        qint32 html;
        qint32 print;
    };
    using V = ctlQuorvelinView;
    const std::vector<Step> steps{
        {V::ViewResult, {u"result"_s}, 2, 2},     {V::ViewNone, {}, 0, 2},
        {V::ViewChart, {u"chart"_s}, 8, 4},       {V::ViewNone, {}, 0, 4},
        {V::ViewLegData, {u"leg"_s}, 4, 0},       {V::ViewNone, {}, 0, 0},
        {V::ViewAnalysis, {u"analysis"_s}, 1, 1}, {V::ViewChart, {u"chart"_s}, 8, 4},
        {V::ViewLegData, {u"leg"_s}, 4, 0},       {V::ViewResult, {u"result"_s}, 2, 2},
        {V::ViewAnalysis, {u"analysis"_s}, 1, 1}, {V::ViewNone, {}, 0, 1},
    };
    for (size_t k = 0; k < steps.size(); ++k) {
        const Step& s = steps[k];
        SCOPED_TRACE(u"step %1: %2"_s.arg(k).arg(ViewTypeTexts[s.type]).toStdString());
        view.viewTypeList()->setCurrentIndex(s.type);
        EXPECT_EQ(view.viewType(), s.type);
        EXPECT_EQ(visibleViews(view), s.shown);
        EXPECT_EQ(view.htmlOutputButton()->OutputKind(), s.html);
        EXPECT_EQ(view.printButton()->PrintKind(), s.print);
    }

    // A new selection updates the display: the kinds come back after they were changed.
    view.setViewType(V::ViewChart);
    view.htmlOutputButton()->setOutputKind(0);
    view.printButton()->setPrintKind(0);
    view.dataSelectButton()->selectAllRunners();
    EXPECT_EQ(view.htmlOutputButton()->OutputKind(), 8);
    EXPECT_EQ(view.printButton()->PrintKind(), 4);
    EXPECT_EQ(visibleViews(view), QStringList{u"chart"_s});
}

TEST(ctlQuorvelinView, ASecondRootForgetsTheClassAndStartsOver) {
    ctlQuorvelinView view;
    const auto first = eventRoot();
    view.setQuorvelin2Object(first);
    const ClassData d = classData(*first, 1);
    view.useClassData(d.analyzer, d.results);
    view.setViewType(ctlQuorvelinView::ViewChart);
    ASSERT_EQ(visibleViews(view), QStringList{u"chart"_s});

    const auto second = eventRoot();
    view.setQuorvelin2Object(second);
    EXPECT_EQ(view.root(), second);
    EXPECT_EQ(view.classCombo()->root(), second);
    EXPECT_EQ(view.Analyzer(), nullptr);
    EXPECT_EQ(view.ResultsHolder(), nullptr);
    EXPECT_EQ(listTexts(view.viewTypeList()), ViewTypeTexts);
    EXPECT_EQ(view.viewTypeList()->currentIndex(), int(ctlQuorvelinView::ViewAnalysis));
    EXPECT_TRUE(visibleViews(view).isEmpty());
    EXPECT_EQ(view.htmlOutputButton()->OutputKind(), 1);
    EXPECT_EQ(view.printButton()->PrintKind(), 1);
    // The first root is no longer held by the view.
    EXPECT_EQ(d.analyzer.use_count(), 1);
}

} // namespace
