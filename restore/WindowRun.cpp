#include "restore/WindowRun.h"

#include <string>

#include "model/ObjectItem.h"
#include "restore/WrittenObjects.h"
#include "run/RunWords.h"
#include "session/ServerSession.h"

WindowRun::WindowRun(RestoreSelection &selection, ServerSession &session, OnError onError, Ask ask)
    : steps_(selection, onError), session_(session), ask_(std::move(ask))
{
}

WindowRun::~WindowRun()
{
    End();
}

void WindowRun::Start()
{
    session_.Begin("Restoring", steps_.Total(), [this] { StopAsked(); });
    begun_ = true;
    SendNext();
}

void WindowRun::SendNext()
{
    if (stopAsked_) {
        steps_.Stop(RunWords::kStopped); // what was not come to keeps its mark
    }
    request_ = steps_.Next();
    if (!request_) {
        End();
        return;
    }
    const RunSteps::Request &request = *request_;
    if (request.object->IsInformed()) {
        steps_.Stop(RunWords::kProgramEnding); // never sent, so never called restored
        End();
        return;
    }
    session_.Describe("Restoring " + std::to_string(request.number) + " of " +
                          std::to_string(steps_.Total()) + ": " + request.name,
                      request.number - 1, steps_.Total());
    // A restore is never given up half way: its outcome is waited for, Stop or not.
    restore_ = session_.Start<RestoreOutcome>(
        [name = request.name, version = request.version,
         withSubtree = request.mark == Marked](ServerClient &client, WorkerJob &) {
            return client.Restore(name, version, withSubtree);
        },
        [this](JobEnd end, std::optional<RestoreOutcome> outcome) {
            Take(end, std::move(outcome));
        },
        ServerWorker::Kind::Write);
}

void WindowRun::Take(JobEnd end, std::optional<RestoreOutcome> outcome)
{
    if (end != JobEnd::Done || !outcome) {
        steps_.Stop(RunWords::kProgramEnding); // dropped before it was sent: the program ends
        End();
        return;
    }
    const RunSteps::Request &request = *request_;
    std::string message;
    std::optional<RestoreReport> written;
    const int32_t status = ObjectItem::TakeOutcome(std::move(*outcome), message, written);
    WrittenObjects::ShowPresent(*request.object, status, written, request.mark == Marked);
    if (!steps_.Took(status, message, written)) {
        session_.HideProgress(); // the question comes in its place
        // Stopped meanwhile: the user has answered already.
        const bool goOn = stopAsked_ || (ask_ && ask_(steps_));
        steps_.Answer(goOn ? RunSteps::Choice::Continue : RunSteps::Choice::Stop);
        session_.ResumeProgress();
    }
    SendNext();
}

void WindowRun::StopAsked()
{
    if (ended_ || stopAsked_) {
        return;
    }
    stopAsked_ = true;
    if (request_) {
        session_.Say("Stopping: finishing the restore of " + request_->name + "...");
    }
}

void WindowRun::End()
{
    if (ended_) {
        return;
    }
    ended_ = true;
    if (begun_) {
        session_.End();
    }
}
