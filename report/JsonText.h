// Building JSON text: a string literal with every character that JSON requires escaped, and
// bytes that are not UTF-8 replaced by U+FFFD, so that a name from a faulty server still gives a
// file every JSON reader accepts.
#pragma once

#include <string>
#include <string_view>

void AppendJsonString(std::string &out, std::string_view text);
std::string JsonString(std::string_view text);
