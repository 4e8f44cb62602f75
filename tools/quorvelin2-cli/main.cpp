#include "basCliCommands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvelin2"));
    QTextStream in(stdin), out(stdout), err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return basCliCommands::run(arguments, in, out, err);
}
