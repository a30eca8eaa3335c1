#include "settings/ConfigFileSiteLines.h"

#include <array>
#include <cctype>

namespace tessaron {
namespace {

constexpr std::array<std::string_view, 6> kSiteKeys = {
    "mainftpsvc",      "enablesharedsecure",   "sharedsecureserver",
    "sharedsecuresvc", "enablewebsitepreview", "previewsvc",
};

bool isSiteKey(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    std::string_view key = line.substr(0, equals);
    while (!key.empty() && key.front() == ' ') key.remove_prefix(1);
    while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
    std::string lower(key);
    for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto site : kSiteKeys) {
        if (lower == site) return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> SiteSettingLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        // A line ends at CR LF, or at a lone CR or LF.
        const auto end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (isSiteKey(line)) lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return lines;
}

}  // namespace tessaron
