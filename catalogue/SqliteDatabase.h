// One connection to an SQLite file, closed when it goes. Errors are thrown as IndexError.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct sqlite3;

class SqliteDatabase
{
  public:
    // Opens the file, creating it (mode 0600: it holds what the dumps hold) when it is not there;
    // an empty path is a private temporary file that goes with the connection.
    explicit SqliteDatabase(const std::string &path);
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;
    ~SqliteDatabase();

    // Runs statements that give no rows.
    void Execute(const std::string &sql);
    // Like Execute, but false when another connection holds the lock.
    bool TryExecute(const std::string &sql);
    int64_t LastInsertId() const;
    bool InTransaction() const;
    sqlite3 *Handle() const { return db_; }

    // Throws the error SQLite reports for code, naming what was being done.
    [[noreturn]] void Fail(int code, const std::string &doing) const;

  private:
    sqlite3 *db_ = nullptr;
};
