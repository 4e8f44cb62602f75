#pragma once

#include <QStringList>
#include <QTextStream>

// "quorvelin2 html INPUT... OUTDIR": the event published as a page set in OUTDIR, one option per
// parameter of the file control's OutputHtml. Without options: an index, the four page kinds of
// every class and charts 0, 2 and 5; the index path is printed.
namespace basCliHtml {

// The lines the command adds to the tool's usage text.
QString usage();

// arguments after the command name.
int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err);

} // namespace basCliHtml
