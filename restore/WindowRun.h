// The window's side of a restore run: the run's own steps (run/RunSteps), each restore a job of
// the run on the server worker, the next one sent from the completion of the one before. So the
// run goes on whatever the program's thread is doing: a dialog opened meanwhile (About, Past
// Runs) does not pause it. The progress window says how far it has come; its Stop ends the run
// after the restore in flight, and until that restore is over the window stays and says so.
// After a failure the user is asked when the on-error choice says so. What a restore wrote is
// drawn present.
#pragma once

#include <functional>
#include <optional>

#include "report/OnError.h"
#include "run/RunSteps.h"
#include "server/ServerClient.h"
#include "session/ServerJob.h"

class RestoreSelection;
class ServerSession;

class WindowRun
{
  public:
    // The question after a failure, over the lines so far; true to go on.
    using Ask = std::function<bool(const RunSteps &steps)>;

    WindowRun(RestoreSelection &selection, ServerSession &session, OnError onError, Ask ask);
    ~WindowRun();
    WindowRun(const WindowRun &) = delete;
    WindowRun &operator=(const WindowRun &) = delete;

    // Sends the first restore; the run then goes on by itself until Ended.
    void Start();
    bool Ended() const { return ended_; }
    const RunSteps &Steps() const { return steps_; }

  private:
    void SendNext();
    void Take(JobEnd end, std::optional<RestoreOutcome> outcome);
    void StopAsked();
    void End();

    RunSteps steps_;
    ServerSession &session_;
    Ask ask_;
    ServerJob restore_;
    std::optional<RunSteps::Request> request_; // the one in flight
    bool stopAsked_ = false;
    bool begun_ = false;
    bool ended_ = false;
};
