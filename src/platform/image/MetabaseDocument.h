#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include <pugixml.hpp>

namespace tessaron {

// One key of MetaBase.xml: an element of <MBProperty> named by its class,
// with a Location ("/LM/W3SVC/1/ROOT") and its properties as attributes.
//
// Keys read from the file keep pointing into the parsed document until they
// are changed; then their properties move into `properties` and the key is
// written out anew in IIS's layout when the file is saved.
struct MetabaseKey {
    std::string_view location;  // as written; views the document or ownLocation
    std::string_view className;
    pugi::xml_node element;     // empty for keys created since loading
    std::size_t begin = 0;      // offset of '<' in the file's text (read keys)
    std::size_t segmentEnd = 0; // where the next read key (or the file's tail) begins

    bool changed = false;       // properties moved into `properties`
    std::vector<std::pair<std::string, std::string>> properties;
    std::string ownLocation;
    std::string ownClassName;

    bool created() const { return !element; }
};

// Compares locations without regard to case, as the provider does.
struct LocationHash {
    std::size_t operator()(std::string_view text) const noexcept;
};
struct LocationEqual {
    bool operator()(std::string_view a, std::string_view b) const noexcept;
};

// The parsed MetaBase.xml with an index by location. Saving writes the text
// read from the file back unchanged except for the keys changed or created
// since, so an unchanged file keeps its bytes.
class MetabaseDocument {
public:
    // Reads and parses the file. Throws PlatformError naming the file and the
    // parser's position when it is not a metabase (not well-formed, another
    // root, a key without Location) or cannot be read.
    static std::unique_ptr<MetabaseDocument> load(const std::filesystem::path& file);

    MetabaseKey* find(std::string_view location);
    // The keys one level below the location, in the file's order.
    std::vector<MetabaseKey*> children(std::string_view location);

    // The key's property by name (without regard to case); nullopt when unset.
    std::optional<std::string> property(const MetabaseKey& key, std::string_view name) const;
    // Sets (or adds, under the given spelling) a property; marks the key changed.
    void setProperty(MetabaseKey& key, std::string_view name, std::string text);
    void setClassName(MetabaseKey& key, std::string className);

    // Adds a key after the last key of its parent's subtree.
    MetabaseKey& add(std::string className, std::string location,
                     std::vector<std::pair<std::string, std::string>> properties);

    // The whole file as it is to be saved now.
    std::string render();

private:
    MetabaseDocument() = default;
    void materialize(MetabaseKey& key);
    std::string renderKey(const MetabaseKey& key, std::string_view inner) const;

    std::string text_;             // the file as read
    pugi::xml_document document_;  // parsed from a copy of text_
    std::string eol_ = "\r\n";     // the file's line break, used for new text
    std::deque<MetabaseKey> keys_;
    std::vector<MetabaseKey*> order_;
    std::unordered_map<std::string_view, MetabaseKey*, LocationHash, LocationEqual> index_;
};

}  // namespace tessaron
