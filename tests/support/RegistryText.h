#pragma once

// Registry export text as regedit writes it, for tests that write a
// machine's registry.reg.

#include <string>
#include <vector>

namespace tessaron::testing {

// UTF-16LE bytes of UTF-8 text (characters of the basic plane).
std::string utf16le(const std::string& utf8);

// A regedit export as regedit writes it: UTF-16LE with byte order mark.
std::string regeditExport(const std::string& utf8Text);

// "xx,xx,..." of the given bytes, lower-case hex.
std::string hexList(const std::string& bytes);

// The data of an expandable string value (REG_EXPAND_SZ): "hex(2):" over the
// text's UTF-16LE bytes with their terminating zero.
std::string expandableValue(const std::string& utf8);

// The data of a multi-string value (REG_MULTI_SZ): "hex(7):" over each
// item's UTF-16LE bytes with its zero, and the list's closing zero.
std::string multiStringValue(const std::vector<std::string>& items);

}  // namespace tessaron::testing
