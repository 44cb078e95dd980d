// An open file descriptor, closed when it goes, with the few calls the report files need; each
// returns empty on success or the system's reason.
#pragma once

#include <string>
#include <string_view>

class SystemFile
{
  public:
    explicit SystemFile(int descriptor) : fd_(descriptor) {}
    ~SystemFile();
    SystemFile(const SystemFile &) = delete;
    SystemFile &operator=(const SystemFile &) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }

    // Writes every byte, going on after a partial write or an interruption.
    std::string WriteAll(std::string_view bytes);
    std::string Sync();
    std::string Close();

  private:
    int fd_;
};
