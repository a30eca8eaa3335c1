#include "app/preview/MetabaseDiff.h"

namespace tessaron::app::preview {
namespace {

const std::vector<std::string>& identityProperties() {
    static const std::vector<std::string> names = {"ServerComment", "ServerBindings",
                                                   "SecureBindings", "ServerAutoStart"};
    return names;
}

}  // namespace

bool isSiteClass(const std::string& className) {
    return className == "IIsWebServer" || className == "IIsFtpServer";
}

std::vector<SiteTakeover> siteTakeovers(const std::vector<MetabaseKeyChange>& changes) {
    std::vector<SiteTakeover> takeovers;
    for (const auto& change : changes) {
        if (change.kind != MetabaseKeyChange::Kind::Changed || !isSiteClass(change.className)) {
            continue;
        }
        SiteTakeover takeover{change.location, {}, {}};
        bool renamed = false;
        for (const auto& property : change.properties) {
            for (const auto& name : identityProperties()) {
                if (property.name != name) continue;
                takeover.lost.push_back(property);
                if (name == "ServerComment") {
                    renamed = true;
                    takeover.formerName = property.before.value_or("");
                }
            }
        }
        // A site whose name stays is the run's own from an earlier run.
        if (renamed) takeovers.push_back(std::move(takeover));
    }
    return takeovers;
}

std::vector<ChosenSite> chosenSites(const std::vector<MetabaseKeyChange>& changes) {
    std::vector<ChosenSite> sites;
    for (const auto& change : changes) {
        if (change.kind == MetabaseKeyChange::Kind::Removed || !isSiteClass(change.className)) {
            continue;
        }
        for (const auto& property : change.properties) {
            if (property.name == "ServerComment" && property.after) {
                sites.push_back({*property.after, change.location,
                                 change.kind == MetabaseKeyChange::Kind::Created});
            }
        }
    }
    return sites;
}

}  // namespace tessaron::app::preview
