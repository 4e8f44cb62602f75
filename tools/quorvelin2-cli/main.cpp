#include "basCliCommands.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    // Charts are painted with fonts, which need the GUI application; no window is ever shown, so
    // no display is needed either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvelin2"));
    QTextStream in(stdin), out(stdout), err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return basCliCommands::run(arguments, in, out, err);
}
