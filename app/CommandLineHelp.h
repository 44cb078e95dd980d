// What the program answers to --help and --version: a text on standard output, and no window.
#pragma once

#include <optional>
#include <ostream>
#include <string>

class CommandLineHelp
{
  public:
    // When the first word asks for help or the version, writes the answer and returns the exit
    // code; otherwise writes nothing and returns nothing. programDirectory: where TARVIK.INI is
    // looked for (the directory of the program's real path).
    static std::optional<int> Answer(int argc, char **argv, const std::string &programDirectory,
                                     std::ostream &out);
    static std::string Usage(const std::string &programDirectory);
    static std::string Version();
};
