#include "library/Sqlite.h"

#include <sqlite3.h>

namespace orvale::library {

SqliteDb::~SqliteDb() {
    Close();
}

int SqliteDb::Open(const std::string& path, bool readOnly) {
    Close();
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    flags |= SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &Db, flags, nullptr);
    if (rc == SQLITE_OK)
        sqlite3_extended_result_codes(Db, 0);
    return rc;
}

void SqliteDb::Close() {
    if (Db)
        sqlite3_close_v2(Db);
    Db = nullptr;
}

int SqliteDb::Exec(const char* sql) {
    return sqlite3_exec(Db, sql, nullptr, nullptr, nullptr);
}

std::string SqliteDb::Error() const {
    return Db ? sqlite3_errmsg(Db) : "no database";
}

SqliteStmt::~SqliteStmt() {
    sqlite3_finalize(Stmt);
}

int SqliteStmt::Prepare(SqliteDb& db, const char* sql) {
    sqlite3_finalize(Stmt);
    Stmt = nullptr;
    return sqlite3_prepare_v2(db.Handle(), sql, -1, &Stmt, nullptr);
}

void SqliteStmt::Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(Stmt, index, value);
}

void SqliteStmt::Bind(int index, std::string_view text) {
    sqlite3_bind_text(Stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void SqliteStmt::BindBlob(int index, std::string_view bytes) {
    sqlite3_bind_blob(Stmt, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

void SqliteStmt::BindStatic(int index, std::string_view text) {
    sqlite3_bind_text(Stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void SqliteStmt::BindStaticBlob(int index, std::string_view bytes) {
    sqlite3_bind_blob(Stmt, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
}

void SqliteStmt::BindNull(int index) {
    sqlite3_bind_null(Stmt, index);
}

int SqliteStmt::Step() {
    return Stmt ? sqlite3_step(Stmt) : SQLITE_MISUSE;
}

void SqliteStmt::Reset() {
    sqlite3_reset(Stmt);
    sqlite3_clear_bindings(Stmt);
}

std::int64_t SqliteStmt::Int(int column) const {
    return sqlite3_column_int64(Stmt, column);
}

std::string_view SqliteStmt::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(Stmt, column);
    int size = sqlite3_column_bytes(Stmt, column);
    return text ? std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(size))
                : std::string_view();
}

std::string_view SqliteStmt::Blob(int column) const {
    const void* blob = sqlite3_column_blob(Stmt, column);
    int size = sqlite3_column_bytes(Stmt, column);
    return blob ? std::string_view(static_cast<const char*>(blob), static_cast<size_t>(size))
                : std::string_view();
}

} // namespace orvale::library
