#pragma once

#include <QStringList>
#include <QTextStream>

// The quorvelin2 command line: "info" tells what lap files hold, "convert" loads one or more
// and saves them in another kind, "text" and "grid" show the analysis as text. Results go to out, progress,
// questions and errors to err, answers are read from in.
namespace basCliCommands {

enum ExitStatus { Done = 0, FileFailed = 1, UsageError = 2 };

// The usage text every command shows with --help and after a mistake.
QString usage();

// arguments without the program name.
int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err);

} // namespace basCliCommands
