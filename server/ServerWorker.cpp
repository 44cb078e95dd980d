#include "server/ServerWorker.h"

#include <signal.h>

#include <algorithm>

namespace
{
// The new thread takes the creator's signal mask: blocked around its start, SIGTERM and SIGPIPE
// never reach it, and the creator's own mask is as it was afterwards.
class HeldForNewThread
{
  public:
    HeldForNewThread()
    {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGTERM);
        sigaddset(&held, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~HeldForNewThread() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    HeldForNewThread(const HeldForNewThread &) = delete;
    HeldForNewThread &operator=(const HeldForNewThread &) = delete;

  private:
    sigset_t previous_;
};

std::thread StartThread(std::function<void()> body)
{
    const HeldForNewThread held;
    return std::thread(std::move(body));
}
} // namespace

ServerWorker::ServerWorker(Poster toHome)
    : toHome_(std::move(toHome)), thread_(StartThread([this] { Loop(); }))
{
}

ServerWorker::~ServerWorker()
{
    End();
    {
        const std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

uint64_t ServerWorker::Start(Work work, Kind kind, Completion done)
{
    Job job{0, std::move(work), kind, std::make_shared<WorkerJob::State>(), std::move(done)};
    uint64_t id = 0;
    {
        const std::lock_guard lock(mutex_);
        if (!ended_) {
            id = job.id = ++lastId_;
            queue_.push_back(std::move(job));
        }
    }
    if (id == 0) {
        Complete(job, JobEnd::Dropped);
        return 0;
    }
    wake_.notify_one();
    return id;
}

void ServerWorker::Complete(Job &job, JobEnd end)
{
    if (job.done) {
        toHome_([done = std::move(job.done), end] { done(end); });
    }
}

void ServerWorker::Complete(Job &job, bool ran)
{
    if (!ran || !job.done) {
        Complete(job, ran ? JobEnd::Done : JobEnd::Stopped);
        return;
    }
    toHome_([done = std::move(job.done), state = job.state, read = job.kind == Kind::Read] {
        done(read && state->stopped.load() ? JobEnd::Stopped : JobEnd::Done);
    });
}

void ServerWorker::StopLocked(Job &job)
{
    job.state->stopped = true;
    if (job.kind == Kind::Read) {
        abandon_ = true;
    }
}

void ServerWorker::Stop(uint64_t job)
{
    const std::lock_guard lock(mutex_);
    if (current_ && current_->id == job) {
        StopLocked(*current_);
        return;
    }
    auto queued = std::find_if(queue_.begin(), queue_.end(),
                               [job](const Job &waiting) { return waiting.id == job; });
    if (queued != queue_.end()) {
        queued->state->stopped = true;
        Complete(*queued, false);
        queue_.erase(queued);
    }
}

void ServerWorker::End()
{
    const std::lock_guard lock(mutex_);
    ended_ = true;
    for (Job &waiting : queue_) {
        waiting.state->stopped = true;
        Complete(waiting, JobEnd::Dropped);
    }
    queue_.clear();
    if (current_ && current_->kind == Kind::Read) {
        StopLocked(*current_);
    }
}

bool ServerWorker::Ended() const
{
    const std::lock_guard lock(mutex_);
    return ended_;
}

bool ServerWorker::Idle() const
{
    const std::lock_guard lock(mutex_);
    return !current_ && queue_.empty();
}

void ServerWorker::Loop()
{
    for (;;) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return quitting_ || !queue_.empty(); });
        if (queue_.empty()) {
            return; // quitting, and nothing is left to run
        }
        current_ = std::make_unique<Job>(std::move(queue_.front()));
        queue_.pop_front();
        abandon_ = false;
        Job &job = *current_;
        lock.unlock();

        WorkerJob handle(job.id, job.state, toHome_);
        job.work(handle);
        Complete(job, true);

        lock.lock();
        current_.reset();
        abandon_ = false;
    }
}
