// Start of tessaron-config, the Linux program: every mode without the window
// runs here, in a process that loads no Qt library; the settings window and
// its screenshots are handed over to tessaron-config-window beside it.
#include <variant>

#include "main/ProgramArguments.h"
#include "main/ProgramStart.h"
#include "main/WindowHandover.h"

int main(int argc, char** argv) {
    using namespace tessaron::startup;
    const auto start = startWithoutWindow(programArguments(argc, argv));
    if (const int* status = std::get_if<int>(&start)) return *status;
    return handOverToWindowProgram(argv);
}
