// Arbitrary bytes loaded as a text lap file, then every text output, the analysis grid and the
// charts of every mode (drawn and painted, without text) and the HTML pages of each class and of
// all classes together. Errors the outputs raise to their caller are fine; crashes, overruns and
// undefined behaviour are not.
#include "ProjectError.h"
#include "basConstants.h"
#include "basHtmlPage.h"
#include "basText.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsGraphicControl.h"
#include "clsHtmlControl.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "clsTextControl.h"
#include "clsTextGrid.h"

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

template <typename F> void expectingErrors(F f) {
    try {
        f();
    } catch (const ProjectError&) {
    }
}

void charts(const clsQuorvelin2& root, const std::shared_ptr<clsAnalyzer>& analyzer) {
    analyzer->ExtraAnalyze();
    // The map's cost grows with the cube of the runners; small sets show its faults as well.
    if (analyzer->FullSetCount() <= 200)
        analyzer->Bostrime();
    clsChartObject chart;
    chart.setWidth(160);
    chart.setHeight(120);
    for (qint32 mode = 0; mode < 8; ++mode) {
        expectingErrors(
            [&] { root.GraphicControl()->DrawChart(analyzer, &chart, mode, 1.7, 1.3, 0.5, 0.25); });
        clsChartRenderer::render(chart);
    }
}

void outputs(const clsQuorvelin2& root, const std::vector<QVariant>& classes) {
    auto analyzer = root.NewAnalyzer();
    auto results = root.NewResultsHolder();
    for (const QVariant& c : classes) {
        analyzer->AddClass(c);
        results->AddClass(c);
    }
    analyzer->Execute();
    results->CalcRank();
    const clsTextControl& text = *root.TextControl();
    const QVariant byName = QVariant::fromValue(analyzer);
    expectingErrors([&] { text.OutputCsvVennelMacro(byName); });
    expectingErrors([&] { text.OutputCsvSplitsBrowser(byName); });
    expectingErrors([&] { text.OutputTextMail(analyzer); });
    expectingErrors([&] { text.OutputTextResult(results); });
    clsTextGrid grid;
    expectingErrors([&] { root.GraphicControl()->DrawGrid(analyzer, &grid); });
    charts(root, analyzer);
    // The published pages of the same data set (extra-analysed by the charts), as the bytes
    // their files would hold.
    const clsHtmlControl& html = *root.HtmlControl();
    for (const QString& page :
         {html.OutputResult(results, u"<b>top</b>"_s, u"s.css"_s), html.OutputAnalysis(analyzer),
          html.OutputLegData(analyzer), html.OutputChart(analyzer, u"c_?.png"_s, u"0,1,2,5,6,9"_s)})
        basHtmlPage::encode(page);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = basText::fromWindows31J(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (text.isEmpty())
        return 0;
    clsQuorvelin2 root;
    root.FileControl()->LoadLapFile(u"f.lap"_s, Quorvelin2::QV_FILETYPE_QUORVELIN1, 0, text);
    std::vector<QVariant> all;
    for (int c = 1; c <= root.ClassCount() && c <= 8; ++c) {
        outputs(root, {QVariant(c)});
        all.emplace_back(c);
    }
    if (all.size() > 1)
        outputs(root, all);
    return 0;
}
