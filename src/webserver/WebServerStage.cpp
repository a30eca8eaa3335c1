#include "webserver/WebServerStage.h"

#include "webserver/SiteNumbers.h"
#include "webserver/WebServerSteps.h"

namespace tessaron {
namespace webserver {

Object Stage::open(const std::string& path) {
    auto object = run.attempt([&] { return iis.Open(path); });
    return object ? std::move(*object) : nullptr;
}

Object Stage::create(Object& parent, const std::string& className, const std::string& name) {
    auto object = on(parent, [&](MetabaseObject& o) { return o.Create(className, name); });
    return object ? std::move(*object) : nullptr;
}

Object Stage::openOrCreate(Object& parent, const std::string& parentPath,
                           const std::string& className, const std::string& name) {
    if (auto child = open(parentPath + "/" + name)) return child;
    clearFailure();
    return create(parent, className, name);
}

Site Stage::selectSite(Object& service, const std::string& servicePath,
                       const std::string& className, const std::string& selection) {
    if (selection == kCreateNewSite) {
        const auto number = std::to_string(FindFreeSiteNumber(iis, servicePath));
        clearFailure();
        return {create(service, className, number), servicePath + "/" + number, number, true};
    }
    const auto number = on(service, [&](MetabaseObject& o) {
                            return FindSiteByComment(o, className, selection);
                        }).value_or("0");
    const auto path = servicePath + "/" + number;
    // The opening of a site found by its name is not tested: a failure shows
    // at the step's next test.
    return {number == "0" ? nullptr : open(path), path, number, false};
}

namespace {

bool usesMicrosoftFtp(const SettingsRecord& settings) {
    return isTrue(settings.FTPServerEnabled) && settings.FTPServerType == "Microsoft FTP";
}

// Everything the stage commits, in the order of its steps. False when an
// error line ended the stage.
bool setUpSites(Stage& stage) {
    RunContext& run = stage.run;
    stage.webService = stage.open(kWebService);
    if (stage.failed()) {
        return stage.end("ERROR: Could not retrieve IIS web information - " + stage.description());
    }
    if (usesMicrosoftFtp(run.settings)) {
        stage.ftpService = stage.open(kFtpService);
        if (stage.failed()) {
            return stage.end("ERROR: Could not retrieve IIS FTP information - " +
                             stage.description());
        }
    }
    // Without the release the stage cannot tell whether the sites belong in
    // an application pool, so it ends as the checks do on a failed query.
    auto release = run.attempt([&] { return run.platform.System().GetServerOSVersion(); });
    if (!release) {
        run.RunError = true;
        return stage.end("ERROR: Could not read the operating system release - " +
                         stage.description());
    }
    stage.release = *release;
    if (stage.onServer2003() && !setUpApplicationPool(stage)) return false;
    return setUpControlPanelSite(stage) && setUpFtpSite(stage) && setUpSharedSecureSite(stage) &&
           setUpPreviewSite(stage);
}

// Saves what the stage committed, however it ended: the store keeps commits
// in memory so that the stage writes its file once. A save that fails leaves
// the sites out of the metabase, so the append step must not name them.
bool saveMetabase(Stage& stage) {
    stage.run.failure.clear();
    if (stage.run.attempt([&] { stage.iis.Flush(); })) return true;
    stage.run.RunError = true;
    return stage.end("ERROR: Could not save the IIS metabase - " + stage.description());
}

}  // namespace
}  // namespace webserver

WebServerResult runWebServerStage(RunContext& run) {
    using namespace webserver;
    WebServerResult result;
    Stage stage{run, result.held, run.platform.Iis(), nullptr, nullptr, std::nullopt};
    const bool completed = setUpSites(stage);
    // The stage's objects go before the save, as the stage's end releases them.
    stage.webService.reset();
    stage.ftpService.reset();
    result.endedOnError = !(saveMetabase(stage) && completed);
    return result;
}

}  // namespace tessaron
