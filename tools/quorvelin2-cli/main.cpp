#include "basCliCommands.h"
#include "clsQuorvelin2.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvelin2"));
    QTextStream in(stdin), out(stdout), err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.contains(QStringLiteral("--version"))) {
        out << QStringLiteral("quorvelin2 ") << clsQuorvelin2().Version(true) << Qt::endl;
        return 0;
    }
    return basCliCommands::run(arguments, in, out, err);
}
