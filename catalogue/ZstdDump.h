// A dump compressed with zstd (one frame or several), read as it is.
#pragma once

#include "catalogue/CompressedDump.h"

struct ZSTD_DCtx_s;

class ZstdDump : public CompressedDump
{
  public:
    explicit ZstdDump(const std::string &path);
    ~ZstdDump() override;

    std::size_t Read(char *buffer, std::size_t size) override;

  private:
    ZSTD_DCtx_s *context_;
    bool frameEnded_ = true;
};
