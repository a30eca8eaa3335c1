#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Failure.h"
#include "platform/image/metabase/MetabaseOriginal.h"
#include "platform/image/metabase/TextArena.h"
#include "platform/metabase/MetabaseIndex.h"

namespace tessaron {

// What a key holds once it is changed or created: its properties, and the
// location and class when they are no longer those of the file.
struct MetabaseKeyEdits {
    std::vector<std::pair<std::string, std::string>> properties;
    std::string location;                  // created keys
    std::optional<std::string> className;  // created keys, and read keys given another
};

// One key of MetaBase.xml: an element of <MBProperty> named by its class,
// with a Location ("/LM/W3SVC/1/ROOT") and its properties as attributes.
//
// Keys read from the file point into the parsed document until they are
// changed; then their properties move into edits and the key is written out
// anew in IIS's layout when the file is saved. Kept to 32 bytes: a metabase
// may hold a hundred thousand keys, and lists scan them all.
class MetabaseKey {
public:
    std::string_view location() const { return {location_, length_}; }
    std::string_view className() const {
        return edits_ && edits_->className ? std::string_view(*edits_->className)
                                           : std::string_view(element_.name());
    }
    bool changed() const { return edits_ != nullptr; }
    bool created() const { return !element_; }
    // True when the key lies one level below the location (the part of its
    // own location before the last "/" equals it without regard to case).
    // The class compared with the name exactly, without making a view of it.
    bool hasClass(const std::string& name) const {
        if (edits_ && edits_->className) return *edits_->className == name;
        const char* own = element_.name();
        return std::strncmp(own, name.c_str(), name.size()) == 0 && own[name.size()] == 0;
    }
    bool isChildOf(std::string_view parent) const {
        return parentLength_ == parent.size() &&
               equalsIgnoreCase(std::string_view(location_, parentLength_), parent);
    }

private:
    friend class MetabaseDocument;
    void setLocation(const char* location, std::size_t length);

    pugi::xml_node element_;          // empty for keys created since loading
    const char* location_ = nullptr;  // a copy of the file's, or the edits'
    std::unique_ptr<MetabaseKeyEdits> edits_;
    std::uint32_t length_ = 0;
    std::uint32_t parentLength_ = 0;  // offset of the last "/" (0 without one)
};

// A piece of the file as it is to be saved: bytes of the file as read, or
// text written anew.
struct MetabaseSavePiece {
    bool fromFile = false;
    std::size_t offset = 0;  // fromFile: the bytes [offset, offset + length)
    std::size_t length = 0;
    std::string text;
};

// The parsed MetaBase.xml. The file is read into one buffer and parsed there;
// keys are found by location, through an index built once lookups are
// frequent enough to pay for it. Saving writes the bytes read back unchanged
// except for the keys changed or created since, so an unchanged file keeps
// its bytes.
class MetabaseDocument {
public:
    // Reads and parses the file. Throws PlatformError naming the file and the
    // parser's position when it is not a metabase (not well-formed, another
    // root, a key without Location) or cannot be read.
    static std::unique_ptr<MetabaseDocument> load(const std::filesystem::path& file);

    // The key at the location (the first one in the file of equal ones).
    MetabaseKey* find(std::string_view location);
    // The keys one level below the location, in the store's order; of keys
    // with equal locations only the first.
    std::vector<MetabaseKey*> children(std::string_view location);
    // The first number n (from 1) for which no key has the location
    // parent + "/" + n, n written in decimal.
    int firstFreeNumber(std::string_view parent) const;

    // The key's property by name (without regard to case); nullopt when unset.
    std::optional<std::string> property(const MetabaseKey& key, std::string_view name) const;
    // The same without a copy; valid until the key changes.
    std::optional<std::string_view> propertyView(const MetabaseKey& key,
                                                 std::string_view name) const;
    // Calls visit(name, value) for each property of an unchanged key, in the
    // file's order (Location, the key's place, excepted).
    template <typename Visit>
    void forEachReadProperty(const MetabaseKey& key, Visit&& visit) const {
        auto attribute = key.element_.first_attribute();
        for (; attribute; attribute = attribute.next_attribute()) {
            if (std::strcmp(attribute.name(), "Location") != 0) {
                visit(attribute.name(), std::string_view(attribute.value()));
            }
        }
    }
    // Sets (or adds, under the given spelling) a property; marks the key changed.
    void setProperty(MetabaseKey& key, std::string_view name, std::string text);
    void setClassName(MetabaseKey& key, std::string className);

    // Adds a key after the last key of its parent's subtree.
    MetabaseKey& add(std::string className, std::string location,
                     std::vector<std::pair<std::string, std::string>> properties);
    // The keys changed or created since loading.
    const std::vector<MetabaseKey*>& editedKeys() const { return edited_; }

    // The whole file as it is to be saved now, as consecutive pieces.
    std::vector<MetabaseSavePiece> savePieces() const;
    const MetabaseOriginal& original() const { return *original_; }
    MetabaseOriginal& original() { return *original_; }

private:
    MetabaseDocument() = default;
    void readKeys(const std::filesystem::path& file);
    // The failure for a file that is not a metabase, at a byte offset.
    PlatformError unreadable(const std::filesystem::path& file, std::size_t offset,
                             const std::string& reason) const;
    std::size_t keyCount() const { return read_.size() + created_.size(); }
    // Keys are numbered in the file's order, those created since after them.
    MetabaseKey& keyAt(std::uint32_t number) {
        return number < read_.size() ? read_[number] : created_[number - read_.size()];
    }
    const MetabaseKey& keyAt(std::uint32_t number) const {
        return number < read_.size() ? read_[number] : created_[number - read_.size()];
    }
    // Calls visit(number) for every key in the store's order: the file's
    // until a key is added.
    template <typename Visit>
    void forEachInOrder(Visit&& visit) const {
        if (order_.empty()) {
            for (std::uint32_t number = 0; number < read_.size(); ++number) visit(number);
        } else {
            for (const auto number : order_) visit(number);
        }
    }
    void buildIndex();
    void materialize(MetabaseKey& key);
    std::string renderKey(const MetabaseKey& key, std::string_view inner) const;
    // Where the element of a read key starts in the file.
    std::size_t beginOf(std::uint32_t readNumber) const;

    FileText text_;  // the file's text, parsed in place
    std::size_t size_ = 0;
    std::unique_ptr<MetabaseOriginal> original_;
    pugi::xml_document document_;
    std::string eol_ = "\r\n";  // the file's line break, used for new text

    TextArena locations_;               // of the keys read, packed for scanning
    std::vector<MetabaseKey> read_;     // keys of the file, in its order
    std::deque<MetabaseKey> created_;   // keys added since; numbered after read_
    std::vector<std::uint32_t> order_;  // the store's order, once a key is added
    std::vector<MetabaseKey*> edited_;

    NumberIndex index_;  // location -> number; the first of equal locations
    bool indexed_ = false;
    bool equalLocations_ = true;  // unknown until indexed
    unsigned unindexedFinds_ = 0;
};

}  // namespace tessaron
