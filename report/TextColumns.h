// Rows of text in aligned columns for people: widths count characters, not the bytes of UTF-8,
// control characters become blanks, and no line ends in blanks.
#pragma once

#include <string>
#include <vector>

class TextColumns
{
  public:
    // Each row on a line of its own; every row has as many cells as the first.
    static std::string Render(std::vector<std::vector<std::string>> rows);
};
