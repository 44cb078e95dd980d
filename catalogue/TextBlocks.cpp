// Compressing version texts into blocks and reading them back.
#include "catalogue/TextBlocks.h"

#include <zstd.h>

#include "catalogue/IndexError.h"
#include "catalogue/SqliteDatabase.h"
#include "catalogue/SqliteStatement.h"

namespace
{
constexpr std::size_t kBlockSize = 64 * 1024;
constexpr int kLevel = 1; // the first dump of a catalogue is all new text: speed counts
} // namespace

TextBlockWriter::TextBlockWriter(SqliteDatabase &db) : db_(db), context_(ZSTD_createCCtx())
{
    SqliteStatement highest(db_, "SELECT coalesce(max(id), 0) FROM blocks");
    block_ = highest.Step() ? highest.Int(0) + 1 : 1;
    highest.Reset();
}

TextBlockWriter::~TextBlockWriter()
{
    ZSTD_freeCCtx(static_cast<ZSTD_CCtx *>(context_));
}

TextPlace TextBlockWriter::Add(std::string_view text)
{
    if (!pending_.empty() && pending_.size() + text.size() > kBlockSize) {
        Flush();
    }
    const TextPlace place{block_, static_cast<int64_t>(pending_.size()),
                          static_cast<int64_t>(text.size())};
    pending_.append(text);
    ++count_;
    return place;
}

void TextBlockWriter::Flush()
{
    if (count_ == 0) {
        return;
    }
    compressed_.resize(ZSTD_compressBound(pending_.size()));
    const std::size_t size =
        ZSTD_compressCCtx(static_cast<ZSTD_CCtx *>(context_), compressed_.data(),
                          compressed_.size(), pending_.data(), pending_.size(), kLevel);
    if (ZSTD_isError(size)) {
        throw IndexError(std::string("a block cannot be compressed: ") + ZSTD_getErrorName(size),
                         false);
    }
    SqliteStatement insert(db_, "INSERT INTO blocks(id, data, live) VALUES(?, ?, ?)");
    insert.Bind(1, block_).BindBlob(2, std::string_view(compressed_.data(), size)).Bind(3, count_);
    insert.Run();
    ++block_;
    count_ = 0;
    pending_.clear();
}

TextBlockReader::TextBlockReader(SqliteDatabase &db) : db_(db), context_(ZSTD_createDCtx()) {}

TextBlockReader::~TextBlockReader()
{
    ZSTD_freeDCtx(static_cast<ZSTD_DCtx *>(context_));
}

std::string TextBlockReader::Read(const TextPlace &place)
{
    if (place.block != block_) {
        block_ = -1;
        SqliteStatement read(db_, "SELECT data FROM blocks WHERE id = ?");
        read.Bind(1, place.block);
        if (!read.Step()) {
            throw IndexError("a block of the index is missing", true);
        }
        const std::string_view data = read.Blob(0);
        const unsigned long long size = ZSTD_getFrameContentSize(data.data(), data.size());
        if (size == ZSTD_CONTENTSIZE_ERROR || size == ZSTD_CONTENTSIZE_UNKNOWN ||
            size > (1ull << 32)) {
            read.Reset();
            throw IndexError("a block of the index is damaged", true);
        }
        text_.resize(size);
        const std::size_t made =
            ZSTD_decompressDCtx(static_cast<ZSTD_DCtx *>(context_), text_.data(), text_.size(),
                                data.data(), data.size());
        read.Reset();
        if (ZSTD_isError(made) || made != size) {
            throw IndexError("a block of the index is damaged", true);
        }
        block_ = place.block;
    }
    if (place.at < 0 || place.length < 0 ||
        static_cast<uint64_t>(place.at + place.length) > text_.size()) {
        throw IndexError("a version's place in the index is damaged", true);
    }
    return text_.substr(static_cast<std::size_t>(place.at), static_cast<std::size_t>(place.length));
}
