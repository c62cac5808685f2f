// The refresh of an index in place: only members whose size or time changed are read again.

#include "library/IndexStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <unordered_map>

namespace orvale::library {

namespace {

struct Known {
    std::int64_t Id = 0; // 0 for a binary file
    std::uint64_t Size = 0;
    std::int64_t Time = 0;
    bool Seen = false;
};

} // namespace

bool RefreshIndexInPlace(LibraryIndex::State& s, const TLibraryScan& scan, TRefreshReport& report,
                         std::string& error, IndexProgress* progress) {
    if (!s.EnsureOpen()) {
        error = s.DbPath + ": the index cannot be opened";
        return false;
    }
    SqliteDb& db = s.Db;
    std::unordered_map<std::string, Known> known;
    {
        SqliteStmt members(db, "SELECT id, path, size, time FROM members");
        int rc;
        while ((rc = members.Step()) == SQLITE_ROW)
            known[std::string(members.Text(1))] = {
                members.Int(0), static_cast<std::uint64_t>(members.Int(2)), members.Int(3)};
        SqliteStmt binaries(db, "SELECT path, size, time FROM binaries");
        while (binaries.Step() == SQLITE_ROW)
            known[std::string(binaries.Text(0))] = {0, static_cast<std::uint64_t>(binaries.Int(1)),
                                                    binaries.Int(2)};
        if (rc != SQLITE_DONE) {
            error = s.DbPath + ": " + db.Error();
            return false;
        }
    }
    std::vector<std::string> toRead;
    std::vector<Known> replaced;
    for (const TScannedFile& f : scan.Files) {
        auto it = known.find(f.Path);
        if (it == known.end()) {
            toRead.push_back(f.Path);
            continue;
        }
        it->second.Seen = true;
        if (it->second.Size == f.Size && it->second.Time == f.Time && f.Time != 0) {
            if (it->second.Id == 0)
                report.Skipped.push_back({f.Path, "binary file"});
            continue;
        }
        toRead.push_back(f.Path);
        replaced.push_back(it->second);
    }
    std::vector<std::pair<std::string, Known>> gone;
    for (auto& [path, k] : known)
        if (!k.Seen)
            gone.emplace_back(path, k);
    report.Skipped.insert(report.Skipped.end(), scan.Skipped.begin(), scan.Skipped.end());
    bool foldersChanged = false;
    {
        std::unordered_map<std::string, std::int64_t> stored;
        SqliteStmt folders(db, "SELECT path, time FROM folders");
        while (folders.Step() == SQLITE_ROW)
            stored[std::string(folders.Text(0))] = folders.Int(1);
        foldersChanged = stored.size() != scan.Folders.size();
        for (const TScannedFile& f : scan.Folders) {
            auto it = stored.find(f.Path);
            foldersChanged = foldersChanged || it == stored.end() || it->second != f.Time;
        }
    }

    if (!toRead.empty() || !gone.empty() || foldersChanged) {
        if (db.Exec("BEGIN IMMEDIATE") != SQLITE_OK) {
            error = s.DbPath + ": " + db.Error();
            return false;
        }
        IndexWriter writer(db, false);
        if (!writer.Prepare(error)) {
            db.Exec("ROLLBACK");
            return false;
        }
        for (auto& [path, k] : gone) {
            if (k.Id != 0)
                writer.Remove(k.Id);
            else
                writer.RemoveBinary(path);
        }
        report.Removed = gone.size();
        for (const Known& k : replaced)
            if (k.Id != 0)
                writer.Remove(k.Id);
        for (const std::string& path : toRead)
            writer.RemoveBinary(path);
        std::int64_t nextId = 1;
        {
            SqliteStmt max(db, "SELECT coalesce(max(id), 0) + 1 FROM members");
            if (max.Step() == SQLITE_ROW)
                nextId = max.Int(0);
        }
        writer.SetFolders(scan.Folders);
        bool finished = ReadMembers(
            s.Root, toRead, [&](size_t, TReadResult& r) { ApplyRead(writer, nextId++, r, report); },
            progress);
        if (!finished || !writer.Finish(error) || writer.Status() != SQLITE_OK) {
            if (error.empty())
                error = finished ? s.DbPath + ": " + sqlite3_errstr(writer.Status()) : "cancelled";
            db.Exec("ROLLBACK");
            return false;
        }
        if (db.Exec("COMMIT") != SQLITE_OK) {
            error = s.DbPath + ": " + db.Error();
            db.Exec("ROLLBACK");
            return false;
        }
    }
    std::sort(report.Skipped.begin(), report.Skipped.end(),
              [](const TSkippedPath& a, const TSkippedPath& b) { return a.Path < b.Path; });
    AddKindCounts(db, report);
    return true;
}

} // namespace orvale::library
