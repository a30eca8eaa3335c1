#include "platform/FileSystem.h"

#include "platform/CodePage1252.h"

namespace tessaron {

void FileSystem::ReadFileBytes(const std::string& path, const BytesConsumer& consume) {
    const auto bytes = encodeCodePage1252(ReadTextFile(path));
    if (bytes) consume(*bytes);
}

}  // namespace tessaron
