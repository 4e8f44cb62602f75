#pragma once

#include <QStringList>
#include <QTextStream>

// "quorvelin2 chart INPUT... --mode N --output FILE.png": a data set's chart of one mode drawn
// and saved as PNG; the written file names go to out.
namespace basCliChart {

// arguments after the command name.
int run(const QStringList& arguments, QTextStream& in, QTextStream& out, QTextStream& err);

} // namespace basCliChart
