#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tessaron {

// Tells one version of a file's bytes from another: the 128-bit XXH3 hash
// of the bytes, written as "xxh3:" and 32 lower-case hexadecimal digits. It
// detects changes, not deliberate forgeries, which is all the run journal
// and the preview ask of it. The bytes are added piece by piece, so a file
// is hashed without holding it in memory.
class ContentHash {
public:
    ContentHash();
    ~ContentHash();
    ContentHash(const ContentHash&) = delete;
    ContentHash& operator=(const ContentHash&) = delete;

    void add(std::string_view bytes);
    // The hash of every byte added so far.
    std::string text() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The hash of the bytes, as ContentHash writes it.
std::string contentHash(std::string_view bytes);

}  // namespace tessaron
