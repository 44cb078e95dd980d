// The opening's thread, and what it tells shown on the program's thread.
#include "app/OpeningProgress.h"

#include <thread>

#include "server/BackupServer.h"
#include "toolkit/CrossThreadPost.h"
#include "toolkit/EventWait.h"
#include "toolkit/ProgressWindow.h"

OpeningProgress::OpeningProgress(BackupServer &server) : server_(server) {}

OpeningProgress::~OpeningProgress() = default;

int OpeningProgress::Run(const std::function<int()> &open)
{
    began_ = std::chrono::steady_clock::now();
    CrossThreadPost toHome;
    server_.WatchOpening(
        OpenProgress{[this, &toHome](const std::string &what, uint64_t done, uint64_t total) {
                         toHome.Post([this, what, done, total] { Show(what, done, total); });
                     },
                     &stop_});
    int result = 0;
    std::atomic<bool> done{false};
    std::thread opening([&] {
        result = open();
        done = true;
        toHome.Post([] {}); // wakes the event loop to see it
    });
    EventWait::Until([&] { return done.load(); });
    opening.join();
    server_.WatchOpening({});
    if (window_) {
        window_->Hide();
    }
    return result;
}

void OpeningProgress::Show(const std::string &what, uint64_t done, uint64_t total)
{
    const auto elapsed = std::chrono::steady_clock::now() - began_;
    if (!window_ && elapsed < std::chrono::milliseconds(kDelayMs)) {
        return;
    }
    if (!window_) {
        window_ = std::make_unique<ProgressWindow>(nullptr);
        window_->SetStopHdl([this] {
            stop_ = true;
            window_->SetText("Stopping: the snapshot being indexed is left for the next time");
        });
        window_->Show();
    }
    if (!stop_) {
        window_->SetText(what);
    }
    // Kilobytes keep the bar's numbers within its range for files of many gigabytes.
    window_->SetProgress(static_cast<std::size_t>(done >> 10),
                         static_cast<std::size_t>(total >> 10));
    window_->SetElapsedSeconds(
        static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count()));
}
