// Reads one JSON text (RFC 8259) into a JsonValue. Anything else (trailing text, a bad escape,
// a control character inside a string, nesting deeper than kMaxDepth) is refused: a damaged
// journal line is skipped, never half-read. Bytes that are not UTF-8 inside strings are kept as
// they are; an escaped lone surrogate becomes U+FFFD.
#pragma once

#include <optional>
#include <string_view>

#include "report/JsonValue.h"

class JsonParser
{
  public:
    static constexpr int kMaxDepth = 64;

    static std::optional<JsonValue> Parse(std::string_view text);

  private:
    explicit JsonParser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Value(int depth);
    std::optional<JsonValue> ObjectValue(int depth);
    std::optional<JsonValue> ArrayValue(int depth);
    std::optional<std::string> StringValue();
    std::optional<JsonValue> NumberValue();
    std::optional<JsonValue> Word(std::string_view word, JsonValue value);
    bool Escape(std::string &out);
    std::optional<char32_t> Hex4();
    void SkipBlanks();
    bool Take(char c);

    std::string_view text_;
    std::size_t at_ = 0;
};
