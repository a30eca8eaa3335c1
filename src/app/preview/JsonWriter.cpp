#include "app/preview/JsonWriter.h"

#include <cstdio>

namespace tessaron::app::preview {

std::string jsonQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char character : text) {
        const auto c = static_cast<unsigned char>(character);
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    quoted += escape;
                } else {
                    quoted += static_cast<char>(c);
                }
        }
    }
    return quoted + "\"";
}

void JsonWriter::newLine() {
    out_ += '\n';
    out_.append(levels_.size() * 2, ' ');
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) return;
    if (!levels_.back().empty) out_ += ',';
    levels_.back().empty = false;
    newLine();
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    out_ += jsonQuoted(name) + ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    out_ += '{';
    levels_.push_back({true});
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    out_ += '[';
    levels_.push_back({false});
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty) newLine();
    out_ += '}';
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty) newLine();
    out_ += ']';
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    out_ += jsonQuoted(text);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    out_ += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::value(long long number) {
    beforeValue();
    out_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    out_ += "null";
    return *this;
}

JsonWriter& JsonWriter::stringArray(std::string_view name, const std::vector<std::string>& texts) {
    key(name).beginArray();
    for (const auto& text : texts) value(text);
    return endArray();
}

}  // namespace tessaron::app::preview
