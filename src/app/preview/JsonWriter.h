#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron::app::preview {

// Writes one JSON document, indented by two spaces. Objects and arrays are
// opened and closed in pairs; inside an object every value is preceded by
// key(). Texts must be UTF-8; control characters, quotes and backslashes are
// escaped.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(bool flag);
    JsonWriter& value(long long number);
    JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
    JsonWriter& null();
    // A key with a text value, or null when absent.
    JsonWriter& field(std::string_view name, std::string_view text) {
        return key(name).value(text);
    }
    JsonWriter& stringArray(std::string_view name, const std::vector<std::string>& texts);

    // The document, with a final line break.
    std::string text() const { return out_ + "\n"; }

private:
    void beforeValue();
    void newLine();

    std::string out_;
    struct Level {
        bool object;
        bool empty = true;
    };
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

// A text as a JSON string literal, quotes included.
std::string jsonQuoted(std::string_view text);

}  // namespace tessaron::app::preview
