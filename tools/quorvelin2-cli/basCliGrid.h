#pragma once

#include <QStringList>
#include <QTextStream>

// "quorvelin2 grid INPUT...": each data set's analysis laid out in a text grid and printed, one
// line per row with the cells separated by TAB, optionally with the cells' colour kinds.
namespace basCliGrid {

// arguments after the command name.
int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err);

} // namespace basCliGrid
