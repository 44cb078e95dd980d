// What the compressed sources share: the file read through a plain source into a buffer of
// compressed bytes, which each decompresses its own way.
#pragma once

#include <string>
#include <vector>

#include "catalogue/PlainDump.h"

class CompressedDump : public DumpSource
{
  public:
    uint64_t FileBytesRead() const override { return file_.FileBytesRead(); }

  protected:
    static constexpr const char *kCutShort =
        "the compressed file stops before its end: it may have been cut short";

    explicit CompressedDump(const std::string &path);
    // Makes sure compressed bytes wait in the buffer; false at the end of the file (or a fault
    // of reading it, then given as this source's).
    bool Refill();
    const char *Pending() const { return input_.data() + at_; }
    std::size_t PendingSize() const { return filled_ - at_; }
    void Consumed(std::size_t bytes) { at_ += bytes; }
    bool FileAtEnd() const { return atEnd_; }

  private:
    PlainDump file_;
    std::vector<char> input_;
    std::size_t at_ = 0;
    std::size_t filled_ = 0;
    bool atEnd_ = false;
};
