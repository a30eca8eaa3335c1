// The small pieces the preview and the run journal are built from.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/preview/LineDiff.h"
#include "app/preview/MetabaseDiff.h"
#include "app/preview/PreviewVerdict.h"
#include "run/ContentHash.h"

namespace tessaron::app::testing {

using preview::alreadyConfiguredJson;
using preview::diffLines;
using preview::MetabaseKeyChange;
using preview::previewJson;
using preview::PreviewReport;
using preview::PreviewVerdict;
using preview::previewVerdict;
using preview::splitLines;

namespace {

TEST(ContentHash, PiecesHashAsTheWholeInTheJournalsForm) {
    // XXH3's 128-bit hash of no bytes in the form journals are written in,
    // which a later version must read alike.
    EXPECT_EQ(contentHash(""), "xxh3:99aa06d3014798d86001c324468d497f");
    const std::string bytes(200000, 'x');
    ContentHash pieces;
    pieces.add(std::string_view(bytes).substr(0, 65536));
    pieces.add(std::string_view(bytes).substr(65536));
    EXPECT_EQ(pieces.text(), contentHash(bytes));
    EXPECT_NE(contentHash(bytes), contentHash(bytes.substr(1)));
}

TEST(LineDiff, ChangedLinesWithTheirNumbers) {
    const auto changes = diffLines({"a", "b", "c", "d"}, {"a", "B", "c", "d", "e"});
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].change, '-');
    EXPECT_EQ(changes[0].lineNumber, 2);
    EXPECT_EQ(changes[0].text, "b");
    EXPECT_EQ(changes[1].change, '+');
    EXPECT_EQ(changes[1].lineNumber, 2);
    EXPECT_EQ(changes[2].text, "e");
    EXPECT_EQ(changes[2].lineNumber, 5);
    EXPECT_TRUE(diffLines({"x"}, {"x"}).empty());
    EXPECT_EQ(splitLines("one\r\ntwo\nthree"), (std::vector<std::string>{"one", "two", "three"}));
}

// The preview's JSON document: quotes, backslashes and control characters
// escaped, UTF-8 kept, each level indented two spaces deeper, empty lists as
// [], unset values as null, a final line break.
TEST(PreviewJson, EscapesAndNesting) {
    const std::string text = "a \"quote\" \\ and\ttab\x01\b\f\x1f \xc3\xa9";
    const std::string escaped =
        "a \\\"quote\\\" \\\\ and\\ttab\\u0001\\u0008\\u000c\\u001f \xc3\xa9";
    EXPECT_EQ(alreadyConfiguredJson(text + "\r\n", 3),
              "{\n"
              "  \"schemaVersion\": 1,\n"
              "  \"changed\": false,\n"
              "  \"alreadyConfigured\": true,\n"
              "  \"counts\": {\n"
              "    \"configLines\": 0,\n"
              "    \"metabaseKeys\": 0,\n"
              "    \"sqlStatements\": 0,\n"
              "    \"commands\": 0,\n"
              "    \"foldersCreated\": 0,\n"
              "    \"filesCreated\": 0,\n"
              "    \"filesChanged\": 0\n"
              "  },\n"
              "  \"machine\": \"" +
                  escaped +
                  "\\r\\n\",\n"
                  "  \"result\": {\n"
                  "    \"exitStatus\": 3,\n"
                  "    \"line\": \"The machine is configured already; without --yes nothing is "
                  "run.\"\n"
                  "  }\n"
                  "}\n");

    PreviewReport report;
    report.metabaseFile = "C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml";
    report.metabaseChanges = {{MetabaseKeyChange::Kind::Created,
                               "/LM/W3SVC/3",
                               "IIsWebServer",
                               {{"ServerBindings", std::nullopt, ":2100:\n" + text}}}};
    const std::string json = previewJson(report);
    EXPECT_NE(json.find("  \"metabase\": {\n"
                        "    \"path\": \"C:\\\\WINDOWS\\\\system32\\\\inetsrv\\\\MetaBase.xml\",\n"
                        "    \"sites\": [],\n"
                        "    \"takenOver\": [],\n"
                        "    \"startConflicts\": [],\n"
                        "    \"keys\": [\n"
                        "      {\n"
                        "        \"change\": \"created\",\n"
                        "        \"location\": \"/LM/W3SVC/3\",\n"
                        "        \"class\": \"IIsWebServer\",\n"
                        "        \"properties\": [\n"
                        "          {\n"
                        "            \"name\": \"ServerBindings\",\n"
                        "            \"before\": null,\n"
                        "            \"after\": [\n"
                        "              \":2100:\",\n"
                        "              \"" +
                        escaped +
                        "\"\n"
                        "            ]\n"
                        "          }\n"
                        "        ]\n"
                        "      }\n"
                        "    ]\n"
                        "  },\n"
                        "  \"database\": {\n"),
              std::string::npos)
        << json;
    EXPECT_EQ(json.substr(json.size() - 4), "}\n}\n") << json;

    // A byte that is not UTF-8 becomes U+FFFD; the document stays valid.
    EXPECT_NE(
        alreadyConfiguredJson("bad \xff byte", 3).find("\"machine\": \"bad \xef\xbf\xbd byte\""),
        std::string::npos);
}

TEST(PreviewVerdict, CountsOnlyWhatTheRunChanges) {
    const auto dateLines = [](PreviewReport& r) {
        r.configChanged = true;
        r.configChanges = {{'-', 2, "' Creation Date: 3/7/2024"},
                           {'+', 2, "' Creation Date: 3/8/2024"}};
    };
    struct Case {
        const char* what;
        std::function<void(PreviewReport&)> fill;
        bool changed;
        int configLines, sqlStatements;
    };
    const std::vector<Case> cases = {
        {"nothing", [](PreviewReport&) {}, false, 0, 0},
        {"only the date line", dateLines, false, 0, 0},
        {"a setting",
         [&](PreviewReport& r) {
             dateLines(r);
             r.configChanges.push_back({'+', 9, "CustomerPort = 2100"});
         },
         true, 1, 0},
        {"tables that exist",
         [](PreviewReport& r) {
             r.database.statements = {{"CREATE TABLE ips (a int)",
                                       "table ips exists: the "
                                       "statement fails"}};
         },
         false, 0, 0},
        {"a row",
         [](PreviewReport& r) {
             r.database.statements = {{"CREATE TABLE ips (a int)",
                                       "table ips exists: the "
                                       "statement fails"},
                                      {"INSERT INTO ips VALUES (1)", ""}};
         },
         true, 0, 1},
        {"a folder", [](PreviewReport& r) { r.foldersCreated = {"C:\\Tessaron\\temp"}; }, true, 0,
         0},
    };
    for (const auto& c : cases) {
        PreviewReport report;
        c.fill(report);
        const PreviewVerdict verdict = previewVerdict(report);
        EXPECT_EQ(verdict.changed(), c.changed) << c.what;
        EXPECT_EQ(verdict.configLines, c.configLines) << c.what;
        EXPECT_EQ(verdict.sqlStatements, c.sqlStatements) << c.what;
        const std::string json = previewJson(report);
        EXPECT_NE(json.find(std::string("\"changed\": ") + (c.changed ? "true" : "false")),
                  std::string::npos)
            << c.what << json;
    }
}

TEST(PreviewVerdict, ListPropertiesAreArraysAndStatementsHaveOutcomes) {
    PreviewReport report;
    report.metabaseChanges = {{MetabaseKeyChange::Kind::Created,
                               "/LM/W3SVC/3",
                               "IIsWebServer",
                               {{"ServerBindings", std::nullopt, ":2100:\n:2101:"},
                                {"ServerComment", std::nullopt, "Tessaron - Control Panel"}}}};
    report.database.connected = report.database.attempted = true;
    report.database.statements = {{"CREATE TABLE ips (a int)",
                                   "table ips exists: the statement "
                                   "fails"},
                                  {"INSERT INTO ips VALUES (1)", ""}};
    std::string json = previewJson(report);
    json.erase(
        std::remove_if(json.begin(), json.end(), [](char c) { return c == ' ' || c == '\n'; }),
        json.end());
    EXPECT_NE(json.find("\"after\":[\":2100:\",\":2101:\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"after\":\"Tessaron-ControlPanel\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"outcome\":\"exists\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"outcome\":\"inserts\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"counts\":{\"configLines\":0,\"metabaseKeys\":1,\"sqlStatements\":1"),
              std::string::npos)
        << json;
}

}  // namespace
}  // namespace tessaron::app::testing
