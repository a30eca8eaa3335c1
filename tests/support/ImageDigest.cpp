#include "support/ImageDigest.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/TestMachine.h"

namespace fs = std::filesystem;

namespace tessaron::testing {

std::string imageDigest(const fs::path& root) {
    std::vector<fs::path> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        // The run lock's file appears with the first action that holds the
        // machine and stays; it holds nothing of the machine's state.
        if (entry.path() == root / ".tessaron-run.lock") continue;
        entries.push_back(entry.path());
    }
    std::sort(entries.begin(), entries.end());
    // FNV-1a over the paths, permission bits and contents, in path order.
    std::uint64_t hash = 1469598103934665603ull;
    const auto add = [&hash](std::string_view bytes) {
        for (const unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ 0xFF) * 1099511628211ull;  // ends each piece
    };
    for (const auto& path : entries) {
        add(fs::relative(path, root).generic_string());
        add(std::to_string(static_cast<unsigned>(fs::status(path).permissions())));
        if (fs::is_regular_file(path)) add(readBytes(path));
    }
    return std::to_string(entries.size()) + " entries, " + std::to_string(hash);
}

}  // namespace tessaron::testing
