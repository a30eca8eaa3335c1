#pragma once

// A web-server stage on a copy of a sample machine image, and a metabase
// that fails chosen operations for the failures a real file cannot produce.

#include <memory>
#include <string>
#include <vector>

#include "platform/ForwardingPlatform.h"
#include "platform/image/MachineImage.h"
#include "runcontext/RunContext.h"
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

// One operation of the metabase that is to fail: the operation's name
// ("Open", "Create", "Put", "SetInfo", "AppCreate", "AppCreate2", "Start"),
// the path of the object it acts on or opens, compared without regard to
// case ("IIS://LocalHost/W3SVC/3/ROOT"), and, for Put, the property.
struct InjectedFault {
    std::string operation;
    std::string path;
    std::string property = {};
};
inline const std::string kInjectedText = "Catastrophic failure";

// The image's platform, with its metabase failing the given operations with
// kInjectedText.
class FaultyPlatform : public ForwardingPlatform {
public:
    FaultyPlatform(Platform& inner, std::vector<InjectedFault> faults);
    ~FaultyPlatform() override;
    Metabase& Iis() override;

private:
    std::unique_ptr<Metabase> metabase_;
};

// The stage's run on a copy of a sample.
struct StageMachine {
    explicit StageMachine(const std::string& sample, SettingsRecord record = allNewSitesSettings(),
                          std::vector<InjectedFault> faults = {});

    // True when no error line ended the stage; its site numbers go to held.
    bool runStage() {
        auto result = runWebServerStage(run);
        held = result.held;
        return !result.endedOnError;
    }
    // The metabase as a fresh store reads it from the file.
    std::unique_ptr<Metabase> metabaseOnDisk() const;
    std::string metabasePath() const;

    TestMachine machine;
    SettingsRecord settings;
    InstallOptions options;
    std::unique_ptr<MachineImage> image;
    std::unique_ptr<FaultyPlatform> platform;
    ProgressLog log;
    RunContext run;
    HeldSiteNumbers held;
};

// Text of a property as a fresh read shows it; "(unset)" when the property
// is not set, "(missing)" when the key does not exist.
std::string propertyText(Metabase& metabase, const std::string& path, const std::string& property);

}  // namespace tessaron::testing
