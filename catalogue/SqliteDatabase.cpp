// Opening an SQLite file and running plain statements on it.
#include "catalogue/SqliteDatabase.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "catalogue/IndexError.h"

namespace
{
bool MeansDamaged(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_FORMAT;
}
} // namespace

SqliteDatabase::SqliteDatabase(const std::string &path)
{
    const mode_t before = ::umask(077);
    const int code =
        sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    ::umask(before);
    if (code != SQLITE_OK) {
        const std::string reason = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw IndexError(path + " cannot be opened: " + reason, MeansDamaged(code));
    }
    sqlite3_extended_result_codes(db_, 1);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(db_);
}

void SqliteDatabase::Fail(int code, const std::string &doing) const
{
    std::string reason = sqlite3_errstr(code);
    if (db_ != nullptr && sqlite3_errcode(db_) == code) {
        reason = sqlite3_errmsg(db_);
    }
    throw IndexError(doing + ": " + reason, MeansDamaged(code));
}

void SqliteDatabase::Execute(const std::string &sql)
{
    if (!TryExecute(sql)) {
        Fail(SQLITE_BUSY, "the index is in use by another program");
    }
}

bool SqliteDatabase::TryExecute(const std::string &sql)
{
    const int code = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if ((code & 0xff) == SQLITE_BUSY) {
        return false;
    }
    if (code != SQLITE_OK) {
        Fail(code, "the index cannot be used");
    }
    return true;
}

int64_t SqliteDatabase::LastInsertId() const
{
    return sqlite3_last_insert_rowid(db_);
}

bool SqliteDatabase::InTransaction() const
{
    return sqlite3_get_autocommit(db_) == 0;
}
