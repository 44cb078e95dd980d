// A dump compressed with xz (one stream or several), read as it is.
#pragma once

#include <lzma.h>

#include "catalogue/CompressedDump.h"

class XzDump : public CompressedDump
{
  public:
    explicit XzDump(const std::string &path);
    ~XzDump() override;

    std::size_t Read(char *buffer, std::size_t size) override;

  private:
    lzma_stream stream_ = LZMA_STREAM_INIT;
    bool ready_ = false;
    bool ended_ = false;
};
