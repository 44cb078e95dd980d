// A requester's hold on one job of the server worker: a listing, a history, a restore, a batch of
// a search. Stop stops this job and no other; the requester's completion is called exactly once,
// on the program's thread, with how the job ended. When the hold goes (its requester went, or
// took another job's hold in its place) the job is stopped and its completion never comes, so a
// job never calls back into a dialog that has gone.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "server/ServerWorker.h"

class CrossThreadPost;

class ServerJob
{
  public:
    ServerJob() = default;
    ServerJob(ServerJob &&other) noexcept = default;
    ServerJob &operator=(ServerJob &&other) noexcept;
    ServerJob(const ServerJob &) = delete;
    ServerJob &operator=(const ServerJob &) = delete;
    ~ServerJob();

    // A queued job never runs; a read is given up at once (its completion, Stopped, comes at the
    // next pass of the event loop, whenever the server lets its request go); a write in flight
    // runs to its end and its completion brings its outcome.
    void Stop();
    // Started, and its completion has not come yet.
    bool Pending() const;

  private:
    friend class ServerSession;
    // Shared by the hold and the completion the worker posts; used on the program's thread only.
    struct Ticket {
        std::weak_ptr<ServerWorker> worker;
        std::weak_ptr<const CrossThreadPost> home;
        uint64_t id = 0;
        bool read = true;
        bool ended = false;
        std::function<void(JobEnd)> finish; // the requester's; empty once it has gone
    };
    explicit ServerJob(std::shared_ptr<Ticket> ticket) : ticket_(std::move(ticket)) {}
    // The job's one completion: the first of the worker's and a stopped read's own.
    static void Complete(Ticket &ticket, JobEnd end);
    // The requester is gone: the job is stopped and its completion dropped.
    void Forget();

    std::shared_ptr<Ticket> ticket_;
};
