// A prepared statement: bind, step through the rows, reset. Errors are thrown as IndexError.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3_stmt;
class SqliteDatabase;

class SqliteStatement
{
  public:
    SqliteStatement(const SqliteDatabase &db, const char *sql);
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;
    ~SqliteStatement();

    // Parameters count from 1; a bound text or blob is copied.
    SqliteStatement &Bind(int index, int64_t value);
    SqliteStatement &Bind(int index, uint64_t value)
    {
        return Bind(index, static_cast<int64_t>(value));
    }
    SqliteStatement &Bind(int index, std::string_view text);
    SqliteStatement &BindBlob(int index, std::string_view bytes);
    SqliteStatement &BindNull(int index);

    // True while there is a row to read; the statement is reset when it ends.
    bool Step();
    // Runs a statement that gives no row, and resets it.
    void Run();
    // Gives up the rows not read and the bindings' values, ready for the next.
    void Reset();

    // Columns count from 0; a text or blob is valid until the next Step or Reset.
    int64_t Int(int column) const;
    uint64_t Unsigned(int column) const { return static_cast<uint64_t>(Int(column)); }
    std::string_view Text(int column) const;
    std::string_view Blob(int column) const;
    bool IsNull(int column) const;

  private:
    const SqliteDatabase &db_;
    sqlite3_stmt *statement_ = nullptr;
};
