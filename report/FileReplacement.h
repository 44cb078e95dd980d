// Writes a whole file so that the name never shows a half-written one: the bytes go to a new
// file beside it, are flushed to the disk, and only then does that file take the name. A new
// file may be read and written by its owner alone (mode 0600); a file already under the name
// keeps its permissions. A failure leaves it as it was and removes the new file.
#pragma once

#include <string>
#include <string_view>

// Empty when the file was written; otherwise the reason, as the system words it.
std::string ReplaceFileContents(const std::string &path, std::string_view bytes);
