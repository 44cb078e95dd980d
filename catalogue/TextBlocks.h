// The texts of versions, kept compressed (zstd) a block of about 64 KiB at a time: an entry is
// read back by decompressing its block only, never a whole dump.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class SqliteDatabase;
class SqliteStatement;

struct TextPlace {
    int64_t block = 0;
    int64_t at = 0;
    int64_t length = 0;
};

class TextBlockWriter
{
  public:
    // Blocks are numbered on from the highest in the file.
    explicit TextBlockWriter(SqliteDatabase &db);
    ~TextBlockWriter();

    TextPlace Add(std::string_view text);
    // Writes the block being filled.
    void Flush();

  private:
    SqliteDatabase &db_;
    void *context_;
    int64_t block_ = 0;
    int64_t count_ = 0; // texts in the block being filled
    std::string pending_;
    std::string compressed_;
};

class TextBlockReader
{
  public:
    explicit TextBlockReader(SqliteDatabase &db);
    ~TextBlockReader();

    // The text at that place; an IndexError when the index does not hold it whole.
    std::string Read(const TextPlace &place);

  private:
    SqliteDatabase &db_;
    void *context_;
    int64_t block_ = -1; // the block last decompressed
    std::string text_;
};
