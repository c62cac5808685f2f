// Writing members into the index, and reading them on every core for it.

#include "library/IndexStore.h"
#include "library/OrderedWork.h"
#include "library/UseCodec.h"

#include <sqlite3.h>

#include <algorithm>
#include <set>
#include <unordered_map>

namespace orvale::library {

const char* const kTablesDdl = R"(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT) WITHOUT ROWID;
CREATE TABLE members(id INTEGER PRIMARY KEY, path TEXT NOT NULL, srcfile TEXT, lib TEXT,
  name TEXT, type TEXT, kind INTEGER, text TEXT, lines INTEGER, size INTEGER, time INTEGER,
  names BLOB);
CREATE TABLE binaries(path TEXT PRIMARY KEY, size INTEGER, time INTEGER) WITHOUT ROWID;
CREATE TABLE folders(path TEXT PRIMARY KEY, time INTEGER) WITHOUT ROWID;
CREATE TABLE refs(name TEXT PRIMARY KEY, uses BLOB NOT NULL) WITHOUT ROWID;
CREATE TABLE copies(member INTEGER, line INTEGER, lib TEXT, file TEXT, name TEXT);
CREATE TABLE renames(member INTEGER, file TEXT, format TEXT, external TEXT);
CREATE TABLE ddsformats(member INTEGER, format TEXT, line INTEGER, based_on TEXT);
CREATE TABLE ddsfields(member INTEGER, format TEXT, field TEXT, line INTEGER, length INTEGER,
  decimals INTEGER, type TEXT, ref_file TEXT, ref_field TEXT);
)";

const char* const kIndexesDdl = R"(
CREATE UNIQUE INDEX members_path ON members(path);
CREATE INDEX members_name ON members(name);
CREATE INDEX copies_member ON copies(member);
CREATE INDEX renames_file ON renames(file);
CREATE INDEX renames_member ON renames(member);
CREATE INDEX ddsformats_member ON ddsformats(member);
CREATE INDEX ddsfields_member ON ddsfields(member);
)";

struct IndexWriter::Impl {
    SqliteDb& Db;
    bool Bulk;
    SqliteStmt Member, Ref, Copy, Rename, Format, Field, Binary, Unbinary;
    SqliteStmt NamesOf, DropMember, DropCopies, DropRenames, DropFormats, DropFields;
    // The uses added keep each name once and the encoded uses in one arena; at the end they
    // are gathered into one record a name (merged into the record the index holds when the
    // load is not a bulk one).
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::uint32_t, NameHash, std::equal_to<>> NameIds;
    std::vector<std::string_view> Names; // by id, viewing NameIds' keys
    struct RefRow {
        std::uint32_t Name;
        std::uint32_t Member;
        std::uint64_t Offset; // in Arena
        std::uint32_t Length;
    };
    std::vector<RefRow> Rows;
    std::string Arena;
    // Members removed, and the names they used, whose records lose them.
    std::set<std::int64_t> Removed;
    std::set<std::string> RemovedNames;

    std::uint32_t NameId(std::string_view name) {
        auto it = NameIds.find(name);
        if (it == NameIds.end()) {
            it = NameIds.emplace(std::string(name), static_cast<std::uint32_t>(Names.size())).first;
            Names.push_back(it->first);
        }
        return it->second;
    }

    explicit Impl(SqliteDb& db, bool bulk) : Db(db), Bulk(bulk) {}
};

IndexWriter::IndexWriter(SqliteDb& db, bool bulk) : P(std::make_unique<Impl>(db, bulk)) {}

IndexWriter::~IndexWriter() = default;

bool IndexWriter::Prepare(std::string& error) {
    Impl& p = *P;
    struct {
        SqliteStmt& Stmt;
        const char* Sql;
    } statements[] = {
        {p.Member, "INSERT INTO members(id, path, srcfile, lib, name, type, kind, text, lines, "
                   "size, time, names) VALUES(?,?,?,?,?,?,?,?,?,?,?,?)"},
        {p.Ref, "INSERT OR REPLACE INTO refs(name, uses) VALUES(?,?)"},
        {p.Copy, "INSERT INTO copies(member, line, lib, file, name) VALUES(?,?,?,?,?)"},
        {p.Rename, "INSERT INTO renames(member, file, format, external) VALUES(?,?,?,?)"},
        {p.Format, "INSERT INTO ddsformats(member, format, line, based_on) VALUES(?,?,?,?)"},
        {p.Field, "INSERT INTO ddsfields(member, format, field, line, length, decimals, type, "
                  "ref_file, ref_field) VALUES(?,?,?,?,?,?,?,?,?)"},
        {p.Binary, "INSERT OR REPLACE INTO binaries(path, size, time) VALUES(?,?,?)"},
        {p.Unbinary, "DELETE FROM binaries WHERE path = ?"},
        {p.NamesOf, "SELECT names FROM members WHERE id = ?"},
        {p.DropMember, "DELETE FROM members WHERE id = ?"},
        {p.DropCopies, "DELETE FROM copies WHERE member = ?"},
        {p.DropRenames, "DELETE FROM renames WHERE member = ?"},
        {p.DropFormats, "DELETE FROM ddsformats WHERE member = ?"},
        {p.DropFields, "DELETE FROM ddsfields WHERE member = ?"},
    };
    for (auto& s : statements)
        if (s.Stmt.Prepare(p.Db, s.Sql) != SQLITE_OK) {
            error = p.Db.Error();
            return false;
        }
    return true;
}

namespace {

int Run(SqliteStmt& stmt, int& error) {
    int rc = stmt.Step();
    stmt.Reset();
    if (rc != SQLITE_DONE && rc != SQLITE_ROW && error == SQLITE_OK)
        error = rc;
    return rc;
}

} // namespace

void IndexWriter::Add(std::int64_t id, const TMemberRecord& record, const TMemberFacts& facts,
                      const TPackedUses& uses) {
    Impl& p = *P;
    ForEachPacked(uses.Packed, [&](std::string_view name, std::string_view encoded) {
        p.Rows.push_back({p.NameId(name), static_cast<std::uint32_t>(id), p.Arena.size(),
                          static_cast<std::uint32_t>(encoded.size())});
        p.Arena.append(encoded);
    });
    const std::string& names = uses.Names;
    SqliteStmt& m = p.Member;
    m.Bind(1, id);
    m.Bind(2, record.Path);
    m.Bind(3, record.SourceFile);
    m.Bind(4, record.Library);
    m.Bind(5, record.Name);
    m.Bind(6, record.Type);
    m.Bind(7, static_cast<std::int64_t>(record.Kind));
    m.Bind(8, record.Text);
    m.Bind(9, static_cast<std::int64_t>(record.Lines));
    m.Bind(10, static_cast<std::int64_t>(record.Size));
    m.Bind(11, record.Time);
    m.BindBlob(12, names);
    Run(m, Error);
    for (const TCopyDirective& c : facts.Copies) {
        p.Copy.Bind(1, id);
        p.Copy.Bind(2, static_cast<std::int64_t>(c.Line));
        p.Copy.Bind(3, c.Library);
        p.Copy.Bind(4, c.File);
        p.Copy.Bind(5, c.Member);
        Run(p.Copy, Error);
    }
    for (const TFormatOfFile& r : facts.FormatsOfFiles) {
        p.Rename.Bind(1, id);
        p.Rename.Bind(2, r.File);
        p.Rename.Bind(3, r.Format);
        p.Rename.Bind(4, r.External);
        Run(p.Rename, Error);
    }
    for (const TDdsFormat& f : facts.Formats) {
        p.Format.Bind(1, id);
        p.Format.Bind(2, f.Name);
        p.Format.Bind(3, static_cast<std::int64_t>(f.Line));
        p.Format.Bind(4, f.BasedOn);
        Run(p.Format, Error);
    }
    for (const TDdsField& f : facts.Fields) {
        SqliteStmt& s = p.Field;
        s.Bind(1, id);
        s.Bind(2, f.Format);
        s.Bind(3, f.Name);
        s.Bind(4, static_cast<std::int64_t>(f.Line));
        s.Bind(5, static_cast<std::int64_t>(f.Length));
        s.Bind(6, static_cast<std::int64_t>(f.Decimals));
        s.Bind(7, std::string_view(&f.Type, 1));
        if (f.Referenced) {
            s.Bind(8, f.RefFile);
            s.Bind(9, f.RefField);
        }
        Run(s, Error);
    }
}

void IndexWriter::Remove(std::int64_t id) {
    Impl& p = *P;
    p.NamesOf.Bind(1, id);
    std::string names;
    if (p.NamesOf.Step() == SQLITE_ROW)
        names = std::string(p.NamesOf.Blob(0));
    p.NamesOf.Reset();
    size_t start = 0;
    while (start < names.size()) {
        size_t end = names.find('\n', start);
        if (end == std::string::npos)
            end = names.size();
        if (end > start)
            p.RemovedNames.insert(names.substr(start, end - start));
        start = end + 1;
    }
    p.Removed.insert(id);
    for (SqliteStmt* s :
         {&p.DropMember, &p.DropCopies, &p.DropRenames, &p.DropFormats, &p.DropFields}) {
        s->Bind(1, id);
        Run(*s, Error);
    }
}

void IndexWriter::AddBinary(const TScannedFile& file) {
    P->Binary.Bind(1, file.Path);
    P->Binary.Bind(2, static_cast<std::int64_t>(file.Size));
    P->Binary.Bind(3, file.Time);
    Run(P->Binary, Error);
}

void IndexWriter::RemoveBinary(const std::string& path) {
    P->Unbinary.Bind(1, path);
    Run(P->Unbinary, Error);
}

void IndexWriter::SetFolders(const std::vector<TScannedFile>& folders) {
    Impl& p = *P;
    SqliteStmt clear(p.Db, "DELETE FROM folders");
    Run(clear, Error);
    SqliteStmt insert(p.Db, "INSERT OR REPLACE INTO folders(path, time) VALUES(?,?)");
    for (const TScannedFile& f : folders) {
        insert.Bind(1, f.Path);
        insert.Bind(2, f.Time);
        Run(insert, Error);
    }
}

bool IndexWriter::Finish(std::string& error) {
    Impl& p = *P;
    // The names in order: a bulk load writes the table from its first key to its last.
    for (const std::string& name : p.RemovedNames)
        p.NameId(name);
    std::vector<std::uint32_t> order(p.Names.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return p.Names[a] < p.Names[b]; });
    // The rows came in member order; a counting sort by name keeps that order within a name.
    std::vector<size_t> start(p.Names.size() + 1, 0);
    for (const Impl::RefRow& row : p.Rows)
        ++start[row.Name + 1];
    for (size_t n = 1; n < start.size(); ++n)
        start[n] += start[n - 1];
    std::vector<size_t> end(start.begin(), start.end() - 1);
    std::vector<std::uint32_t> byName(p.Rows.size());
    for (std::uint32_t i = 0; i < p.Rows.size(); ++i)
        byName[end[p.Rows[i].Name]++] = i;

    SqliteStmt current(p.Db, "SELECT uses FROM refs WHERE name = ?");
    SqliteStmt drop(p.Db, "DELETE FROM refs WHERE name = ?");
    std::string record;
    for (std::uint32_t n : order) {
        std::string_view name = p.Names[n];
        record.clear();
        std::int64_t previous = 0;
        if (!p.Bulk) {
            // What the index holds of the name, without the members removed. Members added
            // have ids above all of those.
            current.BindStatic(1, name);
            if (current.Step() == SQLITE_ROW)
                ForEachMemberUses(current.Blob(0), [&](std::int64_t member, std::string_view u) {
                    if (!p.Removed.count(member))
                        AppendMemberUses(record, previous, member, u);
                });
            current.Reset();
        }
        for (size_t k = start[n]; k < start[n + 1]; ++k) {
            const Impl::RefRow& row = p.Rows[byName[k]];
            AppendMemberUses(record, previous, row.Member,
                             std::string_view(p.Arena).substr(row.Offset, row.Length));
        }
        if (record.empty()) {
            drop.BindStatic(1, name);
            Run(drop, Error);
            continue;
        }
        p.Ref.BindStatic(1, name);
        p.Ref.BindStaticBlob(2, record);
        Run(p.Ref, Error);
        if (Error != SQLITE_OK)
            break;
    }
    std::vector<Impl::RefRow>().swap(p.Rows);
    std::string().swap(p.Arena);
    if (Error != SQLITE_OK) {
        error = sqlite3_errstr(Error);
        return false;
    }
    return true;
}

bool ReadMembers(const std::string& root, const std::vector<std::string>& paths,
                 const std::function<void(size_t, TReadResult&)>& consume,
                 IndexProgress* progress) {
    const size_t count = paths.size();
    // Readers run at most this many members ahead of the writer.
    constexpr size_t kWindow = 256;
    auto read = [&](size_t i, TFileBuffer& buffer) {
        TReadResult result;
        result.Errno = ReadLibraryFile(root, paths[i], buffer, result.File);
        if (result.Errno != 0)
            return result;
        result.Binary = IsBinary(buffer.View());
        if (!result.Binary) {
            AnalyseMember(paths[i], buffer.View(), result.Record, result.Facts);
            result.Uses = PackUses(result.Facts.Uses, buffer.View());
            std::vector<TUse>().swap(result.Facts.Uses);
        }
        result.Record.Size = result.File.Size;
        result.Record.Time = result.File.Time;
        return result;
    };
    auto take = [&](size_t i, TReadResult& result) {
        consume(i, result);
        if (progress && (i % 64 == 0 || i + 1 == count)) {
            progress->Progress(i + 1, count);
            return !progress->Cancelled();
        }
        return true;
    };
    return RunInOrder<TReadResult, TFileBuffer>(count, kWindow, read, take);
}

} // namespace orvale::library
