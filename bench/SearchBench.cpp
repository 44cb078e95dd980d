// Finding objects in a directory backup server against a private slapd of about 10,000 entries
// with three snapshots: the first screenful of matches of a substring, the whole search, and
// going to a match four levels deep (a listing per level and the object's history).
//
// The directory: o=Marrowby, ten regions R0..R9, ten departments D0..D9 in each, ten teams
// T0..T9 in each department, and people P00000..P09999 in the teams, ten to a team. The live
// directory has lost the last person of every team since the snapshots were taken.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "server/BackupServer.h"
#include "server/SearchRun.h"
#include "server/ServerClient.h"
#include "server/directory/LdapServer.h"
#include "tests/support/core/SlapdServer.h"

namespace
{
// The rows a result list shows at once.
constexpr std::size_t Screenful = 30;

std::string Entry(const std::string &rdn, const std::string &parent, const std::string &classes)
{
    const std::size_t equals = rdn.find('=');
    return "dn: " + rdn + "," + parent + "\n" + classes + rdn.substr(0, equals) + ": " +
           rdn.substr(equals + 1) + "\n\n";
}

std::string Directory(int peoplePerTeam)
{
    const std::string unit = "objectClass: organizationalUnit\n";
    const std::string person = "objectClass: person\nsn: Surname\n";
    std::string ldif = "dn: o=Marrowby\nobjectClass: organization\no: Marrowby\n\n";
    int number = 0;
    for (int region = 0; region < 10; ++region) {
        const std::string regionDn = "ou=R" + std::to_string(region) + ",o=Marrowby";
        ldif += Entry("ou=R" + std::to_string(region), "o=Marrowby", unit);
        for (int department = 0; department < 10; ++department) {
            const std::string departmentDn = "ou=D" + std::to_string(department) + "," + regionDn;
            ldif += Entry("ou=D" + std::to_string(department), regionDn, unit);
            for (int team = 0; team < 10; ++team) {
                const std::string teamDn = "ou=T" + std::to_string(team) + "," + departmentDn;
                ldif += Entry("ou=T" + std::to_string(team), departmentDn, unit);
                for (int member = 0; member < 10; ++member, ++number) {
                    char name[16];
                    std::snprintf(name, sizeof name, "P%05d", number);
                    if (member < peoplePerTeam) {
                        ldif += Entry(std::string("cn=") + name, teamDn, person);
                    }
                }
            }
        }
    }
    return ldif;
}

struct Setup {
    Setup() : slapd({Directory(9), ""})
    {
        const std::string whole = Directory(10);
        for (unsigned snapshot = 1; snapshot <= 3; ++snapshot) {
            slapd.WriteSnapshot(1000u * snapshot, whole);
        }
        server = std::make_unique<BackupServer>(
            std::make_unique<LdapServer>(slapd.SocketSettings("BENCH")));
        if (server->Open("BENCH") != 0 || server->Backend().LoginCurrent(LoginRecord{}) != 0) {
            server.reset();
        }
    }

    SlapdServer slapd;
    std::unique_ptr<BackupServer> server;
};

Setup &Shared()
{
    static Setup setup;
    return setup;
}

// "12" matches about 400 people, live and deleted; "P" matches every one of them.
void SearchFirstScreenful(benchmark::State &state, const char *pattern)
{
    Setup &setup = Shared();
    if (!setup.server) {
        state.SkipWithError("the server does not open");
        return;
    }
    ServerClient client(*setup.server);
    for (auto _ : state) {
        std::unique_ptr<SearchRun> run = client.StartSearch("Marrowby", pattern, false);
        run->Next(Screenful, [](FoundObject &&) {});
        if (run->Found() < Screenful) {
            state.SkipWithError("fewer matches than a screenful");
            break;
        }
    }
}
BENCHMARK_CAPTURE(SearchFirstScreenful, substring, "12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchFirstScreenful, everyone, "P")->Unit(benchmark::kMillisecond);

void SearchWhole(benchmark::State &state, const char *pattern)
{
    Setup &setup = Shared();
    if (!setup.server) {
        state.SkipWithError("the server does not open");
        return;
    }
    ServerClient client(*setup.server);
    std::size_t found = 0;
    std::size_t deleted = 0;
    for (auto _ : state) {
        deleted = 0;
        const SearchOutcome outcome = client.Search(
            "Marrowby", pattern, false, [&](FoundObject &&object) { deleted += !object.present; });
        if (outcome.end != RequestEnd::Answered) {
            state.SkipWithError(outcome.failure.c_str());
            break;
        }
        found = outcome.found;
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["deleted"] = static_cast<double>(deleted);
}
BENCHMARK_CAPTURE(SearchWhole, substring, "12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchWhole, everyone, "P")->Unit(benchmark::kMillisecond);

// What going to P05439.T3.D4.R5.Marrowby asks: a listing of each container on the way, from the
// top context down, and the object's history.
void GoToFourLevelsDown(benchmark::State &state)
{
    Setup &setup = Shared();
    if (!setup.server) {
        state.SkipWithError("the server does not open");
        return;
    }
    ServerClient client(*setup.server);
    for (auto _ : state) {
        std::size_t listed = 0;
        for (const char *container :
             {"Marrowby", "R5.Marrowby", "D4.R5.Marrowby", "T3.D4.R5.Marrowby"}) {
            listed += client.ListChildren(container).children.size();
        }
        const ObjectHistory history = client.GetHistory("P05439.T3.D4.R5.Marrowby");
        if (listed != 40 || history.times.size() != 3) {
            state.SkipWithError("the way down is not as built");
            break;
        }
    }
}
BENCHMARK(GoToFourLevelsDown)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
