// The finish program's entry point.
#include "basBrevanto2.h"
#include "clsQtUserPrompt.h"

#ifdef BREVANTO_SHELL_FULL
#include "basCommandLine.h"
#endif

#include <QApplication>

int main(int argc, char** argv) {
#ifdef BREVANTO_SHELL_FULL
    return basCommandLine::main(argc, argv);
#else
    QApplication app(argc, argv);
    clsQtUserPrompt prompt;
    return basBrevanto2::startUp({}, prompt, [] { return 1; });
#endif
}
