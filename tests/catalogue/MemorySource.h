// A dump's text handed out a few bytes at a time, so that every way a record can fall across the
// scanner's reads is tried.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "catalogue/DumpSource.h"

class MemorySource : public DumpSource
{
  public:
    MemorySource(std::string text, std::size_t piece) : text_(std::move(text)), piece_(piece) {}

    std::size_t Read(char *buffer, std::size_t size) override
    {
        const std::size_t count = std::min({size, piece_, text_.size() - at_});
        std::memcpy(buffer, text_.data() + at_, count);
        at_ += count;
        return count;
    }
    uint64_t FileBytesRead() const override { return at_; }

  private:
    std::string text_;
    std::size_t piece_;
    std::size_t at_ = 0;
};
