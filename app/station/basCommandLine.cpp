#include "basCommandLine.h"

#include "basLapExport.h"
#include "basPath.h"
#include "basQuorvelin2.h"
#include "clsConsolePrompt.h"
#include "clsConsoleStation.h"
#include "clsEventSettingFile.h"
#include "clsFinishStation.h"
#include "clsQuorvelin2.h"
#include "clsTicketPrinter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace basCommandLine {
namespace {

void fail(const QString& text) {
    std::fprintf(stderr, "brevanto2: %s\n", text.toUtf8().constData());
}

} // namespace

QString folderPath(const QString& folder) {
    return basPath::folderOf(QDir(folder).absolutePath() + u'/');
}

Options parse(const QStringList& arguments) {
    Options o;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto value = [&](QString& target) {
            if (i + 1 >= arguments.size()) {
                o.error = a + u" needs a value"_s;
                return;
            }
            target = arguments[++i];
        };
        if (a == u"-h"_s || a == u"--help"_s) {
            o.help = true;
            return o;
        }
        if (a == u"--version"_s) {
            o.version = true;
            return o;
        }
        if (a == u"--console"_s)
            o.console = true;
        else if (a == u"--listen"_s)
            o.listen = true;
        else if (a == u"--data"_s)
            value(o.data);
        else if (a == u"--port"_s)
            value(o.port);
        else if (a == u"--export-csv"_s)
            value(o.exportCsv);
        else if (a == u"--export-lap"_s)
            value(o.exportLap);
        else if (a == u"--export-iof"_s)
            value(o.exportIof);
        else if (a == u"--settings"_s)
            value(o.settings);
        else if (a == u"--publish"_s)
            value(o.publish);
        else if (a == u"--publish-analysis"_s)
            o.publishAnalysis = true;
        else if (a == u"--listen-port"_s) {
            QString port;
            value(port);
            bool ok = false;
            o.listenPort = port.toInt(&ok);
            if (!ok || o.listenPort < 0 || o.listenPort > 65535)
                o.error = u"bad port: "_s + port;
        } else if (a == u"--print-tickets"_s) {
            value(o.ticketPrinter);
        } else if (a == u"--ticket-folder"_s) {
            value(o.ticketFolder);
        } else if (a == u"--ticket-paper"_s) {
            value(o.ticketPaper);
            if (o.error.isEmpty() && o.ticketPaper != u"58"_s && o.ticketPaper != u"80"_s)
                o.error = u"--ticket-paper is 58 or 80 (mm): "_s + o.ticketPaper;
        } else if (!a.startsWith(u'-') || a == u"-platform"_s || a == u"-style"_s) {
            // Options of the toolkit pass through.
            if (a.startsWith(u'-'))
                ++i;
        } else {
            o.error = u"unknown option: "_s + a;
        }
        if (!o.error.isEmpty())
            return o;
    }
    if ((!o.exportCsv.isEmpty() || !o.exportLap.isEmpty() || !o.exportIof.isEmpty()) && o.data.isEmpty())
        o.error = u"an export needs --data FOLDER"_s;
    if (!o.ticketPrinter.isEmpty() && !o.ticketFolder.isEmpty())
        o.error = u"--print-tickets and --ticket-folder exclude each other"_s;
    return o;
}

QString usage(const QString& program, bool window) {
    QStringList forms;
    if (window)
        forms << u"[--data FOLDER] [--port DEVICE] [--settings FILE]"_s;
    forms << (window ? u"--console"_s : u"[--console]"_s) +
                 u" --data FOLDER [--port DEVICE] [--listen [--listen-port N]]"_s +
                 u" [--print-tickets PRINTER | --ticket-folder DIR [--ticket-paper 58|80]]"_s
                 u" [--publish DIR [--publish-analysis]]"_s
          << u"--data FOLDER --export-csv FILE"_s << u"--data FOLDER --export-lap FILE"_s
          << u"--data FOLDER --export-iof FILE"_s << u"-h | --help | --version"_s;
    QString text;
    for (qsizetype i = 0; i < forms.size(); ++i)
        text += (i == 0 ? u"usage: "_s : u"       "_s) + program + u' ' + forms[i] + u'\n';
    text += u"\n"
            u"  --data FOLDER       the event's data folder\n"
            u"  --port DEVICE       the reading unit's serial device (9600 baud, 8N2, read only)\n"
            u"  --console           no window: every card read is printed on standard output\n"
            u"  --listen            accept commands from other PCs on TCP port 2035 (or N)\n"
            u"  --print-tickets PRINTER  print a lap ticket for each new read on the printer\n"
            u"  --ticket-folder DIR write each new read's lap ticket into DIR as a PDF\n"
            u"  --ticket-paper MM   the tickets' roll width: 80 (default) or 58\n"
            u"  --publish DIR       keep the result pages and the latest reads in DIR\n"
            u"  --publish-analysis  publish the analysis pages too\n"_s;
    if (window)
        text += u"  --settings FILE     the machine settings file instead of the user's\n"_s;
    text += u"  --export-csv FILE   write the CSV per card read, then end\n"
            u"  --export-lap FILE   save the lap file, of the kind its extension names, then end\n"
            u"  --export-iof FILE   save the results as an IOF XML 3.0 result list, then end\n"
            u"  -h, --help          this text\n"
            u"  --version           the program's version\n"_s;
    return text;
}

basBrevanto2::VersionSource libraryVersion() {
    return []() -> std::optional<QString> {
        const std::shared_ptr<QObject> created =
            basQuorvelin2::CreateObject(QStringView(basQuorvelin2::RootIdentifier));
        const auto* root = qobject_cast<const clsQuorvelin2*>(created.get());
        if (!root)
            return std::nullopt;
        return root->Version(false);
    };
}

int runExport(const Options& options, UserPrompt& prompt) {
    if (!QFileInfo(options.data).isDir()) {
        fail(u"no data folder: "_s + options.data);
        return 2;
    }
    const QString folder = folderPath(options.data);
    const clsEventSettingFile ini = clsEventSettingFile::read(folder);
    clsFinishStation station(&prompt);
    station.openFolder(folder, ini.PenacheckRule);
    int rc = 0;
    if (!options.exportCsv.isEmpty()) {
        const basTextFile::Result r = station.writeCsv(options.exportCsv);
        if (!r) {
            fail(u"cannot write "_s + options.exportCsv + u": "_s + r.error);
            rc = 2;
        }
    }
    for (const bool iof : {false, true}) {
        const QString& target = iof ? options.exportIof : options.exportLap;
        if (target.isEmpty())
            continue;
        const auto root =
            station.Quorvelin2Object(ini.EventName, ini.EventDate, basBrevanto2::windowCaption());
        QString error;
        if (!root) {
            fail(u"the analysis library cannot make its root object"_s);
            rc = 2;
        } else if (!(iof ? basLapExport::saveIof3(*root, target, &error)
                         : basLapExport::save(*root, target, &error))) {
            fail(u"cannot save "_s + target + u": "_s + error);
            rc = 2;
        }
    }
    return rc;
}

int runConsole(const Options& options, UserPrompt& prompt) {
    // Without a folder there is nothing to read into: say so rather than wait.
    if (options.data.isEmpty()) {
        fail(u"the console station needs a data folder: --data FOLDER"_s);
        return 2;
    }
    clsConsoleStation console(&prompt, stdout);
    if (!console.openFolder(options.data))
        return 2;
    if (options.port.isEmpty())
        console.reportNoPort();
    else if (!console.connectPort(options.port))
        return 2;
    if (options.listen && !console.listen(options.listenPort))
        return 2;
    if (printsTickets(options) && !console.printTickets(options.ticketPrinter, options.ticketFolder,
                                                        clsLapTicket::paperOf(options.ticketPaper)))
        return 2;
    if (!options.publish.isEmpty())
        console.publish(options.publish, options.publishAnalysis);
    return QCoreApplication::exec();
}

bool printsTickets(const Options& options) {
    return !options.ticketPrinter.isEmpty() || !options.ticketFolder.isEmpty();
}

int main(int argc, char** argv, const WindowStart& window) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString name = arguments.isEmpty() ? QString() : QFileInfo(arguments[0]).fileName();
    const QString program = name.isEmpty() ? u"brevanto2"_s : name;
    const Options options = parse(arguments);
    if (options.help) {
        std::fputs(usage(program, bool(window)).toUtf8().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s %s\n", program.toUtf8().constData(),
                    basBrevanto2::programVersion().toUtf8().constData());
        return 0;
    }
    if (!options.error.isEmpty()) {
        fail(options.error);
        std::fputs(usage(program, bool(window)).toUtf8().constData(), stderr);
        return 2;
    }
    const bool exporting =
        !options.exportCsv.isEmpty() || !options.exportLap.isEmpty() || !options.exportIof.isEmpty();
    // The program without a window is the console station unless it exports.
    const bool console = options.console || (!exporting && !window);
    if (console || exporting) {
        // Tickets are painted with fonts, which need the GUI application; no window is ever
        // shown, so it runs on the offscreen platform.
        std::unique_ptr<QCoreApplication> app;
        if (console && printsTickets(options)) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
        } else {
            app = std::make_unique<QCoreApplication>(argc, argv);
        }
        clsConsolePrompt prompt;
        return basBrevanto2::startUp(libraryVersion(), prompt, [&] {
            return console ? runConsole(options, prompt) : runExport(options, prompt);
        });
    }
    return window(argc, argv, options);
}

} // namespace basCommandLine
