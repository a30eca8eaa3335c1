#include "CommandsLog.h"

namespace tessaron::testing {

std::vector<std::string> commandsLogLines(const TestMachine& machine) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : readBytes(machine.root() / "commands.log")) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace tessaron::testing
