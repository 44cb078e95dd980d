// A named pipe (FIFO) put where a file is expected. Opening it the usual way waits for a writer
// for ever; while this object lives, a writer comes along whenever anyone waits, and hands them
// the text, so that code that waited goes on, and the test can tell that it waited.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
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
        stop_ = true;
        if (writer_.joinable()) {
            writer_.join();
        }
    }
    NamedPipe(const NamedPipe &) = delete;
    NamedPipe &operator=(const NamedPipe &) = delete;

    bool Made() const { return made_; }
    // Someone opened the pipe for reading and waited for a writer.
    bool ReaderWaited() const { return waited_; }

  private:
    void Write()
    {
        while (!stop_) {
            // Without a reader, opening for writing without waiting fails at once.
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                waited_ = true;
                [[maybe_unused]] const ssize_t written = ::write(fd, text_.data(), text_.size());
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    std::string path_;
    std::string text_;
    bool made_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> waited_{false};
    std::thread writer_;
};
