// The words after the program's name, read into RestoreOptions. Options take their value as the
// next word or after "=" (--format=csv); "--" ends the options, so that an object may begin with
// "-".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/RestoreOptions.h"

class CommandLine
{
  public:
    static constexpr const char *kUsage =
        "usage: tarvik-restore [--server NAME] [--user NAME --password-file FILE]\n"
        "                      [--on-error continue|ask|end] [--dry-run]\n"
        "                      [--format text|csv|json] [--output FILE]\n"
        "                      [--from FILE | OBJECT...]\n"
        "       tarvik-restore [--server NAME] [--user NAME --password-file FILE]\n"
        "                      [--format text|csv|json] [--output FILE] --find PATTERN\n"
        "       tarvik-restore [--server NAME] --index\n";

    // The options; nothing, with the reason, when the words do not make sense together.
    static std::optional<RestoreOptions> Parse(const std::vector<std::string> &words,
                                               std::string &fault);

    static std::string Help();
    static std::string VersionText();
};
