// Program start of the build without the window: the unattended front end.
#include "main/ProgramArguments.h"
#include "main/UnattendedStart.h"

int main(int argc, char** argv) {
    return tessaron::startup::runFromConsole(tessaron::startup::programArguments(argc, argv));
}
