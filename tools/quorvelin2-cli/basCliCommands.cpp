#include "basCliCommands.h"

#include "basCliChart.h"
#include "basCliDataSet.h"
#include "basCliGrid.h"
#include "basCliHtml.h"
#include "basCliIof.h"
#include "basCliText.h"
#include "basConstants.h"
#include "basDate.h"
#include "basQuorvelin2.h"
#include "clsClassData.h"
#include "clsConsoleFileHost.h"
#include "clsEventData.h"
#include "clsFileControl.h"
#include "clsQuorvelin2.h"

#include <QCommandLineParser>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace basCliCommands {

QString usage() {
    return u"Usage:\n"
           u"  quorvelin2 -h | --help | --version\n"
           u"  quorvelin2 info [options] INPUT...\n"
           u"  quorvelin2 convert [options] INPUT... OUTPUT\n"
           u"  quorvelin2 text KIND [options] INPUT... [--class NAME]... [--output FILE]\n"
           u"  quorvelin2 grid [options] INPUT... [--class NAME]... [--colors] [--output FILE]\n"
           u"  quorvelin2 chart [options] INPUT... [--class NAME]... --mode N [--size WIDTHxHEIGHT]\n"
           u"                   [--ratio X,Y] [--position X,Y] --output FILE.png\n"
           u"  quorvelin2 html [options] INPUT... OUTDIR\n"
           u"\n"
           u"INPUT is a lap file of any kind the library reads (.lxm, .lap, .csv, .txt, .xml) or an\n"
           u"LHA archive (.lzh) holding lap files. Later inputs are merged into the first.\n"
           u"OUTPUT is written by its extension: .lxm, .lap, .xml (IOF XML 2.0.3 result list),\n"
           u".lzh (packed .lxm). An IOF XML result list (3.0 or 2.0.3) is read as one by its\n"
           u"contents.\n"
           u"\n"
           u"Options:\n"
           u"  --load-type KIND   auto (default), lxm, lap, sportident, oevent, import,\n"
           u"                     iof3, iof2\n"
           u"  --merge MODE       load mode of the later inputs: append (default), id, name,\n"
           u"                     or a number\n"
           u"  --save-type KIND   auto (default, by extension), lxm, lap, iof (IOF XML 2.0.3),\n"
           u"                     iof3 (IOF XML 3.0)\n"
           u"  --full             save .lxm in the full form (with the analysis fields)\n"
           u"  --progress         show the progress of each load\n"
           u"  --first            take an archive's first lap file without asking\n"
           u"\n"
           u"text KIND writes, for each data set, the mail text (mail), the result list (result), the\n"
           u"CSV for the Vennel macro (vennel) or the CSV for SplitsBrowser (splitsbrowser). grid lays\n"
           u"each data set's analysis out as a table: a line \"rows=R cols=C\", then one line per row,\n"
           u"cells separated by TAB; --colors adds a line \"colors\" and the cells' colour kinds.\n"
           u"  --class NAME       a class (by name, or a number for its position) of the one data\n"
           u"                     set; without it every class is its own data set, in class order\n"
           u"  --output FILE      write to FILE instead of standard output\n"
           u"  --encoding NAME    sjis (Windows-31J, the default) or utf-8\n"
           u"\n"
           u"chart draws a data set's chart as PNG. Modes: 0 elapsed time, 1 clock time, 2 3 4 time\n"
           u"behind 100 % 110 % 130 % of the best runners, 5 cruise speed - miss rate, 6 cruise speed -\n"
           u"second/first half, 7 Bostrime. --size defaults to 800x600; --ratio is the zoom, fit (the\n"
           u"default for X) puts the whole width in; --position scrolls, 0 to 1. A * in FILE.png\n"
           u"stands for each class's file name, for a chart of every class.\n"
           u"  -h, --help         this text\n"_s +
           basCliHtml::usage();
}

namespace {

std::optional<qint32> saveType(const QString& name) {
    static const std::pair<QString, qint32> kinds[] = {
        {u"auto"_s, QV_FILETYPE_AUTODETECT},
        {u"lxm"_s, QV_FILETYPE_QUORVELIN2},
        {u"lap"_s, QV_FILETYPE_QUORVELIN1},
        {u"iof"_s, QV_FILETYPE_IOF_XML_20_RESULT},
    };
    for (const auto& [text, kind] : kinds)
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return kind;
    return basCliIof::kindNamed(name, false);
}

QString failure(const clsQuorvelin2& root, const QString& fallback) {
    const QString comment = root.ErrorComment();
    return comment.isEmpty() ? fallback : comment;
}

void describe(const clsQuorvelin2& root, QTextStream& out) {
    clsEventData& event = *root.EventData();
    if (!event.EventName().isEmpty())
        out << u"Event: "_s << event.EventName() << u'\n';
    if (event.EventDate()->Value() != 0)
        out << u"Date: "_s << basDate::format(event.EventDate()->Value(), u"yyyy/mm/dd") << u'\n';
    qint64 runners = 0;
    for (int c = 1; c <= root.ClassCount(); ++c)
        runners += root.ClassData(c)->LapCount();
    out << u"Classes: %1, courses: %2, runners: %3\n"_s.arg(root.ClassCount())
               .arg(root.CourseCount())
               .arg(runners);
    for (int c = 1; c <= root.ClassCount(); ++c) {
        const clsClassData& cls = *root.ClassData(c);
        out << u"  "_s << cls.ClassName() << u"  "_s << u"%1 runners"_s.arg(cls.LapCount());
        if (cls.ControlCount() > 0)
            out << u", %1 controls"_s.arg(cls.ControlCount());
        if (cls.CourseNum() > 0)
            out << u", course %1"_s.arg(cls.CourseNum());
        out << u'\n';
    }
}

} // namespace

int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err) {
    if (!arguments.isEmpty() && arguments.first() == u"text"_s)
        return basCliText::run(arguments.mid(1), in, out, err);
    if (!arguments.isEmpty() && arguments.first() == u"grid"_s)
        return basCliGrid::run(arguments.mid(1), in, out, err);
    if (!arguments.isEmpty() && arguments.first() == u"chart"_s)
        return basCliChart::run(arguments.mid(1), in, out, err);
    if (!arguments.isEmpty() && arguments.first() == u"html"_s)
        return basCliHtml::run(arguments.mid(1), in, out, err);
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const basCliDataSet::LoadOptions loadOptions;
    const QCommandLineOption saveTypeOption(u"save-type"_s, QString(), u"KIND"_s, u"auto"_s);
    const QCommandLineOption fullOption(u"full"_s);
    const QCommandLineOption helpOption(QStringList{u"h"_s, u"help"_s});
    loadOptions.addTo(parser);
    parser.addOptions({saveTypeOption, fullOption, helpOption});

    const auto usageError = [&](const QString& text) { return basCliCommands::usageError(u""_s, text, err); };
    if (const auto status = basCliCommands::parseArguments(parser, helpOption, arguments, u""_s, out, err))
        return *status;
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(u"a command is needed (info, convert, text or grid)"_s);
    const QString command = positional.takeFirst();
    const bool converting = command == u"convert"_s;
    if (!converting && command != u"info"_s)
        return usageError(u"unknown command \"%1\""_s.arg(command));
    if (positional.size() < (converting ? 2 : 1))
        return usageError(converting ? u"convert needs at least one input and an output"_s
                                     : u"info needs at least one input"_s);
    QString error;
    const auto load = basCliDataSet::readLoadSettings(parser, loadOptions, error);
    if (!load)
        return usageError(error);
    const auto save = saveType(parser.value(saveTypeOption));
    if (!save)
        return usageError(u"unknown save type \"%1\""_s.arg(parser.value(saveTypeOption)));
    const QString output = converting ? positional.takeLast() : QString();

    clsQuorvelin2 root;
    clsConsoleFileHost host(in, err, load->first);
    if (!basCliDataSet::loadInputs(root, host, positional, *load, err))
        return FileFailed;

    if (!converting) {
        describe(root, out);
        out.flush();
        return Done;
    }
    const qint32 saveMode = parser.isSet(fullOption) ? QV_SAVEMODE_FULL : QV_SAVEMODE_NORMAL;
    basQuorvelin2::SetErrorComment(QString());
    if (!root.FileControl()->SaveLapFile(output, *save, saveMode)) {
        err << Program << u": "_s << output << u": "_s << failure(root, u"not written"_s) << u'\n';
        err.flush();
        return FileFailed;
    }
    return Done;
}

int usageError(const QString& command, const QString& text, QTextStream& err) {
    err << Program << u": "_s << (command.isEmpty() ? QString() : command + u": "_s) << text << u"\n\n"_s
        << usage();
    err.flush();
    return UsageError;
}

std::optional<int> parseArguments(QCommandLineParser& parser, const QCommandLineOption& help,
                                  const QStringList& arguments, const QString& command, QTextStream& out,
                                  QTextStream& err) {
    if (!parser.parse(QStringList{Program} + arguments))
        return usageError(command, parser.errorText(), err);
    if (parser.isSet(help)) {
        out << usage();
        out.flush();
        return Done;
    }
    return std::nullopt;
}

} // namespace basCliCommands
