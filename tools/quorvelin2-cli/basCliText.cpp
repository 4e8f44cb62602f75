#include "basCliText.h"

#include "ProjectError.h"
#include "basCliCommands.h"
#include "basCliDataSet.h"
#include "clsAnalyzer.h"
#include "clsConsoleFileHost.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "clsTextControl.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;
using namespace basCliCommands;

namespace basCliText {

namespace {

enum class Kind { Mail, Result, Vennel, SplitsBrowser };

std::optional<Kind> kindOf(const QString& name) {
    static const std::pair<QString, Kind> kinds[] = {
        {u"mail"_s, Kind::Mail},
        {u"result"_s, Kind::Result},
        {u"vennel"_s, Kind::Vennel},
        {u"splitsbrowser"_s, Kind::SplitsBrowser},
    };
    for (const auto& [text, kind] : kinds)
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return kind;
    return std::nullopt;
}

QString textOf(const clsQuorvelin2& root, const basCliDataSet::DataSet& set, Kind kind) {
    const clsTextControl& text = *root.TextControl();
    if (kind == Kind::Result)
        return text.OutputTextResult(basCliDataSet::rankedResults(root, set));
    const auto analyzer = basCliDataSet::executedAnalyzer(root, set);
    switch (kind) {
    case Kind::Mail:
        return text.OutputTextMail(analyzer);
    case Kind::Vennel:
        return text.OutputCsvVennelMacro(QVariant::fromValue(analyzer));
    default:
        return text.OutputCsvSplitsBrowser(QVariant::fromValue(analyzer));
    }
}

} // namespace

int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const basCliDataSet::LoadOptions loadOptions;
    const basCliDataSet::OutputOptions outputOptions;
    const QCommandLineOption classOption = basCliDataSet::classOption();
    const QCommandLineOption helpOption(QStringList{u"h"_s, u"help"_s});
    loadOptions.addTo(parser);
    outputOptions.addTo(parser);
    parser.addOptions({classOption, helpOption});

    const auto usageError = [&](const QString& text) {
        return basCliCommands::usageError(u"text"_s, text, err);
    };
    if (const auto status =
            basCliCommands::parseArguments(parser, helpOption, arguments, u"text"_s, out, err))
        return *status;
    QStringList positional = parser.positionalArguments();
    if (positional.size() < 2)
        return usageError(
            u"text needs a kind (mail, result, vennel, splitsbrowser) and at least one input"_s);
    const auto kind = kindOf(positional.takeFirst());
    if (!kind)
        return usageError(u"unknown text kind \"%1\" (mail, result, vennel, splitsbrowser)"_s.arg(
            parser.positionalArguments().first()));
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
    if (!basCliDataSet::loadInputs(root, host, positional, *load, err))
        return FileFailed;
    QString unknown;
    const auto sets = basCliDataSet::chooseDataSets(root, parser.values(classOption), unknown);
    if (!sets)
        return usageError(u"no class \"%1\" in the inputs"_s.arg(unknown));

    QString text;
    for (const basCliDataSet::DataSet& set : *sets) {
        try {
            text += textOf(root, set, *kind);
        } catch (const ProjectError& e) {
            err << Program << u": class "_s << basCliDataSet::dataSetName(root, set) << u": "_s
                << e.description() << u'\n';
            err.flush();
            return FileFailed;
        }
    }
    return basCliDataSet::writeOutput(basCliDataSet::encode(text, *encoding), *encoding,
                                      parser.value(outputOptions.output), out, err)
               ? Done
               : FileFailed;
}

} // namespace basCliText
