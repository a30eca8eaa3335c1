#include "app/preview/LineDiff.h"

namespace tessaron::app::preview {

std::vector<ChangedLine> diffLines(const std::vector<std::string>& oldLines,
                                   const std::vector<std::string>& newLines) {
    const std::size_t n = oldLines.size(), m = newLines.size();
    // common[i][j]: length of the longest common subsequence of the tails.
    std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            common[i][j] = oldLines[i] == newLines[j]
                               ? common[i + 1][j + 1] + 1
                               : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    std::vector<ChangedLine> changes;
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && oldLines[i] == newLines[j]) {
            ++i;
            ++j;
        } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
            changes.push_back({'-', static_cast<int>(i + 1), oldLines[i]});
            ++i;
        } else {
            changes.push_back({'+', static_cast<int>(j + 1), newLines[j]});
            ++j;
        }
    }
    return changes;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace tessaron::app::preview
