#include "settings/ConfigFileSiteLines.h"

#include <stdexcept>

#include "platform/Text.h"
#include "settings/ConfigFileBody.h"
#include "settings/ConfigKeys.h"

namespace tessaron {
namespace {

bool isSiteKey(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string key = trimSpaces(line.substr(0, equals));
    for (const auto& site : configKeys()) {
        if (site.form == LineForm::AfterBody && equalsIgnoreCase(site.name, key)) return true;
    }
    return false;
}

const char* siteKeyName(std::string SettingsRecord::*field) {
    for (const auto& site : configKeys()) {
        if (site.form == LineForm::AfterBody && site.field == field) return site.name;
    }
    throw std::logic_error("no site line holds this setting");
}

}  // namespace

std::string siteLine(std::string SettingsRecord::*field, const std::string& value) {
    return std::string(siteKeyName(field)) + " = " +
           vbscriptStringLiteral(withoutLineBreaks(value));
}

std::string siteSwitchLine(std::string SettingsRecord::*field, bool on) {
    return std::string(siteKeyName(field)) + (on ? " = True" : " = False");
}

std::vector<std::string> siteSettingLines(std::string_view text) {
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
