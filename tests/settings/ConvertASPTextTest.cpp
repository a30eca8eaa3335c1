#include <gtest/gtest.h>

#include <ostream>

#include "settings/ConvertASPText.h"

namespace tessaron {
namespace {

struct Conversion {
    const char* input;
    const char* expected;
};

// Names the case in test output.
void PrintTo(const Conversion& c, std::ostream* os) {
    *os << c.input;
}

class ConvertASPTextTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(ConvertASPTextTest, ConvertsAsThePanelReadsIt) {
    EXPECT_EQ(ConvertASPText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConvertASPTextTest,
    ::testing::Values(Conversion{"plain text 123", "plain text 123"},  //
                      Conversion{"", ""}, Conversion{"say \"hi\"", "say \"\"hi\"\""},
                      Conversion{"\"", "\"\""}, Conversion{"a/b//c", "a\\b\\c"},
                      Conversion{"http://mail.example.com/webmail",
                                 "http:\\mail.example.com\\webmail"},
                      Conversion{"\\\\fileserver\\share", "\\fileserver\\share"},
                      Conversion{"C:\\\\\\\\deep\\\\\\path\\", "C:\\deep\\path\\"},
                      Conversion{"C:\\Accounts\\\\", "C:\\Accounts\\"}, Conversion{"/\\/", "\\"},
                      // Case-sensitive, exact replacements only.
                      Conversion{"Ab'c|d", "Ab'c|d"}));

}  // namespace
}  // namespace tessaron
