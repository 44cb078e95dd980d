#include "session/WaitProgress.h"

#include "toolkit/ProgressWindow.h"

namespace
{
constexpr int kTickMs = 250; // the time shown moves on in whole seconds
} // namespace

WaitProgress::WaitProgress(std::function<Window *()> parent, std::function<void()> stop)
    : parent_(std::move(parent)), stop_(std::move(stop))
{
    showTimer_.SetTimeout(kDelayMs);
    showTimer_.SetTimeoutHdl([this](Timer &) {
        Show();
        return 1L;
    });
    tickTimer_.SetTimeout(kTickMs);
    tickTimer_.SetTimeoutHdl([this](Timer &timer) {
        Tick();
        timer.Start();
        return 1L;
    });
}

WaitProgress::~WaitProgress() = default;

void WaitProgress::Begin(const std::string &what, std::size_t total)
{
    waiting_ = true;
    what_ = what;
    done_ = 0;
    total_ = total;
    began_ = std::chrono::steady_clock::now();
    showTimer_.Start();
}

void WaitProgress::Describe(const std::string &what, std::size_t done, std::size_t total)
{
    done_ = done;
    total_ = total;
    Say(what);
    if (window_ && window_->IsVisible()) {
        window_->SetProgress(done_, total_);
    }
}

void WaitProgress::Say(const std::string &what)
{
    what_ = what;
    if (window_ && window_->IsVisible()) {
        window_->SetText(what_);
    }
}

void WaitProgress::StepAside()
{
    showTimer_.Stop();
    tickTimer_.Stop();
    if (window_) {
        window_->Hide();
    }
}

void WaitProgress::Resume()
{
    if (waiting_ && !(window_ && window_->IsVisible()) && !showTimer_.IsActive()) {
        showTimer_.Start();
    }
}

void WaitProgress::End()
{
    waiting_ = false;
    StepAside();
}

void WaitProgress::Show()
{
    if (!waiting_) {
        return;
    }
    if (!window_) {
        window_ = std::make_unique<ProgressWindow>(parent_ ? parent_() : nullptr);
        window_->SetStopHdl([this] {
            if (stop_) {
                stop_();
            }
        });
    }
    window_->SetText(what_);
    window_->SetProgress(done_, total_);
    Tick();
    window_->Show();
    tickTimer_.Start();
}

void WaitProgress::Tick()
{
    if (window_) {
        const auto elapsed = std::chrono::steady_clock::now() - began_;
        window_->SetElapsedSeconds(
            static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count()));
    }
}
