#pragma once

#include <QStringList>
#include <QTextStream>

// "quorvelin2 text KIND INPUT...": the mail text, the result list or one of the two CSV exports
// of each data set, in Windows-31J or UTF-8, to a file or standard output.
namespace basCliText {

// arguments after the command name.
int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err);

} // namespace basCliText
