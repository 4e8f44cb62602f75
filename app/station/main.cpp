// The finish station without a window: the console station and the exports, in a program
// that links no widgets.
#include "basCommandLine.h"

int main(int argc, char** argv) {
    return basCommandLine::main(argc, argv, {});
}
