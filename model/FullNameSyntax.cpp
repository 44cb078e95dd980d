// Reading the escapes of a full name.
#include "model/FullNameSyntax.h"

std::string_view FullNameSyntax::OwnLevel(std::string_view fullName)
{
    for (std::size_t i = 0; i < fullName.size(); ++i) {
        if (fullName[i] == '\\') {
            ++i;
        } else if (fullName[i] == '.') {
            return fullName.substr(0, i);
        }
    }
    return fullName;
}

// A backslash before anything else, or at the end, is the name's own.
std::string FullNameSyntax::Unescaped(std::string_view level)
{
    std::string name;
    name.reserve(level.size());
    for (std::size_t i = 0; i < level.size(); ++i) {
        if (level[i] == '\\' && i + 1 < level.size() &&
            (level[i + 1] == '\\' || level[i + 1] == '.')) {
            ++i;
        }
        name += level[i];
    }
    return name;
}
