#include "support/Fixtures.h"

#include <filesystem>
#include <stdexcept>

#include "support/TestMachine.h"

namespace tessaron::testing {

std::string fixtureBytes(const std::string& relativePath) {
    const std::filesystem::path path = sourceDir() / "tests" / "data" / relativePath;
    if (!std::filesystem::is_regular_file(path)) {
        throw std::runtime_error("missing fixture " + path.string());
    }
    return readBytes(path);
}

}  // namespace tessaron::testing
