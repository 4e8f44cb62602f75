#include "basCliCommands.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    // Taken before the application object, which would take Qt's own options (--style) away.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Charts are painted with fonts, which need the GUI application. No window is ever shown, so
    // it runs on the offscreen platform; the commands that paint nothing keep the plain one.
    const bool paints = argc > 1 && (std::strcmp(argv[1], "chart") == 0 || std::strcmp(argv[1], "html") == 0);
    std::unique_ptr<QCoreApplication> app;
    if (paints) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("quorvelin2"));
    QTextStream in(stdin), out(stdout), err(stderr);
    return basCliCommands::run(arguments, in, out, err);
}
