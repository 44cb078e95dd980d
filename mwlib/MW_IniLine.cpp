// Reads one line of a profile file and brings it into the form that lookups compare.
#include "mwlib/MW_IniLine.h"

#include <cstring>

namespace
{
// Removes the run of spaces that starts at text.
void RemoveSpacesAt(char *text)
{
    const std::size_t run = std::strspn(text, " ");
    if (run > 0)
        std::memmove(text, text + run, std::strlen(text + run) + 1);
}
} // namespace

bool MW_IniLine::Read(std::FILE *file, char (&line)[Size])
{
    if (!file || !std::fgets(line, Size, file))
        return false;
    CutComment(line);
    TidyBlanks(line);
    StripLineEnd(line);
    return true;
}

void MW_IniLine::CutComment(char *line)
{
    bool quoted = false;
    for (char *c = line; *c; ++c) {
        if (*c == '"')
            quoted = !quoted;
        else if (*c == ';' && !quoted) {
            *c = '\0';
            return;
        }
    }
}

void MW_IniLine::TidyBlanks(char *line)
{
    if (*line == '\0')
        return;
    RemoveSpacesAt(line);
    char *stop = line + std::strcspn(line, " =");
    if (*stop == ' ')
        RemoveSpacesAt(stop);
    if (*stop == '=')
        RemoveSpacesAt(stop + 1);
}

void MW_IniLine::StripLineEnd(char *line)
{
    std::size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n')
        line[--length] = '\0';
    if (length > 0 && line[length - 1] == '\r')
        line[--length] = '\0';
}
