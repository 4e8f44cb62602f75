#pragma once

// The program's command line: the window (the default), the console station, and the batch
// exports.

#include "basBrevanto2.h"

#include <QString>
#include <QStringList>

#include <functional>

class UserPrompt;

namespace basCommandLine {

struct Options {
    bool console = false;
    bool listen = false;
    QString data;      // data folder to open
    QString port;      // serial device of the reading unit
    QString exportCsv; // write the CSV per card read and end
    QString exportLap; // save the lap file and end
    QString exportIof; // save an IOF XML 3.0 result list and end
    QString settings;  // machine settings file instead of the user's
    int listenPort = 2035;
    QString ticketPrinter;                      // the console station prints a lap ticket per new read on it
    QString ticketFolder;                       // ... or writes one PDF per new read into it
    QString ticketPaper = QStringLiteral("80"); // roll width in mm, 58 or 80
    bool help = false;                          // print the usage and end
    bool version = false;                       // print the version and end
    QString error;                              // a bad command line

    // Live results of the console station: the folder, and the analysis pages too.
    QString publish;
    bool publishAnalysis = false;
};

Options parse(const QStringList& arguments);
// The usage of the program of that name, with or without its window.
QString usage(const QString& program = QStringLiteral("brevanto2"), bool window = true);

// The analysis library's version through its root object, created by identifier.
basBrevanto2::VersionSource libraryVersion();

// Batch export: 0 on success, otherwise 2 with the reason on the error stream.
int runExport(const Options& options, UserPrompt& prompt);
// The console station until it is stopped; 2 at once when it has no folder, cannot open it or
// cannot open the port.
int runConsole(const Options& options, UserPrompt& prompt);
// True when the console station prints lap tickets (it then paints, with fonts).
bool printsTickets(const Options& options);
// The absolute path of a data folder given on the command line, ending in a separator.
QString folderPath(const QString& folder);

// The window, for the program that has one: makes the application object and runs the start.
using WindowStart = std::function<int(int& argc, char** argv, const Options& options)>;
// The whole program. Without a window start the console station runs unless an export is asked.
int main(int argc, char** argv, const WindowStart& window);

} // namespace basCommandLine
