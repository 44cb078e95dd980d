#include "tree/ServerTasks.h"

#include "toolkit/EventWait.h"
#include "toolkit/ProgressWindow.h"

namespace
{
constexpr int kTickMs = 250; // the time shown moves on in whole seconds
} // namespace

ServerTasks::ServerTasks(ServerClient *client, MW_SIGTERMClientList *registry,
                         std::function<Window *()> parent)
    : MW_SIGTERMClient(registry), client_(client), parent_(std::move(parent))
{
    worker_ = std::make_unique<ServerWorker>(
        [this](std::function<void()> call) { toHome_.Post(std::move(call)); });
    if (client_ != nullptr) {
        client_->WatchAbandon(&worker_->AbandonFlag());
    }
    showTimer_.SetTimeout(kProgressDelayMs);
    showTimer_.SetTimeoutHdl([this](Timer &) {
        ShowProgress();
        return 1L;
    });
    tickTimer_.SetTimeout(kTickMs);
    tickTimer_.SetTimeoutHdl([this](Timer &timer) {
        Tick();
        timer.Start();
        return 1L;
    });
    if (Informed()) {
        worker_->End(); // made after the termination signal
    }
}

// The worker goes first: nothing may be posted to a home that is gone.
ServerTasks::~ServerTasks()
{
    worker_.reset();
    if (client_ != nullptr) {
        client_->WatchAbandon(nullptr);
    }
}

void ServerTasks::Begin(const std::string &what, std::size_t total)
{
    if (depth_++ > 0) {
        return;
    }
    stopped_ = false;
    what_ = what;
    done_ = 0;
    total_ = total;
    began_ = std::chrono::steady_clock::now();
    showTimer_.Start();
}

void ServerTasks::Describe(const std::string &what, std::size_t done, std::size_t total)
{
    what_ = what;
    done_ = done;
    total_ = total;
    if (progress_ && progress_->IsVisible()) {
        progress_->SetText(what_);
        progress_->SetProgress(done_, total_);
    }
}

void ServerTasks::End()
{
    if (depth_ == 0 || --depth_ > 0) {
        return;
    }
    showTimer_.Stop();
    tickTimer_.Stop();
    if (progress_) {
        progress_->Hide();
    }
    std::vector<std::function<void()>> due;
    due.swap(whenIdle_);
    for (auto &call : due) {
        call();
    }
}

void ServerTasks::HideProgress()
{
    showTimer_.Stop();
    tickTimer_.Stop();
    if (progress_) {
        progress_->Hide();
    }
}

void ServerTasks::WhenIdle(std::function<void()> call)
{
    if (!Busy()) {
        call();
        return;
    }
    whenIdle_.push_back(std::move(call));
}

void ServerTasks::ShowProgress()
{
    if (!Busy()) {
        return;
    }
    if (!progress_) {
        progress_ = std::make_unique<ProgressWindow>(parent_ ? parent_() : nullptr);
        progress_->SetStopHdl([this] { Stop(); });
    }
    progress_->SetText(what_);
    progress_->SetProgress(done_, total_);
    Tick();
    progress_->Show();
    tickTimer_.Start();
}

void ServerTasks::Tick()
{
    if (progress_) {
        const auto elapsed = std::chrono::steady_clock::now() - began_;
        progress_->SetElapsedSeconds(
            static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count()));
    }
}

void ServerTasks::Stop()
{
    if (!Busy()) {
        return;
    }
    stopped_ = true;
    if (readInFlight_ != 0) {
        worker_->Stop(readInFlight_); // abandoned; what it hands back is dropped
        givenUp_ = true;
    }
    if (progress_) {
        progress_->SetText("Stopping...");
    }
}

void ServerTasks::M_SIGTERM()
{
    // No request starts from now on; a listing in flight ends before its next request. A
    // restore in flight is waited for, so that its outcome is known; a run goes on, every
    // object after it a failure line of its own (its item was told too).
    worker_->End();
    if (readInFlight_ != 0) {
        givenUp_ = true;
    }
}

bool ServerTasks::StartAndWait(ServerWorker::Work work, ServerWorker::Kind kind,
                               const bool &delivered)
{
    const uint64_t job = worker_->Start(std::move(work), kind);
    if (job == 0) {
        return false;
    }
    if (progress_ && progress_->IsVisible() == false && !showTimer_.IsActive()) {
        showTimer_.Start(); // after a prompt, the window comes back if the wait is long
    }
    const bool read = kind == ServerWorker::Kind::Read;
    const uint64_t outer = readInFlight_;
    const bool outerGivenUp = givenUp_;
    readInFlight_ = read ? job : 0;
    givenUp_ = false;
    EventWait::Until([&] { return delivered || givenUp_; });
    const bool finished = delivered;
    readInFlight_ = outer;
    givenUp_ = outerGivenUp;
    return finished;
}
