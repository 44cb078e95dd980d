// A parsed JSON value: null, a truth value, a number, a string, an array or an object (whose
// members keep their order; a repeated key is found at its first place).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class JsonValue
{
  public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    JsonValue() = default;
    static JsonValue Bool(bool value);
    static JsonValue Number(double value);
    static JsonValue String(std::string value);
    static JsonValue Array(std::vector<JsonValue> items);
    static JsonValue Object(std::vector<std::pair<std::string, JsonValue>> members);

    Kind GetKind() const { return kind_; }
    bool IsString() const { return kind_ == Kind::String; }

    // Typed reads: empty when the value is of another kind (or, for integers, not a whole
    // number within the type's range).
    std::optional<bool> AsBool() const;
    std::optional<int64_t> AsInteger() const;
    const std::string *AsString() const;
    const std::vector<JsonValue> *AsArray() const;

    // An object's member, or null when this is no object or has no such member.
    const JsonValue *Member(std::string_view key) const;

  private:
    Kind kind_ = Kind::Null;
    bool bool_ = false;
    double number_ = 0;
    std::string string_;
    std::vector<JsonValue> items_;
    std::vector<std::pair<std::string, JsonValue>> members_;
};
