#pragma once

#include <string>

namespace tessaron::app::answers {

// An unquoted answers-file value that names where the value is kept instead
// of holding it: "@env:NAME" is the environment variable NAME, "@file:PATH"
// the text of the file PATH (relative to the answers file's folder) without
// one final line break. Any other value is returned as it is. Throws
// UsageError naming the file and line when the variable is not set or the
// file cannot be read.
std::string resolveAnswerReference(const std::string& value, const std::string& fileName, int line);

}  // namespace tessaron::app::answers
