// The small pieces the preview and the run journal are built from.
#include <gtest/gtest.h>

#include "app/JsonWriter.h"
#include "app/LineDiff.h"
#include "run/Sha256.h"

namespace tessaron::app::testing {
namespace {

TEST(Sha256, PublishedDigests) {
    struct Case {
        std::string input, digest;
    };
    const std::vector<Case> cases = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits the last block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) EXPECT_EQ(sha256Hex(c.input), c.digest) << c.input.size();
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

TEST(JsonWriter, EscapesAndNesting) {
    JsonWriter json;
    json.beginObject()
        .field("text", "a \"quote\" \\ and\ttab\x01")
        .key("list")
        .beginArray()
        .value(1)
        .value(true)
        .null()
        .endArray()
        .key("empty")
        .beginObject()
        .endObject()
        .endObject();
    EXPECT_EQ(json.text(),
              "{\n"
              "  \"text\": \"a \\\"quote\\\" \\\\ and\\ttab\\u0001\",\n"
              "  \"list\": [\n"
              "    1,\n"
              "    true,\n"
              "    null\n"
              "  ],\n"
              "  \"empty\": {}\n"
              "}\n");
}

}  // namespace
}  // namespace tessaron::app::testing
