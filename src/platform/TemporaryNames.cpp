#include "platform/TemporaryNames.h"

#include <random>

namespace tessaron {
namespace {

constexpr std::string_view kSuffix = ".tessaron-tmp";
constexpr std::size_t kRandomDigits = 8;

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::string temporaryNameFor(std::string_view name) {
    static const char digits[] = "0123456789abcdef";
    std::random_device device;
    std::string text = ".";
    text += name;
    text += '.';
    for (std::size_t i = 0; i < kRandomDigits; ++i) text += digits[device() % 16];
    text += kSuffix;
    return text;
}

std::string temporaryPathBeside(const std::string& windowsPath) {
    const auto slash = windowsPath.find_last_of('\\');
    if (slash == std::string::npos) return temporaryNameFor(windowsPath);
    return windowsPath.substr(0, slash + 1) + temporaryNameFor(windowsPath.substr(slash + 1));
}

bool isTemporaryName(std::string_view name) {
    // "." + at least one character + "." + digits + suffix
    const std::size_t fixed = 1 + 1 + kRandomDigits + kSuffix.size();
    if (name.size() <= fixed || name.front() != '.' || !name.ends_with(kSuffix)) return false;
    name.remove_suffix(kSuffix.size());
    const auto random = name.substr(name.size() - kRandomDigits);
    for (char c : random) {
        if (!isHexDigit(c)) return false;
    }
    return name[name.size() - kRandomDigits - 1] == '.';
}

}  // namespace tessaron
