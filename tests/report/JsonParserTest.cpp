// Reading JSON: the values a journal line holds, and everything a damaged line may hold instead.
#include <gtest/gtest.h>

#include <string>

#include "report/JsonParser.h"
#include "report/JsonText.h"

TEST(JsonParser, ReadsEveryKindOfValue)
{
    std::optional<JsonValue> json = JsonParser::Parse(
        R"( { "t": true, "f": false, "n": null, "i": -42, "e": 1.5e3, "s": "a\"b\\c\/d",
              "a": [1, "two", [], {}], "o": {"x": "y"} } )");
    ASSERT_TRUE(json.has_value());
    EXPECT_EQ(json->Member("t")->AsBool(), true);
    EXPECT_EQ(json->Member("f")->AsBool(), false);
    EXPECT_EQ(json->Member("n")->GetKind(), JsonValue::Kind::Null);
    EXPECT_EQ(json->Member("i")->AsInteger(), -42);
    EXPECT_EQ(json->Member("e")->AsInteger(), 1500);
    EXPECT_EQ(*json->Member("s")->AsString(), "a\"b\\c/d");
    const std::vector<JsonValue> *items = json->Member("a")->AsArray();
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->size(), 4u);
    EXPECT_EQ(*(*items)[1].AsString(), "two");
    EXPECT_EQ(*json->Member("o")->Member("x")->AsString(), "y");
    EXPECT_EQ(json->Member("missing"), nullptr);
    // Typed reads of the wrong kind give nothing.
    EXPECT_FALSE(json->Member("s")->AsInteger().has_value());
    EXPECT_EQ(json->Member("i")->AsString(), nullptr);
    EXPECT_FALSE(JsonParser::Parse("0.5")->AsInteger().has_value());
}

TEST(JsonParser, DecodesEscapesToUtf8)
{
    const struct {
        const char *json;
        std::string text;
    } cases[] = {
        {R"("\u00e9\u20ac")", "\xC3\xA9\xE2\x82\xAC"},
        {R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"}, // a pair makes one character
        {R"("\ud83d")", "\xEF\xBF\xBD"},           // a lone half becomes U+FFFD
        {R"("\ude00\ud83d x")", "\xEF\xBF\xBD\xEF\xBF\xBD x"},
        {R"("\ud83d\u0041")", "\xEF\xBF\xBD"
                              "A"}, // a half followed by no other half
        {R"("\b\f\n\r\t")", "\b\f\n\r\t"},
        {"\"caf\xC3\xA9\"", "caf\xC3\xA9"}, // UTF-8 as it stands
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json);
        std::optional<JsonValue> json = JsonParser::Parse(c.json);
        ASSERT_TRUE(json && json->IsString());
        EXPECT_EQ(*json->AsString(), c.text);
    }
}

TEST(JsonParser, RefusesDamagedText)
{
    for (const char *text : {"",
                             " ",
                             "{",
                             "}",
                             "[1,]",
                             "[1 2]",
                             "{\"a\" 1}",
                             "{\"a\":}",
                             "{a:1}",
                             "{\"a\":1,}",
                             "\"open",
                             "\"bad \\x escape\"",
                             "\"\\u12\"",
                             "\"\\u12G4\"",
                             "\"tab\there\"",
                             "\"line\nbreak\"",
                             "01",
                             "-",
                             "1.",
                             ".5",
                             "1e",
                             "+1",
                             "1e999",
                             "tru",
                             "nulll",
                             "{} {}",
                             "[] x",
                             "{\"a\":1}\x01",
                             "NaN",
                             "Infinity"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(JsonParser::Parse(text).has_value());
    }
}

TEST(JsonParser, RefusesNestingDeeperThanItsLimit)
{
    auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '[') +
               std::string(static_cast<std::size_t>(depth), ']');
    };
    EXPECT_TRUE(JsonParser::Parse(nested(JsonParser::kMaxDepth)).has_value());
    EXPECT_FALSE(JsonParser::Parse(nested(JsonParser::kMaxDepth + 1)).has_value());
    // Far too deep for the stack if it were followed: refused, not a crash.
    EXPECT_FALSE(JsonParser::Parse(nested(1'000'000)).has_value());
}

TEST(JsonText, EscapesWhatJsonRequiresAndRepairsBrokenUtf8)
{
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"plain", R"("plain")"},
        {"quote \" back \\ slash", R"("quote \" back \\ slash")"},
        {"a\nb\rc\td", R"("a\nb\rc\td")"},
        {std::string("nul\0x\x1F", 6), R"("nul\u0000x\u001f")"},
        {"caf\xC3\xA9 \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xF0\x9F\x98\x80\""},
        {"cut \xC3", "\"cut \xEF\xBF\xBD\""},
        {"stray \x80 byte", "\"stray \xEF\xBF\xBD byte\""},
        {"over-long \xC0\xAF", "\"over-long \xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"surrogate \xED\xA0\x80", "\"surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(JsonString(c.text), c.json);
    }
}

TEST(JsonText, EveryByteReadsBackAsWrittenOrAsTheReplacement)
{
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text = "<" + std::string(1, static_cast<char>(byte)) + ">";
        std::optional<JsonValue> json = JsonParser::Parse(JsonString(text));
        ASSERT_TRUE(json && json->IsString()) << byte;
        EXPECT_EQ(*json->AsString(), byte < 0x80 ? text : "<\xEF\xBF\xBD>") << byte;
    }
}
