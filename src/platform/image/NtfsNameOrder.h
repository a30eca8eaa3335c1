#pragma once

#include <string>
#include <vector>

namespace tessaron {

// Puts a folder's entry names in the order in which NTFS lists them: by
// their upper-cased UTF-16 forms, compared code unit by code unit (so
// "BlueSky" comes before "Blue_Sky", as 'S' is below '_'). The image backend
// lists folders this way on every host, so that what a run reads from a
// folder listing does not depend on the host's file system.
void sortInNtfsOrder(std::vector<std::string>& names);

}  // namespace tessaron
