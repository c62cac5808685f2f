#pragma once

// The inside of the library index, shared by its source files: the database layout, the state
// of an open index and the writer of members.

#include "library/LibraryIndex.h"
#include "library/Sqlite.h"
#include "library/UseCodec.h"

#include <functional>
#include <string>
#include <vector>

namespace orvale::library {

struct LibraryIndex::State {
    std::string Root;   // canonical library folder
    std::string Folder; // this library's folder in the cache
    std::string Name;   // that folder's name
    std::string DbPath; // the database in use
    bool Private = false;
    SqliteDb Db;
    // The database file's identity when it was opened: a rebuild by another process puts
    // another file in its place, which the next query opens.
    std::uint64_t DbInode = 0;
    std::vector<std::string> Notices;

    // Opens DbPath again when it is not open or was replaced; false when there is no index.
    bool EnsureOpen();
};

// The tables; their indexes come after a bulk load (IndexDdl).
extern const char* const kTablesDdl;
extern const char* const kIndexesDdl;

// Writes members into an open database inside a transaction. In bulk mode (a build from
// nothing) the uses are gathered and written in key order at Finish, which keeps the writes
// sequential; otherwise they go in as they come.
class IndexWriter {
public:
    IndexWriter(SqliteDb& db, bool bulk);
    ~IndexWriter();
    bool Prepare(std::string& error);
    void Add(std::int64_t id, const TMemberRecord& record, const TMemberFacts& facts,
             const TPackedUses& uses);
    // Drops a member and everything the index keeps of it.
    void Remove(std::int64_t id);
    void AddBinary(const TScannedFile& file);
    void RemoveBinary(const std::string& path);
    // The library's folders and their times, in place of those kept.
    void SetFolders(const std::vector<TScannedFile>& folders);
    // The first error met, or SQLITE_OK.
    int Status() const { return Error; }
    bool Finish(std::string& error);

private:
    struct Impl;
    std::unique_ptr<Impl> P;
    int Error = 0;
};

// The result of reading one member for the index.
struct TReadResult {
    TScannedFile File;   // the size and time of what was read
    int Errno = 0;       // the read failed
    bool Binary = false; // the content is no text
    TMemberRecord Record;
    TMemberFacts Facts;
    TPackedUses Uses; // the facts' uses, grouped by name (the readers do it, on every core)
};

// Reads and analyses the files of Root named by Paths on every core; Consume gets each result
// in the order of Paths, on the calling thread. False when the progress asked to stop.
bool ReadMembers(const std::string& root, const std::vector<std::string>& paths,
                 const std::function<void(size_t, TReadResult&)>& consume, IndexProgress* progress);

// Applies one read member to Writer under Id: a member, a binary file, or a file skipped (in
// Report).
void ApplyRead(IndexWriter& writer, std::int64_t id, TReadResult& r, TRefreshReport& report);
// The member counts and lines of the index into Report.
void AddKindCounts(SqliteDb& db, TRefreshReport& report);
// Brings a good index up to date with Scan: reads what is new or changed, drops what is gone.
bool RefreshIndexInPlace(LibraryIndex::State& s, const TLibraryScan& scan, TRefreshReport& report,
                         std::string& error, IndexProgress* progress);

} // namespace orvale::library
