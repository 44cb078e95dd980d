// Comparing two sides of an object's description.
#include "model/AttributeComparison.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_set>

#include "model/SecretAttributes.h"
#include "mwlib/MW_Text.h"
#include "server/AttributeSets.h"

namespace
{
std::vector<std::string> AsSet(std::vector<std::string> values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

bool Holds(const std::vector<std::string> &set, const std::string &value)
{
    return std::binary_search(set.begin(), set.end(), value);
}

// The length of the UTF-8 sequence that starts with this byte, 0 when none does.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xc2 && lead <= 0xdf) {
        return 2;
    }
    if (lead >= 0xe0 && lead <= 0xef) {
        return 3;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        return 4;
    }
    return 0;
}

uint32_t ShortHash(std::string_view bytes)
{
    uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 16777619u;
    }
    return hash;
}

std::string WithThousands(std::size_t number)
{
    const std::string digits = std::to_string(number);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}
} // namespace

std::vector<ComparedAttribute> AttributeComparison::Of(const ObjectDescription &description)
{
    std::vector<ComparedAttribute> compared;
    for (const DescribedAttribute &attribute : description.backup) {
        const DescribedAttribute *live = AttributeSets::Find(description.current, attribute.name);
        ComparedAttribute line{
            attribute.name, AttributeDifference::OnlyInBackup, attribute.values, {}};
        if (live != nullptr) {
            line.live = live->values;
            line.difference = AttributeSets::SameValues(attribute.values, live->values)
                                  ? AttributeDifference::Same
                                  : AttributeDifference::Changed;
        }
        compared.push_back(std::move(line));
    }
    for (const DescribedAttribute &attribute : description.current) {
        if (AttributeSets::Find(description.backup, attribute.name) == nullptr) {
            compared.push_back(
                {attribute.name, AttributeDifference::OnlyLive, {}, attribute.values});
        }
    }
    for (ComparedAttribute &line : compared) {
        line.secret = IsSecretAttribute(line.name);
    }
    return compared;
}

std::size_t AttributeComparison::Changes(const std::vector<ComparedAttribute> &compared)
{
    return static_cast<std::size_t>(
        std::count_if(compared.begin(), compared.end(), [](const ComparedAttribute &line) {
            return line.difference != AttributeDifference::Same;
        }));
}

bool AttributeComparison::IsBinary(std::string_view value)
{
    for (std::size_t at = 0; at < value.size();) {
        const auto lead = static_cast<unsigned char>(value[at]);
        const std::size_t length = SequenceLength(lead);
        if (length == 0 || at + length > value.size()) {
            return true;
        }
        if (length == 1 && lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r') {
            return true;
        }
        if (lead == 0x7f) {
            return true;
        }
        for (std::size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(value[at + i]) & 0xc0) != 0x80) {
                return true;
            }
        }
        at += length;
    }
    return false;
}

std::string AttributeComparison::Shown(std::string_view value)
{
    if (!IsBinary(value)) {
        return std::string(value);
    }
    char hash[16];
    std::snprintf(hash, sizeof hash, "#%08x", static_cast<unsigned>(ShortHash(value)));
    return WithThousands(value.size()) + (value.size() == 1 ? " byte, " : " bytes, ") + hash;
}

std::string AttributeComparison::ShownSecret(const std::vector<std::string> &values)
{
    if (values.empty()) {
        return {};
    }
    std::size_t bytes = 0;
    for (const std::string &value : values) {
        bytes += value.size();
    }
    std::string shown = "secret, ";
    if (values.size() > 1) {
        shown.append(std::to_string(values.size())).append(" values, ");
    }
    return shown.append(WithThousands(bytes)).append(bytes == 1 ? " byte" : " bytes");
}

std::vector<ComparedValue> AttributeComparison::Values(const ComparedAttribute &attribute)
{
    const std::vector<std::string> backup = AsSet(attribute.backup);
    const std::vector<std::string> live = AsSet(attribute.live);
    std::unordered_set<std::string_view> listed; // a value given twice is listed once
    std::vector<ComparedValue> values;
    for (const std::string &value : attribute.backup) {
        if (listed.insert(value).second) {
            values.push_back({value, Holds(live, value) ? AttributeDifference::Same
                                                        : AttributeDifference::OnlyInBackup});
        }
    }
    for (const std::string &value : attribute.live) {
        if (!Holds(backup, value) && listed.insert(value).second) {
            values.push_back({value, AttributeDifference::OnlyLive});
        }
    }
    return values;
}

const char *AttributeComparison::Text(AttributeDifference difference)
{
    switch (difference) {
    case AttributeDifference::OnlyInBackup:
        return "only in backup";
    case AttributeDifference::OnlyLive:
        return "only live";
    case AttributeDifference::Changed:
        return "changed";
    default:
        return "same";
    }
}

const char *AttributeComparison::PlaceText(AttributeDifference place)
{
    return place == AttributeDifference::Same ? "in both" : Text(place);
}
