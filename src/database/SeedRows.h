#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// The fixed initial rows both dialects insert, as data. The dialects differ
// only in how they write them (a blank after each comma in MySQL).

// The administrator's account type, one SQL literal per column.
const std::vector<std::string_view>& adminAccountTypeValues();

struct TicketSubject {
    std::string_view shortType;
    std::string_view type;
};
// The trouble-ticket subjects, in insertion order.
const std::vector<TicketSubject>& ticketSubjects();

// "INSERT INTO <table> VALUES (" + values joined by the separator + ")".
std::string insertStatement(std::string_view table, const std::vector<std::string>& values,
                            std::string_view separator);

}  // namespace tessaron
