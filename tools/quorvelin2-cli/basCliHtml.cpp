#include "basCliHtml.h"

#include "basCliCommands.h"
#include "basCliDataSet.h"
#include "basFileName.h"
#include "basHtmlOutput.h"
#include "clsConsoleFileHost.h"
#include "clsFileControl.h"
#include "clsQuorvelin2.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace basCliCommands;

namespace basCliHtml {

namespace {

using basCliCommands::Program;

struct TextOption {
    QCommandLineOption option;
    QString basHtmlOutput::Parameters::*field;
};

struct FlagOption {
    QCommandLineOption option;
    bool basHtmlOutput::Parameters::*field;
};

} // namespace

QString usage() {
    return u"\nhtml writes the event as a page set into OUTDIR (created when missing): an index with\n"
           u"a row per class and, per class, a result page, a lap analysis page, a leg data page and\n"
           u"a chart page with PNG images. \"*\" in a PATTERN stands for the class's file name; an\n"
           u"empty value (--chart=) leaves that kind out.\n"
           u"  --index NAME                 index page (index.html)\n"
           u"  --result PATTERN             result pages (*_result.html)\n"
           u"  --analysis PATTERN           lap analysis pages (*_lap.html)\n"
           u"  --leg-data PATTERN           leg data pages (*_leg.html)\n"
           u"  --chart PATTERN              chart pages (*_chart.html)\n"
           u"  --chart-option LIST          chart modes on each chart page (0,2,5)\n"
           u"  --lap1 NAME, --lap2 NAME     also save the event as a .lap / .lxm file, linked\n"
           u"  --official-site              link the event's official site from the index\n"
           u"  --index-add                  put this event's block above those of an existing index\n"
           u"  --activex-file NAME          the viewer-control page, loading\n"
           u"  --activex-address URL        the lap file at URL\n"
           u"  --analysis-include-course, --result-include-course, --leg-data-include-course,\n"
           u"  --chart-include-course       also pages for courses that classes share\n"
           u"  --style URL                  a style sheet linked from every page\n"
           u"  --progress                   show the progress\n"_s;
}

int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err) {
    using P = basHtmlOutput::Parameters;
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const basCliDataSet::LoadOptions loadOptions;
    loadOptions.addTo(parser);
    const auto text = [](const QString& name, const QString& value, QString P::*field) {
        return TextOption{QCommandLineOption(name, QString(), u"VALUE"_s, value), field};
    };
    const TextOption texts[] = {
        text(u"index"_s, u"index.html"_s, &P::IndexFile),
        text(u"analysis"_s, u"*_lap.html"_s, &P::AnalysisFile),
        text(u"result"_s, u"*_result.html"_s, &P::ResultFile),
        text(u"lap2"_s, QString(), &P::Lap2File),
        text(u"lap1"_s, QString(), &P::Lap1File),
        text(u"activex-file"_s, QString(), &P::ActiveXFile),
        text(u"activex-address"_s, QString(), &P::ActiveXAddress),
        text(u"leg-data"_s, u"*_leg.html"_s, &P::LegDataFile),
        text(u"chart"_s, u"*_chart.html"_s, &P::ChartFile),
        text(u"chart-option"_s, u"0,2,5"_s, &P::ChartOption),
        text(u"style"_s, QString(), &P::LinkStyleFile),
    };
    const FlagOption flags[] = {
        {QCommandLineOption(u"official-site"_s), &P::OfficialSite},
        {QCommandLineOption(u"index-add"_s), &P::IndexFileAddMode},
        {QCommandLineOption(u"analysis-include-course"_s), &P::AnalysisIncludeCourse},
        {QCommandLineOption(u"result-include-course"_s), &P::ResultIncludeCourse},
        {QCommandLineOption(u"leg-data-include-course"_s), &P::LegDataIncludeCourse},
        {QCommandLineOption(u"chart-include-course"_s), &P::ChartIncludeCourse},
    };
    for (const TextOption& t : texts)
        parser.addOption(t.option);
    for (const FlagOption& f : flags)
        parser.addOption(f.option);
    const QCommandLineOption helpOption(QStringList{u"h"_s, u"help"_s});
    parser.addOption(helpOption);

    const auto usageError = [&](const QString& text) {
        return basCliCommands::usageError(u"html"_s, text, err);
    };
    if (const auto status =
            basCliCommands::parseArguments(parser, helpOption, arguments, u"html"_s, out, err))
        return *status;
    QStringList inputs = parser.positionalArguments();
    if (inputs.size() < 2)
        return usageError(u"html needs at least one input and an output folder"_s);
    QString error;
    const auto load = basCliDataSet::readLoadSettings(parser, loadOptions, error);
    if (!load)
        return usageError(error);

    P p;
    p.OutputFolder = inputs.takeLast();
    for (const TextOption& t : texts)
        p.*(t.field) = parser.value(t.option);
    for (const FlagOption& f : flags)
        p.*(f.field) = parser.isSet(f.option);
    if (!p.ChartFile.isEmpty() && !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        err << Program << u": html: no charts without a GUI application\n"_s;

    clsQuorvelin2 root;
    clsConsoleFileHost host(in, err, load->first);
    if (!basCliDataSet::loadInputs(root, host, inputs, *load, err))
        return FileFailed;
    clsFileControl& files = *root.FileControl();
    files.setProgressVisible(load->progress);
    if (!files.OutputHtml(p.OutputFolder, p.IndexFile, p.AnalysisFile, p.ResultFile, p.Lap2File, p.Lap1File,
                          p.OfficialSite, p.IndexFileAddMode, p.ActiveXFile, p.ActiveXAddress,
                          p.AnalysisIncludeCourse, p.ResultIncludeCourse, p.LegDataFile,
                          p.LegDataIncludeCourse, p.ChartFile, p.ChartIncludeCourse, p.ChartOption,
                          p.LinkStyleFile)) {
        const QString comment = root.ErrorComment();
        err << Program << u": html: "_s
            << (comment.isEmpty() ? u"the pages were not written"_s
                                  : QString(comment).replace(u"\r\n"_s, u" "_s))
            << u'\n';
        err.flush();
        return FileFailed;
    }
    if (!p.IndexFile.isEmpty())
        out << QDir::toNativeSeparators(basFileName::WithTrailingSeparator(p.OutputFolder) + p.IndexFile)
            << u'\n';
    out.flush();
    return Done;
}

} // namespace basCliHtml
