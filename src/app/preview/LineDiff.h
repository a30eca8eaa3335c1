#pragma once

#include <string>
#include <vector>

namespace tessaron::app::preview {

// One changed line of a line-by-line comparison.
struct ChangedLine {
    char change;     // '-' removed, '+' added
    int lineNumber;  // in the old file for '-', in the new file for '+' (from 1)
    std::string text;
};

// The lines removed from and added to oldLines to make newLines, in file
// order, by a longest common subsequence (a line that only moved counts as
// removed and added).
std::vector<ChangedLine> diffLines(const std::vector<std::string>& oldLines,
                                   const std::vector<std::string>& newLines);

// Text split at CR LF or LF; a final line break ends the last line.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace tessaron::app::preview
