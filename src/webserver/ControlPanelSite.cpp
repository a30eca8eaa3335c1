// The panel's application pool and its control panel site.
#include "webserver/WebServerSteps.h"

namespace tessaron::webserver {

bool setUpApplicationPool(Stage& stage) {
    auto pools = stage.open(kAppPools);
    if (!stage.test("ERROR: Could not retrieve IIS application pool information - ")) return false;
    auto pool = stage.openOrCreate(pools, kAppPools, "IIsApplicationPool", "Tessaron");
    if (!stage.test("ERROR: Could not create IIS application pool for Tessaron control panel - "))
        return false;
    stage.put(pool, "AppPoolIdentityType", 0L);
    stage.commit(pool);
    if (!stage.test("ERROR: Could not set properties of IIS application pool for Tessaron "
                    "control panel - "))
        return false;
    stage.log("IIS application pool for Tessaron control panel website configured.");
    return true;
}

bool setUpControlPanelSite(Stage& stage) {
    const SettingsRecord& settings = stage.run.settings;
    const std::string& selection = settings.ControlPanelSiteSelection;
    auto site = stage.selectSite(stage.webService, kWebService, "IIsWebServer", selection);
    if (site.created &&
        !stage.test("Could not create Tessaron control panel site at #" + site.number + " - "))
        return false;
    if (site.missing()) return stage.end("Could not find website \"" + selection + "\".");

    stage.put(site.object, "ServerBindings",
              std::vector<std::string>{":" + settings.CustomerPort + ":",
                                       ":" + settings.ResellerPort + ":"});
    stage.put(site.object, "ServerComment", "Tessaron - Control Panel");
    stage.put(site.object, "KeyType", "IIsWebServer");
    stage.commit(site.object);
    if (!stage.test("ERROR: Could not set properties for new Tessaron control panel site - "))
        return false;

    // A site taken over usually has its root already: it is set up as a new
    // one would be, since creating it again fails after the site has lost
    // its bindings and name.
    auto root = stage.openOrCreate(site.object, site.path, "IIsWebVirtualDir", "ROOT");
    if (!stage.test("ERROR: Could not create root application definition for Tessaron "
                    "control panel site - "))
        return false;
    stage.put(root, "Path", settings.InstallDir + "\\panel");
    if (stage.onServer2003()) stage.put(root, "AppPoolID", "Tessaron");
    stage.put(root, "AccessRead", true);
    stage.put(root, "AccessScript", true);
    stage.on(root, [](MetabaseObject& o) { o.AppCreate2(0); });
    if (!stage.test("ERROR: Could not create root application for Tessaron control panel site - "))
        return false;
    stage.commit(root);
    if (!stage.test("ERROR: Could not set information for root application for Tessaron "
                    "control panel site - "))
        return false;
    stage.log("Tessaron control panel website configured.");

    stage.start(site.object);
    if (stage.failed()) {
        stage.log("WARNING: Could not start Tessaron control panel site - " + stage.description());
    } else {
        stage.log("Tessaron control panel website started.");
    }
    stage.clearFailure();
    return true;
}

}  // namespace tessaron::webserver
