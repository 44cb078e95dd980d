// Independent readers of what the reports write, strict enough to refuse what a real CSV or JSON
// reader would refuse: RFC 4180 rows, and JSON text (objects, arrays, strings with every escape,
// numbers, literals).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace readback
{
using Row = std::vector<std::string>;

// Records separated by CR LF, fields by commas; a quoted field may hold anything, with its quotes
// doubled. Nothing for text that breaks the rules.
inline std::optional<std::vector<Row>> Csv(const std::string &text)
{
    std::vector<Row> rows;
    Row row;
    std::string field;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == '"') {
            for (++at;; ++at) {
                if (at >= text.size()) {
                    return std::nullopt;
                }
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"') {
                        field += '"';
                        ++at;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += text[at];
            }
        } else {
            while (at < text.size() && text[at] != ',' && text[at] != '\r') {
                if (text[at] == '"' || text[at] == '\n') {
                    return std::nullopt;
                }
                field += text[at++];
            }
        }
        if (at < text.size() && text[at] == ',') {
            row.push_back(std::move(field));
            field.clear();
            ++at;
        } else if (text.compare(at, 2, "\r\n") == 0) {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            at += 2;
        } else {
            return std::nullopt; // a record must end in CR LF
        }
    }
    return rows;
}

// A member is a type of its own, not a std::pair: a pair holding the incomplete Json would be
// instantiated inside Json's own definition, which only some compilers let pass.
struct JsonMember;

struct Json {
    enum class Kind { Null, Boolean, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<Json> items;
    std::vector<JsonMember> members; // in document order

    const Json *Member(const std::string &key) const;
    std::vector<std::string> Keys() const;
};

struct JsonMember {
    std::string name;
    Json value;
};

inline const Json *Json::Member(const std::string &key) const
{
    for (const auto &[name, value] : members) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

inline std::vector<std::string> Json::Keys() const
{
    std::vector<std::string> keys;
    for (const auto &member : members) {
        keys.push_back(member.name);
    }
    return keys;
}

class JsonReader
{
  public:
    explicit JsonReader(const std::string &text) : text_(text) {}

    std::optional<Json> Document()
    {
        std::optional<Json> value = Value();
        Blanks();
        return value && at_ == text_.size() ? value : std::nullopt;
    }

  private:
    void Blanks()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' ||
                                      text_[at_] == '\r' || text_[at_] == '\t')) {
            ++at_;
        }
    }
    bool Take(char c)
    {
        Blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    std::optional<Json> Value()
    {
        Blanks();
        if (at_ >= text_.size()) {
            return std::nullopt;
        }
        Json value;
        const char c = text_[at_];
        if (c == '[') {
            value.kind = Json::Kind::Array;
            ++at_;
            if (Take(']')) {
                return value;
            }
            do {
                std::optional<Json> item = Value();
                if (!item) {
                    return std::nullopt;
                }
                value.items.push_back(std::move(*item));
            } while (Take(','));
            return Take(']') ? std::optional<Json>(value) : std::nullopt;
        }
        if (c == '{') {
            value.kind = Json::Kind::Object;
            ++at_;
            if (Take('}')) {
                return value;
            }
            do {
                Blanks();
                std::optional<std::string> key = String();
                if (!key || !Take(':')) {
                    return std::nullopt;
                }
                std::optional<Json> member = Value();
                if (!member) {
                    return std::nullopt;
                }
                value.members.push_back(JsonMember{std::move(*key), std::move(*member)});
            } while (Take(','));
            return Take('}') ? std::optional<Json>(value) : std::nullopt;
        }
        if (c == '"') {
            std::optional<std::string> text = String();
            if (!text) {
                return std::nullopt;
            }
            value.kind = Json::Kind::String;
            value.string = std::move(*text);
            return value;
        }
        for (const char *literal : {"true", "false", "null"}) {
            if (text_.compare(at_, std::string(literal).size(), literal) == 0) {
                at_ += std::string(literal).size();
                value.kind = literal[0] == 'n' ? Json::Kind::Null : Json::Kind::Boolean;
                value.boolean = literal[0] == 't';
                return value;
            }
        }
        std::size_t used = 0;
        try {
            value.number = std::stod(text_.substr(at_), &used);
        } catch (...) {
            return std::nullopt;
        }
        at_ += used;
        value.kind = Json::Kind::Number;
        return value;
    }
    static void Utf8(uint32_t point, std::string &out)
    {
        if (point < 0x80) {
            out += static_cast<char>(point);
        } else if (point < 0x800) {
            out += static_cast<char>(0xC0 | (point >> 6));
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (point >> 12));
            out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        }
    }
    std::optional<std::string> String()
    {
        if (at_ >= text_.size() || text_[at_] != '"') {
            return std::nullopt;
        }
        std::string out;
        for (++at_; at_ < text_.size(); ++at_) {
            const unsigned char c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return out;
            }
            if (c < 0x20) {
                return std::nullopt; // control characters must be escaped
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (++at_ >= text_.size()) {
                return std::nullopt;
            }
            const std::map<char, char> simple = {{'"', '"'},  {'\\', '\\'}, {'/', '/'},
                                                 {'b', '\b'}, {'f', '\f'},  {'n', '\n'},
                                                 {'r', '\r'}, {'t', '\t'}};
            if (const auto found = simple.find(text_[at_]); found != simple.end()) {
                out += found->second;
            } else if (text_[at_] == 'u' && at_ + 4 < text_.size()) {
                Utf8(static_cast<uint32_t>(std::stoul(text_.substr(at_ + 1, 4), nullptr, 16)), out);
                at_ += 4;
            } else {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    const std::string &text_;
    std::size_t at_ = 0;
};
} // namespace readback
