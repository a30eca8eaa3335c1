#include "WebServerStageRun.h"

#include <filesystem>
#include <utility>

namespace tessaron::testing {

SettingsRecord allNewSitesSettings() {
    return sampleSettings({kSample2003, kAllSitesNew});
}

WebServerStageRun::WebServerStageRun(TestMachine machine, SettingsRecord record,
                                     std::vector<InjectedFault> faults)
    : MachineRun(std::move(machine), std::move(record), {.SetUpSites = true}, nullptr,
                 faultyMetabase(std::move(faults))) {}

bool WebServerStageRun::runStage() {
    auto result = runWebServerStage(run);
    held = result.held;
    return !result.endedOnError;
}

std::string WebServerStageRun::metabasePath() const {
    return std::filesystem::exists(machine.host(kMetabase2003)) ? kMetabase2003 : kMetabase2000;
}

std::unique_ptr<Metabase> WebServerStageRun::metabaseOnDisk() const {
    return createImageMetabase(machine.host(metabasePath()));
}

std::string propertyText(Metabase& metabase, const std::string& path, const std::string& property) {
    std::unique_ptr<MetabaseObject> object;
    try {
        object = metabase.Open(path);
    } catch (const PlatformError&) {
        return "(missing)";
    }
    try {
        return metabaseValueText(object->Get(property));
    } catch (const PlatformError&) {
        return "(unset)";
    }
}

}  // namespace tessaron::testing
