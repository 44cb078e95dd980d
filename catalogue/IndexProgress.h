// How indexing tells how far it is, and how it is asked to stop: the window and the command line
// each show it their own way.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct IndexStep {
    std::string file;      // the dump being read (its name in the folder)
    std::size_t dump = 0;  // its number among those to read, from 1
    std::size_t dumps = 0; // how many are to be read
    uint64_t done = 0;     // bytes of its file read so far
    uint64_t total = 0;    // the file's size
};

struct IndexProgress {
    // Called when a dump is begun and now and then while it is read; on the indexing's thread.
    std::function<void(const IndexStep &)> report;
    // Set (from any thread) to stop: the dump being read is left out, the index as it was.
    const std::atomic<bool> *stop = nullptr;

    bool Stopped() const { return stop != nullptr && stop->load(); }
};
