#include "basCommandLine.h"

#include "basLapExport.h"
#include "basQuorvelin2.h"
#include "clsConsolePrompt.h"
#include "clsConsoleStation.h"
#include "clsEventSettingFile.h"
#include "clsFinishStation.h"
#include "clsMachineSettings.h"
#include "clsQtUserPrompt.h"
#include "clsQuorvelin2.h"
#include "ctlDataFolder.h"
#include "ctlEcard250Reader.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace basCommandLine {
namespace {

void fail(const QString& text) {
    std::fprintf(stderr, "brevanto2: %s\n", text.toUtf8().constData());
}

QString folderPath(const QString& folder) {
    return ctlDataFolder::folderOf(QDir(folder).absolutePath() + u'/');
}

} // namespace

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
        else if (a == u"--listen-port"_s) {
            QString port;
            value(port);
            bool ok = false;
            o.listenPort = port.toInt(&ok);
            if (!ok || o.listenPort < 0 || o.listenPort > 65535)
                o.error = u"bad port: "_s + port;
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
    return o;
}

QString usage() {
    return u"usage: brevanto2 [--data FOLDER] [--settings FILE]\n"
           u"       brevanto2 --console [--data FOLDER] [--port DEVICE] [--listen [--listen-port N]]\n"
           u"       brevanto2 --data FOLDER --export-csv FILE\n"
           u"       brevanto2 --data FOLDER --export-lap FILE\n"
           u"       brevanto2 --data FOLDER --export-iof FILE"_s;
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
    clsConsoleStation console(&prompt, stdout);
    if (!options.data.isEmpty() && !console.openFolder(options.data))
        return 2;
    if (!options.port.isEmpty() && !console.connectPort(options.port))
        return 2;
    if (options.listen && !console.listen(options.listenPort))
        return 2;
    return QCoreApplication::exec();
}

int runWindow(const Options& options, UserPrompt& prompt) {
    clsMachineSettings settings(options.settings);
    frmMain window(&prompt, &settings);
    if (auto* qt = dynamic_cast<clsQtUserPrompt*>(&prompt))
        qt->setParent(&window);
    // The device first: opening the folder connects the reading unit.
    if (!options.port.isEmpty() && window.ReaderPanel())
        window.ReaderPanel()->setDevicePath(options.port);
    if (!options.data.isEmpty())
        window.DataFolderControl()->SelectFolder(folderPath(options.data));
    window.show();
    return QApplication::exec();
}

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Options options = parse(arguments);
    if (!options.error.isEmpty()) {
        fail(options.error);
        std::fprintf(stderr, "%s\n", usage().toUtf8().constData());
        return 2;
    }
    const bool headless = options.console || !options.exportCsv.isEmpty() || !options.exportLap.isEmpty() ||
                          !options.exportIof.isEmpty();
    if (headless) {
        QCoreApplication app(argc, argv);
        clsConsolePrompt prompt;
        return basBrevanto2::startUp(libraryVersion(), prompt, [&] {
            return options.console ? runConsole(options, prompt) : runExport(options, prompt);
        });
    }
    QApplication app(argc, argv);
    clsQtUserPrompt prompt;
    return basBrevanto2::startUp(libraryVersion(), prompt, [&] { return runWindow(options, prompt); });
}

} // namespace basCommandLine
