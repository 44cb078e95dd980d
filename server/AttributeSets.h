// The one rule by which two sides of an object's attributes are compared, wherever the program
// compares them (Compare with live, what a restore changes, a change report): attribute
// descriptions ignore case, and values are sets of bytes (another order, or a value given
// twice, is the same; binary values are compared exactly).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/ObjectDescription.h"

class AttributeSets
{
  public:
    static bool SameName(std::string_view a, std::string_view b);
    static bool SameValues(std::vector<std::string> a, std::vector<std::string> b);
    // The attribute of the side with this description, or null.
    static const DescribedAttribute *Find(const std::vector<DescribedAttribute> &side,
                                          std::string_view name);
    // The names of the attributes whose values differ, or that one side lacks: in the order of
    // `before`, then those only `after` has, in its order.
    static std::vector<std::string> Differing(const std::vector<DescribedAttribute> &before,
                                              const std::vector<DescribedAttribute> &after);
};
