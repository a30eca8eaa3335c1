#include "platform/image/MetabaseDocument.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/WindowsPath.h"
#include "platform/image/MetabaseErrors.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view parentOf(std::string_view location) {
    const auto slash = location.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : location.substr(0, slash);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && LocationEqual()(text.substr(0, prefix.size()), prefix);
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

}  // namespace

std::size_t LocationHash::operator()(std::string_view text) const noexcept {
    std::size_t hash = 1469598103934665603ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(lowerAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool LocationEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::unique_ptr<MetabaseDocument> MetabaseDocument::load(const fs::path& file) {
    std::unique_ptr<MetabaseDocument> doc(new MetabaseDocument);
    {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            throw metabase_error::invalidData("The metabase file " + file.string() +
                                              " cannot be opened for reading.");
        }
        std::ostringstream content;
        content << in.rdbuf();
        doc->text_ = std::move(content).str();
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
        if (begin >= text.size() || text[begin] != '<') {
            throw unreadable(file, text, begin, "a key's position is unknown");
        }
        auto& key = doc->keys_.emplace_back();
        key.location = location.value();
        key.className = node.name();
        key.element = node;
        key.begin = begin;
    }
    doc->order_.reserve(doc->keys_.size() + 16);
    doc->index_.reserve(doc->keys_.size() + 16);
    for (std::size_t i = 0; i < doc->keys_.size(); ++i) {
        auto& key = doc->keys_[i];
        key.segmentEnd = i + 1 < doc->keys_.size() ? doc->keys_[i + 1].begin : text.size();
        doc->order_.push_back(&key);
        // The first of two keys with one location is the one IIS would use.
        doc->index_.emplace(key.location, &key);
    }
    return doc;
}

MetabaseKey* MetabaseDocument::find(std::string_view location) {
    const auto found = index_.find(location);
    return found == index_.end() ? nullptr : found->second;
}

std::vector<MetabaseKey*> MetabaseDocument::children(std::string_view location) {
    std::vector<MetabaseKey*> result;
    LocationEqual equal;
    for (auto* key : order_) {
        if (key->location.size() > location.size() && equal(parentOf(key->location), location) &&
            find(key->location) == key) {
            result.push_back(key);
        }
    }
    return result;
}

std::optional<std::string> MetabaseDocument::property(const MetabaseKey& key,
                                                      std::string_view name) const {
    if (key.changed) {
        for (const auto& [propertyName, value] : key.properties) {
            if (equalsIgnoreCase(propertyName, name)) return value;
        }
        return std::nullopt;
    }
    for (auto attribute = key.element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (equalsIgnoreCase(attribute.name(), name) &&
            std::strcmp(attribute.name(), "Location") != 0) {
            return std::string(attribute.value());
        }
    }
    return std::nullopt;
}

void MetabaseDocument::materialize(MetabaseKey& key) {
    if (key.changed) return;
    for (auto attribute = key.element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (std::strcmp(attribute.name(), "Location") == 0) continue;
        key.properties.emplace_back(attribute.name(), attribute.value());
    }
    key.changed = true;
}

void MetabaseDocument::setProperty(MetabaseKey& key, std::string_view name, std::string text) {
    if (property(key, name) == text) return;
    materialize(key);
    for (auto& [propertyName, value] : key.properties) {
        if (equalsIgnoreCase(propertyName, name)) {
            value = std::move(text);
            return;
        }
    }
    key.properties.emplace_back(std::string(name), std::move(text));
}

void MetabaseDocument::setClassName(MetabaseKey& key, std::string className) {
    if (key.className == className) return;
    materialize(key);
    key.ownClassName = std::move(className);
    key.className = key.ownClassName;
}

MetabaseKey& MetabaseDocument::add(std::string className, std::string location,
                                   std::vector<std::pair<std::string, std::string>> properties) {
    auto& key = keys_.emplace_back();
    key.ownLocation = std::move(location);
    key.ownClassName = std::move(className);
    key.location = key.ownLocation;
    key.className = key.ownClassName;
    key.properties = std::move(properties);
    key.changed = true;

    // After the parent and everything below it, as IIS keeps the file.
    const auto parent = parentOf(key.location);
    std::size_t position = order_.size();
    for (std::size_t i = order_.size(); i-- > 0;) {
        const auto other = order_[i]->location;
        if (LocationEqual()(other, parent) ||
            (startsWithIgnoreCase(other, parent) && other.size() > parent.size() &&
             other[parent.size()] == '/')) {
            position = i + 1;
            break;
        }
    }
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), &key);
    index_.emplace(key.location, &key);
    return key;
}

std::string MetabaseDocument::renderKey(const MetabaseKey& key, std::string_view inner) const {
    std::vector<const std::pair<std::string, std::string>*> sorted;
    for (const auto& property : key.properties) sorted.push_back(&property);
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
        return asciiLower(a->first) < asciiLower(b->first);
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

std::string MetabaseDocument::render() {
    const auto firstRead = std::find_if(order_.begin(), order_.end(),
                                        [](const MetabaseKey* key) { return !key->created(); });
    if (firstRead == order_.end()) {
        // No key was read: new keys go before the end of <MBProperty>.
        auto at = text_.rfind("</MBProperty");
        if (at == std::string::npos) at = text_.size();
        std::string out = text_.substr(0, at);
        for (const auto* key : order_) out += renderKey(*key, eol_) + eol_;
        return out + text_.substr(at);
    }

    std::string out;
    out.reserve(text_.size() + 4096);
    out.append(text_, 0, (*firstRead)->begin);
    const std::string_view text(text_);
    for (auto it = firstRead; it != order_.end();) {
        const MetabaseKey& key = **it;
        auto next = it + 1;
        while (next != order_.end() && (*next)->created()) ++next;
        const bool followers = next != it + 1;
        if (!key.changed && !followers) {
            out.append(text, key.begin, key.segmentEnd - key.begin);
        } else {
            const auto extent = scanElement(text, key.begin);
            if (key.changed) {
                const auto inner =
                    extent.selfClosing
                        ? std::string_view(eol_)
                        : text.substr(extent.startTagEnd, extent.closeBegin - extent.startTagEnd);
                out += renderKey(key, inner);
            } else {
                out.append(text, key.begin, extent.end - key.begin);
            }
            for (auto created = it + 1; created != next; ++created) {
                out += eol_;
                out += renderKey(**created, eol_);
            }
            out.append(text, extent.end, key.segmentEnd - extent.end);
        }
        it = next;
    }
    return out;
}

}  // namespace tessaron
