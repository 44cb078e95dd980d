// Opening the server with the window going: the opening runs on a thread of its own while the
// program's thread handles events. When it takes longer than half a second (a directory server
// indexing new snapshots), a progress window says what is being done, how far, and offers Stop:
// the indexing then ends, leaving the index as it was and the snapshot it was reading out of
// the histories until the next opening indexes it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class BackupServer;
class ProgressWindow;

class OpeningProgress
{
  public:
    static constexpr int kDelayMs = 500;

    explicit OpeningProgress(BackupServer &server);
    ~OpeningProgress();

    // Runs `open` (which opens the server) on its own thread and returns its result once it is
    // done; the server tells its progress meanwhile.
    int Run(const std::function<int()> &open);

    // What the user is told; for tests.
    const ProgressWindow *Progress() const { return window_.get(); }

  private:
    void Show(const std::string &what, uint64_t done, uint64_t total);

    BackupServer &server_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> posted_{false}; // a report waits for the program's thread
    std::chrono::steady_clock::time_point began_;
    std::unique_ptr<ProgressWindow> window_;
};
