#pragma once

// A web-server stage run on a test machine, and what its tests read back.

#include <memory>
#include <string>
#include <vector>

#include "FaultyPlatform.h"
#include "support/MachineRun.h"
#include "support/SampleSettings.h"
#include "support/TestMachine.h"
#include "webserver/WebServerStage.h"

namespace tessaron::testing {

using Lines = std::vector<std::string>;

inline const std::string kNewSite = kNewSiteChoice;
inline const std::string kMetabase2003 = "C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml";
inline const std::string kMetabase2000 = "C:\\WINNT\\system32\\inetsrv\\MetaBase.xml";

// The Windows Server 2003 sample's settings with every site new: Microsoft
// FTP, the shared secure and the preview site on, internal address 10.0.0.5.
SettingsRecord allNewSitesSettings();

// The web-server stage's run on a test machine (usually a copy of a sample),
// with the sites asked for and the metabase failing the given operations.
struct WebServerStageRun : MachineRun {
    explicit WebServerStageRun(TestMachine machine, SettingsRecord record = allNewSitesSettings(),
                               std::vector<InjectedFault> faults = {});

    // True when no error line ended the stage; its site numbers go to held.
    bool runStage();
    // The metabase as a fresh store reads it from the file.
    std::unique_ptr<Metabase> metabaseOnDisk() const;
    std::string metabasePath() const;

    HeldSiteNumbers held;
};

// Text of a property as a fresh read shows it; "(unset)" when the property
// is not set, "(missing)" when the key does not exist.
std::string propertyText(Metabase& metabase, const std::string& path, const std::string& property);

}  // namespace tessaron::testing
