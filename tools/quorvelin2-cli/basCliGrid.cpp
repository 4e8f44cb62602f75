#include "basCliGrid.h"

#include "ProjectError.h"
#include "basCliCommands.h"
#include "basCliDataSet.h"
#include "clsAnalyzer.h"
#include "clsConsoleFileHost.h"
#include "clsGraphicControl.h"
#include "clsQuorvelin2.h"
#include "clsTextGrid.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;
using namespace basCliCommands;

namespace basCliGrid {

int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const basCliDataSet::LoadOptions loadOptions;
    const basCliDataSet::OutputOptions outputOptions;
    const QCommandLineOption classOption = basCliDataSet::classOption();
    const QCommandLineOption colorsOption(u"colors"_s);
    const QCommandLineOption helpOption(QStringList{u"h"_s, u"help"_s});
    loadOptions.addTo(parser);
    outputOptions.addTo(parser);
    parser.addOptions({classOption, colorsOption, helpOption});

    const auto usageError = [&](const QString& text) {
        return basCliCommands::usageError(u"grid"_s, text, err);
    };
    if (const auto status =
            basCliCommands::parseArguments(parser, helpOption, arguments, u"grid"_s, out, err))
        return *status;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return usageError(u"grid needs at least one input"_s);
    QString error;
    const auto load = basCliDataSet::readLoadSettings(parser, loadOptions, error);
    if (!load)
        return usageError(error);
    const auto encoding = basCliDataSet::readEncoding(parser, outputOptions);
    if (!encoding)
        return usageError(
            u"unknown encoding \"%1\" (sjis, utf-8)"_s.arg(parser.value(outputOptions.encoding)));

    clsQuorvelin2 root;
    clsConsoleFileHost host(in, err, load->first);
    if (!basCliDataSet::loadInputs(root, host, inputs, *load, err))
        return FileFailed;
    QString unknown;
    const auto sets = basCliDataSet::chooseDataSets(root, parser.values(classOption), unknown);
    if (!sets)
        return usageError(u"no class \"%1\" in the inputs"_s.arg(unknown));

    QString text;
    for (const basCliDataSet::DataSet& set : *sets) {
        clsTextGrid grid;
        try {
            root.GraphicControl()->DrawGrid(basCliDataSet::executedAnalyzer(root, set), &grid);
        } catch (const ProjectError& e) {
            err << Program << u": class "_s << basCliDataSet::dataSetName(root, set) << u": "_s
                << e.description() << u'\n';
            err.flush();
            return FileFailed;
        }
        text += grid.ToText(parser.isSet(colorsOption));
    }
    return basCliDataSet::writeOutput(basCliDataSet::encode(text, *encoding), *encoding,
                                      parser.value(outputOptions.output), out, err)
               ? Done
               : FileFailed;
}

} // namespace basCliGrid
