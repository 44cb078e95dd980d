// A named pipe (FIFO) put where a file is expected. Opening it the usual way waits for a writer
// for ever. Code that is still busy with the pipe after a patience of seconds is taken to be
// waiting: from then on a writer comes along whenever anyone waits, and hands them the text, so
// that the code goes on and the test can tell that it waited.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class NamedPipe
{
  public:
    NamedPipe(std::string path, std::string text)
        : path_(std::move(path)), text_(std::move(text)), made_(mkfifo(path_.c_str(), 0600) == 0)
    {
        if (made_) {
            writer_ = std::thread([this] { Write(); });
        }
    }
    ~NamedPipe()
    {
        Finished();
        if (writer_.joinable()) {
            writer_.join();
        }
    }
    NamedPipe(const NamedPipe &) = delete;
    NamedPipe &operator=(const NamedPipe &) = delete;

    bool Made() const { return made_; }
    // The code under test is done with the pipe.
    void Finished()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        finishedChanged_.notify_all();
    }
    // Someone was still waiting for a writer when the patience ran out. Call after Finished.
    bool ReaderWaited() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return waited_;
    }

  private:
    static constexpr std::chrono::seconds kPatience{3};

    void Write()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (finishedChanged_.wait_for(lock, kPatience, [this] { return finished_; })) {
            return;
        }
        while (!finished_) {
            lock.unlock();
            // Without a reader, opening for writing without waiting fails at once.
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                [[maybe_unused]] const ssize_t written = ::write(fd, text_.data(), text_.size());
                ::close(fd);
            }
            lock.lock();
            waited_ = waited_ || fd >= 0;
            finishedChanged_.wait_for(lock, std::chrono::milliseconds(5));
        }
    }

    std::string path_;
    std::string text_;
    bool made_;
    mutable std::mutex mutex_;
    std::condition_variable finishedChanged_;
    bool finished_ = false;
    bool waited_ = false;
    std::thread writer_;
};
