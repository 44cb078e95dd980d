// A change report on the command line.
#include "cli/ChangesCommand.h"

#include <algorithm>
#include <set>

#include "changes/ChangeCounts.h"
#include "changes/ChangeFormats.h"
#include "cli/InterruptFlag.h"
#include "cli/IsoTime.h"
#include "cli/ProgramPrefix.h"
#include "cli/Progress.h"

namespace
{
constexpr std::size_t kBatch = 64;

ChangeFormat FormatOf(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv:
        return ChangeFormat::Csv;
    case OutputFormat::Json:
        return ChangeFormat::Json;
    case OutputFormat::Objects:
        return ChangeFormat::Objects;
    case OutputFormat::Text:
        break;
    }
    return ChangeFormat::Text;
}
} // namespace

bool ChangesCommand::Read(const RestoreOptions &options, std::string &fault)
{
    const std::size_t dots = options.changes.find("..");
    const std::string fromText = options.changes.substr(0, dots);
    const std::string toText =
        dots == std::string::npos ? "live" : options.changes.substr(dots + 2);
    const std::optional<Point> from = ReadPoint(fromText);
    const std::optional<Point> to = ReadPoint(toText);
    if (!from || from->live) {
        fault = "--changes: '" + fromText + "' is not a backup time (2026-11-30T02:00:00Z, or " +
                "<= and a time)";
        return false;
    }
    if (!to) {
        fault = "--changes: '" + toText + "' is not a backup time or live";
        return false;
    }
    from_ = *from;
    to_ = *to;
    under_ = options.under;
    format_ = options.format;
    filter_.ShowAttribute(options.attribute);
    return ReadKinds(options.kinds, fault);
}

bool ChangesCommand::ReadKinds(const std::string &text, std::string &fault)
{
    std::set<ChangeKind> kinds;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string word = text.substr(start, comma - start);
        const std::optional<ChangeKind> kind = ChangeFilter::KindNamed(word);
        if (!kind) {
            fault = "--kind takes deleted, added, modified and moved, not '" + word + "'";
            return false;
        }
        kinds.insert(*kind);
        start = comma + 1;
    }
    filter_.ShowKinds(std::move(kinds));
    return true;
}

std::optional<ChangesCommand::Point> ChangesCommand::ReadPoint(const std::string &text)
{
    if (text == "live") {
        return Point{0, false, true};
    }
    const bool atOrBefore = text.starts_with("<=");
    const std::optional<BackupTime> time = IsoTime::Parse(atOrBefore ? text.substr(2) : text);
    if (!time) {
        return std::nullopt;
    }
    return Point{*time, atOrBefore, false};
}

bool ChangesCommand::Resolve(const Point &point, const std::vector<BackupTime> &backups,
                             BackupTime &time, std::string &fault)
{
    std::optional<BackupTime> found;
    for (BackupTime backup : backups) {
        const bool fits = point.atOrBefore ? backup <= point.time : backup == point.time;
        if (fits && (!found || backup > *found)) {
            found = backup;
        }
    }
    if (!found) {
        fault = std::string(point.atOrBefore ? "no backup at or before " : "no backup at ") +
                IsoTime::Format(point.time);
        return false;
    }
    time = *found;
    return true;
}

int ChangesCommand::Run(BackupServer &server, const std::string &context, Progress &progress,
                        std::ostream &err, std::string &results)
{
    ServerClient client(server);
    if (!client.CanReportChanges()) {
        err << kProgram << ServerClient::kCannotReportChanges << "\n";
        return 1;
    }
    const std::vector<BackupTime> backups = client.BackupTimes().times;
    ChangePoints points{0, 0, to_.live};
    std::string fault;
    if (!Resolve(from_, backups, points.from, fault) ||
        (!to_.live && !Resolve(to_, backups, points.to, fault))) {
        err << kProgram << fault << "\n";
        return 1;
    }
    const std::string below = under_.empty() ? context : under_;
    const std::unique_ptr<ChangeRun> run = client.StartChanges(below, points);
    std::vector<ObjectChange> rows;
    const auto stop = [] { return InterruptFlag::Raised(); };
    while (run->Next(
        kBatch,
        [&](ObjectChange &&change) {
            if (filter_.Shows(change)) {
                rows.push_back(std::move(change));
            }
        },
        stop)) {
        progress.Show("comparing", run->Examined(), run->Total(), below);
    }
    progress.Clear();
    const bool whole = run->End() == RequestEnd::Answered;
    if (run->End() == RequestEnd::Stopped) {
        err << kProgram << "interrupted: " << ChangeCounts::Of(rows).Summary() << " found so far\n";
    } else if (run->End() == RequestEnd::NotOffered) {
        err << kProgram << ServerClient::kCannotReportChanges << "\n";
    } else if (!whole) {
        err << kProgram << "the report of changes failed: " << run->Failure() << "\n";
    }
    // A part of the objects to restore would read as all of them in a pipe: none are written.
    if (whole || format_ != OutputFormat::Objects) {
        results = ChangeFormats::Render(FormatOf(format_), rows, &IsoTime::Format,
                                        "<=" + IsoTime::Format(points.from));
    }
    return whole ? 0 : 1;
}
