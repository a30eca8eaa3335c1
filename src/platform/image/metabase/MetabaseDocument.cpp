#include "platform/image/metabase/MetabaseDocument.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>

#include "platform/image/metabase/MetabaseLayout.h"
#include "platform/metabase/MetabaseErrors.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

// Line breaks inside attribute values separate the values of a list, so
// they must survive parsing as they are.
constexpr unsigned kParseFlags = pugi::parse_default & ~pugi::parse_wconv_attribute;

std::string_view parentOf(std::string_view location) {
    const auto slash = location.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : location.substr(0, slash);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
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
// Bytes are compared as they are first: names are mostly asked for as IIS
// spells them, and most differ from the text early on.
bool equalsName(const char* name, std::string_view text) {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (const char c : text) {
        const char own = *name++;
        if (own == c && own != 0) continue;
        if (own == 0 || lower(own) != lower(c)) return false;
    }
    return *name == 0;
}

}  // namespace

void MetabaseKey::setLocation(const char* location, std::size_t length) {
    location_ = location;
    length_ = static_cast<std::uint32_t>(length);
    const auto slash = std::string_view(location, length).rfind('/');
    parentLength_ = slash != std::string_view::npos ? static_cast<std::uint32_t>(slash) : 0;
}

std::unique_ptr<MetabaseDocument> MetabaseDocument::load(const fs::path& file) {
    std::unique_ptr<MetabaseDocument> doc(new MetabaseDocument);
    doc->original_ = MetabaseOriginal::read(file, doc->text_, doc->size_);
    if (!doc->original_) {
        throw metabase_error::invalidData("The metabase file " + file.string() +
                                          " cannot be read (" + std::strerror(errno) + ").");
    }
    const std::string_view text(doc->text_.data(), doc->size_);
    const auto firstBreak = std::min(text.find('\n'), text.size());
    const bool crlf =
        (firstBreak > 0 && firstBreak < text.size() && text[firstBreak - 1] == '\r') ||
        text.find("\r\n", firstBreak) != std::string_view::npos;
    doc->eol_ = crlf ? "\r\n" : "\n";

    const auto parsed = doc->document_.load_buffer_inplace(doc->text_.data(), doc->size_,
                                                           kParseFlags, pugi::encoding_utf8);
    if (!parsed) {
        throw doc->unreadable(file,
                              static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, parsed.offset)),
                              std::string("not well-formed XML (") + parsed.description() + ")");
    }
    doc->readKeys(file);
    return doc;
}

PlatformError MetabaseDocument::unreadable(const fs::path& file, std::size_t offset,
                                           const std::string& reason) const {
    // The parsed text is no longer the file's: the position is counted on
    // the bytes read.
    return metabase_error::invalidData("The metabase file " + file.string() +
                                       " cannot be read: " + reason + " at " +
                                       position(original_->bytes(0, offset)) + ".");
}

void MetabaseDocument::readKeys(const fs::path& file) {
    const auto root = document_.document_element();
    if (std::strcmp(root.name(), "configuration") != 0) {
        throw unreadable(
            file, elementOffset(root),
            std::string("the root element is <") + root.name() + ">, not <configuration>");
    }
    const auto properties = root.child("MBProperty");
    if (!properties) {
        throw unreadable(file, elementOffset(root), "<configuration> holds no <MBProperty>");
    }
    // About one key in 200 bytes of a typical file, one in 180 where most
    // keys are sites and their roots with a few properties each. Room for
    // one in 96 saves growing the table on such files at no cost on large
    // files: the allocator maps a large block as pages that stay untouched
    // until written, so only the keys there are take memory.
    read_.reserve(size_ / 96 + 16);
    for (auto node = properties.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element) continue;
        // IIS writes Location first.
        auto location = node.first_attribute();
        if (!location || std::strcmp(location.name(), "Location") != 0) {
            location = node.attribute("Location");
        }
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

std::optional<std::string_view> MetabaseDocument::propertyView(const MetabaseKey& key,
                                                               std::string_view name) const {
    if (key.changed()) {
        for (const auto& [propertyName, value] : key.edits_->properties) {
            if (equalsIgnoreCase(propertyName, name)) return std::string_view(value);
        }
        return std::nullopt;
    }
    // Location is the key's place, not a property; other names cannot match it.
    const bool nameOfLocation = equalsIgnoreCase(name, "Location");
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
        if (equalsIgnoreCase(propertyName, name)) {
            value = std::move(text);
            return;
        }
    }
    // A new property goes where IIS would write it, in ordinal order of the
    // names, and the key's other properties keep their places.
    const auto place =
        std::find_if(properties.begin(), properties.end(),
                     [&](const auto& property) { return std::string_view(property.first) > name; });
    properties.emplace(place, std::string(name), std::move(text));
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
    // IIS writes a new key's properties in ordinal order of their names.
    std::stable_sort(key.edits_->properties.begin(), key.edits_->properties.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
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
        if (equalsIgnoreCase(other, parent) ||
            (other.size() > parent.size() && other[parent.size()] == '/' &&
             startsWithIgnoreCase(other, parent))) {
            position = i + 1;
            break;
        }
    }
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), number);
    if (indexed_) {
        index_.insert(key.location(), number,
                      [this](std::uint32_t n) { return keyAt(n).location(); });
    }
    edited_.push_back(&key);
    return key;
}

}  // namespace tessaron
