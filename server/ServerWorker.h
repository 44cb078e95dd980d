// The one thread that talks to the backup server. The program's own thread hands it jobs, one
// after the other, and gets their results back as calls made on its own thread (through a
// poster it supplies), so that the window keeps painting and answering while a server is slow.
// A job can be stopped: what it hands back from then on is dropped, and a job that only reads
// has its request in flight abandoned (the backend watches AbandonFlag). Every job ends with
// exactly one completion on the program's thread (done, stopped or dropped), whatever happened
// to it, so that whoever waits for a job is always woken. SIGTERM and SIGPIPE are held back on
// the worker for its whole life: the program's thread takes the termination news.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "server/WorkerJob.h"

class ServerWorker
{
  public:
    // Hands a call to the program's thread; may be called from the worker.
    using Poster = std::function<void(std::function<void()>)>;
    using Work = std::function<void(WorkerJob &)>;
    // Called once on the program's thread, after everything the job delivered.
    using Completion = std::function<void(JobEnd)>;
    // Reads (listings, histories, descriptions, searches) may be abandoned half way; a write
    // (a restore) is not, since its outcome would then be unknown.
    enum class Kind { Read, Write };

    explicit ServerWorker(Poster toHome);
    ServerWorker(const ServerWorker &) = delete;
    ServerWorker &operator=(const ServerWorker &) = delete;
    // Ends as End does, then waits for the job in flight.
    ~ServerWorker();

    // Queues the work; returns its job number (never 0), or 0 once the worker has ended (the
    // completion then says Dropped).
    uint64_t Start(Work work, Kind kind = Kind::Read, Completion done = {});
    // From the program's thread: nothing the job hands back runs from now on. A queued job never
    // starts (its completion says Stopped); a read in flight is told to stop and its request is
    // abandoned. A write in flight runs to its end (its own checks of StopAsked aside), and its
    // completion says Done, since its outcome is known.
    void Stop(uint64_t job);
    // The program is ending: nothing new starts, queued jobs are dropped (each completion says
    // Dropped), a read in flight is stopped. A write in flight still hands back its outcome.
    void End();
    bool Ended() const;
    // No job runs or waits.
    bool Idle() const;

    // Set while the read in flight is to be abandoned; a backend that waits for a server looks
    // at it between short waits.
    const std::atomic<bool> &AbandonFlag() const { return abandon_; }

  private:
    struct Job {
        uint64_t id;
        Work work;
        Kind kind;
        std::shared_ptr<WorkerJob::State> state;
        Completion done;
    };

    void Loop();
    void StopLocked(Job &job);
    // Posts the job's completion; a job that ran ends Stopped only when it was a read told to
    // stop, which is decided on the program's thread, where Stop is called.
    void Complete(Job &job, bool ran);
    void Complete(Job &job, JobEnd end);

    Poster toHome_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;
    std::unique_ptr<Job> current_;
    uint64_t lastId_ = 0;
    bool ended_ = false;
    bool quitting_ = false;
    std::atomic<bool> abandon_{false};
    std::thread thread_; // last: starts once everything above is made
};
