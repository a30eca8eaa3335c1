#pragma once

#include <filesystem>

namespace tessaron::bench {

// Copies the Windows Server 2003 sample into a fresh temporary folder and
// adds `sites` web sites (each with its ROOT) to its MetaBase.xml, numbered
// from 1000 up. Returns the image's folder; the caller removes it.
std::filesystem::path makeManySiteImage(const std::filesystem::path& sourceDir, int sites);

// The image's MetaBase.xml.
std::filesystem::path metabaseFileOf(const std::filesystem::path& image);

}  // namespace tessaron::bench
