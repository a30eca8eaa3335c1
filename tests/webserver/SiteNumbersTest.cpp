// The two rules that pick a site number, on real metabase files.
#include <gtest/gtest.h>

#include "platform/image/MachineImage.h"
#include "support/TestMachine.h"
#include "webserver/SiteNumbers.h"

namespace tessaron::testing {
namespace {

const std::string kFile = "C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml";

std::string key(const std::string& className, const std::string& location,
                const std::string& comment = "") {
    return "<" + className + "\tLocation =\"" + location + "\"\n" +
           (comment.empty() ? "" : "\t\tServerComment=\"" + comment + "\"\n") + "\t>\n</" +
           className + ">\n";
}

std::string metabase(const std::string& keys) {
    return "<?xml version =\"1.0\"?>\n<configuration "
           "xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n<MBProperty>\n" +
           key("IIsWebService", "/LM/W3SVC") + keys + "</MBProperty>\n</configuration>\n";
}

class SiteNumbersTest : public ::testing::Test {
protected:
    std::unique_ptr<Metabase> store(const std::string& keys) {
        machine.writeFile(kFile, metabase(keys));
        return createImageMetabase(machine.host(kFile));
    }
    TestMachine machine;
};

TEST_F(SiteNumbersTest, FreeNumberIsTheFirstThatDoesNotOpen) {
    struct Case {
        std::string keys;
        int number;
    };
    const std::vector<Case> cases = {
        {"", 1},
        {key("IIsWebServer", "/LM/W3SVC/1") + key("IIsWebServer", "/LM/W3SVC/2") +
             key("IIsWebServer", "/LM/W3SVC/4"),
         3},
        // Roots and other keys below a number do not take it.
        {key("IIsWebServer", "/LM/W3SVC/1") + key("IIsWebVirtualDir", "/LM/W3SVC/2/ROOT"), 2},
        // A key of any class holds its number.
        {key("IIsWebServer", "/LM/W3SVC/1") + key("IIsFilters", "/LM/W3SVC/2"), 3},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.keys);
        auto iis = store(test.keys);
        EXPECT_EQ(FindFreeSiteNumber(*iis, "IIS://LocalHost/W3SVC"), test.number);
    }
    // Without the metabase the first open fails.
    auto absent = createImageMetabase(machine.host("C:\\none.xml"));
    EXPECT_EQ(FindFreeSiteNumber(*absent, "IIS://LocalHost/W3SVC"), 1);
}

TEST_F(SiteNumbersTest, CommentMatchesExactlyAndTheLastMatchWins) {
    auto iis = store(
        key("IIsWebServer", "/LM/W3SVC/1", "Shop") +
        key("IIsFilters", "/LM/W3SVC/Filters") +  // no ServerComment at all
        key("IIsWebServer", "/LM/W3SVC/7", "Shop") +
        key("IIsWebVirtualDir", "/LM/W3SVC/7/ROOT", "Shop") +
        key("IIsFtpServer", "/LM/W3SVC/9", "Shop") + key("IIsWebServer", "/LM/W3SVC/3", "Shop") +
        key("IIsWebServer", "/LM/W3SVC/5", "shop") + key("IIsWebServer", "/LM/W3SVC/6"));
    auto web = iis->Open("IIS://LocalHost/W3SVC");
    EXPECT_EQ(FindSiteByComment(*web, "IIsWebServer", "Shop"), "3");
    EXPECT_EQ(FindSiteByComment(*web, "IIsWebServer", "shop"), "5");
    EXPECT_EQ(FindSiteByComment(*web, "IIsFtpServer", "Shop"), "9");
    EXPECT_EQ(FindSiteByComment(*web, "IIsWebServer", "Shop "), "0");
    EXPECT_EQ(FindSiteByComment(*web, "IIsWebServer", ""), "0");
}

}  // namespace
}  // namespace tessaron::testing
