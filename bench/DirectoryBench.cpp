// The directory backup server against a private slapd: indexing three snapshots of 10,000
// entries, listing a container of 5,000 children (4,000 live, all 5,000 in the snapshots), and
// restoring a deleted subtree of 100 entries.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "server/BackupServer.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"
#include "server/directory/LdapServer.h"
#include "tests/support/core/SlapdServer.h"

namespace
{
constexpr int BigChildren = 5000;
constexpr int LiveBigChildren = 4000;
constexpr int SnapshotEntries = 10000;

std::string Person(const std::string &name, const std::string &parent, int version)
{
    return "dn: cn=" + name + "," + parent + "\nobjectClass: person\ncn: " + name +
           "\nsn: Surname\ndescription: version " + std::to_string(version) + "\n\n";
}

std::string Unit(const std::string &name, const std::string &parent)
{
    return "dn: ou=" + name + "," + parent + "\nobjectClass: organizationalUnit\nou: " + name +
           "\n\n";
}

std::string Number(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "P%05d", n);
    return text;
}

// The base, ou=Big with its children, ou=Tree: 100 entries in three levels, and ou=Other
// filling the rest.
std::string Directory(int bigChildren, bool withTree, int total, int version)
{
    std::string ldif = "dn: o=Marrowby\nobjectClass: organization\no: Marrowby\n\n" +
                       Unit("Big", "o=Marrowby") + Unit("Other", "o=Marrowby");
    int count = 3;
    for (int i = 0; i < bigChildren; ++i, ++count) {
        ldif += Person(Number(i), "ou=Big,o=Marrowby", version);
    }
    if (withTree) {
        ldif += Unit("Tree", "o=Marrowby");
        ++count;
        for (int unit = 0; unit < 9; ++unit) {
            const std::string name = "U" + std::to_string(unit);
            ldif += Unit(name, "ou=Tree,o=Marrowby");
            ++count;
            for (int person = 0; person < 10; ++person, ++count) {
                ldif += Person(Number(person), "ou=" + name + ",ou=Tree,o=Marrowby", version);
            }
        }
    }
    for (int i = 0; count < total; ++i, ++count) {
        ldif += Person(Number(i), "ou=Other,o=Marrowby", version);
    }
    return ldif;
}

struct Setup {
    Setup() : slapd({Directory(LiveBigChildren, false, 0, 0), ""})
    {
        for (int snapshot = 1; snapshot <= 3; ++snapshot) {
            slapd.WriteSnapshot(1000u * static_cast<unsigned>(snapshot),
                                Directory(BigChildren, true, SnapshotEntries, snapshot));
        }
    }
    LdapSettings Settings() const { return slapd.SocketSettings("BENCH"); }
    std::unique_ptr<BackupServer> OpenServer() const
    {
        auto server = std::make_unique<BackupServer>(std::make_unique<LdapServer>(Settings()));
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

void IndexThreeSnapshots(benchmark::State &state)
{
    Setup &setup = Shared();
    std::size_t entries = 0;
    const std::string indexFolder = setup.slapd.Folder() + "/bench-index";
    for (auto _ : state) {
        std::filesystem::remove_all(indexFolder); // indexed from nothing each time
        SnapshotCatalogue catalogue;
        catalogue.Load(
            setup.slapd.Catalogue(), SnapshotCatalogue::DefaultContainerClasses(),
            [](const std::string &) {}, indexFolder);
        entries = 0;
        for (const IndexedDump &snapshot : catalogue.Snapshots()) {
            entries += snapshot.entries;
        }
    }
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(IndexThreeSnapshots)->Unit(benchmark::kMillisecond);

void ListContainerOf5000(benchmark::State &state)
{
    std::unique_ptr<BackupServer> server = Shared().OpenServer();
    if (!server) {
        state.SkipWithError("the server does not open");
        return;
    }
    int children = 0;
    for (auto _ : state) {
        ChildRequest request{};
        CopyToField(request.containerName, "Big.Marrowby");
        children = 0;
        for (;;) {
            ServerReply reply(*server, ListChildren, sizeof request, &request);
            const ObjectRecord *record = reply.As<ObjectRecord>();
            if (record == nullptr || record->id == 0) {
                break;
            }
            ++children;
            request.lastId = record->id;
        }
    }
    state.counters["children"] = children;
}
BENCHMARK(ListContainerOf5000)->Unit(benchmark::kMillisecond);

void RestoreSubtreeOf100(benchmark::State &state)
{
    Setup &setup = Shared();
    std::unique_ptr<BackupServer> server = setup.OpenServer();
    if (!server) {
        state.SkipWithError("the server does not open");
        return;
    }
    RestoreRequest request{};
    CopyToField(request.objectName, "Tree.Marrowby");
    request.flags = RestoreWithSubtree;
    for (auto _ : state) {
        state.PauseTiming();
        setup.slapd.Delete("ou=Tree,o=Marrowby", true);
        state.ResumeTiming();
        ServerReply reply(*server, RestoreObject, sizeof request, &request);
        const RestoreReply *restored = reply.As<RestoreReply>();
        if (restored == nullptr || restored->status != 0) {
            state.SkipWithError(restored ? restored->message : "no reply");
            break;
        }
    }
    state.counters["entries"] = 100;
}
BENCHMARK(RestoreSubtreeOf100)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
