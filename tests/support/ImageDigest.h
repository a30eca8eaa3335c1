#pragma once

#include <filesystem>
#include <string>

namespace tessaron::testing {

// A digest of a machine image: every file's and folder's path below the root
// with each file's bytes and permission bits, so two equal digests mean
// nothing in the image changed. The run lock's file is left out.
std::string imageDigest(const std::filesystem::path& root);

}  // namespace tessaron::testing
