// The attributes whose values are secrets (passwords, their hashes and histories, keys): their
// values are never shown, printed or written to a report, only whether they differ and their
// size. Known by the attribute's type, case ignored and options (";binary") left aside: the
// well-known ones, any type named "...password" or "...pwd", and those a server's schema marks.
#pragma once

#include <string_view>

// The name as a server gives it, in any case and with or without options ("userPassword;binary").
bool IsSecretAttribute(std::string_view name);
// A type the server's schema marks as holding secrets; a secret for every later question.
void AddSecretAttribute(std::string_view name);
