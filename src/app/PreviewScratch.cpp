#include "app/PreviewScratch.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <vector>

#include "run/ContentHash.h"

namespace fs = std::filesystem;

namespace tessaron::app {
namespace {

#ifdef _WIN32
// Windows' runtime has no mkdtemp: a random name, taken only when the folder
// did not exist before.
fs::path makeTemporaryFolder() {
    std::random_device random;
    std::error_code error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        const fs::path folder =
            fs::temp_directory_path() / ("tessaron-preview-" + std::string(suffix));
        if (fs::create_directory(folder, error)) return folder;
        if (error) break;
    }
    throw fs::filesystem_error("cannot create a scratch folder", fs::temp_directory_path(),
                               error ? error : std::make_error_code(std::errc::file_exists));
}
#else
fs::path makeTemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "tessaron-preview-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw fs::filesystem_error("cannot create a scratch folder", fs::path(pattern),
                                   std::error_code(errno, std::generic_category()));
    }
    return pattern;
}
#endif

// Folders are created writable so their files can be copied in; their own
// permissions are applied afterwards, deepest first.
void copyTree(const fs::path& from, const fs::path& to) {
    std::vector<std::pair<fs::path, fs::perms>> folders;
    for (auto it = fs::recursive_directory_iterator(from); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path target = to / fs::relative(it->path(), from);
        const auto status = it->symlink_status();
        if (fs::is_symlink(status)) {
            fs::copy_symlink(it->path(), target);
        } else if (fs::is_directory(status)) {
            fs::create_directory(target);
            folders.emplace_back(target, status.permissions());
        } else if (fs::is_regular_file(status)) {
            fs::copy_file(it->path(), target);
            fs::permissions(target, status.permissions());
        }
    }
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        fs::permissions(it->first, it->second);
    fs::permissions(to, fs::status(from).permissions());
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

PreviewScratch::PreviewScratch(const fs::path& image) : root_(makeTemporaryFolder()) {
    try {
        copyTree(image, root_);
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
        throw;
    }
}

PreviewScratch::~PreviewScratch() {
    std::error_code ignored;
    // Read-only folders of the copy would keep their entries from going.
    for (auto it = fs::recursive_directory_iterator(root_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

ImageTree ImageTree::read(const fs::path& root) {
    ImageTree tree;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string relative = fs::relative(it->path(), root).generic_string();
        if (it->is_directory()) {
            tree.folders[relative] = true;
        } else if (it->is_regular_file()) {
            tree.files[relative] = contentHash(readAll(it->path()));
        }
    }
    return tree;
}

}  // namespace tessaron::app
