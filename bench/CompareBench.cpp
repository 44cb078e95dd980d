// Seeing what a restore will change, against a private slapd and a snapshot: comparing an entry
// of 50 attributes with its live version, previewing a run of 1,000 marked entries (half of
// them deleted since the snapshot) in the window and by the command line's dry run, and
// previewing the present container that holds them, marked with its subtree.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/CommandLineRun.h"
#include "model/AttributeComparison.h"
#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestorePreview.h"
#include "model/RestoreSelection.h"
#include "run/PreviewWalk.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/directory/LdapServer.h"
#include "tests/support/core/SlapdServer.h"

namespace
{
constexpr int MarkedEntries = 1000;

// An entry that takes any attribute, with 50 of them (a binary photo among them).
std::string WideEntry(const std::string &variant)
{
    const char *names[] = {"sn",
                           "description",
                           "title",
                           "telephoneNumber",
                           "street",
                           "postOfficeBox",
                           "postalCode",
                           "postalAddress",
                           "physicalDeliveryOfficeName",
                           "ou",
                           "st",
                           "l",
                           "businessCategory",
                           "carLicense",
                           "departmentNumber",
                           "displayName",
                           "employeeNumber",
                           "employeeType",
                           "givenName",
                           "homePhone",
                           "homePostalAddress",
                           "initials",
                           "labeledURI",
                           "mail",
                           "mobile",
                           "o",
                           "pager",
                           "roomNumber",
                           "uid",
                           "preferredLanguage",
                           "destinationIndicator",
                           "registeredAddress",
                           "info",
                           "drink",
                           "userClass",
                           "host",
                           "documentTitle",
                           "buildingName",
                           "personalTitle",
                           "organizationalStatus",
                           "documentIdentifier",
                           "documentVersion",
                           "documentLocation",
                           "documentPublisher",
                           "facsimileTelephoneNumber",
                           "internationaliSDNNumber",
                           "x121Address"};
    std::string ldif = "dn: cn=Wide,o=Marrowby\nobjectClass: inetOrgPerson\n"
                       "objectClass: extensibleObject\ncn: Wide\n"
                       "jpegPhoto:: " +
                       std::string(4000, 'A') + "\n";
    for (const char *name : names) {
        const std::string text(name);
        const bool numeric = text == "internationaliSDNNumber" || text == "x121Address" ||
                             text == "telephoneNumber" || text == "facsimileTelephoneNumber" ||
                             text == "homePhone" || text == "mobile" || text == "pager";
        ldif += text + ": " + (numeric ? "12345" : "value of " + text + " " + variant) + "\n";
    }
    return ldif + "\n";
}

std::string Person(int n)
{
    char name[16];
    std::snprintf(name, sizeof name, "P%04d", n);
    return "dn: cn=" + std::string(name) + ",ou=Many,o=Marrowby\nobjectClass: person\ncn: " + name +
           "\nsn: Surname\ndescription: entry " + std::to_string(n) + "\n\n";
}

std::string Directory(const std::string &variant, int people, int step)
{
    std::string ldif = "dn: o=Marrowby\nobjectClass: organization\no: Marrowby\n\n"
                       "dn: ou=Many,o=Marrowby\nobjectClass: organizationalUnit\nou: Many\n\n" +
                       WideEntry(variant);
    for (int i = 0; i < people; i += step) {
        ldif += Person(i);
    }
    return ldif;
}

struct Setup {
    // Live: the wide entry changed and every second person gone.
    Setup() : slapd({Directory("now", MarkedEntries, 2), ""})
    {
        slapd.WriteSnapshot(1000, Directory("then", MarkedEntries, 1));
    }
    std::unique_ptr<BackupServer> OpenServer() const
    {
        auto server = std::make_unique<BackupServer>(
            std::make_unique<LdapServer>(slapd.SocketSettings("BENCH")));
        if (server->Open("BENCH") != 0 || server->Backend().LoginCurrent(LoginRecord{}) != 0) {
            return nullptr;
        }
        return server;
    }
    SlapdServer slapd;
};

Setup &Shared()
{
    static Setup setup;
    return setup;
}

void CompareEntryOf50Attributes(benchmark::State &state)
{
    std::unique_ptr<BackupServer> server = Shared().OpenServer();
    if (!server) {
        state.SkipWithError("the server does not open");
        return;
    }
    ServerClient client(*server);
    std::size_t attributes = 0;
    std::size_t changes = 0;
    for (auto _ : state) {
        const DescribedObject described = client.Describe("Wide.Marrowby", 1000);
        if (described.end != RequestEnd::Answered) {
            state.SkipWithError(described.failure.c_str());
            return;
        }
        const std::vector<ComparedAttribute> compared =
            AttributeComparison::Of(described.description);
        attributes = described.description.backup.size();
        changes = AttributeComparison::Changes(compared);
    }
    state.counters["attributes"] = static_cast<double>(attributes);
    state.counters["changed"] = static_cast<double>(changes);
}
BENCHMARK(CompareEntryOf50Attributes)->Unit(benchmark::kMillisecond);

// The tree over the shared directory with its top opened, as the window holds it, and the
// preview of what is marked in it.
struct PreviewedTree {
    explicit PreviewedTree(BackupServer &server) : client(server)
    {
        forest.AppendItem(
            std::make_unique<ObjectItem>("Marrowby", DisplayItem::ContainerKind, &client, nullptr));
        static_cast<ObjectItem *>(forest.ItemAt(0))->Open();
    }
    void Preview(benchmark::State &state)
    {
        PreviewCounts counts;
        for (auto _ : state) {
            counts = RestorePreview::Count(PreviewWalk(selection).Build());
        }
        state.counters["add"] = static_cast<double>(counts.add);
        state.counters["unchanged"] = static_cast<double>(counts.unchanged);
        state.counters["cannot"] = static_cast<double>(counts.cannot);
    }

    ServerClient client;
    NodeList forest;
    RestoreSelection selection{forest};
};

void PreviewOf1000MarkedEntries(benchmark::State &state)
{
    std::unique_ptr<BackupServer> server = Shared().OpenServer();
    if (!server) {
        state.SkipWithError("the server does not open");
        return;
    }
    PreviewedTree tree(*server);
    ObjectItem *many = tree.selection.FindLoaded("Many.Marrowby");
    if (many == nullptr || many->Open() != ObjectItem::OpenResult::Opened) {
        state.SkipWithError("ou=Many cannot be opened");
        return;
    }
    for (int i = 0; i < MarkedEntries; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "P%04d.Many.Marrowby", i);
        if (ObjectItem *person = tree.selection.FindLoaded(name)) {
            tree.selection.Mark(*person, Marked);
        }
    }
    tree.Preview(state);
}
BENCHMARK(PreviewOf1000MarkedEntries)->Unit(benchmark::kMillisecond);

// One object of the run, a present container with its subtree: the server describes the 1,001
// entries its restore writes (500 to add, 501 as they are), each read live.
void PreviewOfAPresentContainerWith1000EntriesBelow(benchmark::State &state)
{
    std::unique_ptr<BackupServer> server = Shared().OpenServer();
    if (!server) {
        state.SkipWithError("the server does not open");
        return;
    }
    PreviewedTree tree(*server);
    ObjectItem *many = tree.selection.FindLoaded("Many.Marrowby");
    if (many == nullptr) {
        state.SkipWithError("ou=Many is not listed");
        return;
    }
    tree.selection.Mark(*many, Marked); // never opened: the server says what lies below
    tree.Preview(state);
}
BENCHMARK(PreviewOfAPresentContainerWith1000EntriesBelow)->Unit(benchmark::kMillisecond);

// From opening the server to the results: 1,000 objects found, each described and reported.
void DryRunOf1000ObjectsByTheCommandLine(benchmark::State &state)
{
    static ProgramFolder program("[SERVER]\nBackupServer=BENCH\n");
    std::vector<std::string> words = {"--dry-run", "--format=csv"};
    for (int i = 0; i < MarkedEntries; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "P%04d.Many.Marrowby", i);
        words.push_back(name);
    }
    std::size_t lines = 0;
    for (auto _ : state) {
        BackupServer server(std::make_unique<LdapServer>(Shared().slapd.SocketSettings("BENCH"),
                                                         [](const std::string &) {}));
        std::string out;
        if (RunCommand(server, words, out) != 0) {
            state.SkipWithError(out.substr(0, 200).c_str());
            return;
        }
        lines = static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n'));
    }
    state.counters["objects"] = static_cast<double>(lines - 1);
}
BENCHMARK(DryRunOf1000ObjectsByTheCommandLine)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
