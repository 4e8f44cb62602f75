#pragma once

#include <QStringList>
#include <QTextStream>

#include <optional>

class QCommandLineOption;
class QCommandLineParser;

// The quorvelin2 command line: "info" tells what lap files hold, "convert" loads one or more
// and saves them in another kind, "text" and "grid" show the analysis as text. Results go to out, progress,
// questions and errors to err, answers are read from in.
namespace basCliCommands {

enum ExitStatus { Done = 0, FileFailed = 1, UsageError = 2 };

inline const QString Program = QStringLiteral("quorvelin2");

// The usage text every command shows with --help and after a mistake.
QString usage();

// Tells a mistake in the use of a command (empty for the tool itself) on err, with the usage;
// gives UsageError.
int usageError(const QString& command, const QString& text, QTextStream& err);

// Parses a command's arguments. A mistake is told as usageError does, --help prints the usage on
// out; either gives the status to end with. Nothing means the command goes on.
std::optional<int> parseArguments(QCommandLineParser& parser, const QCommandLineOption& help,
                                  const QStringList& arguments, const QString& command, QTextStream& out,
                                  QTextStream& err);

// arguments without the program name.
int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err);

} // namespace basCliCommands
