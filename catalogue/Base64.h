// Base64 as LDIF writes values that are not safe text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Nothing when the text is not padded base64 of whole groups (blanks are not allowed).
std::optional<std::string> DecodeBase64(std::string_view text);
// Whether DecodeBase64 would take the text, without decoding it.
bool IsBase64(std::string_view text);
