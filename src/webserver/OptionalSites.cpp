// The shared secure site and the website preview site: two optional web
// sites on the internal address whose root is the accounts folder.
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

// Finds or creates the site and sets it up. number receives the site's
// number as text (the selected site's Name when one is taken over) as soon
// as it is known, even when the stage then ends.
bool setUpOptionalSite(Stage& stage, const OptionalSite& kind, const std::string& selection,
                       std::string& number) {
    auto site = stage.selectSite(stage.webService, kWebService, "IIsWebServer", selection);
    number = site.number;
    if (site.created && !stage.test(kind.createFailed + site.number + " - ")) return false;
    if (site.missing()) return stage.end("Could not find website \"" + selection + "\".");

    stage.put(site.object, "ServerBindings", kind.serverBindings);
    if (kind.secureBindings) stage.put(site.object, "SecureBindings", *kind.secureBindings);
    stage.put(site.object, "ServerComment", kind.comment);
    stage.put(site.object, "KeyType", "IIsWebServer");
    stage.commit(site.object);
    if (!stage.test(kind.setFailed)) return false;

    auto root = stage.openOrCreate(site.object, site.path, "IIsWebVirtualDir", "ROOT");
    if (!stage.test(kind.rootDefinitionFailed)) return false;
    stage.put(root, "Path", rootFolderPath(stage.run.settings.ServerRoot));
    stage.put(root, "AccessRead", true);
    stage.put(root, "AccessScript", true);
    stage.on(root, [](MetabaseObject& o) { o.AppCreate(true); });
    if (!stage.test(kind.rootApplicationFailed)) return false;
    stage.commit(root);
    if (!stage.test(kind.rootInformationFailed)) return false;
    stage.log(kind.configured);

    stage.start(site.object);
    if (stage.failed()) {
        stage.log(kind.startFailed + stage.description());
        stage.clearFailure();
    } else {
        stage.log(kind.started);
    }
    return true;
}

}  // namespace

bool setUpSharedSecureSite(Stage& stage) {
    const SettingsRecord& settings = stage.run.settings;
    if (!isTrue(settings.EnableSharedSecure)) return true;
    std::string& number = stage.held.sharedSecure.emplace("0");
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
    return setUpOptionalSite(stage, sharedSecure, settings.SharedSecureSVCSelection, number);
}

bool setUpPreviewSite(Stage& stage) {
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
