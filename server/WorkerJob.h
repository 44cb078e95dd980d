// What a job of the server worker sees while it runs: whether it was told to stop, and a way to
// hand calls (results, partial results, progress) to the program's thread. A call handed over
// after the job was stopped is dropped there, so a stopped job never changes what the user sees.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

// How a job of the server worker ended; each job has exactly one end, handed to the program's
// thread as its completion.
enum class JobEnd {
    Done,    // its work ran to its end (a write stopped in flight too: its outcome is known)
    Stopped, // stopped before it started, or a read stopped on the way: what it found is dropped
    Dropped, // never ran: the worker had ended (the program is ending)
};

class WorkerJob
{
  public:
    // Shared by the job, the worker and every call the job handed over.
    struct State {
        std::atomic<bool> stopped{false};
    };
    using Poster = std::function<void(std::function<void()>)>;

    WorkerJob(uint64_t id, std::shared_ptr<State> state, const Poster &toHome);

    uint64_t Id() const { return id_; }
    bool StopAsked() const { return state_->stopped.load(); }
    // For the server client's calls that ask between replies whether to go on.
    std::function<bool()> StopCheck() const;
    // Runs the call on the program's thread, unless the job has been stopped by then.
    void Deliver(std::function<void()> call) const;

  private:
    uint64_t id_;
    std::shared_ptr<State> state_;
    const Poster &toHome_;
};
