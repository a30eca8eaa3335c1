#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace tessaron {

// Copies of many short texts, packed in large blocks so that scanning them
// stays within the processor's cache (the texts of a parsed file lie spread
// over megabytes). Copies never move.
class TextArena {
public:
    std::string_view copy(std::string_view text) {
        if (text.size() > free_) {
            const auto size = std::max(kBlockSize, text.size());
            blocks_.emplace_back(new char[size]);  // not zeroed: written before read
            next_ = blocks_.back().get();
            free_ = size;
        }
        std::memcpy(next_, text.data(), text.size());
        const std::string_view copied(next_, text.size());
        next_ += text.size();
        free_ -= text.size();
        return copied;
    }

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t free_ = 0;
};

}  // namespace tessaron
