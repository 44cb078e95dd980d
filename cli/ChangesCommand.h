// tarvik-restore --changes: what changed between two backups, or since a backup, below the top
// context or an object, read from the server as it finds it and written whole at the end in the
// format asked for. The terms are read before anything is sent.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "changes/ChangeFilter.h"
#include "cli/RestoreOptions.h"
#include "server/ChangeRun.h"

class BackupServer;
class Progress;

class ChangesCommand
{
  public:
    // The terms of the options; false, with the reason, when they make no sense.
    bool Read(const RestoreOptions &options, std::string &fault);

    // Makes the report below `context` (or --under) and writes it to `results`; what went wrong
    // goes to `err`. The exit status: 0 the report was made, 1 it was not (or not whole).
    int Run(BackupServer &server, const std::string &context, Progress &progress, std::ostream &err,
            std::string &results);

  private:
    // A point as written: an exact backup time, the newest at or before one, or the live
    // directory.
    struct Point {
        BackupTime time = 0;
        bool atOrBefore = false;
        bool live = false;
    };

    static std::optional<Point> ReadPoint(const std::string &text);
    // The backup the point names among the server's; false, with the reason, when none.
    static bool Resolve(const Point &point, const std::vector<BackupTime> &backups,
                        BackupTime &time, std::string &fault);
    bool ReadKinds(const std::string &text, std::string &fault);

    Point from_;
    Point to_;
    std::string under_;
    OutputFormat format_ = OutputFormat::Text;
    ChangeFilter filter_;
};
