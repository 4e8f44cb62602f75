#pragma once

// The program's command line: the window (the default), the console station, and the batch
// exports.

#include "basBrevanto2.h"

#include <QString>
#include <QStringList>

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
    QString error; // a bad command line
};

Options parse(const QStringList& arguments);
QString usage();

// The analysis library's version through its root object, created by identifier.
basBrevanto2::VersionSource libraryVersion();

// Batch export: 0 on success, otherwise 2 with the reason on the error stream.
int runExport(const Options& options, UserPrompt& prompt);
// The console station until it is stopped.
int runConsole(const Options& options, UserPrompt& prompt);
// The main window until it is closed.
int runWindow(const Options& options, UserPrompt& prompt);

int main(int argc, char** argv);

} // namespace basCommandLine
