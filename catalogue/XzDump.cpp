// Decompressing an xz file a piece at a time with liblzma.
#include "catalogue/XzDump.h"

XzDump::XzDump(const std::string &path) : CompressedDump(path)
{
    ready_ = lzma_stream_decoder(&stream_, UINT64_MAX, LZMA_CONCATENATED) == LZMA_OK;
    if (!ready_) {
        Failed("cannot be decompressed: liblzma cannot start");
    }
}

XzDump::~XzDump()
{
    lzma_end(&stream_);
}

std::size_t XzDump::Read(char *buffer, std::size_t size)
{
    while (ready_ && !ended_ && Fault().empty()) {
        // At the end of the file the decoder is told so, and says whether the stream was whole.
        const bool more = Refill();
        if (!Fault().empty()) {
            return 0;
        }
        stream_.next_in = reinterpret_cast<const uint8_t *>(Pending());
        stream_.avail_in = PendingSize();
        stream_.next_out = reinterpret_cast<uint8_t *>(buffer);
        stream_.avail_out = size;
        const lzma_ret code = lzma_code(&stream_, more ? LZMA_RUN : LZMA_FINISH);
        Consumed(PendingSize() - stream_.avail_in);
        const std::size_t made = size - stream_.avail_out;
        if (code == LZMA_STREAM_END) {
            ended_ = true;
        } else if (code == LZMA_BUF_ERROR && !more) {
            return Failed(kCutShort);
        } else if (code != LZMA_OK) {
            return Failed("is not valid xz (liblzma error " + std::to_string(code) + ")");
        }
        if (made > 0) {
            return made;
        }
        if (!more && code == LZMA_OK) {
            return Failed(kCutShort);
        }
    }
    return 0;
}
