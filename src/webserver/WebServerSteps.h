#pragma once

// The steps of the web-server stage and what they share. Each step returns
// false when it logged an error line that ends the stage.

#include <memory>
#include <optional>
#include <string>

#include "platform/Metabase.h"
#include "platform/MetabasePaths.h"
#include "runcontext/RunContext.h"
#include "settings/SiteChoices.h"
#include "webserver/WebServerStage.h"

namespace tessaron::webserver {

using iis_paths::kAppPools;
using iis_paths::kFtpService;
using iis_paths::kWebService;

using Object = std::unique_ptr<MetabaseObject>;

// State held for the length of the stage.
struct Stage {
    RunContext& run;
    HeldSiteNumbers& held;
    Metabase& iis;
    Object webService;
    Object ftpService;
    std::optional<int> release;  // 2000, 2003 or none

    bool onServer2003() const { return release == 2003; }
    bool failed() const { return run.failure.failed(); }
    const std::string& description() const { return run.failure.description(); }
    void log(const std::string& line) { run.AddProgressText(line); }
    // Logs a line that ends the stage.
    bool end(const std::string& line) {
        log(line);
        return false;
    }

    // Opens a path; a failure is recorded and leaves no object.
    Object open(const std::string& path);
    // Runs an operation on an object; a failure is recorded. Without an
    // object (an earlier open or create failed) the operation fails as a
    // call on nothing does ("Object required").
    template <typename Operation>
    auto on(Object& object, Operation&& operation) {
        return run.attempt([&] {
            if (!object) throw PlatformError(424, "Object required");
            return operation(*object);
        });
    }
    // Creates a child of an object; a failure is recorded and leaves none.
    Object create(Object& parent, const std::string& className, const std::string& name);
};

bool SetUpApplicationPool(Stage& stage);
bool SetUpControlPanelSite(Stage& stage);
bool SetUpFtpSite(Stage& stage);
bool SetUpSharedSecureSite(Stage& stage);
bool SetUpPreviewSite(Stage& stage);

}  // namespace tessaron::webserver
