#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "platform/image/MetabaseIndex.h"

namespace tessaron {

// What a key holds once it is changed or created: its properties, and the
// location and class when they are no longer those of the file.
struct MetabaseKeyEdits {
    std::vector<std::pair<std::string, std::string>> properties;
    std::string location;
    std::string className;
};

// One key of MetaBase.xml: an element of <MBProperty> named by its class,
// with a Location ("/LM/W3SVC/1/ROOT") and its properties as attributes.
//
// Keys read from the file point into the parsed document until they are
// changed; then their properties move into `edits` and the key is written out
// anew in IIS's layout when the file is saved. Kept small: a metabase may
// hold a hundred thousand keys.
struct MetabaseKey {
    std::string_view location;  // as written; views the document or the edits
    std::string_view className;
    pugi::xml_node element;     // empty for keys created since loading
    std::size_t begin = 0;      // offset of '<' in the file's text (read keys)
    std::size_t segmentEnd = 0; // where the next read key (or the file's tail) begins
    std::uint32_t parentTag = 0;     // index tag of the parent's location
    std::uint32_t parentLength = 0;  // length of the parent's location
    bool shadowed = false;           // an earlier key has the same location
    std::unique_ptr<MetabaseKeyEdits> edits;

    bool changed() const { return edits != nullptr; }
    bool created() const { return !element; }
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
    // The same without a copy; valid until the key changes.
    std::optional<std::string_view> propertyView(const MetabaseKey& key,
                                                 std::string_view name) const;
    // Sets (or adds, under the given spelling) a property; marks the key changed.
    void setProperty(MetabaseKey& key, std::string_view name, std::string text);
    void setClassName(MetabaseKey& key, std::string className);

    // Adds a key after the last key of its parent's subtree.
    MetabaseKey& add(std::string className, std::string location,
                     std::vector<std::pair<std::string, std::string>> properties);

    // The whole file as it is to be saved now, as consecutive pieces: views
    // of the text read and of rendered keys (kept in `storage`).
    std::vector<std::string_view> render(std::deque<std::string>& storage) const;
    std::string renderText() const;

private:
    MetabaseDocument() = default;
    void materialize(MetabaseKey& key);
    std::string renderKey(const MetabaseKey& key, std::string_view inner) const;
    std::string_view locationOf(std::uint32_t number) const { return keys_[number].location; }
    // Sets the key's parent fields and indexes it under its location.
    void index(MetabaseKey& key, std::uint32_t number);

    std::string text_;             // the file as read
    pugi::xml_document document_;  // parsed from a copy of text_
    std::string eol_ = "\r\n";     // the file's line break, used for new text
    std::deque<MetabaseKey> keys_;
    std::vector<MetabaseKey*> order_;
    NumberIndex index_;  // location -> number in keys_; the first of duplicates
};

}  // namespace tessaron
