#include "platform/image/MetabaseDocument.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>

#include "platform/image/MetabaseErrors.h"
#include "platform/image/MetabaseLayout.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

// Lookups by location answered by scanning the keys before the index is
// built. A scan costs a small part of building the index, so a short use
// (the settings window's load opens a few paths) never builds it, and a long
// one (a stage opening and creating many keys) builds it once.
constexpr unsigned kFindsBeforeIndex = 8;

// Line breaks inside attribute values separate the values of a list, so
// they must survive parsing as they are.
constexpr unsigned kParseFlags = pugi::parse_default & ~pugi::parse_wconv_attribute;

std::string_view parentOf(std::string_view location) {
    const auto slash = location.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : location.substr(0, slash);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && caseInsensitiveEqual(text.substr(0, prefix.size()), prefix);
}

// "line 12, column 3 (offset 345)" of the end of the text (the file's text
// up to the offset).
std::string position(std::string_view text) {
    const auto offset = text.size();
    const auto line = 1 + std::count(text.begin(), text.end(), '\n');
    const auto lineStart = offset == 0 ? std::string_view::npos : text.rfind('\n', offset - 1);
    const auto column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + " (offset " +
           std::to_string(offset) + ")";
}

std::size_t elementOffset(const pugi::xml_node& node) {
    const auto offset = node.offset_debug();
    return offset > 0 ? static_cast<std::size_t>(offset - 1) : 0;
}

// A NUL-terminated name equal to the text without regard to ASCII case.
bool equalsName(const char* name, std::string_view text) {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (const char c : text) {
        if (*name == 0 || lower(*name) != lower(c)) return false;
        ++name;
    }
    return *name == 0;
}

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

void MetabaseKey::setLocation(const char* location, std::size_t length) {
    location_ = location;
    length_ = static_cast<std::uint32_t>(length);
    const auto* slash = static_cast<const char*>(::memrchr(location, '/', length));
    parentLength_ = slash ? static_cast<std::uint32_t>(slash - location) : 0;
    tag_ = nameTag(this->location());
}

std::unique_ptr<MetabaseDocument> MetabaseDocument::load(const fs::path& file) {
    std::unique_ptr<MetabaseDocument> doc(new MetabaseDocument);
    doc->original_ = MetabaseOriginal::read(file, doc->text_, doc->size_);
    if (!doc->original_) {
        throw metabase_error::invalidData("The metabase file " + file.string() +
                                          " cannot be read (" + std::strerror(errno) + ").");
    }
    const std::string_view text(doc->text_.get(), doc->size_);
    const auto firstBreak = std::min(text.find('\n'), text.size());
    const bool crlf = (firstBreak > 0 && firstBreak < text.size() && text[firstBreak - 1] == '\r') ||
                      text.find("\r\n", firstBreak) != std::string_view::npos;
    doc->eol_ = crlf ? "\r\n" : "\n";

    const auto parsed =
        doc->document_.load_buffer_inplace(doc->text_.get(), doc->size_, kParseFlags, pugi::encoding_utf8);
    if (!parsed) {
        throw doc->unreadable(file, static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, parsed.offset)),
                              std::string("not well-formed XML (") + parsed.description() + ")");
    }
    doc->readKeys(file);
    return doc;
}

PlatformError MetabaseDocument::unreadable(const fs::path& file, std::size_t offset,
                                           const std::string& reason) const {
    // The parsed text is no longer the file's: the position is counted on
    // the bytes read.
    return metabase_error::invalidData("The metabase file " + file.string() + " cannot be read: " +
                                       reason + " at " + position(original_->bytes(0, offset)) +
                                       ".");
}

void MetabaseDocument::readKeys(const fs::path& file) {
    const auto root = document_.document_element();
    if (std::strcmp(root.name(), "configuration") != 0) {
        throw unreadable(file, elementOffset(root),
                         std::string("the root element is <") + root.name() +
                             ">, not <configuration>");
    }
    const auto properties = root.child("MBProperty");
    if (!properties) {
        throw unreadable(file, elementOffset(root), "<configuration> holds no <MBProperty>");
    }
    // About one key in 200 bytes of a typical file.
    read_.reserve(size_ / 200 + 16);
    for (auto node = properties.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element) continue;
        const auto location = node.attribute("Location");  // IIS writes it first
        if (!location) {
            throw unreadable(file, elementOffset(node),
                             std::string("the key <") + node.name() + "> has no Location");
        }
        auto& key = read_.emplace_back();
        key.element_ = node;
        const auto copied = locations_.copy(location.value());
        key.setLocation(copied.data(), copied.size());
    }
}

MetabaseKey& MetabaseDocument::keyAt(std::uint32_t number) {
    return number < read_.size() ? read_[number] : created_[number - read_.size()];
}

const MetabaseKey& MetabaseDocument::keyAt(std::uint32_t number) const {
    return number < read_.size() ? read_[number] : created_[number - read_.size()];
}

template <typename Visit>
void MetabaseDocument::forEachInOrder(Visit&& visit) const {
    // Until a key is added the store's order is the file's.
    if (order_.empty()) {
        for (std::uint32_t number = 0; number < read_.size(); ++number) visit(number);
    } else {
        for (const auto number : order_) visit(number);
    }
}

void MetabaseDocument::buildIndex() {
    const auto locationOf = [this](std::uint32_t n) { return keyAt(n).location(); };
    index_.reserve(keyCount());
    equalLocations_ = false;
    for (std::uint32_t number = 0; number < keyCount(); ++number) {
        const auto& key = keyAt(number);
        if (index_.insert(key.location(), key.tag_, number, locationOf) != NumberIndex::npos) {
            equalLocations_ = true;  // the later one is kept in the file, never found
        }
    }
    indexed_ = true;
}

MetabaseKey* MetabaseDocument::find(std::string_view location) {
    if (!indexed_) {
        if (unindexedFinds_ < kFindsBeforeIndex) {
            ++unindexedFinds_;
            const auto tag = nameTag(location);
            const auto matches = [&](const MetabaseKey& key) {
                return key.tag_ == tag && key.length_ == location.size() &&
                       caseInsensitiveEqual(key.location(), location);
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
    if (result.size() < 2 || !equalLocations_) return result;

    // Of keys with equal locations (both children here) only the first.
    NumberIndex seen;
    seen.reserve(result.size());
    const auto locationOf = [&](std::uint32_t n) { return result[n]->location(); };
    std::uint32_t kept = 0;
    for (auto* key : result) {
        if (seen.insert(key->location(), key->tag_, kept, locationOf) == NumberIndex::npos) {
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

std::optional<std::string_view> MetabaseDocument::propertyView(const MetabaseKey& key,
                                                               std::string_view name) const {
    if (key.changed()) {
        for (const auto& [propertyName, value] : key.edits_->properties) {
            if (caseInsensitiveEqual(propertyName, name)) return std::string_view(value);
        }
        return std::nullopt;
    }
    // Location is the key's place, not a property; other names cannot match it.
    const bool nameOfLocation = caseInsensitiveEqual(name, "Location");
    for (auto attribute = key.element_.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (equalsName(attribute.name(), name) &&
            !(nameOfLocation && std::strcmp(attribute.name(), "Location") == 0)) {
            return std::string_view(attribute.value());
        }
    }
    return std::nullopt;
}

std::optional<std::string> MetabaseDocument::property(const MetabaseKey& key,
                                                      std::string_view name) const {
    if (const auto view = propertyView(key, name)) return std::string(*view);
    return std::nullopt;
}

void MetabaseDocument::materialize(MetabaseKey& key) {
    if (key.changed()) return;
    auto edits = std::make_unique<MetabaseKeyEdits>();
    for (auto attribute = key.element_.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (std::strcmp(attribute.name(), "Location") == 0) continue;
        edits->properties.emplace_back(attribute.name(), attribute.value());
    }
    key.edits_ = std::move(edits);
    edited_.push_back(&key);
}

void MetabaseDocument::setProperty(MetabaseKey& key, std::string_view name, std::string text) {
    if (propertyView(key, name) == std::string_view(text)) return;
    materialize(key);
    auto& properties = key.edits_->properties;
    for (auto& [propertyName, value] : properties) {
        if (caseInsensitiveEqual(propertyName, name)) {
            value = std::move(text);
            return;
        }
    }
    properties.emplace_back(std::string(name), std::move(text));
}

void MetabaseDocument::setClassName(MetabaseKey& key, std::string className) {
    if (key.className() == className) return;
    materialize(key);
    key.edits_->className = std::move(className);
}

MetabaseKey& MetabaseDocument::add(std::string className, std::string location,
                                   std::vector<std::pair<std::string, std::string>> properties) {
    const auto number = static_cast<std::uint32_t>(keyCount());
    auto& key = created_.emplace_back();
    key.edits_ = std::make_unique<MetabaseKeyEdits>();
    key.edits_->location = std::move(location);
    key.edits_->className = std::move(className);
    key.edits_->properties = std::move(properties);
    key.setLocation(key.edits_->location.data(), key.edits_->location.size());

    // After the parent and everything below it, as IIS keeps the file.
    if (order_.empty()) {
        order_.resize(read_.size());
        std::iota(order_.begin(), order_.end(), 0u);
    }
    const auto parent = parentOf(key.location());
    std::size_t position = order_.size();
    for (std::size_t i = order_.size(); i-- > 0;) {
        const auto other = keyAt(order_[i]).location();
        if (caseInsensitiveEqual(other, parent) ||
            (other.size() > parent.size() && other[parent.size()] == '/' &&
             startsWithIgnoreCase(other, parent))) {
            position = i + 1;
            break;
        }
    }
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), number);
    if (indexed_) {
        index_.insert(key.location(), key.tag_, number,
                      [this](std::uint32_t n) { return keyAt(n).location(); });
    }
    edited_.push_back(&key);
    return key;
}

std::string MetabaseDocument::renderKey(const MetabaseKey& key, std::string_view inner) const {
    return metabase_layout::renderKey(key.className(), key.location(), key.edits_->properties, inner,
                                      eol_);
}

std::size_t MetabaseDocument::beginOf(std::uint32_t readNumber) const {
    return elementOffset(read_[readNumber].element_);
}

std::vector<MetabaseSavePiece> MetabaseDocument::savePieces() const {
    std::vector<MetabaseSavePiece> pieces;
    const auto size = original_->size();
    const auto fromFile = [&](std::size_t offset, std::size_t length) {
        if (length > 0) pieces.push_back({true, offset, length, {}});
    };
    const auto written = [&](std::string text) { pieces.push_back({false, 0, 0, std::move(text)}); };

    if (read_.empty()) {
        // No key was read: new keys go before the end of <MBProperty>.
        const auto text = original_->bytes(0, size);
        auto at = text.rfind("</MBProperty");
        if (at == std::string::npos) at = size;
        fromFile(0, at);
        forEachInOrder([&](std::uint32_t number) { written(renderKey(keyAt(number), eol_) + eol_); });
        fromFile(at, size - at);
        return pieces;
    }

    // Unchanged keys are bytes of the file, so an unchanged file is written
    // back byte for byte. The store's order starts with a read key, and each
    // created key follows a read one (or another created one).
    const auto count = order_.empty() ? read_.size() : order_.size();
    const auto numberAt = [&](std::size_t i) {
        return order_.empty() ? static_cast<std::uint32_t>(i) : order_[i];
    };
    std::size_t copiedFrom = 0;  // start of the file not yet in a piece
    const auto copyUpTo = [&](std::size_t end) {
        if (end > copiedFrom) fromFile(copiedFrom, end - copiedFrom);
        copiedFrom = end;
    };
    for (std::size_t i = 0; i < count;) {
        const auto number = numberAt(i);
        auto next = i + 1;
        while (next < count && numberAt(next) >= read_.size()) ++next;
        const MetabaseKey& key = read_[number];
        if (key.changed() || next != i + 1) {
            // The key's element lies before the next read key's.
            const auto begin = beginOf(number);
            const auto segmentEnd = number + 1 < read_.size() ? beginOf(number + 1) : size;
            const auto segment = original_->bytes(begin, segmentEnd - begin);
            const auto extent = metabase_layout::scanElement(segment, 0);
            if (key.changed()) {
                copyUpTo(begin);
                const auto inner =
                    extent.selfClosing
                        ? std::string_view(eol_)
                        : std::string_view(segment).substr(extent.startTagEnd,
                                                           extent.closeBegin - extent.startTagEnd);
                written(renderKey(key, inner));
                copiedFrom = begin + extent.end;
            } else {
                copyUpTo(begin + extent.end);
            }
            for (auto created = i + 1; created != next; ++created) {
                written(eol_ + renderKey(keyAt(numberAt(created)), eol_));
            }
        }
        i = next;
    }
    copyUpTo(size);
    return pieces;
}

}  // namespace tessaron
