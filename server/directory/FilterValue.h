// A value in a search filter's assertion, escaped by libldap itself, so that nothing a name or a
// typed pattern holds is read as filter syntax. Every filter the directory and the domain
// controller ask with takes its values from here.
#pragma once

#include <string>
#include <string_view>

std::string EscapedFilterValue(std::string_view value);
