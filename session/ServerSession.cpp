#include "session/ServerSession.h"

#include <algorithm>

ServerSession::ServerSession(ServerClient *client, MW_SIGTERMClientList *registry,
                             std::function<Window *()> parent)
    : MW_SIGTERMClient(registry), client_(client), toHome_(std::make_shared<CrossThreadPost>()),
      progress_(std::move(parent), [this] { Stop(); })
{
    worker_ = std::make_shared<ServerWorker>(
        [this](std::function<void()> call) { toHome_->Post(std::move(call)); });
    if (client_ != nullptr) {
        client_->WatchAbandon(&worker_->AbandonFlag());
    }
    if (Informed()) {
        worker_->End(); // made after the termination signal
    }
}

// The worker goes first: nothing may be posted to a home that is gone, and the client may not be
// told of a flag that is gone.
ServerSession::~ServerSession()
{
    worker_->End();
    worker_.reset();
    if (client_ != nullptr) {
        client_->WatchAbandon(nullptr);
    }
}

void ServerSession::Begin(const std::string &what, std::size_t total, std::function<void()> stop)
{
    stops_.push_back(std::move(stop));
    if (depth_++ > 0) {
        return;
    }
    stopped_ = false;
    activity_ = what;
    progress_.Begin(what, total);
    if (watcher_ != nullptr) {
        watcher_->BusyChanged(true);
    }
}

void ServerSession::Describe(const std::string &what, std::size_t done, std::size_t total)
{
    progress_.Describe(what, done, total);
}

void ServerSession::Say(const std::string &what)
{
    progress_.Say(what);
}

void ServerSession::End()
{
    if (depth_ == 0) {
        return;
    }
    stops_.pop_back();
    if (--depth_ > 0) {
        return;
    }
    progress_.End();
    activity_.clear();
    if (watcher_ != nullptr) {
        watcher_->BusyChanged(false);
    }
    // Each as a call of its own: a caller waiting for the server to be free must not run in the
    // middle of the request that just ended, whose own caller has yet to take its result.
    std::vector<std::function<void()>> due;
    due.swap(whenIdle_);
    for (auto &call : due) {
        toHome_->Post(std::move(call));
    }
}

bool ServerSession::TurnsAway()
{
    if (!Busy()) {
        return false;
    }
    if (watcher_ != nullptr) {
        watcher_->TurnedAway();
    }
    return true;
}

void ServerSession::HideProgress()
{
    progress_.StepAside();
}

void ServerSession::ResumeProgress()
{
    progress_.Resume();
}

void ServerSession::WhenIdle(std::function<void()> call)
{
    if (!Busy()) {
        call();
        return;
    }
    whenIdle_.push_back(std::move(call));
}

void ServerSession::Stop()
{
    if (!Busy()) {
        return;
    }
    stopped_ = true;
    progress_.Say("Stopping...");
    for (ServerJob *job : waited_) {
        job->Stop(); // a read is abandoned; a restore runs to its end
    }
    // A stop may end the activity and so change the list: each is called from a copy.
    const std::vector<std::function<void()>> stops = stops_;
    for (const auto &stop : stops) {
        if (stop) {
            stop();
        }
    }
}

void ServerSession::M_SIGTERM()
{
    // No request starts from now on (each is dropped); a listing in flight ends before its next
    // request. A restore in flight is waited for, so that its outcome is known.
    worker_->End();
}

ServerJob ServerSession::StartJob(ServerWorker::Work work, std::function<void(JobEnd)> finish,
                                  ServerWorker::Kind kind)
{
    auto ticket = std::make_shared<ServerJob::Ticket>();
    ticket->worker = worker_;
    ticket->home = toHome_;
    ticket->read = kind == ServerWorker::Kind::Read;
    ticket->finish = std::move(finish);
    auto complete = [ticket](JobEnd end) { ServerJob::Complete(*ticket, end); };
    if (!work || Informed()) {
        toHome_->Post([complete] { complete(JobEnd::Dropped); });
    } else {
        ticket->id = worker_->Start(std::move(work), kind, complete);
    }
    return ServerJob(ticket);
}

void ServerSession::Wait(ServerJob &job, const bool &ended)
{
    waited_.push_back(&job);
    EventWait::Until([&ended] { return ended; });
    waited_.erase(std::find(waited_.begin(), waited_.end(), &job));
}
