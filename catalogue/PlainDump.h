// A dump file read as it lies on disk; the compressed sources read their files through it.
#pragma once

#include <sys/types.h>

#include "catalogue/DumpSource.h"

class PlainDump : public DumpSource
{
  public:
    // Opened without waiting: a pipe put in the folder must not hold the program up.
    explicit PlainDump(const std::string &path);
    ~PlainDump() override;

    bool IsOpen() const { return fd_ >= 0; }
    std::size_t Read(char *buffer, std::size_t size) override;
    uint64_t FileBytesRead() const override { return read_; }

  private:
    int fd_ = -1;
    uint64_t read_ = 0;
};
