// Inflating a gzip file a piece at a time with zlib.
#include "catalogue/GzipDump.h"

GzipDump::GzipDump(const std::string &path) : CompressedDump(path)
{
    ready_ = inflateInit2(&stream_, 15 + 16) == Z_OK;
    if (!ready_) {
        Failed("cannot be decompressed: zlib cannot start");
    }
}

GzipDump::~GzipDump()
{
    if (ready_) {
        inflateEnd(&stream_);
    }
}

std::size_t GzipDump::Read(char *buffer, std::size_t size)
{
    while (ready_ && Fault().empty()) {
        if (!Refill()) {
            return memberEnded_ || !Fault().empty() ? 0 : Failed(kCutShort);
        }
        if (memberEnded_) {
            inflateReset(&stream_);
            memberEnded_ = false;
        }
        stream_.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(Pending()));
        stream_.avail_in = static_cast<uInt>(PendingSize());
        stream_.next_out = reinterpret_cast<Bytef *>(buffer);
        stream_.avail_out = static_cast<uInt>(size);
        const int code = inflate(&stream_, Z_NO_FLUSH);
        Consumed(PendingSize() - stream_.avail_in);
        const std::size_t made = size - stream_.avail_out;
        if (code == Z_STREAM_END) {
            memberEnded_ = true;
        } else if (code != Z_OK && code != Z_BUF_ERROR) {
            return Failed(std::string("is not valid gzip: ") +
                          (stream_.msg != nullptr ? stream_.msg : "damaged data"));
        }
        if (made > 0) {
            return made;
        }
    }
    return 0;
}
