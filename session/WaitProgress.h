// What the user sees while waiting for the server: nothing for half a second, then a progress
// window with what is being done, how far it has come, the time so far and a Stop button. It
// knows nothing of jobs: its owner tells it what to say and hears its Stop.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/Timer.h"

class ProgressWindow;
class Window;

class WaitProgress
{
  public:
    static constexpr int kDelayMs = 500;

    // parent: the progress window's, asked when it is first shown; stop: its Stop and Escape.
    WaitProgress(std::function<Window *()> parent, std::function<void()> stop);
    ~WaitProgress();
    WaitProgress(const WaitProgress &) = delete;
    WaitProgress &operator=(const WaitProgress &) = delete;

    // A wait begins: the window comes after the delay, unless it ends first.
    void Begin(const std::string &what, std::size_t total);
    void Describe(const std::string &what, std::size_t done, std::size_t total);
    // Only the text, e.g. that a stop is under way.
    void Say(const std::string &what);
    // A prompt comes: the window steps aside until Resume.
    void StepAside();
    // The wait goes on after a prompt: the window comes back if it lasts.
    void Resume();
    void End();

    const ProgressWindow *Progress() const { return window_.get(); }

  private:
    void Show();
    void Tick();

    std::function<Window *()> parent_;
    std::function<void()> stop_;
    std::unique_ptr<ProgressWindow> window_;
    Timer showTimer_;
    Timer tickTimer_;
    std::chrono::steady_clock::time_point began_;
    std::string what_;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
    bool waiting_ = false;
};
