#include "settings/ConfigFileBody.h"

#include <ctime>

#include "settings/ConvertASPText.h"

namespace tessaron {

std::string withoutLineBreaks(std::string value) {
    std::erase_if(value, [](char c) { return c == '\r' || c == '\n'; });
    return value;
}

std::string vbscriptStringLiteral(std::string_view value) {
    std::string literal = "\"";
    for (const char c : value) {
        if (c == '"') literal += '"';
        literal += c;
    }
    literal += '"';
    return literal;
}

std::optional<std::string> configFileLineText(const ConfigKey& line,
                                              const ConfigFileSources& sources) {
    if (line.form == LineForm::Literal) return std::string(line.name);
    if (!isBodyLine(line)) return std::nullopt;
    const std::optional<std::string> value =
        line.value ? line.value(sources) : sources.settings.*(line.field);
    if (!value) return std::nullopt;
    const std::string text = withoutLineBreaks(*value);
    const std::string key = line.name;
    switch (line.form) {
        case LineForm::Quoted:
            return key + " = \"" + ConvertASPText(text) + "\"";
        case LineForm::Bare:
            return key + " = " + ConvertASPText(text);
        case LineForm::RawBare:
            return key + " = " + text;
        case LineForm::Heading:
            return key + text;
        case LineForm::Literal:
        case LineForm::AfterBody:
        case LineForm::NotWritten:
            break;
    }
    return std::nullopt;
}

std::vector<std::optional<std::string>> configFileBodyLines(const ConfigFileSources& sources) {
    std::vector<std::optional<std::string>> lines;
    for (const auto& line : configKeys()) {
        if (isBodyLine(line)) lines.push_back(configFileLineText(line, sources));
    }
    return lines;
}

std::string frontPage2002ToolPath(const std::string& programFilesDir) {
    return programFilesDir +
           "\\Common Files\\Microsoft Shared\\Web Server Extensions\\50\\bin\\owsadm.exe";
}

std::string shortDateText(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    return std::to_string(local.tm_mon + 1) + "/" + std::to_string(local.tm_mday) + "/" +
           std::to_string(local.tm_year + 1900);
}

}  // namespace tessaron
