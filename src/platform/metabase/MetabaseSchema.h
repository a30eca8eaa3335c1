#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Metabase.h"

namespace tessaron::metabase_schema {

// How MetaBase.xml keeps a property as attribute text. IIS takes the types
// from its schema; this table covers the properties the program and a
// typical server use, everything else is text.
enum class Kind {
    Text,      // as written
    Integer,   // decimal digits
    Boolean,   // TRUE / FALSE
    List,      // one value per line
    AccessBit  // one named bit of AccessFlags ("AccessRead | AccessScript")
};

struct PropertyInfo {
    std::string_view name;  // IIS's spelling, used for new attributes
    Kind kind;
    unsigned long bit;  // AccessBit only
};

// The property's entry (names compared without regard to case); Text with
// the given name when the property is not in the table.
PropertyInfo lookup(std::string_view name);

inline constexpr std::string_view kAccessFlags = "AccessFlags";

// The attribute text of a value put into a property of that kind. Throws
// PlatformError ("Type mismatch") when the value does not fit.
std::string toText(Kind kind, const MetabaseValue& value);
// The value of attribute text read from a property of that kind; text that
// does not fit the kind is returned as text.
MetabaseValue fromText(Kind kind, std::string_view text);

// Multi-valued text: one value per line; continuation lines are indented
// with tabs in IIS's layout, which the values never include.
std::vector<std::string> splitLines(std::string_view text);

// AccessFlags as a bit mask and back ("AccessRead | AccessScript", "0" when
// no bit is set). Names the table does not know are kept in `unknown` so a
// rewrite does not lose them.
struct AccessFlags {
    unsigned long bits = 0;
    std::string unknown;  // " | "-joined names the table does not know
};
AccessFlags parseAccessFlags(std::string_view text);
std::string formatAccessFlags(const AccessFlags& flags);

}  // namespace tessaron::metabase_schema
