#include "session/ServerJob.h"

#include "toolkit/CrossThreadPost.h"

ServerJob &ServerJob::operator=(ServerJob &&other) noexcept
{
    if (this != &other) {
        Forget();
        ticket_ = std::move(other.ticket_);
    }
    return *this;
}

ServerJob::~ServerJob()
{
    Forget();
}

void ServerJob::Stop()
{
    if (!Pending()) {
        return;
    }
    if (std::shared_ptr<ServerWorker> worker = ticket_->worker.lock(); worker && ticket_->id != 0) {
        worker->Stop(ticket_->id);
    }
    // A server that is slow to let the request go must not keep the requester waiting: what
    // the read finds is dropped anyway.
    if (std::shared_ptr<const CrossThreadPost> home = ticket_->home.lock(); home && ticket_->read) {
        home->Post([ticket = ticket_] { Complete(*ticket, JobEnd::Stopped); });
    }
}

void ServerJob::Complete(Ticket &ticket, JobEnd end)
{
    if (ticket.ended) {
        return;
    }
    ticket.ended = true;
    std::function<void(JobEnd)> finish = std::move(ticket.finish);
    ticket.finish = nullptr;
    if (finish) {
        finish(end);
    }
}

bool ServerJob::Pending() const
{
    return ticket_ && !ticket_->ended;
}

void ServerJob::Forget()
{
    if (!ticket_) {
        return;
    }
    Stop();
    ticket_->finish = nullptr;
    ticket_.reset();
}
