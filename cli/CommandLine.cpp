// Reading the command line.
#include "cli/CommandLine.h"

#include <map>

#include "startup/ProgramVersion.h"

namespace
{
struct Reader {
    explicit Reader(const std::vector<std::string> &all) : words(all) {}

    const std::vector<std::string> &words;
    std::size_t at = 0;
    std::string fault;

    // The value of an option: after "=" in the same word, or the next word.
    bool Value(const std::string &option, const std::string *inline_, std::string &value)
    {
        if (inline_ != nullptr) {
            value = *inline_;
        } else if (at + 1 < words.size()) {
            value = words[++at];
        } else {
            fault = option + " needs a value";
            return false;
        }
        if (value.empty()) {
            fault = option + " needs a value";
            return false;
        }
        return true;
    }
};

bool Choose(const std::string &option, const std::string &value,
            const std::map<std::string, int> &choices, int &chosen, std::string &fault)
{
    const auto found = choices.find(value);
    if (found == choices.end()) {
        std::string names;
        for (const auto &[name, number] : choices) {
            names += (names.empty() ? "" : ", ") + name;
        }
        fault = option + " takes one of " + names + ", not '" + value + "'";
        return false;
    }
    chosen = found->second;
    return true;
}

// Every option with a value, and where its value goes. An option given twice is refused, so that
// a script's mistake does not go unnoticed.
bool TakeOption(Reader &reader, const std::string &option, const std::string *inline_,
                RestoreOptions &options, std::map<std::string, bool> &seen)
{
    static const std::map<std::string, int> onError = {
        {"continue", static_cast<int>(OnError::Continue)},
        {"ask", static_cast<int>(OnError::Ask)},
        {"end", static_cast<int>(OnError::End)}};
    static const std::map<std::string, int> formats = {
        {"text", static_cast<int>(OutputFormat::Text)},
        {"csv", static_cast<int>(OutputFormat::Csv)},
        {"json", static_cast<int>(OutputFormat::Json)},
        {"objects", static_cast<int>(OutputFormat::Objects)}};
    const std::map<std::string, std::string *> texts = {{"--server", &options.server},
                                                        {"--user", &options.user},
                                                        {"--password-file", &options.passwordFile},
                                                        {"--output", &options.output},
                                                        {"--from", &options.from},
                                                        {"--find", &options.find},
                                                        {"--changes", &options.changes},
                                                        {"--under", &options.under},
                                                        {"--kind", &options.kinds},
                                                        {"--attribute", &options.attribute}};
    const bool takesChoice = option == "--on-error" || option == "--format";
    if (!texts.contains(option) && !takesChoice) {
        reader.fault = "unknown option " + option;
        return false;
    }
    if (seen[option]) {
        reader.fault = option + " is given twice";
        return false;
    }
    seen[option] = true;
    std::string value;
    if (!reader.Value(option, inline_, value)) {
        return false;
    }
    if (!takesChoice) {
        *texts.at(option) = value;
        return true;
    }
    int chosen = 0;
    if (!Choose(option, value, option == "--format" ? formats : onError, chosen, reader.fault)) {
        return false;
    }
    if (option == "--format") {
        options.format = static_cast<OutputFormat>(chosen);
    } else {
        options.onError = static_cast<OnError>(chosen);
    }
    return true;
}

// A search restores nothing: what only a restore takes is refused beside it.
bool ConsistentSearch(const RestoreOptions &options, const std::map<std::string, bool> &seen,
                      std::string &fault)
{
    if (!options.from.empty() || !options.objects.empty()) {
        fault = "give either --find or objects to restore, not both";
    } else if (options.dryRun || seen.contains("--on-error")) {
        fault = "--find restores nothing: --dry-run and --on-error do not go with it";
    } else if (!options.passwordFile.empty() && options.user.empty()) {
        fault = "--password-file needs --user";
    }
    return fault.empty();
}

// A change report restores nothing either; what only it takes is refused without it.
bool ConsistentChanges(const RestoreOptions &options, const std::map<std::string, bool> &seen,
                       std::string &fault)
{
    const bool reporting = !options.changes.empty();
    if (!reporting) {
        if (!options.under.empty() || !options.kinds.empty() || !options.attribute.empty()) {
            fault = "--under, --kind and --attribute go only with --changes";
        } else if (options.format == OutputFormat::Objects) {
            fault = "--format objects goes only with --changes";
        }
    } else if (!options.from.empty() || !options.objects.empty() || !options.find.empty()) {
        fault = "--changes reports what changed: give no objects, --from or --find with it";
    } else if (options.dryRun || seen.contains("--on-error")) {
        fault = "--changes restores nothing: --dry-run and --on-error do not go with it";
    } else if (!options.passwordFile.empty() && options.user.empty()) {
        fault = "--password-file needs --user";
    }
    return fault.empty();
}

bool Consistent(const RestoreOptions &options, const std::map<std::string, bool> &seen,
                std::string &fault)
{
    if (options.help || options.version) {
        return true;
    }
    if (options.index) {
        const bool alone = options.objects.empty() && options.from.empty() &&
                           options.find.empty() && options.changes.empty() && !options.dryRun &&
                           options.user.empty() && options.passwordFile.empty() &&
                           options.output.empty() && !seen.contains("--on-error") &&
                           !seen.contains("--format");
        fault =
            alone ? "" : "--index only brings the indexes up to date: give only --server with it";
        return alone;
    }
    if (!ConsistentChanges(options, seen, fault)) {
        return false;
    }
    if (!options.changes.empty()) {
        return true;
    }
    if (!options.find.empty()) {
        return ConsistentSearch(options, seen, fault);
    }
    if (!options.from.empty() && !options.objects.empty()) {
        fault = "give either --from or objects, not both";
    } else if (options.from.empty() && options.objects.empty()) {
        fault = "no objects to restore";
    } else if (!options.passwordFile.empty() && options.user.empty()) {
        fault = "--password-file needs --user";
    }
    return fault.empty();
}
} // namespace

std::optional<RestoreOptions> CommandLine::Parse(const std::vector<std::string> &words,
                                                 std::string &fault)
{
    RestoreOptions options;
    Reader reader(words);
    std::map<std::string, bool> seen;
    bool optionsEnded = false;
    for (; reader.at < words.size(); ++reader.at) {
        const std::string &word = words[reader.at];
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            options.objects.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word == "--version") {
            options.version = true;
        } else if (word == "--dry-run") {
            options.dryRun = true;
        } else if (word == "--index") {
            options.index = true;
        } else {
            const std::size_t equals = word.find('=');
            const std::string option = word.substr(0, equals);
            const std::string inlineValue =
                equals == std::string::npos ? std::string() : word.substr(equals + 1);
            if (!TakeOption(reader, option, equals == std::string::npos ? nullptr : &inlineValue,
                            options, seen)) {
                fault = reader.fault;
                return std::nullopt;
            }
        }
    }
    if (!Consistent(options, seen, fault)) {
        return std::nullopt;
    }
    return options;
}

std::string CommandLine::Help()
{
    return std::string(kUsage) + R"(
Restores objects of a directory from a backup server, as the TARVIK window does, without a
display. The server and the login come from TARVIK.INI beside the program (and the profiles it
names), as for the window.

Objects:
  OBJECT         a full name as the window shows it: the object's name and its ancestors' up
                 to the top context, joined by "." (Object-3.Contain-1.Marrowby). A container
                 is restored with its whole subtree.
  OBJECT/        a container alone, without its subtree.
  OBJECT@TIME    a version: newest (the default), an exact backup time in ISO 8601
                 (2026-11-30T02:00:00Z, or local time without the Z), or <=TIME for the
                 newest version at or before it. A name holding "@" is followed by a time.
  --from FILE    one OBJECT a line (FILE "-": standard input); blank lines and lines starting
                 with "#" are skipped.

Finding:
  --find PATTERN restores nothing: lists every object below the top context whose own name
                 matches PATTERN, deleted ones included, with its full name, its kind
                 (container or leaf) and its state (present or deleted), in the order the
                 server finds them. Case is ignored; "*" stands for any text and "?" for one
                 character; a PATTERN without them matches anywhere in the name.

Changes:
  --changes FROM[..TO]
                 restores nothing: lists every object below the top context (or --under
                 OBJECT) that changed between two backups, or since a backup (TO "live",
                 the default): deleted, added, modified (with the names of the attributes
                 that differ; values are never shown) or moved (renamed or under another
                 container, recognised as the same object, with its old full name). FROM
                 and TO are backup times as OBJECT@TIME takes them: an exact time, or <=TIME
                 for the newest backup at or before it. A report of two backups never asks
                 the live directory.
  --kind KINDS   only these changes, a comma between: deleted, added, modified, moved
  --attribute NAME
                 only objects whose changed attributes include NAME
  --format objects
                 the objects a restore would take to undo the changes, one OBJECT@<=FROM a
                 line, as --from reads them: deleted ones (a container with its subtree),
                 modified ones, and moved ones under their old name where it is free; added
                 ones are left out, since a restore deletes nothing. Written only when the
                 report is whole. So
                   tarvik-restore --changes FROM --kind deleted --format objects |
                   tarvik-restore --from - --dry-run
                 previews undoing the deletions.

Indexing:
  --index        restores nothing: brings the index of the snapshot catalogue of the server
                 (--server NAME), or of every configured server that has a Catalogue, up to
                 date and says what it read: each new snapshot, those left out and why, those
                 gone from the folder. Run it after each night's dump (from cron) so that the
                 window and the other commands open at once. The index is kept in
                 $XDG_CACHE_HOME/tarvik (else ~/.cache/tarvik), one file per catalogue folder.

Options:
  --server NAME          the backup server (default: the first of TARVIK.INI that opens)
  --user NAME            log in as NAME; the password comes from --password-file, or is
                         asked on the terminal without echo (never from the command line)
  --password-file FILE   the password on the first line of FILE, which others must not be
                         able to read
  --on-error MODE        continue (default): go on, passing over what is below a failed
                         object; end: stop at the first failure; ask: ask on the terminal
  --dry-run              change nothing: resolve every object and version, then say in run
                         order what each restore would do (add, change N attributes,
                         nothing to change, or cannot restore and why), with the entries
                         it writes counted first in text; a server that cannot compare
                         versions has each listed as "restore"
  --format FORMAT        text (default), csv or json (and objects with --changes)
  --output FILE          write the results to FILE (replaced whole at the end) instead of
                         standard output
  --help, --version

Exit status: 0 every object restored (or would be, for a dry run); 1 any object failed, was
skipped or was not found, or the run was interrupted; 2 bad arguments or settings; 3 the server
cannot be opened or the login fails. With --find: 0 some object matched; 1 none did, or the
search failed, was interrupted or cannot be made on this server; 2 and 3 as above. With
--changes: 0 the report was made (also when nothing changed); 1 it failed, was interrupted,
cannot be made on this server, or a point is not a backup; 2 and 3 as above. With
--index: 0 every index is up to date; 1 a snapshot read was left out, or indexing was
interrupted; 2 bad arguments, or no server with a catalogue; 3 a catalogue folder cannot be read
or its index cannot be kept.
)";
}

std::string CommandLine::VersionText()
{
    return std::string("tarvik-restore (TARVIK) ") + kProgramVersion + "\n";
}
