#include "run/ContentHash.h"

// Header-only, so the Linux and the Windows build compile the same code and
// the Windows program needs no library of its own.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace tessaron {
namespace {

constexpr std::string_view kPrefix = "xxh3:";

}  // namespace

struct ContentHash::State {
    XXH3_state_t xxh3;
};

ContentHash::ContentHash() : state_(std::make_unique<State>()) {
    XXH3_128bits_reset(&state_->xxh3);
}

ContentHash::~ContentHash() = default;

void ContentHash::add(std::string_view bytes) {
    XXH3_128bits_update(&state_->xxh3, bytes.data(), bytes.size());
}

std::string ContentHash::text() const {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(&state_->xxh3));
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(kPrefix);
    for (const unsigned char byte : canonical.digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text;
}

std::string contentHash(std::string_view bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.text();
}

}  // namespace tessaron
