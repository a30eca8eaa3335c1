#include "StageTestSupport.h"

#include <fstream>
#include <stdexcept>

#include "support/LocalTime.h"
#include "support/TempMachine.h"

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
    std::filesystem::path path = sourceDir() / "tests" / "database" / "expected" / fileName;
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("missing fixture " + path.string());
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

}  // namespace tessaron::testing
