#include "basCliCommands.h"

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

namespace {

const QString Program = u"quorvelin2"_s;

QString usage() {
    return u"Usage:\n"
           u"  quorvelin2 -h | --help | --version\n"
           u"  quorvelin2 info [options] INPUT...\n"
           u"  quorvelin2 convert [options] INPUT... OUTPUT\n"
           u"\n"
           u"INPUT is a lap file of any kind the library reads (.lxm, .lap, .csv, .txt, .xml) or an\n"
           u"LHA archive (.lzh) holding lap files. Later inputs are merged into the first.\n"
           u"OUTPUT is written by its extension: .lxm, .lap, .xml (IOF XML 2.0.3 result list),\n"
           u".lzh (packed .lxm).\n"
           u"\n"
           u"Options:\n"
           u"  --load-type KIND   auto (default), lxm, lap, sportident, oevent, import\n"
           u"  --merge MODE       load mode of the later inputs: append (default), id, name,\n"
           u"                     or a number\n"
           u"  --save-type KIND   auto (default, by extension), lxm, lap, iof\n"
           u"  --full             save .lxm in the full form (with the analysis fields)\n"
           u"  --progress         show the progress of each load\n"
           u"  --first            take an archive's first lap file without asking\n"
           u"  -h, --help         this text\n"_s;
}

std::optional<qint32> loadType(const QString& name) {
    static const std::pair<QString, qint32> kinds[] = {
        {u"auto"_s, QV_FILETYPE_AUTODETECT}, {u"lxm"_s, QV_FILETYPE_QUORVELIN2},
        {u"lap"_s, QV_FILETYPE_QUORVELIN1},  {u"sportident"_s, QV_FILETYPE_SPORTIDENT},
        {u"oevent"_s, QV_FILETYPE_OEVENT},   {u"import"_s, QV_FILETYPE_IMPORT_ONLY},
    };
    for (const auto& [text, kind] : kinds)
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return kind;
    return std::nullopt;
}

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
    return std::nullopt;
}

std::optional<qint32> mergeMode(const QString& name) {
    if (name.compare(u"append"_s, Qt::CaseInsensitive) == 0)
        return QV_LOADMODE_APPEND;
    if (name.compare(u"id"_s, Qt::CaseInsensitive) == 0)
        return QV_LOADMODE_MERGE_ID;
    if (name.compare(u"name"_s, Qt::CaseInsensitive) == 0)
        return QV_LOADMODE_MERGE_NAME;
    bool ok = false;
    const qint32 mode =
        name.startsWith(u"0x"_s, Qt::CaseInsensitive) ? name.mid(2).toInt(&ok, 16) : name.toInt(&ok);
    return ok && mode > 0 ? std::optional<qint32>(mode) : std::nullopt;
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
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption loadTypeOption(u"load-type"_s, QString(), u"KIND"_s, u"auto"_s);
    const QCommandLineOption mergeOption(u"merge"_s, QString(), u"MODE"_s, u"append"_s);
    const QCommandLineOption saveTypeOption(u"save-type"_s, QString(), u"KIND"_s, u"auto"_s);
    const QCommandLineOption fullOption(u"full"_s);
    const QCommandLineOption progressOption(u"progress"_s);
    const QCommandLineOption firstOption(u"first"_s);
    const QCommandLineOption helpOption(QStringList{u"h"_s, u"help"_s});
    parser.addOptions(
        {loadTypeOption, mergeOption, saveTypeOption, fullOption, progressOption, firstOption, helpOption});

    const auto usageError = [&](const QString& text) {
        err << Program << u": "_s << text << u"\n\n"_s << usage();
        err.flush();
        return UsageError;
    };
    if (!parser.parse(QStringList{Program} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        out << usage();
        out.flush();
        return Done;
    }
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(u"a command is needed (info or convert)"_s);
    const QString command = positional.takeFirst();
    const bool converting = command == u"convert"_s;
    if (!converting && command != u"info"_s)
        return usageError(u"unknown command \"%1\""_s.arg(command));
    if (positional.size() < (converting ? 2 : 1))
        return usageError(converting ? u"convert needs at least one input and an output"_s
                                     : u"info needs at least one input"_s);
    const auto type = loadType(parser.value(loadTypeOption));
    if (!type)
        return usageError(u"unknown load type \"%1\""_s.arg(parser.value(loadTypeOption)));
    const auto merge = mergeMode(parser.value(mergeOption));
    if (!merge)
        return usageError(u"unknown merge mode \"%1\""_s.arg(parser.value(mergeOption)));
    const auto save = saveType(parser.value(saveTypeOption));
    if (!save)
        return usageError(u"unknown save type \"%1\""_s.arg(parser.value(saveTypeOption)));
    const QString output = converting ? positional.takeLast() : QString();

    clsQuorvelin2 root;
    clsConsoleFileHost host(in, err, parser.isSet(firstOption));
    clsFileControl& files = *root.FileControl();
    files.setHost(&host);
    files.setProgressVisible(parser.isSet(progressOption));
    for (qsizetype k = 0; k < positional.size(); ++k) {
        const QString& input = positional[k];
        basQuorvelin2::SetErrorComment(QString());
        if (!files.LoadLapFile(input, *type, k == 0 ? QV_LOADMODE_NORMAL : *merge)) {
            err << Program << u": "_s << input << u": "_s << failure(root, u"not loaded"_s) << u'\n';
            err.flush();
            return FileFailed;
        }
    }

    if (!converting) {
        describe(root, out);
        out.flush();
        return Done;
    }
    const qint32 saveMode = parser.isSet(fullOption) ? QV_SAVEMODE_FULL : QV_SAVEMODE_NORMAL;
    basQuorvelin2::SetErrorComment(QString());
    if (!files.SaveLapFile(output, *save, saveMode)) {
        err << Program << u": "_s << output << u": "_s << failure(root, u"not written"_s) << u'\n';
        err.flush();
        return FileFailed;
    }
    return Done;
}

} // namespace basCliCommands
