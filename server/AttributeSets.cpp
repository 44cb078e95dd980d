// Comparing attributes as sets of values.
#include "server/AttributeSets.h"

#include <algorithm>

#include "mwlib/MW_Text.h"

bool AttributeSets::SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && MW_Text::SameIgnoringCase(a.data(), b.data(), a.size());
}

bool AttributeSets::SameValues(std::vector<std::string> a, std::vector<std::string> b)
{
    for (std::vector<std::string> *values : {&a, &b}) {
        std::sort(values->begin(), values->end());
        values->erase(std::unique(values->begin(), values->end()), values->end());
    }
    return a == b;
}

const DescribedAttribute *AttributeSets::Find(const std::vector<DescribedAttribute> &side,
                                              std::string_view name)
{
    const auto found = std::find_if(side.begin(), side.end(), [&](const DescribedAttribute &held) {
        return SameName(held.name, name);
    });
    return found != side.end() ? &*found : nullptr;
}

std::vector<std::string> AttributeSets::Differing(const std::vector<DescribedAttribute> &before,
                                                  const std::vector<DescribedAttribute> &after)
{
    std::vector<std::string> names;
    for (const DescribedAttribute &attribute : before) {
        const DescribedAttribute *other = Find(after, attribute.name);
        if (other == nullptr || !SameValues(attribute.values, other->values)) {
            names.push_back(attribute.name);
        }
    }
    for (const DescribedAttribute &attribute : after) {
        if (Find(before, attribute.name) == nullptr) {
            names.push_back(attribute.name);
        }
    }
    return names;
}
