#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tessaron {

// A Windows path taken apart: drive letter (upper case) and the names below
// the drive's root ("." dropped, ".." applied).
struct WindowsPathParts {
    char drive = 'C';
    std::vector<std::string> names;
};

// Parses "C:\a\b" (a forward slash also separates, as Windows accepts it);
// nullopt for relative, UNC or malformed paths and names with characters
// Windows forbids.
std::optional<WindowsPathParts> parseWindowsPath(const std::string& path);

// Where a Windows path lands in the image.
struct ResolvedPath {
    std::filesystem::path host;  // existing part in its own case, the rest as given
    bool exists = false;         // every name was found
};

// Maps Windows paths onto the image's drive folders (root/C, root/D, ...),
// finding each name without regard to case.
class ImagePaths {
public:
    explicit ImagePaths(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& root() const { return root_; }

    // nullopt when the path is malformed or its drive has no folder.
    std::optional<ResolvedPath> resolve(const std::string& windowsPath) const;
    std::optional<ResolvedPath> resolve(const WindowsPathParts& parts) const;
    // The Windows path of a host path inside a drive folder.
    std::optional<std::string> windowsPath(const std::filesystem::path& hostPath) const;

    // The entry of a folder whose name equals the given one without regard to
    // case (an exact match first); nullopt when there is none.
    static std::optional<std::filesystem::path> findEntry(const std::filesystem::path& folder,
                                                          const std::string& name);

private:
    std::filesystem::path root_;
};

// Case folding for name comparison: ASCII and Latin-1 letters.
std::string foldNameCase(const std::string& utf8);

}  // namespace tessaron
