// The nightly dumps the catalogue's benchmarks read: a directory of `entries` people (containers
// of 10,000), `dumps` nights of it, 1% of the entries changed each night and a few added and
// deleted.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

struct Config {
    std::size_t entries = 100000;
    std::size_t dumps = 10;
    std::string folder;
    bool keep = false;
};

constexpr std::size_t kPerContainer = 10000;

// One person as slapcat writes it, about 480 bytes.
inline void WritePerson(std::FILE *file, std::size_t i, unsigned revision)
{
    std::fprintf(file,
                 "dn: uid=user%zu,ou=Org%zu,o=Bench\n"
                 "objectClass: top\nobjectClass: person\nobjectClass: organizationalPerson\n"
                 "objectClass: inetOrgPerson\ncn: User Number %zu\nsn: Number%zu\n"
                 "uid: user%zu\nmail: user%zu@bench.example\ntelephoneNumber: +1 555 %07zu\n"
                 "description: revision %u of a person kept for the benchmark\n"
                 "structuralObjectClass: inetOrgPerson\n"
                 "entryUUID: %08zx-1d3c-4b4e-9d1a-%012zx\n"
                 "creatorsName: cn=admin,o=Bench\ncreateTimestamp: 20260101000000Z\n"
                 "entryCSN: 20260101000000.000000Z#000000#000#%06x\n"
                 "modifiersName: cn=admin,o=Bench\nmodifyTimestamp: 2026010%01u000000Z\n\n",
                 i, i / kPerContainer, i, i, i, i, i, revision, i, i, revision, revision % 10);
}

// Night n: entry i changed when (i * 7919 + n * 104729) % 100 == 0; every 2,000th entry of the
// night's stretch is deleted, and as many new ones come at the end.
inline void Generate(const Config &config)
{
    std::vector<unsigned> revision(config.entries + config.dumps * (config.entries / 2000 + 1), 0);
    std::vector<bool> gone(revision.size(), false);
    std::size_t count = config.entries;
    for (std::size_t night = 0; night < config.dumps; ++night) {
        const std::string path =
            config.folder + "/dumps/" + std::to_string(1700000000 + night * 86400) + ".ldif";
        std::FILE *file = std::fopen(path.c_str(), "w");
        std::fprintf(file, "dn: o=Bench\nobjectClass: organization\no: Bench\n\n");
        for (std::size_t c = 0; c * kPerContainer < revision.size(); ++c) {
            std::fprintf(file,
                         "dn: ou=Org%zu,o=Bench\nobjectClass: organizationalUnit\nou: Org%zu\n\n",
                         c, c);
        }
        if (night > 0) {
            for (std::size_t i = 0; i < count; ++i) {
                revision[i] += (i * 7919 + night * 104729) % 100 == 0 ? 1 : 0;
            }
            for (std::size_t i = night * 7; i < count; i += 2000) {
                gone[i] = true;
            }
            count += config.entries / 2000;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (!gone[i]) {
                WritePerson(file, i, revision[i]);
            }
        }
        std::fclose(file);
    }
}
