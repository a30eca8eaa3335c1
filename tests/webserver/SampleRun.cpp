#include "SampleRun.h"

#include "platform/WindowsPath.h"

namespace tessaron::testing {

SettingsRecord wholeRunSettings() {
    return sampleSettings({kSample2003, kAllSitesNew, kFilledInWindow});
}

Lines fileLines(const std::string& text) {
    Lines lines = splitText(text, "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

Lines tailOf(const std::string& text) {
    const auto lines = fileLines(text);
    return lines.size() <= 69 ? Lines() : Lines(lines.begin() + 69, lines.end());
}

TestMachine preparedSample(const std::function<void(const TestMachine&)>& prepare) {
    auto machine = TestMachine::sample("windows2003");
    if (prepare) prepare(machine);
    return machine;
}

}  // namespace tessaron::testing
