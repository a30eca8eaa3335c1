#include "StageTestSupport.h"

#include "platform/Text.h"
#include "support/Fixtures.h"
#include "support/LocalTime.h"

namespace tessaron::testing {

StageRun::StageRun(Database& database, SettingsRecord initialSettings)
    : settings(std::move(initialSettings)),
      platform(database),
      run(settings, options, platform, log) {
    options.InitializeDatabase = true;
    run.now = pinnedNow;
}

std::chrono::system_clock::time_point pinnedNow() {
    return localTime(2004, 3, 7, 14, 5, 9);
}

std::vector<std::string> expectedStatements(const std::string& fileName) {
    std::vector<std::string> lines;
    for (auto& line : splitText(fixtureBytes("database/" + fileName), "\n")) {
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tessaron::testing
