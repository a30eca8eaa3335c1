#include "settings/ConvertASPText.h"

#include "platform/WindowsPath.h"

namespace tessaron {

std::string ConvertASPText(const std::string& text) {
    std::string result = replaceAll(text, "\"", "\"\"");
    result = replaceAll(result, "/", "\\");
    while (result.find("\\\\") != std::string::npos) result = replaceAll(result, "\\\\", "\\");
    return result;
}

}  // namespace tessaron
