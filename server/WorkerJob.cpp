#include "server/WorkerJob.h"

WorkerJob::WorkerJob(uint64_t id, std::shared_ptr<State> state, const Poster &toHome)
    : id_(id), state_(std::move(state)), toHome_(toHome)
{
}

std::function<bool()> WorkerJob::StopCheck() const
{
    return [state = state_] { return state->stopped.load(); };
}

void WorkerJob::Deliver(std::function<void()> call) const
{
    // The stop is asked for on the program's thread too, so checking there leaves no gap.
    toHome_([state = state_, call = std::move(call)] {
        if (!state->stopped.load()) {
            call();
        }
    });
}
