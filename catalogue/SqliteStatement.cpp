// Prepared statements over the sqlite3 interface.
#include "catalogue/SqliteStatement.h"

#include <sqlite3.h>

#include "catalogue/SqliteDatabase.h"

SqliteStatement::SqliteStatement(const SqliteDatabase &db, const char *sql) : db_(db)
{
    const int code =
        sqlite3_prepare_v3(db_.Handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (code != SQLITE_OK) {
        db_.Fail(code, "the index cannot be read");
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(statement_);
}

SqliteStatement &SqliteStatement::Bind(int index, int64_t value)
{
    sqlite3_bind_int64(statement_, index, value);
    return *this;
}

SqliteStatement &SqliteStatement::Bind(int index, std::string_view text)
{
    sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    return *this;
}

SqliteStatement &SqliteStatement::BindBlob(int index, std::string_view bytes)
{
    sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement &SqliteStatement::BindNull(int index)
{
    sqlite3_bind_null(statement_, index);
    return *this;
}

bool SqliteStatement::Step()
{
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) {
        return true;
    }
    sqlite3_reset(statement_);
    if (code != SQLITE_DONE) {
        sqlite3_clear_bindings(statement_);
        db_.Fail(code, "the index cannot be used");
    }
    return false;
}

void SqliteStatement::Run()
{
    while (Step()) {
    }
    Reset();
}

void SqliteStatement::Reset()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

int64_t SqliteStatement::Int(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

std::string_view SqliteStatement::Text(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement_, column));
    return text != nullptr ? std::string_view(text, sqlite3_column_bytes(statement_, column))
                           : std::string_view();
}

std::string_view SqliteStatement::Blob(int column) const
{
    const auto *bytes = static_cast<const char *>(sqlite3_column_blob(statement_, column));
    return bytes != nullptr ? std::string_view(bytes, sqlite3_column_bytes(statement_, column))
                            : std::string_view();
}

bool SqliteStatement::IsNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}
