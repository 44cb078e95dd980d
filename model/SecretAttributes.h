// The attributes whose values are secrets (passwords, their hashes, keys): such a value is never
// shown, printed or written to a report. What may be said of it is whether it differs and its
// size. Known by the attribute's type, case ignored and options (";binary") left aside: the
// well-known ones, any type named "...password" or "...pwd", and those a server's schema marks.
#pragma once

#include <string>
#include <string_view>

// Whether the values of the attribute are secrets.
bool IsSecretAttribute(std::string_view name);
// A type the server's schema marks as holding secrets; a secret for every later question.
void AddSecretAttribute(std::string_view name);
// All that is shown of a secret value: its size ("12 bytes").
std::string ShownSecretValue(std::string_view value);
