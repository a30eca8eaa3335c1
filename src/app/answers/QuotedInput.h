#pragma once

#include <string>
#include <string_view>

namespace tessaron::app::answers {

// Input echoed in a message, cut to a readable length: text up to
// kShownInputLength characters as it is, a longer one as its first
// characters, "..." and its length ("abc..." (104857600 characters)), so a
// hostile file cannot flood the terminal.
inline constexpr std::size_t kShownInputLength = 80;

// The input in double quotes, cut as above.
std::string quotedInput(std::string_view text);
// The input without quotes, cut as above.
std::string shownInput(std::string_view text);

}  // namespace tessaron::app::answers
