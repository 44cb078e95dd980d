#include "report/JsonValue.h"

#include <cmath>

JsonValue JsonValue::Bool(bool value)
{
    JsonValue v;
    v.kind_ = Kind::Bool;
    v.bool_ = value;
    return v;
}

JsonValue JsonValue::Number(double value)
{
    JsonValue v;
    v.kind_ = Kind::Number;
    v.number_ = value;
    return v;
}

JsonValue JsonValue::String(std::string value)
{
    JsonValue v;
    v.kind_ = Kind::String;
    v.string_ = std::move(value);
    return v;
}

JsonValue JsonValue::Array(std::vector<JsonValue> items)
{
    JsonValue v;
    v.kind_ = Kind::Array;
    v.items_ = std::move(items);
    return v;
}

JsonValue JsonValue::Object(std::vector<std::pair<std::string, JsonValue>> members)
{
    JsonValue v;
    v.kind_ = Kind::Object;
    v.members_ = std::move(members);
    return v;
}

std::optional<bool> JsonValue::AsBool() const
{
    return kind_ == Kind::Bool ? std::optional<bool>(bool_) : std::nullopt;
}

std::optional<int64_t> JsonValue::AsInteger() const
{
    // 2^63 is the first double past int64_t's range.
    constexpr double kLimit = 9223372036854775808.0;
    if (kind_ != Kind::Number || std::trunc(number_) != number_ || number_ < -kLimit ||
        number_ >= kLimit) {
        return std::nullopt;
    }
    return static_cast<int64_t>(number_);
}

const std::string *JsonValue::AsString() const
{
    return kind_ == Kind::String ? &string_ : nullptr;
}

const std::vector<JsonValue> *JsonValue::AsArray() const
{
    return kind_ == Kind::Array ? &items_ : nullptr;
}

const JsonValue *JsonValue::Member(std::string_view key) const
{
    for (const auto &[name, value] : members_) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}
