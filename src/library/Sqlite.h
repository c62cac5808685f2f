#pragma once

// A thin owner of SQLite connections and statements: errors come back as codes and texts,
// never as exceptions.

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace orvale::library {

class SqliteDb {
public:
    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    // Opens (ReadOnly) or opens and creates the database file Path. The SQLite result code.
    int Open(const std::string& path, bool readOnly);
    void Close();
    bool IsOpen() const { return Db != nullptr; }
    // Runs statements without results; the result code.
    int Exec(const char* sql);
    std::string Error() const;
    sqlite3* Handle() const { return Db; }

private:
    sqlite3* Db = nullptr;
};

class SqliteStmt {
public:
    SqliteStmt() = default;
    SqliteStmt(SqliteDb& db, const char* sql) { Prepare(db, sql); }
    ~SqliteStmt();
    SqliteStmt(const SqliteStmt&) = delete;
    SqliteStmt& operator=(const SqliteStmt&) = delete;

    int Prepare(SqliteDb& db, const char* sql);
    bool Valid() const { return Stmt != nullptr; }
    // Binds parameters, 1-based.
    void Bind(int index, std::int64_t value);
    void Bind(int index, std::string_view text);
    void BindBlob(int index, std::string_view bytes);
    // Bind without a copy: the bytes must stay until the statement is stepped and reset.
    void BindStatic(int index, std::string_view text);
    void BindStaticBlob(int index, std::string_view bytes);
    void BindNull(int index);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    void Reset();
    std::int64_t Int(int column) const;
    std::string_view Text(int column) const;
    std::string_view Blob(int column) const;

private:
    sqlite3_stmt* Stmt = nullptr;
};

} // namespace orvale::library
