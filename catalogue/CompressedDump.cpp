// The compressed bytes of a dump, a buffer at a time.
#include "catalogue/CompressedDump.h"

CompressedDump::CompressedDump(const std::string &path) : file_(path), input_(1 << 17)
{
    if (!file_.IsOpen()) {
        Failed(file_.Fault());
    }
}

bool CompressedDump::Refill()
{
    if (PendingSize() > 0) {
        return true;
    }
    if (atEnd_ || !Fault().empty()) {
        return false;
    }
    at_ = 0;
    filled_ = file_.Read(input_.data(), input_.size());
    if (filled_ == 0) {
        atEnd_ = true;
        if (!file_.Fault().empty()) {
            Failed(file_.Fault());
        }
    }
    return filled_ > 0;
}
