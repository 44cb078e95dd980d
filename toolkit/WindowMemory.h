// What the program's windows remember between runs (their sizes, places, split positions and
// column widths), kept in one StateFile. It stays off until the program turns it on, so that
// tests and measurements never read or write a user's settings; the file is read once then,
// and each window's state is written when the window closes.
#pragma once

#include <optional>
#include <string>
#include <vector>

class WindowMemory
{
  public:
    // Turns the memory on with this file (empty: off).
    static void Use(const std::string &path);
    static bool IsOn();

    // What was kept under the key (in this run or an earlier one); nothing when off.
    static std::optional<std::vector<int>> Recall(const std::string &key);
    // Keeps the values and writes them to the file at once; a file that cannot be written is
    // named on standard error, once, and the program goes on without it.
    static void Keep(const std::string &key, std::vector<int> values);
};
