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

// The site a step sets up: a new one at the first free number, or the one
// an existing display name selects.
struct Site {
    Object object;
    std::string path;    // IIS://LocalHost/<service>/<number>
    std::string number;  // as text; "0" when no site bears the display name
    bool created;

    // No site bears the selected display name.
    bool missing() const { return !created && number == "0"; }
};

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
    void clearFailure() { run.failure.clear(); }
    void log(const std::string& line) { run.AddProgressText(line); }
    // Logs a line that ends the stage.
    bool end(const std::string& line) {
        log(line);
        return false;
    }
    // The test after a group of operations: true when none failed since the
    // last clear; otherwise logs failureLine + the failure's description,
    // which ends the stage, and returns false.
    bool test(const std::string& failureLine) {
        return !failed() || end(failureLine + description());
    }

    // Every operation below records a failure instead of throwing. Without
    // an object (an earlier open or create failed) an operation fails as a
    // call on nothing does ("Object required").

    // Opens a path; a failure leaves no object.
    Object open(const std::string& path);
    // Creates a child of an object, uncommitted; a failure leaves none.
    Object create(Object& parent, const std::string& className, const std::string& name);
    // Opens parentPath + "/" + name; when that fails, clears the failure and
    // creates the child instead, so that only the creation can fail.
    Object openOrCreate(Object& parent, const std::string& parentPath, const std::string& className,
                        const std::string& name);
    // Selection kCreateNewSite: creates a site of className at the service's
    // first free number (the search clears the failure). Any other
    // selection: the number of the last site whose display name it is, and
    // that site opened; no object when none is ("0"). The callers test and
    // log, as each site has its own lines.
    Site selectSite(Object& service, const std::string& servicePath, const std::string& className,
                    const std::string& selection);

    // Runs an operation on an object.
    template <typename Operation>
    auto on(Object& object, Operation&& operation) {
        return run.attempt([&] {
            if (!object) throw PlatformError(424, "Object required");
            return operation(*object);
        });
    }
    // Sets a property of any kind: one parameter of the value type rather
    // than an overload per kind, so that a string literal is text and never
    // converts to a boolean.
    void put(Object& object, const std::string& property, const MetabaseValue& value) {
        on(object, [&](MetabaseObject& o) { o.Put(property, value); });
    }
    // SetInfo.
    void commit(Object& object) {
        on(object, [](MetabaseObject& o) { o.SetInfo(); });
    }
    void start(Object& object) {
        on(object, [](MetabaseObject& o) { o.Start(); });
    }
};

// A folder as a site's root Path holds it: without a trailing backslash
// (except a drive's root, "D:\"), so that a folder read back from config.inc,
// which writes it with one, gives the Path a new site was given.
inline std::string rootFolderPath(std::string folder) {
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

bool setUpApplicationPool(Stage& stage);
bool setUpControlPanelSite(Stage& stage);
bool setUpFtpSite(Stage& stage);
bool setUpSharedSecureSite(Stage& stage);
bool setUpPreviewSite(Stage& stage);

}  // namespace tessaron::webserver
