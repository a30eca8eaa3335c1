// Finding keys of the document: by location, below a location, and the
// first free site number below one.
#include <cstdint>
#include <vector>

#include "platform/image/metabase/MetabaseDocument.h"

namespace tessaron {
namespace {

// Lookups by location answered by scanning the keys before the index is
// built. A scan costs a small part of building the index, so a short use
// (the settings window's load opens a few paths) never builds it, and a long
// one (a stage opening and creating many keys) builds it once.
constexpr unsigned kFindsBeforeIndex = 8;

// The number a site name stands for when it is written as FindFreeSiteNumber
// writes numbers (decimal, no sign, no leading zero); 0 otherwise.
std::size_t siteNumberOf(std::string_view name) {
    if (name.empty() || name.size() > 9 || name.front() == '0') return 0;
    std::size_t number = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') return 0;
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    return number;
}

}  // namespace

void MetabaseDocument::buildIndex() {
    const auto locationOf = [this](std::uint32_t n) { return keyAt(n).location(); };
    index_.reserve(keyCount());
    equalLocations_ = false;
    for (std::uint32_t number = 0; number < keyCount(); ++number) {
        if (index_.insert(keyAt(number).location(), number, locationOf) != NumberIndex::npos) {
            equalLocations_ = true;  // the later one is kept in the file, never found
        }
    }
    indexed_ = true;
}

MetabaseKey* MetabaseDocument::find(std::string_view location) {
    if (!indexed_) {
        if (unindexedFinds_ < kFindsBeforeIndex) {
            ++unindexedFinds_;
            // The lengths sort out most keys.
            const auto matches = [&](const MetabaseKey& key) {
                return key.length_ == location.size() && equalsIgnoreCase(key.location(), location);
            };
            for (auto& key : read_) {
                if (matches(key)) return &key;
            }
            for (auto& key : created_) {
                if (matches(key)) return &key;
            }
            return nullptr;
        }
        buildIndex();
    }
    const auto number =
        index_.find(location, [this](std::uint32_t n) { return keyAt(n).location(); });
    return number == NumberIndex::npos ? nullptr : &keyAt(number);
}

std::vector<MetabaseKey*> MetabaseDocument::children(std::string_view location) {
    std::vector<MetabaseKey*> result;
    forEachInOrder([&](std::uint32_t number) {
        auto& key = keyAt(number);
        if (key.isChildOf(location)) result.push_back(&key);
    });
    if (result.size() < 2 || (indexed_ && !equalLocations_)) return result;

    // Of keys with equal locations (both children here) only the first.
    // Equal names (what follows the parent) have equal tags. A bitmap over
    // the tags (16 bits a child) picks out the children whose tag bit is
    // shared, the few that may repeat a name; only those go into a set of
    // names, which on a large list costs several times the rest.
    const auto nameOf = [&](const MetabaseKey* key) {
        return key->location().substr(location.size());
    };
    std::size_t bits = 1024;
    while (bits < result.size() * 16) bits *= 2;
    std::vector<std::uint32_t> bitOf(result.size());
    std::vector<bool> seen(bits), shared(bits);
    for (std::size_t i = 0; i < result.size(); ++i) {
        // A bit number below `bits`, which a 32-bit number holds for any
        // list a metabase can hold.
        const auto bit = bitOf[i] =
            static_cast<std::uint32_t>(nameTag(nameOf(result[i])) & (bits - 1));
        if (seen[bit]) shared[bit] = true;
        seen[bit] = true;
    }
    const auto keptName = [&](std::uint32_t kept) { return nameOf(result[kept]); };
    NumberIndex names;
    std::uint32_t kept = 0;
    for (std::size_t i = 0; i < result.size(); ++i) {
        auto* key = result[i];
        if (!shared[bitOf[i]] || names.insert(nameOf(key), kept, keptName) == NumberIndex::npos) {
            result[kept++] = key;
        }
    }
    result.resize(kept);
    return result;
}

int MetabaseDocument::firstFreeNumber(std::string_view parent) const {
    // Of n keys, none can hold a number above n, so n + 1 is free at most.
    std::vector<bool> taken(keyCount() + 2);
    const auto mark = [&](const MetabaseKey& key) {
        if (!key.isChildOf(parent) || key.parentLength_ >= key.length_ ||
            key.location_[key.parentLength_] != '/') {
            return;
        }
        const auto number = siteNumberOf(key.location().substr(key.parentLength_ + 1));
        if (number < taken.size()) taken[number] = true;
    };
    for (const auto& key : read_) mark(key);
    for (const auto& key : created_) mark(key);
    std::size_t number = 1;
    while (taken[number]) ++number;
    return static_cast<int>(number);
}

}  // namespace tessaron
