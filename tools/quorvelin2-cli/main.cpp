#include "basCliCommands.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    // Taken before the application object, which would take Qt's own options (--style) away.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Charts are painted with fonts, which need the GUI application; no window is ever shown, so
    // no display is needed either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvelin2"));
    QTextStream in(stdin), out(stdout), err(stderr);
    return basCliCommands::run(arguments, in, out, err);
}
