#include "platform/image/MetabaseDocument.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

#include "platform/WindowsPath.h"
#include "platform/image/MetabaseErrors.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

std::string_view parentOf(std::string_view location) {
    const auto slash = location.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : location.substr(0, slash);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && caseInsensitiveEqual(text.substr(0, prefix.size()), prefix);
}

// "line 12, column 3 (offset 345)" of a byte offset in the text.
std::string position(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const auto line = 1 + std::count(text.begin(), text.begin() + offset, '\n');
    const auto lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const auto column =
        offset - (lineStart == std::string::npos || offset == 0 ? 0 : lineStart + 1) + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + " (offset " +
           std::to_string(offset) + ")";
}

PlatformError unreadable(const fs::path& file, const std::string& text, std::size_t offset,
                         const std::string& reason) {
    return metabase_error::invalidData("The metabase file " + file.string() +
                                       " cannot be read: " + reason + " at " +
                                       position(text, offset) + ".");
}

// The extent of a well-formed element that starts at '<' in the text.
struct ElementExtent {
    std::size_t startTagEnd;  // just after the start tag's '>'
    std::size_t closeBegin;   // the '<' of the end tag (startTagEnd when self-closing)
    std::size_t end;          // just after the element
    bool selfClosing;
};

// Skips a start tag from its '<'; returns the offset just after '>' and
// whether it closed itself. Quoted attribute values may hold '>'.
std::pair<std::size_t, bool> skipStartTag(std::string_view text, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return {i + 1, text[i - 1] == '/'};
        }
    }
    return {text.size(), false};
}

std::size_t skipPast(std::string_view text, std::size_t from, std::string_view marker) {
    const auto found = text.find(marker, from);
    return found == std::string_view::npos ? text.size() : found + marker.size();
}

ElementExtent scanElement(std::string_view text, std::size_t begin) {
    const auto [startTagEnd, selfClosing] = skipStartTag(text, begin);
    if (selfClosing) return {startTagEnd, startTagEnd, startTagEnd, true};
    int depth = 1;
    std::size_t i = startTagEnd;
    while (i < text.size()) {
        const auto open = text.find('<', i);
        if (open == std::string_view::npos) break;
        const auto rest = text.substr(open);
        if (rest.starts_with("<!--")) {
            i = skipPast(text, open + 4, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            i = skipPast(text, open + 9, "]]>");
        } else if (rest.starts_with("<?")) {
            i = skipPast(text, open + 2, "?>");
        } else if (rest.starts_with("</")) {
            i = skipPast(text, open + 2, ">");
            if (--depth == 0) return {startTagEnd, open, i, false};
        } else {
            const auto [after, closed] = skipStartTag(text, open);
            if (!closed) ++depth;
            i = after;
        }
    }
    return {startTagEnd, text.size(), text.size(), false};
}

// Escapes a value for an attribute. Each line break of a list becomes the
// file's line break and IIS's indentation; indentation read with the value
// is dropped first, so a rewritten list keeps one level of it.
void appendEscaped(std::string& out, std::string_view value, std::string_view lineBreak) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\n':
                out += lineBreak;
                while (i + 1 < value.size() && value[i + 1] == '\t') ++i;
                break;
            default: out += c;
        }
    }
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

// Reads the file into the text with one read of its size.
bool readWholeFile(const fs::path& file, std::string& text) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return false;
    }
    // One byte more than the size, so the end shows without growing.
    text.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t done = 0;
    while (true) {
        if (done == text.size()) text.resize(text.size() * 2);  // the file grew
        const auto count = ::read(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            const bool ok = count == 0;
            ::close(fd);
            text.resize(done);
            return ok;
        }
        done += static_cast<std::size_t>(count);
    }
}

}  // namespace

std::unique_ptr<MetabaseDocument> MetabaseDocument::load(const fs::path& file) {
    std::unique_ptr<MetabaseDocument> doc(new MetabaseDocument);
    if (!readWholeFile(file, doc->text_)) {
        throw metabase_error::invalidData("The metabase file " + file.string() +
                                          " cannot be read (" + std::strerror(errno) + ").");
    }
    const auto& text = doc->text_;

    // Line breaks inside attribute values separate the values of a list, so
    // they must survive parsing as they are.
    const unsigned flags = pugi::parse_default & ~pugi::parse_wconv_attribute;
    const auto parsed =
        doc->document_.load_buffer(text.data(), text.size(), flags, pugi::encoding_utf8);
    if (!parsed) {
        throw unreadable(file, text, static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, parsed.offset)),
                         std::string("not well-formed XML (") + parsed.description() + ")");
    }
    const auto root = doc->document_.document_element();
    const auto elementOffset = [&](const pugi::xml_node& node) {
        const auto offset = node.offset_debug();
        return offset > 0 ? static_cast<std::size_t>(offset - 1) : 0;
    };
    if (std::strcmp(root.name(), "configuration") != 0) {
        throw unreadable(file, text, elementOffset(root),
                         std::string("the root element is <") + root.name() +
                             ">, not <configuration>");
    }
    const auto properties = root.child("MBProperty");
    if (!properties) {
        throw unreadable(file, text, elementOffset(root), "<configuration> holds no <MBProperty>");
    }
    doc->eol_ = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";

    // About one key in 200 bytes of a typical file.
    doc->index_.reserve(text.size() / 200 + 16);
    doc->order_.reserve(text.size() / 200 + 16);
    for (auto node = properties.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element) continue;
        auto location = node.first_attribute();
        if (!location || std::strcmp(location.name(), "Location") != 0) {
            location = node.attribute("Location");
        }
        const auto begin = elementOffset(node);
        if (!location) {
            throw unreadable(file, text, begin,
                             std::string("the key <") + node.name() + "> has no Location");
        }
        const auto number = static_cast<std::uint32_t>(doc->keys_.size());
        if (number > 0) doc->keys_.back().segmentEnd = begin;
        auto& key = doc->keys_.emplace_back();
        key.location = location.value();
        key.className = node.name();
        key.element = node;
        key.begin = begin;
        key.segmentEnd = text.size();
        doc->index(key, number);
        doc->order_.push_back(&key);
    }
    return doc;
}

void MetabaseDocument::index(MetabaseKey& key, std::uint32_t number) {
    // The location's hash, and on the way the hash of its parent (the part
    // before the last "/"), so that listing children compares numbers.
    std::size_t hash = kHashStart;
    std::size_t parentHash = kHashStart;
    key.parentLength = 0;
    for (std::size_t i = 0; i < key.location.size(); ++i) {
        if (key.location[i] == '/') {
            parentHash = hash;
            key.parentLength = static_cast<std::uint32_t>(i);
        }
        hash = caseInsensitiveHashStep(hash, key.location[i]);
    }
    key.parentTag = NumberIndex::fold(parentHash);
    // Of two keys with one location the first counts; the other is kept in
    // the file but neither found nor listed.
    key.shadowed = index_.insert(key.location, NumberIndex::fold(hash), number,
                                 [this](std::uint32_t n) { return locationOf(n); }) !=
                   NumberIndex::npos;
}

MetabaseKey* MetabaseDocument::find(std::string_view location) {
    const auto number =
        index_.find(location, [this](std::uint32_t n) { return locationOf(n); });
    return number == NumberIndex::npos ? nullptr : &keys_[number];
}

std::vector<MetabaseKey*> MetabaseDocument::children(std::string_view location) {
    std::vector<MetabaseKey*> result;
    const auto tag = NumberIndex::tagOf(location);
    for (auto* key : order_) {
        if (key->parentTag == tag && key->parentLength == location.size() && !key->shadowed &&
            caseInsensitiveEqual(key->location.substr(0, location.size()), location)) {
            result.push_back(key);
        }
    }
    return result;
}

std::optional<std::string_view> MetabaseDocument::propertyView(const MetabaseKey& key,
                                                               std::string_view name) const {
    if (key.changed()) {
        for (const auto& [propertyName, value] : key.edits->properties) {
            if (caseInsensitiveEqual(propertyName, name)) return std::string_view(value);
        }
        return std::nullopt;
    }
    for (auto attribute = key.element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (equalsName(attribute.name(), name) && std::strcmp(attribute.name(), "Location") != 0) {
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
    for (auto attribute = key.element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (std::strcmp(attribute.name(), "Location") == 0) continue;
        edits->properties.emplace_back(attribute.name(), attribute.value());
    }
    key.edits = std::move(edits);
}

void MetabaseDocument::setProperty(MetabaseKey& key, std::string_view name, std::string text) {
    if (propertyView(key, name) == std::string_view(text)) return;
    materialize(key);
    auto& properties = key.edits->properties;
    for (auto& [propertyName, value] : properties) {
        if (caseInsensitiveEqual(propertyName, name)) {
            value = std::move(text);
            return;
        }
    }
    properties.emplace_back(std::string(name), std::move(text));
}

void MetabaseDocument::setClassName(MetabaseKey& key, std::string className) {
    if (key.className == className) return;
    materialize(key);
    key.edits->className = std::move(className);
    key.className = key.edits->className;
}

MetabaseKey& MetabaseDocument::add(std::string className, std::string location,
                                   std::vector<std::pair<std::string, std::string>> properties) {
    auto& key = keys_.emplace_back();
    key.edits = std::make_unique<MetabaseKeyEdits>();
    key.edits->location = std::move(location);
    key.edits->className = std::move(className);
    key.edits->properties = std::move(properties);
    key.location = key.edits->location;
    key.className = key.edits->className;

    // After the parent and everything below it, as IIS keeps the file.
    const auto parent = parentOf(key.location);
    std::size_t position = order_.size();
    for (std::size_t i = order_.size(); i-- > 0;) {
        const auto other = order_[i]->location;
        if (caseInsensitiveEqual(other, parent) ||
            (startsWithIgnoreCase(other, parent) && other.size() > parent.size() &&
             other[parent.size()] == '/')) {
            position = i + 1;
            break;
        }
    }
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), &key);
    index(key, static_cast<std::uint32_t>(keys_.size() - 1));
    return key;
}

std::string MetabaseDocument::renderKey(const MetabaseKey& key, std::string_view inner) const {
    std::vector<const std::pair<std::string, std::string>*> sorted;
    for (const auto& property : key.edits->properties) sorted.push_back(&property);
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
        return std::lexicographical_compare(
            a->first.begin(), a->first.end(), b->first.begin(), b->first.end(),
            [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) <
                                        std::tolower(static_cast<unsigned char>(y)); });
    });
    const std::string valueBreak = eol_ + "\t\t\t";
    std::string out;
    out += '<';
    out += key.className;
    out += "\tLocation =\"";
    appendEscaped(out, key.location, valueBreak);
    out += '"';
    out += eol_;
    for (const auto* property : sorted) {
        out += "\t\t";
        out += property->first;
        out += "=\"";
        appendEscaped(out, property->second, valueBreak);
        out += '"';
        out += eol_;
    }
    out += "\t>";
    out += inner;
    out += "</";
    out += key.className;
    out += '>';
    return out;
}

std::vector<std::string_view> MetabaseDocument::render(std::deque<std::string>& storage) const {
    std::vector<std::string_view> pieces;
    const std::string_view text(text_);
    const auto firstRead = std::find_if(order_.begin(), order_.end(),
                                        [](const MetabaseKey* key) { return !key->created(); });
    if (firstRead == order_.end()) {
        // No key was read: new keys go before the end of <MBProperty>.
        auto at = text.rfind("</MBProperty");
        if (at == std::string_view::npos) at = text.size();
        pieces.push_back(text.substr(0, at));
        for (const auto* key : order_) pieces.push_back(storage.emplace_back(renderKey(*key, eol_) + eol_));
        pieces.push_back(text.substr(at));
        return pieces;
    }

    // Unchanged keys are pieces of the text read, so an unchanged file is
    // written back byte for byte.
    std::size_t copiedFrom = 0;  // start of the text not yet in a piece
    const auto copyUpTo = [&](std::size_t end) {
        if (end > copiedFrom) pieces.push_back(text.substr(copiedFrom, end - copiedFrom));
        copiedFrom = end;
    };
    for (auto it = firstRead; it != order_.end();) {
        const MetabaseKey& key = **it;
        auto next = it + 1;
        while (next != order_.end() && (*next)->created()) ++next;
        if (key.changed() || next != it + 1) {
            const auto extent = scanElement(text, key.begin);
            if (key.changed()) {
                copyUpTo(key.begin);
                const auto inner =
                    extent.selfClosing
                        ? std::string_view(eol_)
                        : text.substr(extent.startTagEnd, extent.closeBegin - extent.startTagEnd);
                pieces.push_back(storage.emplace_back(renderKey(key, inner)));
                copiedFrom = extent.end;
            } else {
                copyUpTo(extent.end);
            }
            for (auto created = it + 1; created != next; ++created) {
                pieces.push_back(storage.emplace_back(eol_ + renderKey(**created, eol_)));
            }
        }
        it = next;
    }
    copyUpTo(text.size());
    return pieces;
}

std::string MetabaseDocument::renderText() const {
    std::deque<std::string> storage;
    std::string out;
    for (const auto piece : render(storage)) out += piece;
    return out;
}

}  // namespace tessaron
