#include "app/answers/AnswerReferences.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/answers/AnswersFile.h"
#include "platform/HostPath.h"

namespace fs = std::filesystem;

namespace tessaron::app::answers {
namespace {

const std::string kEnvironment = "@env:";
const std::string kFile = "@file:";

UsageError referenceError(const std::string& fileName, int line, const std::string& text) {
    return UsageError(fileName + ":" + std::to_string(line) + ": " + text);
}

std::string fileText(const std::string& path, const std::string& fileName, int line) {
    fs::path target = hostPathFromUtf8(path);
    if (target.is_relative()) target = hostPathFromUtf8(fileName).parent_path() / target;
    std::error_code error;
    if (!fs::is_regular_file(target, error)) {
        throw referenceError(
            fileName, line,
            "cannot read " + utf8FromHostPath(target) + " named by " + kFile + path + ": " +
                (fs::exists(target, error) ? "not a regular file" : "no such file"));
    }
    std::ifstream in(target, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        throw referenceError(
            fileName, line,
            "cannot read " + utf8FromHostPath(target) + ": " + std::strerror(errno));
    }
    // A file written by an editor or "echo" ends with a line break that is
    // not part of the secret.
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

}  // namespace

std::string resolveAnswerReference(const std::string& value, const std::string& fileName,
                                   int line) {
    if (value.rfind(kEnvironment, 0) == 0) {
        const std::string name = value.substr(kEnvironment.size());
        const char* text = name.empty() ? nullptr : std::getenv(name.c_str());
        if (!text) {
            throw referenceError(
                fileName, line,
                "the environment variable " + name + " named by " + value + " is not set");
        }
        return text;
    }
    if (value.rfind(kFile, 0) == 0) return fileText(value.substr(kFile.size()), fileName, line);
    return value;
}

}  // namespace tessaron::app::answers
