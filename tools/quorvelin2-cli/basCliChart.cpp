#include "basCliChart.h"

#include "ProjectError.h"
#include "basChartSeries.h"
#include "basCliCommands.h"
#include "basCliDataSet.h"
#include "basConstants.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsConsoleFileHost.h"
#include "clsGraphicControl.h"
#include "clsQuorvelin2.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;
using namespace basCliCommands;
using namespace Quorvelin2;

namespace basCliChart {

namespace {

using basCliCommands::Program;
// Large enough for any print, small enough that a typing slip does not eat the memory.
constexpr int LargestSide = 16384;

std::optional<QSize> readSize(const QString& text) {
    static const QRegularExpression form(u"^\\s*(\\d{1,5})\\s*[xX]\\s*(\\d{1,5})\\s*$"_s);
    const auto m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int w = m.captured(1).toInt(), h = m.captured(2).toInt();
    if (w < 1 || h < 1 || w > LargestSide || h > LargestSide)
        return std::nullopt;
    return QSize(w, h);
}

// "X,Y" of two numbers; the first may be "fit" where fitAllowed.
struct Pair {
    double x = 0, y = 0;
    bool fit = false;
};
std::optional<Pair> readPair(const QString& text, bool fitAllowed) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    Pair p;
    bool ok = true;
    if (fitAllowed && parts[0].trimmed().compare(u"fit"_s, Qt::CaseInsensitive) == 0)
        p.fit = true;
    else
        p.x = parts[0].trimmed().toDouble(&ok);
    bool okY = false;
    p.y = parts[1].trimmed().toDouble(&okY);
    if (!ok || !okY || !std::isfinite(p.x) || !std::isfinite(p.y))
        return std::nullopt;
    return p;
}

// The file of a data set: a "*" in the name stands for the data set's file name (or its number
// when its classes have none).
QString outputFor(const QString& pattern, const clsAnalyzer& analyzer, size_t number) {
    QString name = pattern;
    const QString fileName = analyzer.DataSetFileName();
    return name.replace(u'*', fileName.isEmpty() ? QString::number(number) : fileName);
}

} // namespace

int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const basCliDataSet::LoadOptions loadOptions;
    const QCommandLineOption classOption = basCliDataSet::classOption();
    const QCommandLineOption modeOption(u"mode"_s, QString(), u"N"_s);
    const QCommandLineOption sizeOption(u"size"_s, QString(), u"WIDTHxHEIGHT"_s, u"800x600"_s);
    const QCommandLineOption ratioOption(u"ratio"_s, QString(), u"X,Y"_s, u"fit,1"_s);
    const QCommandLineOption positionOption(u"position"_s, QString(), u"X,Y"_s, u"0,0"_s);
    const QCommandLineOption outputOption(u"output"_s, QString(), u"FILE"_s);
    const QCommandLineOption helpOption(QStringList{u"h"_s, u"help"_s});
    loadOptions.addTo(parser);
    parser.addOptions(
        {classOption, modeOption, sizeOption, ratioOption, positionOption, outputOption, helpOption});

    const auto usageError = [&](const QString& text) {
        return basCliCommands::usageError(u"chart"_s, text, err);
    };
    if (const auto status =
            basCliCommands::parseArguments(parser, helpOption, arguments, u"chart"_s, out, err))
        return *status;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return usageError(u"chart needs at least one input"_s);
    bool modeOk = false;
    const qint32 mode = parser.value(modeOption).toInt(&modeOk);
    if (!parser.isSet(modeOption) || !modeOk || mode < 0 || mode >= basChartSeries::ModeCount)
        return usageError(u"chart needs --mode with a chart mode from 0 to 7"_s);
    const auto size = readSize(parser.value(sizeOption));
    if (!size)
        return usageError(u"--size wants WIDTHxHEIGHT, each from 1 to %1, not \"%2\""_s.arg(LargestSide)
                              .arg(parser.value(sizeOption)));
    const auto ratio = readPair(parser.value(ratioOption), true);
    if (!ratio)
        return usageError(u"--ratio wants X,Y (X may be fit), not \"%1\""_s.arg(parser.value(ratioOption)));
    const auto position = readPair(parser.value(positionOption), false);
    if (!position)
        return usageError(
            u"--position wants X,Y from 0 to 1, not \"%1\""_s.arg(parser.value(positionOption)));
    const QString output = parser.value(outputOption);
    if (output.isEmpty())
        return usageError(u"chart needs --output FILE.png"_s);
    QString error;
    const auto load = basCliDataSet::readLoadSettings(parser, loadOptions, error);
    if (!load)
        return usageError(error);

    clsQuorvelin2 root;
    clsConsoleFileHost host(in, err, load->first);
    if (!basCliDataSet::loadInputs(root, host, inputs, *load, err))
        return FileFailed;
    QString unknown;
    const auto sets = basCliDataSet::chooseDataSets(root, parser.values(classOption), unknown);
    if (!sets)
        return usageError(u"no class \"%1\" in the inputs"_s.arg(unknown));
    if (sets->empty())
        return usageError(u"the inputs hold no class to draw"_s);
    if (sets->size() > 1 && !output.contains(u'*'))
        return usageError(u"the inputs hold %1 classes: choose one with --class, or put * in the output "
                          u"name for a chart of each"_s.arg(sets->size()));

    for (size_t k = 0; k < sets->size(); ++k) {
        const basCliDataSet::DataSet& set = (*sets)[k];
        const auto analyzer = basCliDataSet::executedAnalyzer(root, set);
        if (mode == QV_CHART_CRUISE_MISSRATE || mode == QV_CHART_CRUISE_HALFRATIO)
            analyzer->ExtraAnalyze();
        if (mode == QV_CHART_BOSTRIME)
            analyzer->Bostrime();
        clsChartObject chart;
        chart.setWidth(size->width());
        chart.setHeight(size->height());
        const double ratioX =
            ratio->fit ? basChartSeries::FitRatioX(*analyzer, mode, chart.Width()) : ratio->x;
        const QString file = outputFor(output, *analyzer, k + 1);
        try {
            root.GraphicControl()->DrawChart(analyzer, &chart, mode, ratioX, ratio->y, position->x,
                                             position->y);
        } catch (const ProjectError& e) {
            err << Program << u": class "_s << basCliDataSet::dataSetName(root, set) << u": "_s
                << e.description() << u'\n';
            err.flush();
            return FileFailed;
        }
        if (!clsChartRenderer::savePng(chart, file)) {
            err << Program << u": "_s << file << u": not written\n"_s;
            err.flush();
            return FileFailed;
        }
        out << file << u'\n';
    }
    out.flush();
    return Done;
}

} // namespace basCliChart
