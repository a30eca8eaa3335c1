// The shared secure site and the website preview site: two optional web
// sites on the internal address whose root is the accounts folder.
#include "webserver/SiteNumbers.h"
#include "webserver/WebServerSteps.h"

namespace tessaron::webserver {
namespace {

// What tells the two sites apart: their bindings, display name and lines.
struct OptionalSite {
    std::vector<std::string> serverBindings;
    std::optional<std::vector<std::string>> secureBindings;
    const char* comment;
    const char* createFailed;  // + number + " - " + description
    const char* setFailed;
    const char* rootDefinitionFailed;
    const char* rootApplicationFailed;
    const char* rootInformationFailed;
    const char* configured;
    const char* startFailed;  // + description
    const char* started;
};

// Finds or creates the site and sets it up. number holds the site's number
// as text (the selected site's Name when one is taken over).
bool setUpOptionalSite(Stage& stage, const OptionalSite& kind, const std::string& selection,
                       std::string& number) {
    const SettingsRecord& settings = stage.run.settings;
    Object site;
    if (selection == kCreateNewSite) {
        number = std::to_string(FindFreeSiteNumber(stage.iis, kWebService));
        stage.run.failure.clear();
        site = stage.create(stage.webService, "IIsWebServer", number);
        if (stage.failed()) {
            return stage.end(kind.createFailed + number + " - " + stage.description());
        }
    } else {
        number = stage
                     .on(stage.webService,
                         [&](MetabaseObject& web) {
                             return FindSiteByComment(web, "IIsWebServer", selection);
                         })
                     .value_or("0");
        if (number == "0") return stage.end("Could not find website \"" + selection + "\".");
        site = stage.open(std::string(kWebService) + "/" + number);  // not tested here
    }

    stage.on(site, [&](MetabaseObject& o) { o.Put("ServerBindings", kind.serverBindings); });
    if (kind.secureBindings) {
        stage.on(site, [&](MetabaseObject& o) { o.Put("SecureBindings", *kind.secureBindings); });
    }
    stage.on(site, [&](MetabaseObject& o) { o.Put("ServerComment", std::string(kind.comment)); });
    stage.on(site, [](MetabaseObject& o) { o.Put("KeyType", std::string("IIsWebServer")); });
    stage.on(site, [](MetabaseObject& o) { o.SetInfo(); });
    if (stage.failed()) return stage.end(kind.setFailed + stage.description());

    auto root = stage.open(std::string(kWebService) + "/" + number + "/ROOT");
    if (!root) {
        stage.run.failure.clear();
        root = stage.create(site, "IIsWebVirtualDir", "ROOT");
    }
    if (stage.failed()) return stage.end(kind.rootDefinitionFailed + stage.description());

    stage.on(root, [&](MetabaseObject& o) { o.Put("Path", settings.ServerRoot); });
    stage.on(root, [](MetabaseObject& o) { o.Put("AccessRead", true); });
    stage.on(root, [](MetabaseObject& o) { o.Put("AccessScript", true); });
    stage.on(root, [](MetabaseObject& o) { o.AppCreate(true); });
    if (stage.failed()) return stage.end(kind.rootApplicationFailed + stage.description());
    stage.on(root, [](MetabaseObject& o) { o.SetInfo(); });
    if (stage.failed()) return stage.end(kind.rootInformationFailed + stage.description());
    stage.log(kind.configured);

    stage.on(site, [](MetabaseObject& o) { o.Start(); });
    if (stage.failed()) {
        stage.log(kind.startFailed + stage.description());
        stage.run.failure.clear();
    } else {
        stage.log(kind.started);
    }
    return true;
}

}  // namespace

bool SetUpSharedSecureSite(Stage& stage) {
    SettingsRecord& settings = stage.run.settings;
    if (!isTrue(settings.EnableSharedSecure)) return true;
    settings.SharedSecureSVC = std::string("0");
    if (settings.SharedSecureSVCSelection == kNoSharedSecureSite) return true;
    const OptionalSite sharedSecure{
        {settings.InternalIP + ":80:nosite"},
        std::vector<std::string>{settings.InternalIP + ":443:"},
        "Tessaron - Shared Secure",
        "Could not create shared secure site at #",
        "ERROR: Could not set properties for new shared secure site - ",
        "ERROR: Could not create root application definition for shared secure site - ",
        "ERROR: Could not create root application for shared secure site - ",
        "ERROR: Could not set information for root application for shared secure site - ",
        "Shared secure website configured - be sure to set up a secure certificate and start the "
        "site!",
        "WARNING: Could not start shared secure site - ",
        "Shared secure site started.",
    };
    return setUpOptionalSite(stage, sharedSecure, settings.SharedSecureSVCSelection,
                             settings.SharedSecureSVC);
}

bool SetUpPreviewSite(Stage& stage) {
    const SettingsRecord& settings = stage.run.settings;
    if (!isTrue(settings.EnableWebsitePreview) || settings.PreviewSVCSelection == kNoPreviewSite) {
        return true;
    }
    const OptionalSite preview{
        {settings.InternalIP + ":80:"},
        std::nullopt,
        "Tessaron - Website Preview",
        "Could not create preview site at #",
        "ERROR: Could not set properties for new website preview site - ",
        "ERROR: Could not create root application definition for website preview site - ",
        "ERROR: Could not create root application for website preview site - ",
        "ERROR: Could not set information for root application for website preview site - ",
        "Website preview website configured.",
        "WARNING: Could not start Tessaron website preview site - ",
        "Tessaron website preview site started.",
    };
    return setUpOptionalSite(stage, preview, settings.PreviewSVCSelection, stage.held.preview);
}

}  // namespace tessaron::webserver
