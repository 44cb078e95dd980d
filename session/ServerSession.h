// The window's way to the backup server: every request runs on the server worker while the
// program's thread goes on painting and answering; the result comes back to this thread, the
// only one that changes the tree. A requester either starts a job and is called back once with
// how it ended (Start, holding the job's ServerJob), or waits for it with the event loop going
// (Run). Whatever the user waits for is an activity: after half a second a progress window says
// what is being done, with the time so far and a Stop button, which stops that activity and
// nothing else (a search of the Find dialog has its own Stop). A restore in flight is never
// given up, since its outcome would be unknown. While an activity lasts, Busy() is true, and
// commands that would change the tree wait.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mwlib/MW_SIGTERMClient.h"
#include "server/ServerClient.h"
#include "server/ServerWorker.h"
#include "session/BusyWatcher.h"
#include "session/ServerJob.h"
#include "session/WaitProgress.h"
#include "toolkit/CrossThreadPost.h"
#include "toolkit/EventWait.h"

class ProgressWindow;
class Window;

class ServerSession : public MW_SIGTERMClient
{
  public:
    static constexpr int kProgressDelayMs = WaitProgress::kDelayMs;
    template <typename Result> using Work = std::function<Result(ServerClient &, WorkerJob &)>;
    // The result is there when the job ended Done.
    template <typename Result>
    using Completion = std::function<void(JobEnd, std::optional<Result>)>;

    // client may be null (no server: nothing is ever asked; every job is dropped). parent: the
    // progress window's.
    ServerSession(ServerClient *client, MW_SIGTERMClientList *registry,
                  std::function<Window *()> parent);
    ~ServerSession() override;
    ServerSession(const ServerSession &) = delete;
    ServerSession &operator=(const ServerSession &) = delete;

    // An activity of several requests: begun, described as it goes, ended. Requests outside
    // one make an activity of their own. Activities do not nest: an inner Begin only counts,
    // and adds its own stop. `stop` is called when the user stops the activity.
    void Begin(const std::string &what, std::size_t total = 0, std::function<void()> stop = {});
    void Describe(const std::string &what, std::size_t done, std::size_t total);
    // Only the progress window's text.
    void Say(const std::string &what);
    void End();
    // The user pressed Stop (or the program is ending) during the activity under way.
    bool Stopped() const { return stopped_; }
    bool Busy() const { return depth_ > 0; }
    // What the activity under way is doing, as it began; empty when the session is free.
    const std::string &Activity() const { return activity_; }
    // For a command that must wait for the server: true while Busy(), and then the watcher
    // hears of it, so that the user's key does not vanish without a word.
    bool TurnsAway();
    // Hears when the session turns busy or free and when a command is turned away; null: none.
    void Watch(BusyWatcher *watcher) { watcher_ = watcher; }
    // A modal prompt in the middle of an activity: the progress window steps aside, and comes
    // back (after its delay) once the activity goes on.
    void HideProgress();
    void ResumeProgress();
    // The progress window's Stop: the activity under way is stopped (its own stops are called,
    // and the request it waits for is given up, unless it is a restore).
    void Stop();

    // Starts the work on the worker; `done` is called once, on this thread, unless the returned
    // hold went before. Without a client, or once the program is ending, the job is dropped.
    template <typename Result>
    ServerJob Start(Work<Result> work, Completion<Result> done,
                    ServerWorker::Kind kind = ServerWorker::Kind::Read);
    // Runs the work and waits for its result, the window going on meanwhile; `what` is said
    // while it is not part of a larger activity. Nothing when the activity was stopped (before
    // or during the work), the program is ending, or there is no client. A Write is waited for
    // to its end, Stop or not.
    template <typename Result>
    std::optional<Result> Run(const std::string &what, Work<Result> work,
                              ServerWorker::Kind kind = ServerWorker::Kind::Read);

    // Called once the activity under way has ended, as a call of its own at the next pass of
    // the event loop (at once when there is none).
    void WhenIdle(std::function<void()> call);

    // What the user is told; for tests.
    const ProgressWindow *Progress() const { return progress_.Progress(); }

    void M_SIGTERM() override;

  private:
    ServerJob StartJob(ServerWorker::Work work, std::function<void(JobEnd)> finish,
                       ServerWorker::Kind kind);
    // Keeps the event loop going until the job has ended; Stop gives it up meanwhile.
    void Wait(ServerJob &job, const bool &ended);

    ServerClient *client_;
    std::shared_ptr<CrossThreadPost> toHome_; // shared with the holds of jobs
    std::shared_ptr<ServerWorker> worker_;
    WaitProgress progress_;
    int depth_ = 0;
    std::string activity_;
    BusyWatcher *watcher_ = nullptr;
    bool stopped_ = false;
    std::vector<std::function<void()>> stops_; // of the activity under way
    std::vector<ServerJob *> waited_;          // the jobs Run waits for, given up on Stop
    std::vector<std::function<void()>> whenIdle_;
};

template <typename Result>
ServerJob ServerSession::Start(Work<Result> work, Completion<Result> done, ServerWorker::Kind kind)
{
    // Made on the worker, read here once the completion came: the result belongs to the job.
    auto made = std::make_shared<std::optional<Result>>();
    auto finish = [made, done = std::move(done)](JobEnd end) {
        done(end, end == JobEnd::Done ? std::move(*made) : std::nullopt);
    };
    if (client_ == nullptr) {
        return StartJob({}, std::move(finish), kind);
    }
    ServerClient &client = *client_;
    return StartJob(
        [&client, made, work = std::move(work)](WorkerJob &job) { *made = work(client, job); },
        std::move(finish), kind);
}

template <typename Result>
std::optional<Result> ServerSession::Run(const std::string &what, Work<Result> work,
                                         ServerWorker::Kind kind)
{
    if (client_ == nullptr || Informed()) {
        return std::nullopt;
    }
    Begin(what); // inside an activity, the activity says what is being done
    std::optional<Result> result;
    if (!stopped_) {
        bool ended = false;
        ServerJob job = Start<Result>(
            std::move(work),
            [&result, &ended](JobEnd, std::optional<Result> made) {
                result = std::move(made);
                ended = true;
            },
            kind);
        Wait(job, ended);
    }
    End();
    return result;
}
