// Opening, building and refreshing the index; the queries are in IndexQueries.cpp.

#include "library/LibraryIndex.h"

#include "library/IndexStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unordered_map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvale::library {

namespace {

constexpr const char* kIndexFile = "index.sqlite";
constexpr const char* kSchemaKey = "schema";
constexpr const char* kSchemaName = "orvale-library-index";

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/tmp";
}

std::string XdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    std::string base = value && *value == '/' ? value : HomeFolder() + fallback;
    return base + "/orvale/libraries";
}

// Makes Path and the folders above it; false when it is not a folder afterwards.
bool MakeFolders(const std::string& path) {
    std::string partial;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        partial = path.substr(0, slash);
        if (!partial.empty())
            ::mkdir(partial.c_str(), 0700);
        start = slash + 1;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A stable short name for a library folder: its last part and a hash of the whole path.
std::string FolderName(const std::string& root) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : root) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    std::string last = root.substr(root.rfind('/') + 1);
    std::string safe;
    for (char c : last.substr(0, 40))
        safe += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    if (safe.empty())
        safe = "root";
    char hex[20];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return safe + "-" + hex;
}

std::uint64_t InodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_ino) : 0;
}

std::string SchemaValue() {
    return std::string(kSchemaName) + " " + std::to_string(LibraryIndex::kSchemaVersion) + "." +
           std::to_string(LibraryIndex::kReaderRevision);
}

enum class IndexState { Good, Missing, Damaged, OtherVersion, OtherLibrary, Busy };

// Whether the database at Path is an index of Root of this version.
// Whether the open database Db is an index of Root of this version.
IndexState CheckOpenIndex(SqliteDb& db, const std::string& root, std::string& detail);

IndexState CheckIndex(const std::string& path, const std::string& root, std::string& detail) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return IndexState::Missing;
    SqliteDb db;
    if (db.Open(path, true) != SQLITE_OK) {
        detail = db.Error();
        return IndexState::Damaged;
    }
    sqlite3_busy_timeout(db.Handle(), 2000);
    return CheckOpenIndex(db, root, detail);
}

IndexState CheckOpenIndex(SqliteDb& db, const std::string& root, std::string& detail) {
    SqliteStmt meta;
    int rc = meta.Prepare(db, "SELECT key, value FROM meta");
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return IndexState::Busy;
    if (rc != SQLITE_OK) {
        detail = db.Error();
        return IndexState::Damaged;
    }
    std::unordered_map<std::string, std::string> values;
    while ((rc = meta.Step()) == SQLITE_ROW)
        values[std::string(meta.Text(0))] = std::string(meta.Text(1));
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return IndexState::Busy;
    if (rc != SQLITE_DONE) {
        detail = db.Error();
        return IndexState::Damaged;
    }
    if (values[kSchemaKey] != SchemaValue())
        return values[kSchemaKey].rfind(kSchemaName, 0) == 0 ? IndexState::OtherVersion
                                                             : IndexState::Damaged;
    if (values["complete"] != "1") {
        detail = "an unfinished build";
        return IndexState::Damaged;
    }
    if (values["root"] != root)
        return IndexState::OtherLibrary;
    // The tables the queries read must be there and readable.
    SqliteStmt probe;
    if (probe.Prepare(db, "SELECT count(*) FROM members") != SQLITE_OK ||
        probe.Step() != SQLITE_ROW) {
        detail = db.Error();
        return IndexState::Damaged;
    }
    return IndexState::Good;
}

void RemoveDatabase(const std::string& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        ::unlink((path + suffix).c_str());
}

// The writer's lock of a library's index, held while it builds or refreshes it.
class WriterLock {
public:
    ~WriterLock() { Release(); }
    // Waits up to Wait for another writer to finish; false when it does not.
    bool Acquire(const std::string& folder, std::chrono::milliseconds wait) {
        Fd = ::open((folder + "/lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (Fd < 0)
            return false;
        auto until = std::chrono::steady_clock::now() + wait;
        while (::flock(Fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= until) {
                Release();
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }
    void Release() {
        if (Fd >= 0)
            ::close(Fd);
        Fd = -1;
    }

private:
    int Fd = -1;
};

} // namespace

void AddKindCounts(SqliteDb& db, TRefreshReport& report) {
    SqliteStmt counts(db, "SELECT kind, count(*), total(lines) FROM members GROUP BY kind");
    report.Members = 0;
    report.Lines = 0;
    report.ByKind = {};
    while (counts.Step() == SQLITE_ROW) {
        auto kind = static_cast<size_t>(counts.Int(0));
        auto n = static_cast<size_t>(counts.Int(1));
        if (kind < report.ByKind.size())
            report.ByKind[kind] = n;
        report.Members += n;
        report.Lines += static_cast<size_t>(counts.Int(2));
    }
}

namespace {

std::string ReadFailure(int error) {
    if (error == EFBIG)
        return "too large for a member";
    if (error == EACCES || error == EPERM)
        return "permission denied";
    return std::strerror(error);
}

} // namespace

void ApplyRead(IndexWriter& writer, std::int64_t id, TReadResult& r, TRefreshReport& report) {
    if (r.Errno == ENOENT)
        return; // removed while the index was read: it is gone
    if (r.Errno != 0) {
        report.Skipped.push_back({r.File.Path, ReadFailure(r.Errno)});
        return;
    }
    if (r.Binary) {
        writer.AddBinary(r.File);
        report.Skipped.push_back({r.File.Path, "binary file"});
        return;
    }
    writer.Add(id, r.Record, r.Facts, r.Uses);
    ++report.Read;
}

bool LibraryIndex::State::EnsureOpen() {
    std::uint64_t inode = InodeOf(DbPath);
    if (inode == 0)
        return false;
    if (Db.IsOpen() && inode == DbInode)
        return true;
    if (Db.Open(DbPath, false) != SQLITE_OK && Db.Open(DbPath, true) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(Db.Handle(), 5000);
    Db.Exec("PRAGMA cache_size=-32768");
    DbInode = inode;
    return true;
}

std::string LibraryIndex::DefaultCacheRoot() {
    return XdgFolder("XDG_CACHE_HOME", "/.cache");
}

std::string LibraryIndex::DefaultDataRoot() {
    return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

LibraryIndex::LibraryIndex() : S(std::make_unique<State>()) {}

LibraryIndex::~LibraryIndex() {
    S->Db.Close();
    if (S->Private)
        RemoveDatabase(S->DbPath);
}

bool LibraryIndex::Open(const std::string& root, std::string& error, const std::string& cacheRoot) {
    std::string canonical = CanonicalLibrary(root, error);
    if (canonical.empty())
        return false;
    S->Db.Close();
    if (S->Private)
        RemoveDatabase(S->DbPath);
    S->Private = false;
    S->Root = canonical;
    S->Name = FolderName(canonical);
    S->Folder = (cacheRoot.empty() ? DefaultCacheRoot() : cacheRoot) + "/" + S->Name;
    S->DbPath = S->Folder + "/" + kIndexFile;
    S->DbInode = 0;
    return true;
}

bool LibraryIndex::IsOpen() const {
    return !S->Root.empty();
}

const std::string& LibraryIndex::Root() const {
    return S->Root;
}

std::string LibraryIndex::IndexPath() const {
    return S->DbPath;
}

std::string LibraryIndex::WorkFolder(const std::string& dataRoot) const {
    return (dataRoot.empty() ? DefaultDataRoot() : dataRoot) + "/" + S->Name + "/work";
}

bool LibraryIndex::Ready() {
    if (!S->EnsureOpen())
        return false;
    std::string detail;
    return S->Private || CheckOpenIndex(S->Db, S->Root, detail) == IndexState::Good;
}

std::vector<std::string> LibraryIndex::TakeNotices() {
    std::vector<std::string> notices;
    notices.swap(S->Notices);
    return notices;
}

namespace {

// A build from nothing into the database file Path.
bool BuildInto(const std::string& path, const std::string& root, const TLibraryScan& scan,
               TRefreshReport& report, std::string& error, IndexProgress* progress) {
    RemoveDatabase(path);
    SqliteDb db;
    if (db.Open(path, false) != SQLITE_OK) {
        error = path + ": " + db.Error();
        return false;
    }
    // A cache that a crash may leave half written: it is then found unfinished and built
    // again, so the build spares itself the journal and the syncs.
    db.Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
            "PRAGMA cache_size=-65536; PRAGMA temp_store=MEMORY");
    if (db.Exec(kTablesDdl) != SQLITE_OK || db.Exec("BEGIN") != SQLITE_OK) {
        error = path + ": " + db.Error();
        return false;
    }
    IndexWriter writer(db, true);
    if (!writer.Prepare(error))
        return false;
    std::vector<std::string> paths;
    paths.reserve(scan.Files.size());
    for (const TScannedFile& f : scan.Files)
        paths.push_back(f.Path);
    std::int64_t nextId = 1;
    bool finished = ReadMembers(
        root, paths, [&](size_t, TReadResult& r) { ApplyRead(writer, nextId++, r, report); },
        progress);
    if (!finished) {
        error = "cancelled";
        return false;
    }
    writer.SetFolders(scan.Folders);
    if (!writer.Finish(error))
        return false;

    SqliteStmt meta(db, "INSERT INTO meta(key, value) VALUES(?, ?)");
    for (auto [key, value] : {std::pair<std::string, std::string>{kSchemaKey, SchemaValue()},
                              {"root", root},
                              {"complete", "1"}}) {
        meta.Bind(1, key);
        meta.Bind(2, value);
        meta.Step();
        meta.Reset();
    }
    if (db.Exec(kIndexesDdl) != SQLITE_OK || db.Exec("COMMIT") != SQLITE_OK) {
        error = path + ": " + db.Error();
        return false;
    }

    AddKindCounts(db, report);
    report.Built = true;
    return true;
}

} // namespace

bool LibraryIndex::Refresh(TRefreshReport& report, std::string& error, IndexProgress* progress) {
    report = {};
    if (!IsOpen()) {
        error = "no library is open";
        return false;
    }
    if (S->Private) {
        // The private index of an earlier refresh gives way to the shared one again.
        S->Db.Close();
        RemoveDatabase(S->DbPath);
        S->Private = false;
        S->DbPath = S->Folder + "/" + kIndexFile;
    }
    TLibraryScan scan;
    if (!ScanLibrary(S->Root, scan, error))
        return false;
    if (progress)
        progress->Progress(0, scan.Files.size());

    WriterLock lock;
    bool usable = MakeFolders(S->Folder);
    bool locked = usable && lock.Acquire(S->Folder, std::chrono::milliseconds(2000));
    std::string detail;
    IndexState state = locked ? CheckIndex(S->DbPath, S->Root, detail) : IndexState::Busy;
    if (state == IndexState::Busy) {
        // Another Orvale holds the index: this run builds one of its own beside it.
        std::string folder = usable ? S->Folder : std::string("/tmp");
        S->Notices.push_back(
            usable ? "the index of " + S->Root +
                         " is being updated by another Orvale; this run built an index of its own"
                   : "the index of " + S->Root + " cannot be kept in " + S->Folder +
                         "; this run built an index of its own in " + folder);
        S->Db.Close();
        if (S->Private)
            RemoveDatabase(S->DbPath);
        S->Private = true;
        S->DbPath = folder + "/index.private-" + std::to_string(::getpid()) + ".sqlite";
        if (!BuildInto(S->DbPath, S->Root, scan, report, error, progress))
            return false;
        report.Skipped.insert(report.Skipped.end(), scan.Skipped.begin(), scan.Skipped.end());
        return S->EnsureOpen();
    }
    if (state == IndexState::Good) {
        if (RefreshIndexInPlace(*S, scan, report, error, progress))
            return true;
        if (error == "cancelled")
            return false;
        // A refresh that the database refused: whatever it held is built anew.
        state = IndexState::Damaged;
        detail = error;
        error.clear();
        report = {};
    }
    if (state == IndexState::Damaged)
        S->Notices.push_back("the index of " + S->Root + " was damaged (" + detail +
                             "); it was built again");
    else if (state == IndexState::OtherVersion)
        S->Notices.push_back("the index of " + S->Root +
                             " was written by another version of Orvale; it was built again");
    else if (state == IndexState::OtherLibrary)
        S->Notices.push_back("the index at " + S->DbPath +
                             " belonged to another library; it was built again");

    {
        S->Db.Close();
        std::string temporary = S->DbPath + ".build-" + std::to_string(::getpid());
        if (!BuildInto(temporary, S->Root, scan, report, error, progress)) {
            RemoveDatabase(temporary);
            return false;
        }
        // No journal of the old file may be applied to the new one.
        RemoveDatabase(S->DbPath);
        if (::rename(temporary.c_str(), S->DbPath.c_str()) != 0) {
            error = S->DbPath + ": " + std::strerror(errno);
            RemoveDatabase(temporary);
            return false;
        }
        report.Skipped.insert(report.Skipped.end(), scan.Skipped.begin(), scan.Skipped.end());
        std::sort(report.Skipped.begin(), report.Skipped.end(),
                  [](const TSkippedPath& a, const TSkippedPath& b) { return a.Path < b.Path; });
        if (!S->EnsureOpen()) {
            error = S->DbPath + ": the index cannot be opened";
            return false;
        }
        return true;
    }
}

} // namespace orvale::library
