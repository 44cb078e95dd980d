// What a command-line restore was asked to do.
#pragma once

#include <string>
#include <vector>

#include "report/OnError.h"

// Objects: the objects a restore would take from a change report, one OBJECT@VERSION a line.
enum class OutputFormat { Text, Csv, Json, Objects };

struct RestoreOptions {
    std::string server;       // empty: the configured servers in order
    std::string user;         // empty: whoever the server counts as logged in
    std::string passwordFile; // empty: asked on the terminal when needed
    OnError onError = OnError::Continue;
    bool dryRun = false;
    OutputFormat format = OutputFormat::Text;
    std::string output;               // empty: standard output
    std::string from;                 // a file of objects, "-" for standard input; empty: none
    std::vector<std::string> objects; // as written on the command line
    std::string find; // a pattern: the matching objects are listed and nothing is restored
    // A report of what changed: FROM[..TO], below `under` (empty: the top context), the kinds
    // (a comma between) and the attribute it shows.
    std::string changes;
    std::string under;
    std::string kinds;
    std::string attribute;
    bool index = false; // the catalogues' indexes are brought up to date, and nothing else
    bool help = false;
    bool version = false;
};
