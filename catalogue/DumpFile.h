// A dump file of a catalogue folder as it lies there now: its name, the time it was taken, and
// what tells whether it changed since it was indexed (size, modification time, and a
// fingerprint of its first and last bytes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DumpFile {
    std::string name;  // in the folder
    std::string path;  // folder/name
    uint32_t time = 0; // the number its name begins with (unix seconds), else when written
    uint64_t size = 0;
    int64_t modified = 0; // nanoseconds
    uint64_t head = 0;    // fingerprint of its first and last bytes

    // Oldest first; dumps of one time by name.
    bool Before(const DumpFile &other) const
    {
        return time != other.time ? time < other.time : name < other.name;
    }

    // The dumps of the folder, oldest first; false, with the reason in `fault`, when the folder
    // cannot be read.
    static bool List(const std::string &folder, std::vector<DumpFile> &files, std::string &fault);
};
