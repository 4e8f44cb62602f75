// The finish program's entry point.
#include "basCommandLine.h"

int main(int argc, char** argv) {
    return basCommandLine::main(argc, argv);
}
