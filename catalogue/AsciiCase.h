// Lower case for the ASCII letters only, as directories compare attribute and class names.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

inline char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string LowerAscii(std::string_view text)
{
    std::string result(text);
    for (char &c : result) {
        c = LowerAscii(c);
    }
    return result;
}

// Whether an objectClass value is one of the container classes (held in lower case).
inline bool IsContainerClass(std::string_view objectClass,
                             const std::unordered_set<std::string> &containerClasses)
{
    return containerClasses.count(LowerAscii(objectClass)) != 0;
}
