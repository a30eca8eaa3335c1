// Values the metabase store writes into MetaBase.xml: what XML needs is
// escaped and reads back as put; what XML 1.0 cannot hold, and a line break
// or tab inside one value of a list, is refused, so the saved file always parses.
#include <gtest/gtest.h>

#include "MetabaseTestSupport.h"

namespace tessaron::testing {
namespace {

const std::string kIncorrect = "The parameter is incorrect.";

class MetabaseValueSafetyTest : public ::testing::Test {
protected:
    void SetUp() override { machine.writeFile(kMetabasePath, smallMetabase()); }
    std::unique_ptr<Metabase> store() { return createImageMetabase(machine.host(kMetabasePath)); }

    TestMachine machine;
};

TEST_F(MetabaseValueSafetyTest, EscapedValuesReadBackAsPut) {
    const std::string comment = "a \"q\" & <b> 'c' \t%TEMP%: Caf\xC3\xA9\r";
    const std::vector<std::string> bindings = {"10.0.0.5:80:a&b", ":81:\"<x>\"", ":82:%x%"};
    {
        auto metabase = store();
        auto site = metabase->Open("IIS://LocalHost/W3SVC")->Create("IIsWebServer", "3");
        site->Put("ServerComment", comment);
        site->Put("ServerBindings", bindings);
        site->SetInfo();
        metabase->Flush();
    }
    // A new store parses the saved file again.
    auto site = store()->Open("IIS://LocalHost/W3SVC/3");
    EXPECT_EQ(std::get<std::string>(site->Get("ServerComment")), comment);
    EXPECT_EQ(std::get<std::vector<std::string>>(site->Get("ServerBindings")), bindings);
}

TEST_F(MetabaseValueSafetyTest, ValuesXmlCannotHoldAreRefusedAndNothingIsSaved) {
    struct Case {
        const char* what;
        std::string property;
        MetabaseValue value;
    };
    const std::vector<Case> cases = {
        {"a control character", "ServerComment",
         std::string("21\x01"
                     "00")},
        {"a NUL", "Path", std::string("C:\\a\0b", 6)},
        {"U+FFFE", "ServerComment", std::string("x\xEF\xBF\xBE")},
        {"invalid UTF-8", "ServerComment", std::string("Caf\xE9")},
        {"a control character in a list", "ServerBindings",
         std::vector<std::string>{":21\x01"
                                  "00:"}},
        {"a CR in one value of a list", "ServerBindings",
         std::vector<std::string>{":80:\r10.0.0.5:81:"}},
        {"a tab in one value of a list", "ServerBindings",
         std::vector<std::string>{":80:", "\t:81:"}},
        {"a LF in a list given as text", "ServerBindings", std::string(":80:\n:81:")},
    };
    const std::string before = machine.readFile(kMetabasePath);
    for (const auto& c : cases) {
        auto metabase = store();
        auto site = metabase->Open("IIS://LocalHost/W3SVC/1");
        EXPECT_EQ(failureOf([&] { site->Put(c.property, c.value); }), kIncorrect) << c.what;
        site->SetInfo();
        metabase->Flush();
    }
    EXPECT_EQ(machine.readFile(kMetabasePath), before);
    EXPECT_EQ(
        failureOf([&] { store()->Open("IIS://LocalHost/W3SVC")->Create("IIsWebServer", "3\x02"); }),
        kIncorrect);
}

}  // namespace
}  // namespace tessaron::testing
