#include "webserver/WebServerStage.h"

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

namespace {

// Saves the metabase's commits when the stage ends, by whatever path: the
// store keeps them in memory so that the stage writes its file once.
class SaveMetabaseOnExit {
public:
    explicit SaveMetabaseOnExit(Metabase& iis) : iis_(iis) {}
    ~SaveMetabaseOnExit() {
        try {
            iis_.Flush();
        } catch (const PlatformError&) {
            // The store keeps the commits and tries again when it goes.
        }
    }
    SaveMetabaseOnExit(const SaveMetabaseOnExit&) = delete;
    SaveMetabaseOnExit& operator=(const SaveMetabaseOnExit&) = delete;

private:
    Metabase& iis_;
};

std::optional<int> serverRelease(RunContext& run) {
    try {
        return run.platform.System().GetServerOSVersion();
    } catch (const PlatformError&) {
        return std::nullopt;  // a failed query counts as no release
    }
}

bool usesMicrosoftFtp(const SettingsRecord& settings) {
    return isTrue(settings.FTPServerEnabled) && settings.FTPServerType == "Microsoft FTP";
}

}  // namespace
}  // namespace webserver

bool RunWebServerStage(RunContext& run, HeldSiteNumbers& held) {
    using namespace webserver;
    if (!run.options.SetUpSites) return true;
    run.beginContinueOnError();
    Metabase& iis = run.platform.Iis();
    SaveMetabaseOnExit save(iis);
    Stage stage{run, held, iis, nullptr, nullptr, std::nullopt};

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
    stage.release = serverRelease(run);
    if (stage.onServer2003() && !SetUpApplicationPool(stage)) return false;
    return SetUpControlPanelSite(stage) && SetUpFtpSite(stage) && SetUpSharedSecureSite(stage) &&
           SetUpPreviewSite(stage);
}

}  // namespace tessaron
