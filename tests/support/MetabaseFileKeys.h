#pragma once

#include <string>
#include <vector>

#include "app/preview/MetabaseDiff.h"

namespace tessaron::testing {

// A property of a metabase key as MetaBase.xml holds it; a list holds one
// value a line.
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

// The keys of a MetaBase.xml text in file order (an empty text: no keys),
// read with pugixml independently of the program's store, so that tests can
// tell what a real run wrote. Throws std::runtime_error when it is not XML.
std::vector<MetabaseFileKey> readMetabaseKeys(const std::string& xml);

// The keys that differ between two metabase files, in the order of the later
// file (removed keys last); locations compared without regard to case and
// indentation of list values ignored.
std::vector<app::preview::MetabaseKeyChange> diffMetabaseKeys(
    const std::vector<MetabaseFileKey>& before, const std::vector<MetabaseFileKey>& after);

}  // namespace tessaron::testing
