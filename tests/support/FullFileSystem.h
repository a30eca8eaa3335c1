#pragma once

#include <filesystem>

namespace tessaron::testing {

// A small file system of its own (tmpfs) mounted on a folder, that a test
// fills so that the next write in it runs out of space as on a full disk.
// Mounting needs the right to mount (root in the test container); without
// it mounted() is false and the test skips. Unmounted when the object goes,
// so declare it after the TestMachine whose folder it covers.
class FullFileSystem {
public:
    // Mounts on `folder` (created when missing); whatever the folder held is
    // hidden until the unmount.
    explicit FullFileSystem(const std::filesystem::path& folder);
    ~FullFileSystem();
    FullFileSystem(const FullFileSystem&) = delete;
    FullFileSystem& operator=(const FullFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    // Takes every free block with a file of its own.
    void fill() const;

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

inline constexpr const char* kCannotMount =
    "cannot mount a tmpfs here (needs root or CAP_SYS_ADMIN); the full-disk case is not run";

}  // namespace tessaron::testing
