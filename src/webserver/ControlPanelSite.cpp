// The panel's application pool and its control panel site.
#include "webserver/SiteNumbers.h"
#include "webserver/WebServerSteps.h"

namespace tessaron::webserver {

bool SetUpApplicationPool(Stage& stage) {
    auto pools = stage.open(kAppPools);
    if (stage.failed()) {
        return stage.end("ERROR: Could not retrieve IIS application pool information - " +
                         stage.description());
    }
    auto pool = stage.open(std::string(kAppPools) + "/Tessaron");
    if (!pool) {
        stage.run.failure.clear();
        pool = stage.create(pools, "IIsApplicationPool", "Tessaron");
        if (stage.failed()) {
            return stage.end(
                "ERROR: Could not create IIS application pool for Tessaron control panel - " +
                stage.description());
        }
    }
    stage.on(pool, [](MetabaseObject& o) { o.Put("AppPoolIdentityType", 0L); });
    stage.on(pool, [](MetabaseObject& o) { o.SetInfo(); });
    if (stage.failed()) {
        return stage.end(
            "ERROR: Could not set properties of IIS application pool for Tessaron control panel "
            "- " +
            stage.description());
    }
    stage.log("IIS application pool for Tessaron control panel website configured.");
    return true;
}

bool SetUpControlPanelSite(Stage& stage) {
    const SettingsRecord& settings = stage.run.settings;
    const std::string& selection = settings.ControlPanelSiteSelection;
    std::string number;
    Object site;
    if (selection == kCreateNewSite) {
        number = std::to_string(FindFreeSiteNumber(stage.iis, kWebService));
        stage.run.failure.clear();
        site = stage.create(stage.webService, "IIsWebServer", number);
        if (stage.failed()) {
            return stage.end("Could not create Tessaron control panel site at #" + number + " - " +
                             stage.description());
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

    stage.on(site, [&](MetabaseObject& o) {
        o.Put("ServerBindings", std::vector<std::string>{":" + settings.CustomerPort + ":",
                                                         ":" + settings.ResellerPort + ":"});
    });
    stage.on(site, [](MetabaseObject& o) {
        o.Put("ServerComment", std::string("Tessaron - Control Panel"));
    });
    stage.on(site, [](MetabaseObject& o) { o.Put("KeyType", std::string("IIsWebServer")); });
    stage.on(site, [](MetabaseObject& o) { o.SetInfo(); });
    if (stage.failed()) {
        return stage.end("ERROR: Could not set properties for new Tessaron control panel site - " +
                         stage.description());
    }

    // A site taken over usually has its root already: it is set up as a new
    // one would be, since creating it again fails after the site has lost
    // its bindings and name.
    auto root = stage.open(std::string(kWebService) + "/" + number + "/ROOT");
    if (!root) {
        stage.run.failure.clear();
        root = stage.create(site, "IIsWebVirtualDir", "ROOT");
    }
    if (stage.failed()) {
        return stage.end(
            "ERROR: Could not create root application definition for Tessaron control panel "
            "site - " +
            stage.description());
    }
    stage.on(root, [&](MetabaseObject& o) { o.Put("Path", settings.InstallDir + "\\panel"); });
    if (stage.onServer2003()) {
        stage.on(root, [](MetabaseObject& o) { o.Put("AppPoolID", std::string("Tessaron")); });
    }
    stage.on(root, [](MetabaseObject& o) { o.Put("AccessRead", true); });
    stage.on(root, [](MetabaseObject& o) { o.Put("AccessScript", true); });
    stage.on(root, [](MetabaseObject& o) { o.AppCreate2(0); });
    if (stage.failed()) {
        return stage.end(
            "ERROR: Could not create root application for Tessaron control panel site - " +
            stage.description());
    }
    stage.on(root, [](MetabaseObject& o) { o.SetInfo(); });
    if (stage.failed()) {
        return stage.end(
            "ERROR: Could not set information for root application for Tessaron control panel "
            "site - " +
            stage.description());
    }
    stage.log("Tessaron control panel website configured.");

    stage.on(site, [](MetabaseObject& o) { o.Start(); });
    if (stage.failed()) {
        stage.log("WARNING: Could not start Tessaron control panel site - " + stage.description());
    } else {
        stage.log("Tessaron control panel website started.");
    }
    stage.run.failure.clear();
    return true;
}

}  // namespace tessaron::webserver
