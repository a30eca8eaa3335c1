#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Metabase.h"
#include "platform/metabase/MetabasePropertyRules.h"

namespace tessaron::dry_run {

// A metabase property's text before and after the dry run (nullopt: unset).
struct PropertyChange {
    std::string name;
    std::optional<std::string> before;
    std::optional<std::string> after;
};

// A key the dry run created or changed; properties sorted by name without
// regard to case, as the metabase writes a key.
struct KeyChange {
    bool created = false;
    std::string location;  // "/LM/W3SVC/3"
    std::string className;
    std::vector<PropertyChange> properties;
};

// A Start refused because another started site of the same service holds
// one of the site's bindings.
struct StartConflict {
    std::string location, name;
    std::string holderLocation, holderName;
    std::string binding;  // the site's binding line, in lower case
};

// A metabase that reads through to another one and keeps every commit in
// memory: keys created, properties changed (SetInfo), applications made
// (AppCreate, AppCreate2) and sites started (Start, refused as IIS refuses
// it when another started site holds one of the site's bindings). Objects
// follow the directory service's semantics (metabase_properties); the other
// metabase is only read.
class DryRunMetabase : public Metabase {
public:
    explicit DryRunMetabase(Metabase& inner);
    ~DryRunMetabase() override;

    std::unique_ptr<MetabaseObject> Open(const std::string& path) override;
    int FirstFreeNumber(const std::string& parentPath) override;
    void Flush() override {}

    // The keys created or changed, in the metabase's order of keys (a
    // parent's existing children first, then those created, in the order
    // created).
    std::vector<KeyChange> changes();
    const std::vector<StartConflict>& startConflicts() const { return conflicts_; }

private:
    friend class DryRunObject;
    struct Key {
        std::string location;
        std::string className;
        bool created = false;
        std::optional<std::string> formerClassName;
        metabase_properties::Pending committed;
        std::vector<std::pair<std::string, std::optional<std::string>>> former;
        std::size_t order = 0;
    };

    Key* key(const std::string& location);
    bool exists(const std::string& location);
    std::unique_ptr<MetabaseObject> openLocation(const std::string& location);
    // True when a key below the location was created or changed.
    bool touchedBelow(const std::string& location) const;
    std::vector<const Key*> createdChildren(const std::string& location) const;
    // The place of the named child among the existing children of the location.
    std::size_t siblingPlace(const std::string& parent, const std::string& name);

    Metabase& inner_;
    std::map<std::string, Key> keys_;  // by location in lower case
    std::vector<StartConflict> conflicts_;
    std::map<std::string, std::vector<std::string>> siblings_;  // existing children's names
    std::size_t commits_ = 0;
};

}  // namespace tessaron::dry_run
