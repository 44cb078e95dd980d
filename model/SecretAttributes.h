// The attributes whose values are secrets (passwords, their hashes and histories, keys): their
// values are never shown, printed or written to a report, only whether they differ and their
// size.
#pragma once

#include <string_view>

// The name as a server gives it, in any case and with or without options ("userPassword;binary").
bool IsSecretAttribute(std::string_view name);
