#include "report/JsonParser.h"

#include <charconv>

#include "report/Utf8.h"

std::optional<JsonValue> JsonParser::Parse(std::string_view text)
{
    JsonParser parser(text);
    std::optional<JsonValue> value = parser.Value(0);
    parser.SkipBlanks();
    if (!value || parser.at_ != text.size()) {
        return std::nullopt;
    }
    return value;
}

void JsonParser::SkipBlanks()
{
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) {
        ++at_;
    }
}

bool JsonParser::Take(char c)
{
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == c) {
        ++at_;
        return true;
    }
    return false;
}

std::optional<JsonValue> JsonParser::Value(int depth)
{
    SkipBlanks();
    if (at_ >= text_.size()) {
        return std::nullopt;
    }
    switch (text_[at_]) {
    case '{':
        return ObjectValue(depth + 1);
    case '[':
        return ArrayValue(depth + 1);
    case '"': {
        std::optional<std::string> text = StringValue();
        return text ? std::optional<JsonValue>(JsonValue::String(std::move(*text))) : std::nullopt;
    }
    case 't':
        return Word("true", JsonValue::Bool(true));
    case 'f':
        return Word("false", JsonValue::Bool(false));
    case 'n':
        return Word("null", JsonValue());
    default:
        return NumberValue();
    }
}

std::optional<JsonValue> JsonParser::Word(std::string_view word, JsonValue value)
{
    if (text_.substr(at_, word.size()) != word) {
        return std::nullopt;
    }
    at_ += word.size();
    return value;
}

std::optional<JsonValue> JsonParser::ObjectValue(int depth)
{
    if (depth > kMaxDepth) {
        return std::nullopt;
    }
    ++at_; // '{'
    std::vector<std::pair<std::string, JsonValue>> members;
    if (Take('}')) {
        return JsonValue::Object(std::move(members));
    }
    do {
        SkipBlanks();
        if (at_ >= text_.size() || text_[at_] != '"') {
            return std::nullopt;
        }
        std::optional<std::string> key = StringValue();
        if (!key || !Take(':')) {
            return std::nullopt;
        }
        std::optional<JsonValue> value = Value(depth);
        if (!value) {
            return std::nullopt;
        }
        members.emplace_back(std::move(*key), std::move(*value));
    } while (Take(','));
    return Take('}') ? std::optional<JsonValue>(JsonValue::Object(std::move(members)))
                     : std::nullopt;
}

std::optional<JsonValue> JsonParser::ArrayValue(int depth)
{
    if (depth > kMaxDepth) {
        return std::nullopt;
    }
    ++at_; // '['
    std::vector<JsonValue> items;
    if (Take(']')) {
        return JsonValue::Array(std::move(items));
    }
    do {
        std::optional<JsonValue> value = Value(depth);
        if (!value) {
            return std::nullopt;
        }
        items.push_back(std::move(*value));
    } while (Take(','));
    return Take(']') ? std::optional<JsonValue>(JsonValue::Array(std::move(items))) : std::nullopt;
}

std::optional<std::string> JsonParser::StringValue()
{
    ++at_; // '"'
    std::string out;
    while (at_ < text_.size()) {
        const char c = text_[at_++];
        if (c == '"') {
            return out;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            return std::nullopt;
        }
        if (c != '\\') {
            out += c;
        } else if (!Escape(out)) {
            return std::nullopt;
        }
    }
    return std::nullopt; // no closing quote
}

bool JsonParser::Escape(std::string &out)
{
    if (at_ >= text_.size()) {
        return false;
    }
    const char c = text_[at_++];
    switch (c) {
    case '"':
    case '\\':
    case '/':
        out += c;
        return true;
    case 'b':
        out += '\b';
        return true;
    case 'f':
        out += '\f';
        return true;
    case 'n':
        out += '\n';
        return true;
    case 'r':
        out += '\r';
        return true;
    case 't':
        out += '\t';
        return true;
    case 'u':
        break;
    default:
        return false;
    }
    std::optional<char32_t> unit = Hex4();
    if (!unit) {
        return false;
    }
    char32_t codePoint = *unit;
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
        const std::size_t before = at_;
        at_ += 2;
        std::optional<char32_t> low = Hex4();
        if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (*low - 0xDC00);
        } else {
            at_ = before; // the next escape stands on its own
        }
    }
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
        codePoint = kReplacementCharacter;
    }
    AppendUtf8(out, codePoint);
    return true;
}

std::optional<char32_t> JsonParser::Hex4()
{
    if (at_ + 4 > text_.size()) {
        return std::nullopt;
    }
    unsigned value = 0;
    const char *begin = text_.data() + at_;
    auto [end, error] = std::from_chars(begin, begin + 4, value, 16);
    if (error != std::errc{} || end != begin + 4) {
        return std::nullopt;
    }
    at_ += 4;
    return static_cast<char32_t>(value);
}

// JSON's number grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
std::optional<JsonValue> JsonParser::NumberValue()
{
    const std::size_t start = at_;
    auto digits = [this] {
        const std::size_t first = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            ++at_;
        }
        return at_ - first;
    };
    if (at_ < text_.size() && text_[at_] == '-') {
        ++at_;
    }
    const std::size_t integral = at_;
    if (digits() == 0 || (text_[integral] == '0' && at_ - integral > 1)) {
        return std::nullopt;
    }
    if (at_ < text_.size() && text_[at_] == '.') {
        ++at_;
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
        ++at_;
        if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) {
            ++at_;
        }
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    double value = 0;
    const char *begin = text_.data() + start;
    const char *end = text_.data() + at_;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (stop != end || error != std::errc{}) { // beyond a double's range: refused
        return std::nullopt;
    }
    return JsonValue::Number(value);
}
