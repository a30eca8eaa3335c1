#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaron::metabase_layout {

// The text of MetaBase.xml as IIS lays it out: where a key's element ends in
// the file's text, and a key written anew.

// The extent of a well-formed element that starts at '<' in the text.
struct ElementExtent {
    std::size_t startTagEnd;  // just after the start tag's '>'
    std::size_t closeBegin;   // the '<' of the end tag (startTagEnd when self-closing)
    std::size_t end;          // just after the element
    bool selfClosing;
};
ElementExtent scanElement(std::string_view text, std::size_t begin);

using Properties = std::vector<std::pair<std::string, std::string>>;

// True when every character of the UTF-8 text can stand in an XML 1.0
// document (as itself or a character reference): tab, line feed, carriage
// return, U+0020 to U+D7FF, U+E000 to U+FFFD, U+10000 and above. Other
// controls, U+FFFE, U+FFFF and invalid UTF-8 cannot, so a value holding
// them is refused rather than written into a file no parser accepts.
bool xmlCanHold(std::string_view text);

// A key in IIS's layout: the class as element name, tab, `Location =`, one
// property a line (in the order given, two tabs before each, list values continued on lines
// indented by three tabs), a tab before the start tag's '>', then `inner` and the end tag.
std::string renderKey(std::string_view className, std::string_view location,
                      const Properties& properties, std::string_view inner,
                      std::string_view lineBreak);

}  // namespace tessaron::metabase_layout
