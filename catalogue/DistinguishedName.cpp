// Parsing, printing and comparing distinguished names in their string form.
#include "catalogue/DistinguishedName.h"

#include <algorithm>

#include "catalogue/AsciiCase.h"

namespace
{
bool IsAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigit(char c)
{
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A descriptor (letter, then letters, digits, hyphens) or a numeric OID.
bool IsAttributeType(std::string_view type)
{
    if (type.empty()) {
        return false;
    }
    if (IsAlpha(type[0])) {
        return std::all_of(type.begin(), type.end(),
                           [](char c) { return IsAlpha(c) || IsDigit(c) || c == '-'; });
    }
    bool digitBefore = false;
    for (char c : type) {
        if (IsDigit(c)) {
            digitBefore = true;
        } else if (c == '.' && digitBefore) {
            digitBefore = false;
        } else {
            return false;
        }
    }
    return digitBefore;
}

class Scanner
{
  public:
    explicit Scanner(std::string_view text) : text_(text) {}
    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return text_[at_]; }
    void SkipBlanks()
    {
        while (!AtEnd() && Peek() == ' ') {
            ++at_;
        }
    }
    bool Type(std::string &type)
    {
        const std::size_t start = at_;
        while (!AtEnd() && Peek() != '=' && Peek() != ' ') {
            ++at_;
        }
        type = std::string(text_.substr(start, at_ - start));
        SkipBlanks();
        if (AtEnd() || Peek() != '=' || !IsAttributeType(type)) {
            return false;
        }
        ++at_;
        SkipBlanks();
        return true;
    }
    // The value up to an unescaped "," or "+"; trailing unescaped blanks are not part of it.
    bool Value(std::string &value)
    {
        std::size_t kept = 0; // length without trailing unescaped blanks
        while (!AtEnd() && Peek() != ',' && Peek() != '+') {
            char c = text_[at_++];
            if (c == '\\') {
                if (AtEnd()) {
                    return false;
                }
                const int high = HexDigit(Peek());
                if (high >= 0 && at_ + 1 < text_.size() && HexDigit(text_[at_ + 1]) >= 0) {
                    c = static_cast<char>(high * 16 + HexDigit(text_[at_ + 1]));
                    at_ += 2;
                } else {
                    c = text_[at_++];
                }
                value += c;
                kept = value.size();
            } else {
                value += c;
                if (c != ' ') {
                    kept = value.size();
                }
            }
        }
        value.resize(kept);
        return true;
    }
    bool Take(char c)
    {
        if (!AtEnd() && Peek() == c) {
            ++at_;
            return true;
        }
        return false;
    }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

std::string EscapeValue(std::string_view value)
{
    std::string result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool edgeBlank = c == ' ' && (i == 0 || i + 1 == value.size());
        if (c == '\0') {
            result += "\\00";
            continue;
        }
        if (edgeBlank || (i == 0 && c == '#') ||
            std::string_view(",+\"\\<>;=").find(c) != std::string_view::npos) {
            result += '\\';
        }
        result += c;
    }
    return result;
}

// Lower case, blanks at the ends dropped and inner runs made one blank.
std::string FoldValue(std::string_view value)
{
    std::string result;
    for (char c : value) {
        if (c == ' ' && (result.empty() || result.back() == ' ')) {
            continue;
        }
        result += LowerAscii(c);
    }
    if (!result.empty() && result.back() == ' ') {
        result.pop_back();
    }
    return result;
}

std::string RdnText(const RelativeName &rdn)
{
    std::string text;
    for (const AttributeValue &ava : rdn) {
        if (!text.empty()) {
            text += '+';
        }
        text += ava.type + "=" + EscapeValue(ava.value);
    }
    return text;
}
} // namespace

std::optional<DistinguishedName> DistinguishedName::Parse(std::string_view text)
{
    DistinguishedName dn;
    Scanner scanner(text);
    scanner.SkipBlanks();
    if (scanner.AtEnd()) {
        return dn; // the empty name (the root)
    }
    RelativeName rdn;
    for (;;) {
        AttributeValue ava;
        if (!scanner.Type(ava.type) || !scanner.Value(ava.value)) {
            return std::nullopt;
        }
        rdn.push_back(std::move(ava));
        if (scanner.Take('+')) {
            scanner.SkipBlanks();
            continue;
        }
        dn.rdns_.push_back(std::move(rdn));
        rdn.clear();
        if (scanner.AtEnd()) {
            return dn;
        }
        scanner.Take(',');
        scanner.SkipBlanks();
    }
}

DistinguishedName DistinguishedName::Parent() const
{
    DistinguishedName parent;
    if (!rdns_.empty()) {
        parent.rdns_.assign(rdns_.begin() + 1, rdns_.end());
    }
    return parent;
}

std::string DistinguishedName::Text() const
{
    std::string text;
    for (const RelativeName &rdn : rdns_) {
        if (!text.empty()) {
            text += ',';
        }
        text += RdnText(rdn);
    }
    return text;
}

std::string DistinguishedName::Canonical() const
{
    std::string text;
    for (const RelativeName &rdn : rdns_) {
        std::vector<std::string> parts;
        for (const AttributeValue &ava : rdn) {
            parts.push_back(LowerAscii(ava.type) + "=" + EscapeValue(FoldValue(ava.value)));
        }
        std::sort(parts.begin(), parts.end());
        if (!text.empty()) {
            text += ',';
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            text += (i > 0 ? "+" : "") + parts[i];
        }
    }
    return text;
}

std::string DistinguishedName::Label(const RelativeName &rdn)
{
    std::string label;
    for (std::size_t i = 0; i < rdn.size(); ++i) {
        if (i > 0) {
            label += '+';
        }
        for (char c : rdn[i].value) {
            if (c == '\\' || c == '.') {
                label += '\\';
            }
            label += c;
        }
    }
    return label;
}

std::string DistinguishedName::TypedLabel(const RelativeName &rdn)
{
    std::string label;
    for (char c : RdnText(rdn)) {
        if (c == '\\' || c == '.') {
            label += '\\';
        }
        label += c;
    }
    return label;
}

std::string DistinguishedName::Child(const RelativeName &rdn, const std::string &parentDn)
{
    return parentDn.empty() ? RdnText(rdn) : RdnText(rdn) + "," + parentDn;
}

// An empty value still makes a level of its own: "cn=,o=M" is ".M", two labels.
std::string DistinguishedName::TypelessName() const
{
    std::string name;
    for (std::size_t i = 0; i < rdns_.size(); ++i) {
        if (i > 0) {
            name += '.';
        }
        name += Label(rdns_[i]);
    }
    return name;
}

std::vector<std::string> DistinguishedName::SplitTypeless(std::string_view name)
{
    std::vector<std::string> labels(1);
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 1 < name.size()) {
            labels.back() += name.substr(i, 2);
            ++i;
        } else if (name[i] == '.') {
            labels.emplace_back();
        } else {
            labels.back() += name[i];
        }
    }
    return labels;
}

std::string DistinguishedName::OwnName(const RelativeName &rdn)
{
    std::string name;
    for (const AttributeValue &value : rdn) {
        name += (name.empty() ? "" : "+") + value.value;
    }
    return name;
}

// A canonical name escapes every separator inside a value, so its first unescaped "," ends its
// own level.
std::string_view DistinguishedName::CanonicalParent(std::string_view canonical)
{
    for (std::size_t i = 0; i < canonical.size(); ++i) {
        if (canonical[i] == '\\') {
            ++i;
        } else if (canonical[i] == ',') {
            return canonical.substr(i + 1);
        }
    }
    return {};
}
