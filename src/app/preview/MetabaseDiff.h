#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dryrun/DryRunMetabase.h"

namespace tessaron::app::preview {

using dry_run::PropertyChange;
using dry_run::StartConflict;

// A key the run creates or changes (or, in a comparison of two files, removes).
struct MetabaseKeyChange {
    enum class Kind { Created, Changed, Removed };
    Kind kind;
    std::string location;
    std::string className;
    std::vector<PropertyChange> properties;
};

// A site existing before the run whose identity the run changes: what it
// loses.
struct SiteTakeover {
    std::string location;
    std::string formerName;
    std::vector<PropertyChange>
        lost;  // ServerComment, ServerBindings, SecureBindings, ServerAutoStart
};

// The run's sites as the metabase shows them afterwards.
struct ChosenSite {
    std::string name;      // ServerComment after the run
    std::string location;  // "/LM/W3SVC/3"
    bool created = false;  // a new site (else one taken over or updated)
};

bool isSiteClass(const std::string& className);
std::vector<SiteTakeover> siteTakeovers(const std::vector<MetabaseKeyChange>& changes);
std::vector<ChosenSite> chosenSites(const std::vector<MetabaseKeyChange>& changes);

}  // namespace tessaron::app::preview
