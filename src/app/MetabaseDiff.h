#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessaron::app {

// A property of a metabase key; a list holds one value a line.
struct MetabaseProperty {
    std::string name;
    std::string value;
};

// One key of a MetaBase.xml file.
struct MetabaseFileKey {
    std::string location;   // "/LM/W3SVC/1"
    std::string className;  // "IIsWebServer"
    std::vector<MetabaseProperty> properties;

    const std::string* find(const std::string& name) const;
};

// The keys of a MetaBase.xml text in file order (an empty text: no keys).
// Throws std::runtime_error when the text is not XML.
std::vector<MetabaseFileKey> readMetabaseKeys(const std::string& xml);

// A property's value before and after (nullopt: unset).
struct PropertyChange {
    std::string name;
    std::optional<std::string> before;
    std::optional<std::string> after;
};

// A key the run creates, changes or removes.
struct MetabaseKeyChange {
    enum class Kind { Created, Changed, Removed };
    Kind kind;
    std::string location;
    std::string className;
    std::vector<PropertyChange> properties;
};

// The keys that differ between two metabases, in the order of the later file
// (removed keys last); locations are compared without regard to case.
std::vector<MetabaseKeyChange> diffMetabaseKeys(const std::vector<MetabaseFileKey>& before,
                                                const std::vector<MetabaseFileKey>& after);

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

// A site the run sets up that cannot start: another started site of the
// same service holds one of its bindings.
struct StartConflict {
    std::string location;
    std::string name;
    std::string holderLocation;
    std::string holderName;
    std::string binding;
};

bool isSiteClass(const std::string& className);
std::vector<SiteTakeover> siteTakeovers(const std::vector<MetabaseKeyChange>& changes);
std::vector<ChosenSite> chosenSites(const std::vector<MetabaseKeyChange>& changes);
std::vector<StartConflict> startConflicts(const std::vector<MetabaseKeyChange>& changes,
                                          const std::vector<MetabaseFileKey>& after);

}  // namespace tessaron::app
