// The window's way to the backup server: every request runs on the server worker while the
// program's thread goes on painting and answering; the result comes back to this thread, the
// only one that changes the tree. Whatever the user waits for (one request, or a run of many)
// is an activity: after half a second a progress window says what is being done, with the time
// so far and a Stop button. Stop gives up a read at once (its result is dropped); a restore in
// flight is never given up, since its outcome would be unknown: a run stops after it. While an
// activity lasts, Busy() is true, and commands that would change the tree wait.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mwlib/MW_SIGTERMClient.h"
#include "server/ServerClient.h"
#include "server/ServerWorker.h"
#include "toolkit/CrossThreadPost.h"
#include "toolkit/Timer.h"

class ProgressWindow;
class Window;

class ServerTasks : public MW_SIGTERMClient
{
  public:
    static constexpr int kProgressDelayMs = 500;

    // client may be null (no server: nothing is ever asked). parent: the progress window's.
    ServerTasks(ServerClient *client, MW_SIGTERMClientList *registry,
                std::function<Window *()> parent);
    ~ServerTasks() override;

    // An activity of several requests: begun, described as it goes, ended. Requests outside
    // one make an activity of their own. Activities do not nest: an inner Begin only counts.
    void Begin(const std::string &what, std::size_t total = 0);
    void Describe(const std::string &what, std::size_t done, std::size_t total);
    void End();
    // The user pressed Stop (or the program is ending) during the activity under way.
    bool Stopped() const { return stopped_; }
    bool Busy() const { return depth_ > 0; }
    // A modal prompt in the middle of an activity: the progress window steps aside until the
    // next request.
    void HideProgress();

    // Runs the work on the worker and waits for its result, the window going on meanwhile;
    // `what` is said while it is not part of a larger activity.
    // Nothing when the activity was stopped (before or during the work), the program is
    // ending, or there is no client. A Write is waited for to its end, Stop or not.
    template <typename Result>
    std::optional<Result> Run(const std::string &what,
                              std::function<Result(ServerClient &, WorkerJob &)> work,
                              ServerWorker::Kind kind = ServerWorker::Kind::Read);

    // Called once the activity under way has ended (at once when there is none).
    void WhenIdle(std::function<void()> call);

    // What the user is told; for tests.
    const ProgressWindow *Progress() const { return progress_.get(); }
    void Stop();

    void M_SIGTERM() override;

  private:
    // Starts the job and waits until it handed its result back, or was given up.
    bool StartAndWait(ServerWorker::Work work, ServerWorker::Kind kind, const bool &delivered);
    void ShowProgress();
    void Tick();

    ServerClient *client_;
    std::function<Window *()> parent_;
    CrossThreadPost toHome_;
    std::unique_ptr<ServerWorker> worker_;
    std::unique_ptr<ProgressWindow> progress_;
    Timer showTimer_;
    Timer tickTimer_;
    std::chrono::steady_clock::time_point began_;
    std::string what_;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
    int depth_ = 0;
    bool stopped_ = false;
    uint64_t readInFlight_ = 0; // the read being waited for, given up on Stop
    bool givenUp_ = false;
    std::vector<std::function<void()>> whenIdle_;
};

template <typename Result>
std::optional<Result> ServerTasks::Run(const std::string &what,
                                       std::function<Result(ServerClient &, WorkerJob &)> work,
                                       ServerWorker::Kind kind)
{
    if (client_ == nullptr || Informed()) {
        return std::nullopt;
    }
    Begin(what); // inside an activity, the activity says what is being done
    std::optional<Result> result;
    bool delivered = false;
    ServerClient &client = *client_;
    const bool finished = !stopped_ && StartAndWait(
                                           [&client, &result, &delivered, work](WorkerJob &job) {
                                               auto made =
                                                   std::make_shared<Result>(work(client, job));
                                               job.Deliver([made, &result, &delivered] {
                                                   result = std::move(*made);
                                                   delivered = true;
                                               });
                                           },
                                           kind, delivered);
    End();
    return finished ? std::move(result) : std::nullopt;
}
