// What the index answers: the members, where a name is defined and used, and the /COPY
// members.

#include "library/IndexStore.h"
#include "library/MemberClassify.h"
#include "library/RpgReader.h"
#include "library/UseCodec.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

namespace orvale::library {

namespace {

constexpr const char* kMemberColumns =
    "id, path, srcfile, lib, name, type, kind, text, lines, size, time";

TMemberInfo MemberRow(const SqliteStmt& s) {
    TMemberInfo m;
    m.Id = s.Int(0);
    m.Path = s.Text(1);
    m.SourceFile = s.Text(2);
    m.Library = s.Text(3);
    m.Name = s.Text(4);
    m.Type = s.Text(5);
    auto kind = s.Int(6);
    m.Kind = kind >= 0 && kind <= 4 ? static_cast<MemberKind>(kind) : MemberKind::Other;
    m.Text = s.Text(7);
    m.Lines = static_cast<int>(s.Int(8));
    m.Size = static_cast<std::uint64_t>(s.Int(9));
    m.Time = s.Int(10);
    return m;
}

std::vector<TMemberInfo> QueryMembers(SqliteDb& db, const std::string& where,
                                      std::string_view parameter) {
    std::vector<TMemberInfo> members;
    std::string sql =
        std::string("SELECT ") + kMemberColumns + " FROM members " + where + " ORDER BY path";
    SqliteStmt s(db, sql.c_str());
    if (!parameter.empty() || where.find('?') != std::string::npos)
        s.Bind(1, parameter);
    while (s.Step() == SQLITE_ROW)
        members.push_back(MemberRow(s));
    return members;
}

// The folders of a member's path.
std::vector<std::string_view> FoldersOf(std::string_view path) {
    std::vector<std::string_view> folders;
    size_t start = 0;
    size_t slash;
    while ((slash = path.find('/', start)) != std::string_view::npos) {
        folders.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return folders;
}

// The steps from one member's folder to another's: up to their common folder, then down.
size_t FolderDistance(std::string_view from, std::string_view to) {
    auto a = FoldersOf(from);
    auto b = FoldersOf(to);
    size_t common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common])
        ++common;
    return (a.size() - common) + (b.size() - common);
}

const TMemberInfo* BestCopy(const std::vector<TMemberInfo>& candidates, std::string_view member,
                            const TCopyDirective& copy) {
    // Without a source file the compiler looks in QRPGSRC.
    std::string file = copy.File.empty() ? std::string("QRPGSRC") : copy.File;
    // Without a library named, the program's own library comes first, as in a library list.
    std::string own = SplitMemberPath(member).Library;
    const TMemberInfo* best = nullptr;
    std::tuple<int, int, int, int, size_t> bestRank;
    for (const TMemberInfo& c : candidates) {
        if (c.Path == member)
            continue;
        int fileMiss = c.SourceFile == file ? 0 : 1;
        int libraryMiss = copy.Library.empty() || c.Library == copy.Library ? 0 : 1;
        int ownMiss = copy.Library.empty() && c.Library != own ? 1 : 0;
        // A data description or control language of that name is no source to copy.
        int kindMiss = c.Kind == MemberKind::Dds || c.Kind == MemberKind::Cl ? 1 : 0;
        std::tuple<int, int, int, int, size_t> rank{fileMiss, libraryMiss, ownMiss, kindMiss,
                                                    FolderDistance(member, c.Path)};
        if (!best || rank < bestRank) {
            best = &c;
            bestRank = rank;
        }
    }
    return best;
}

} // namespace

std::vector<TMemberInfo> LibraryIndex::Members() {
    if (!S->EnsureOpen())
        return {};
    return QueryMembers(S->Db, "", {});
}

std::optional<TMemberInfo> LibraryIndex::Member(std::string_view path) {
    if (!S->EnsureOpen())
        return std::nullopt;
    auto members = QueryMembers(S->Db, "WHERE path = ?", path);
    if (members.empty())
        return std::nullopt;
    return members.front();
}

std::vector<TMemberInfo> LibraryIndex::MembersNamed(std::string_view name) {
    if (!S->EnsureOpen())
        return {};
    return QueryMembers(S->Db, "WHERE name = ?", UpperName(name));
}

std::vector<THit> LibraryIndex::WhereUsed(std::string_view text, const NameKind* kind) {
    std::vector<THit> hits;
    if (!S->EnsureOpen())
        return hits;
    SqliteDb& db = S->Db;
    std::string name = UpperName(text);
    // "FILE,MEMBER": the copies of that source file's member.
    std::string copyFile;
    bool copyOnly = false;
    if (name.find(',') != std::string::npos) {
        TCopyDirective copy;
        if (!ParseCopyOperand(name, copy))
            return hits;
        name = copy.Member;
        copyFile = copy.File;
        copyOnly = true;
    }
    SqliteStmt rows(db, "SELECT uses FROM refs WHERE name = ?");
    SqliteStmt memberRow(db, "SELECT path, size, time FROM members WHERE id = ?");
    struct Place {
        std::string Path;
        std::uint64_t Size;
        std::int64_t Time;
    };
    std::unordered_map<std::int64_t, std::optional<Place>> places;
    auto placeOf = [&](std::int64_t id) -> const std::optional<Place>& {
        auto it = places.find(id);
        if (it != places.end())
            return it->second;
        std::optional<Place> place;
        memberRow.Bind(1, id);
        if (memberRow.Step() == SQLITE_ROW)
            place = Place{std::string(memberRow.Text(0)),
                          static_cast<std::uint64_t>(memberRow.Int(1)), memberRow.Int(2)};
        memberRow.Reset();
        return places[id] = std::move(place);
    };
    // Calls F(member, use) for each use of N.
    auto each = [&](const std::string& n, auto&& f) {
        rows.Bind(1, n);
        if (rows.Step() == SQLITE_ROW)
            ForEachMemberUses(rows.Blob(0), [&](std::int64_t member, std::string_view uses) {
                for (const TStoredUse& u : DecodeUses(uses))
                    f(member, u);
            });
        rows.Reset();
    };
    auto collect = [&](const std::string& n, const std::set<std::int64_t>* only,
                       const NameKind* want) {
        each(n, [&](std::int64_t member, const TStoredUse& u) {
            if ((only && !only->count(member)) || (want && u.Kind != *want))
                return;
            const std::optional<Place>& place = placeOf(member);
            if (!place)
                return;
            hits.push_back({place->Path,
                            u.Line,
                            n,
                            u.Kind,
                            u.Role,
                            u.Op,
                            u.Via,
                            {},
                            place->Size,
                            place->Time,
                            u.Offset});
        });
    };
    NameKind copyKind = NameKind::Copy;
    collect(name, nullptr, copyOnly ? &copyKind : kind);

    if (copyOnly && !copyFile.empty()) {
        SqliteStmt file(db, "SELECT 1 FROM copies c JOIN members m ON m.id = c.member WHERE "
                            "m.path = ? AND c.line = ? AND c.name = ? AND c.file = ?");
        std::erase_if(hits, [&](const THit& h) {
            file.Bind(1, h.Member);
            file.Bind(2, static_cast<std::int64_t>(h.Line));
            file.Bind(3, name);
            file.Bind(4, copyFile);
            bool match = file.Step() == SQLITE_ROW;
            file.Reset();
            return !match;
        });
    }

    // A file brings in its record formats, in the members that declare it.
    if (!copyOnly && (!kind || *kind == NameKind::File)) {
        std::set<std::int64_t> declaring;
        each(name, [&](std::int64_t member, const TStoredUse& u) {
            if (u.Kind == NameKind::File && u.Role == NameRole::Declares)
                declaring.insert(member);
        });
        // The file's formats by its data description, in the members that declare it; the
        // formats a member names for it (RENAME, SFILE) in that member. A format a member
        // renamed is, there, the other file's of that name.
        std::map<std::string, std::set<std::int64_t>> described, named, renamed;
        if (!declaring.empty()) {
            SqliteStmt f(db, "SELECT DISTINCT f.format FROM ddsformats f JOIN members m ON "
                             "m.id = f.member WHERE m.name = ? AND m.kind = ?");
            f.Bind(1, name);
            f.Bind(2, static_cast<std::int64_t>(MemberKind::Dds));
            while (f.Step() == SQLITE_ROW)
                described[std::string(f.Text(0))] = declaring;
        }
        SqliteStmt r(db, "SELECT format, member, external FROM renames WHERE file = ?");
        r.Bind(1, name);
        while (r.Step() == SQLITE_ROW) {
            named[std::string(r.Text(0))].insert(r.Int(1));
            if (std::string external(r.Text(2)); !external.empty()) {
                described[external].erase(r.Int(1));
                renamed[external].insert(r.Int(1));
            }
        }
        NameKind format = NameKind::Format;
        std::uint8_t rename = OperationCode("RENAME");
        auto keep = [&](const std::string& f, const std::set<std::int64_t>& members,
                        int renameLines) { // -1 none of them, 0 all, 1 only them
            size_t from = hits.size();
            collect(f, &members, &format);
            auto drop = [&](const THit& h) {
                return (renameLines < 0 && h.Op == rename) || (renameLines > 0 && h.Op != rename);
            };
            hits.erase(
                std::remove_if(hits.begin() + static_cast<std::ptrdiff_t>(from), hits.end(), drop),
                hits.end());
        };
        for (auto& [f, members] : described)
            if (f != name)
                keep(f, members, -1);
        for (auto& [f, members] : named)
            keep(f, members, 0);
        for (auto& [f, members] : renamed)
            keep(f, members, 1);
    }
    std::sort(hits.begin(), hits.end(), [](const THit& a, const THit& b) {
        if (a.Member != b.Member)
            return a.Member < b.Member;
        if (a.Line != b.Line)
            return a.Line < b.Line;
        if (a.Name != b.Name)
            return a.Name < b.Name;
        return std::pair(a.Kind, a.Role) < std::pair(b.Kind, b.Role);
    });
    // A RENAME line is met once as the file's format and once through the file: one hit.
    hits.erase(std::unique(hits.begin(), hits.end(),
                           [](const THit& a, const THit& b) {
                               return a.Member == b.Member && a.Line == b.Line &&
                                      a.Name == b.Name && a.Kind == b.Kind && a.Role == b.Role &&
                                      a.Op == b.Op;
                           }),
               hits.end());
    return hits;
}

std::vector<THit> LibraryIndex::UsesIn(std::string_view member) {
    // Read from the member itself: always what it holds now, and a member is read in no time.
    std::vector<THit> hits;
    TFileBuffer buffer;
    TScannedFile read;
    if (S->Root.empty() || ReadLibraryFile(S->Root, std::string(member), buffer, read) != 0 ||
        IsBinary(buffer.View()))
        return hits;
    TMemberRecord record;
    TMemberFacts facts;
    AnalyseMember(member, buffer.View(), record, facts);
    for (const TUse& u : facts.Uses)
        hits.push_back({std::string(member),
                        u.Line,
                        u.Name,
                        u.Kind,
                        u.Role,
                        u.Op,
                        u.Via,
                        {},
                        read.Size,
                        read.Time});
    std::sort(hits.begin(), hits.end(), [](const THit& a, const THit& b) {
        return std::tie(a.Line, a.Name) < std::tie(b.Line, b.Name);
    });
    return hits;
}

bool LibraryIndex::FoldersCurrent() {
    if (!S->EnsureOpen())
        return false;
    SqliteStmt folders(S->Db, "SELECT path, time FROM folders");
    bool any = false;
    while (folders.Step() == SQLITE_ROW) {
        any = true;
        std::string_view path = folders.Text(0);
        std::string full = path.empty() ? S->Root : S->Root + "/" + std::string(path);
        if (PathTime(full) != folders.Int(1))
            return false;
    }
    return any;
}

std::optional<TMemberInfo> LibraryIndex::ResolveCopy(std::string_view member,
                                                     const TCopyDirective& copy) {
    std::vector<TMemberInfo> candidates = MembersNamed(copy.Member);
    const TMemberInfo* best = BestCopy(candidates, member, copy);
    if (!best)
        return std::nullopt;
    return *best;
}

std::vector<TCopyLink> LibraryIndex::Copies(std::string_view member) {
    std::vector<TCopyLink> links;
    if (!S->EnsureOpen())
        return links;
    std::string sql = "SELECT m.path, c.line, c.lib, c.file, c.name FROM copies c JOIN members m "
                      "ON m.id = c.member";
    if (!member.empty())
        sql += " WHERE m.path = ?";
    sql += " ORDER BY m.path, c.line";
    SqliteStmt s(S->Db, sql.c_str());
    if (!member.empty())
        s.Bind(1, member);
    while (s.Step() == SQLITE_ROW) {
        TCopyLink link;
        link.Member = s.Text(0);
        link.Directive.Line = static_cast<int>(s.Int(1));
        link.Directive.Library = s.Text(2);
        link.Directive.File = s.Text(3);
        link.Directive.Member = s.Text(4);
        links.push_back(std::move(link));
    }
    // Every member of a copied name, read once.
    std::unordered_map<std::string, std::vector<TMemberInfo>> named;
    for (const TCopyLink& l : links)
        if (!named.count(l.Directive.Member))
            named[l.Directive.Member] = MembersNamed(l.Directive.Member);
    for (TCopyLink& l : links)
        if (const TMemberInfo* best = BestCopy(named[l.Directive.Member], l.Member, l.Directive))
            l.Target = best->Path;
    return links;
}

} // namespace orvale::library
