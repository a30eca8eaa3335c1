#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "runcontext/ProgressLog.h"
#include "runcontext/RunContext.h"
#include "settings/SettingsRecord.h"
#include "support/SampleSettings.h"

namespace tessaron::testing {

// A platform whose only working service is the database service handed in;
// the stage needs nothing else.
class DatabaseOnlyPlatform : public Platform {
public:
    explicit DatabaseOnlyPlatform(Database& database) : database_(database) {}
    SystemQueries& System() override { throw unavailable("system queries"); }
    Wmi& Management() override { throw unavailable("WMI"); }
    FileSystem& Files() override { throw unavailable("file system"); }
    Metabase& Iis() override { throw unavailable("metabase"); }
    Database& Databases() override { return database_; }
    std::unique_ptr<PanelComponent> CreatePanelComponent() override {
        throw unavailable("panel component");
    }
    std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds) override {
        throw unavailable("machine lock");
    }

private:
    static PlatformError unavailable(const std::string& what) {
        return PlatformError("no " + what + " in the database tests");
    }
    Database& database_;
};

// A run of the database stage: settings, options, log and context together.
struct StageRun {
    explicit StageRun(Database& database, SettingsRecord settings);

    SettingsRecord settings;
    InstallOptions options;
    DatabaseOnlyPlatform platform;
    ProgressLog log;
    RunContext run;

    std::vector<std::string> lines() const { return log.entries(); }
};

// 7 March 2004, 14:05:09 local time.
std::chrono::system_clock::time_point pinnedNow();

// The non-empty lines of a fixture under tests/data/database, without the
// line ends.
std::vector<std::string> expectedStatements(const std::string& fileName);

}  // namespace tessaron::testing
