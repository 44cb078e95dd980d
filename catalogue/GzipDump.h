// A dump compressed with gzip (one member or several one after the other), read as it is.
#pragma once

#include <zlib.h>

#include "catalogue/CompressedDump.h"

class GzipDump : public CompressedDump
{
  public:
    explicit GzipDump(const std::string &path);
    ~GzipDump() override;

    std::size_t Read(char *buffer, std::size_t size) override;

  private:
    z_stream stream_{};
    bool ready_ = false;
    bool memberEnded_ = true; // between members, where the file may end
};
