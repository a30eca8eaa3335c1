// Reader of regedit exports. The whole file is decoded and checked before
// anything is kept, so a faulty file never yields part of a registry.
#include "platform/image/RegistryFile.h"

#include <array>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/Failure.h"
#include "platform/WindowsPath.h"
#include "platform/image/RegistryParsing.h"

namespace tessaron {
namespace {

using namespace registry_parsing;

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

// ---- Keys ----

struct Hive {
    std::string_view name;
    std::string_view abbreviation;  // as other tools write it; regedit refuses it
};

constexpr std::array<Hive, 6> kHives = {{
    {"HKEY_LOCAL_MACHINE", "HKLM"},
    {"HKEY_CURRENT_USER", "HKCU"},
    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_USERS", "HKU"},
    {"HKEY_CURRENT_CONFIG", "HKCC"},
    {"HKEY_DYN_DATA", ""},
}};

bool isHive(std::string_view name) {
    for (const auto& hive : kHives) {
        if (equalsIgnoreCase(name, hive.name)) return true;
    }
    return false;
}

void checkHive(const std::vector<std::string>& parts, std::size_t line) {
    const auto& first = parts.front();
    if (isHive(first)) return;
    for (const auto& hive : kHives) {
        if (!hive.abbreviation.empty() && equalsIgnoreCase(first, hive.abbreviation)) {
            fault(line,
                  "the hive \"" + first + "\" is abbreviated; write " + std::string(hive.name));
        }
    }
    if (equalsIgnoreCase(first, "Computer") && parts.size() > 1 && isHive(parts[1])) {
        fault(line,
              "the key begins with \"" + first +
                  "\\\" as regedit's address bar shows it; a key begins with its hive, such as "
                  "HKEY_LOCAL_MACHINE");
    }
    fault(line, "the key does not begin with a registry hive such as HKEY_LOCAL_MACHINE");
}

std::string checkedKeyPath(std::string_view path, std::size_t line) {
    if (path.empty()) fault(line, "the key has no name");
    // Regedit takes "[...\Key\]" as the key itself.
    if (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
    const auto parts = splitText(path, "\\");
    checkHive(parts, line);
    for (const auto& part : parts) {
        if (part.empty()) fault(line, "the key's name holds an empty part");
    }
    return std::string(path);
}

// ---- Lines ----

enum class LineKind { Blank, Comment, Key, Value, Stray };

LineKind classify(std::string_view text) {
    if (text.empty()) return LineKind::Blank;
    switch (text.front()) {
        case ';':
        case '#':
            return LineKind::Comment;
        case '[':
            return LineKind::Key;
        case '"':
        case '@':
            return LineKind::Value;
        default:
            return LineKind::Stray;
    }
}

class Parser {
public:
    Parser(const std::vector<Line>& lines, RegistryFile& file) : lines_(lines), file_(file) {}

    void run() {
        readHeader();
        for (index_ = 1; index_ < lines_.size(); ++index_) {
            const auto text = trimBlanks(lines_[index_].text);
            const auto kind = classify(text);
            // Regedit ignores what follows a removed key up to the next key.
            if (keyRemoved_ && kind != LineKind::Key) continue;
            switch (kind) {
                case LineKind::Blank:
                case LineKind::Comment:
                    break;
                case LineKind::Key:
                    readKey(text);
                    break;
                case LineKind::Value:
                    readValue();
                    break;
                case LineKind::Stray:
                    fault(line(), "the line is neither a key, a value nor a comment");
            }
        }
    }

    const std::vector<RegistryWarning>& warnings() const { return warnings_; }

private:
    std::size_t line() const { return lines_[index_].number; }

    void readHeader() {
        if (lines_.empty()) fault(1, "the file is empty");
        const auto header = trimBlanks(lines_[0].text);
        if (header == kHeader5) {
            file_.format.regedit4 = false;
        } else if (header == kHeader4) {
            file_.format.regedit4 = true;
        } else {
            fault(1,
                  "the first line is not \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
        }
    }

    void readKey(std::string_view text) {
        const auto close = text.rfind(']');
        if (close == std::string_view::npos) fault(line(), "the key's name has no closing \"]\"");
        if (!onlyCommentFollows(text.substr(close + 1))) {
            fault(
                line(),
                "unexpected text after the key's closing \"]\" (only a \";\" comment may follow)");
        }
        auto path = text.substr(1, close - 1);
        keyRemoved_ = !path.empty() && path.front() == '-';
        if (keyRemoved_) path.remove_prefix(1);
        currentKey_ = checkedKeyPath(path, line());
        if (keyRemoved_) {
            file_.tree.deleteKey(*currentKey_);
        } else {
            file_.tree.addKey(*currentKey_);
        }
    }

    void readValue() {
        if (!currentKey_) fault(line(), "a value comes before the first key");
        ValueContext context{lines_, index_, file_.format.regedit4, warnings_};
        std::string name;
        auto entry = parseValueLine(context, name);
        if (entry) {
            entry->name = name;
            file_.tree.setValue(*currentKey_, std::move(*entry));
        } else {
            file_.tree.deleteValue(*currentKey_, name);
        }
    }

    const std::vector<Line>& lines_;
    RegistryFile& file_;
    std::size_t index_ = 0;
    std::optional<std::string> currentKey_;
    bool keyRemoved_ = false;
    std::vector<RegistryWarning> warnings_;
};

}  // namespace

RegistryFile parseRegistryFile(std::string_view bytes, const std::string& fileName) {
    try {
        RegistryFile file;
        const auto lines = decodeLines(bytes, file.format);
        Parser parser(lines, file);
        parser.run();
        for (const auto& warning : parser.warnings()) {
            file.warnings.push_back("Warning: the registry file " + fileName + " at line " +
                                    std::to_string(warning.line) + ": " + warning.reason + ".");
        }
        return file;
    } catch (const RegistryFault& error) {
        throw PlatformError("The registry file " + fileName + " is not valid at line " +
                            std::to_string(error.line) + ": " + error.reason + ".");
    }
}

RegistryFile readRegistryFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw PlatformError("The machine image has no registry file " + file.string() + ".");
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        throw PlatformError("The registry file " + file.string() + " cannot be read.");
    }
    return parseRegistryFile(bytes, file.string());
}

}  // namespace tessaron
