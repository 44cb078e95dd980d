// Decompressing a zstd file a piece at a time.
#include "catalogue/ZstdDump.h"

#include <zstd.h>

ZstdDump::ZstdDump(const std::string &path) : CompressedDump(path), context_(ZSTD_createDCtx())
{
    if (context_ == nullptr) {
        Failed("cannot be decompressed: zstd cannot start");
    }
}

ZstdDump::~ZstdDump()
{
    ZSTD_freeDCtx(context_);
}

std::size_t ZstdDump::Read(char *buffer, std::size_t size)
{
    while (context_ != nullptr && Fault().empty()) {
        if (!Refill()) {
            return frameEnded_ || !Fault().empty() ? 0 : Failed(kCutShort);
        }
        ZSTD_inBuffer in{Pending(), PendingSize(), 0};
        ZSTD_outBuffer out{buffer, size, 0};
        const std::size_t code = ZSTD_decompressStream(context_, &out, &in);
        Consumed(in.pos);
        if (ZSTD_isError(code)) {
            return Failed(std::string("is not valid zstd: ") + ZSTD_getErrorName(code));
        }
        frameEnded_ = code == 0;
        if (out.pos > 0) {
            return out.pos;
        }
    }
    return 0;
}
