// Reads one line of a profile file and brings it into the form that lookups compare.
#pragma once

#include <cstdio>

// A line is read into a 1024-byte buffer (a longer physical line goes on as the next line), then
// the comment is cut (the first ';' outside double quotes ends the line), the blanks are tidied
// (leading spaces, and spaces around the first '=' when they follow the name; trailing spaces
// stay), and the line end is removed (a newline, and a carriage return before it).
class MW_IniLine
{
  public:
    static constexpr int Size = 1024;

    // False at the end of the file.
    static bool Read(std::FILE *file, char (&line)[Size]);

    static void CutComment(char *line);
    static void TidyBlanks(char *line);
    static void StripLineEnd(char *line);
};
