// What the index answers: the members, where a name is defined and used, the /COPY members
// and the fields of externally described files.

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

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

// The line of Fd that starts at Offset, read alone (a line may be long: it is read on until
// its end).
bool ReadLineAt(int fd, std::uint64_t offset, std::string& line) {
    line.clear();
    char chunk[512];
    for (;;) {
        ssize_t n = ::pread(fd, chunk, sizeof chunk, static_cast<off_t>(offset + line.size()));
        if (n < 0)
            return false;
        const void* end = std::memchr(chunk, '\n', static_cast<size_t>(n));
        size_t take = end ? static_cast<size_t>(static_cast<const char*>(end) - chunk)
                          : static_cast<size_t>(n);
        line.append(chunk, take);
        if (end || n == 0 || line.size() > kMaxMemberBytes)
            break;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

// Fills the hits' texts from the whole text of their member.
void FillFromText(std::string_view text, std::vector<THit*>& list) {
    std::sort(list.begin(), list.end(),
              [](const THit* a, const THit* b) { return a->Line < b->Line; });
    size_t pos = 0;
    int line = 1;
    size_t k = 0;
    while (k < list.size() && pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        while (k < list.size() && list[k]->Line <= line) {
            std::string_view l = text.substr(pos, end - pos);
            if (!l.empty() && l.back() == '\r')
                l.remove_suffix(1);
            if (list[k]->Line == line)
                list[k]->Text = l;
            ++k;
        }
        if (end == text.size())
            break;
        pos = end + 1;
        ++line;
    }
}

} // namespace

bool LibraryIndex::FillTexts(std::vector<THit>& hits) {
    std::map<std::string, std::vector<THit*>> byMember;
    for (THit& h : hits)
        byMember[h.Member].push_back(&h);
    bool current = true;
    TFileBuffer buffer;
    for (auto& [member, list] : byMember) {
        bool offsets = std::all_of(list.begin(), list.end(),
                                   [](const THit* h) { return h->Offset > 0 || h->Line == 1; });
        if (!offsets) {
            TScannedFile read;
            if (ReadLibraryFile(S->Root, member, buffer, read) != 0) {
                current = false;
                continue;
            }
            current = current && read.Size == list.front()->MemberSize &&
                      read.Time == list.front()->MemberTime;
            FillFromText(buffer.View(), list);
            continue;
        }
        // Each line read alone where the index says it starts: a name used in a thousand
        // members costs a thousand small reads, not the members' whole text.
        std::string full = S->Root + "/" + member;
        int fd = ::open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NOATIME);
        if (fd < 0 && errno == EPERM)
            fd = ::open(full.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            current = false;
            continue;
        }
        struct stat st {};
        ::fstat(fd, &st);
        std::int64_t time =
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
        if (static_cast<std::uint64_t>(st.st_size) != list.front()->MemberSize ||
            time != list.front()->MemberTime)
            current = false;
        // The hits of a member are read in one stretch when they lie close enough together.
        std::uint64_t first = list.front()->Offset, last = first;
        for (const THit* h : list) {
            first = std::min(first, h->Offset);
            last = std::max(last, h->Offset);
        }
        std::uint64_t span = last - first + 1024;
        std::string stretch;
        if (list.size() > 1 && span <= (1u << 20)) {
            stretch.resize(static_cast<size_t>(span));
            ssize_t n = ::pread(fd, stretch.data(), stretch.size(), static_cast<off_t>(first));
            stretch.resize(n > 0 ? static_cast<size_t>(n) : 0);
        }
        for (THit* h : list) {
            std::string_view view(stretch);
            size_t at = static_cast<size_t>(h->Offset - first);
            size_t end = at < view.size() ? view.find('\n', at) : std::string_view::npos;
            if (end == std::string_view::npos) {
                // Past the stretch, or a line that runs beyond it.
                ReadLineAt(fd, h->Offset, h->Text);
                continue;
            }
            std::string_view line = view.substr(at, end - at);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            h->Text = line;
        }
        ::close(fd);
    }
    return current;
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

namespace {

struct DdsField {
    std::string Format, Field, RefFile, RefField, Member;
    int Line = 0, Length = 0, Decimals = -1;
    char Type = ' ';
};

struct DdsFile {
    std::string Member;
    std::vector<std::pair<std::string, std::string>> Formats; // format, based on
    std::vector<DdsField> Fields;
};

class FieldResolver {
public:
    explicit FieldResolver(SqliteDb& db) : Db(db) {}

    const DdsFile* File(const std::string& name) {
        auto it = Files.find(name);
        if (it != Files.end())
            return it->second ? &*it->second : nullptr;
        std::optional<DdsFile> file = Load(name);
        auto& slot = Files[name] = std::move(file);
        return slot ? &*slot : nullptr;
    }

    // The attributes of Field of File, following its references (Depth guards a loop).
    bool Attributes(const std::string& file, const std::string& field, DdsField& out,
                    int depth = 0) {
        const DdsFile* f = depth < 8 ? File(file) : nullptr;
        if (!f)
            return false;
        for (const DdsField& d : f->Fields) {
            if (d.Field != field)
                continue;
            out = d;
            if (d.Length == 0 && !d.RefFile.empty()) {
                DdsField ref;
                if (Attributes(d.RefFile, d.RefField.empty() ? d.Field : d.RefField, ref,
                               depth + 1)) {
                    out.Length = ref.Length;
                    out.Decimals = d.Decimals >= 0 ? d.Decimals : ref.Decimals;
                    out.Type = d.Type != ' ' ? d.Type : ref.Type;
                }
            }
            return true;
        }
        return false;
    }

private:
    std::optional<DdsFile> Load(const std::string& name) {
        SqliteStmt m(Db, "SELECT id, path FROM members WHERE name = ? AND kind = ? ORDER BY path");
        m.Bind(1, name);
        m.Bind(2, static_cast<std::int64_t>(MemberKind::Dds));
        if (m.Step() != SQLITE_ROW)
            return std::nullopt;
        DdsFile file;
        std::int64_t id = m.Int(0);
        file.Member = m.Text(1);
        SqliteStmt f(Db, "SELECT format, based_on FROM ddsformats WHERE member = ? ORDER BY rowid");
        f.Bind(1, id);
        while (f.Step() == SQLITE_ROW)
            file.Formats.emplace_back(f.Text(0), f.Text(1));
        SqliteStmt d(Db, "SELECT format, field, line, length, decimals, type, ref_file, ref_field "
                         "FROM ddsfields WHERE member = ? ORDER BY rowid");
        d.Bind(1, id);
        while (d.Step() == SQLITE_ROW) {
            DdsField x;
            x.Format = d.Text(0);
            x.Field = d.Text(1);
            x.Line = static_cast<int>(d.Int(2));
            x.Length = static_cast<int>(d.Int(3));
            x.Decimals = static_cast<int>(d.Int(4));
            std::string_view type = d.Text(5);
            x.Type = type.empty() ? ' ' : type.front();
            x.RefFile = d.Text(6);
            x.RefField = d.Text(7);
            x.Member = file.Member;
            file.Fields.push_back(std::move(x));
        }
        return file;
    }

    SqliteDb& Db;
    std::map<std::string, std::optional<DdsFile>> Files;
};

} // namespace

std::vector<TFileField> LibraryIndex::FieldsOfFile(std::string_view text) {
    std::vector<TFileField> fields;
    if (!S->EnsureOpen())
        return fields;
    std::string name = UpperName(text);
    FieldResolver resolver(S->Db);
    const DdsFile* file = resolver.File(name);
    if (!file)
        return fields;
    for (const auto& [format, basedOn] : file->Formats) {
        bool any = false;
        for (const DdsField& d : file->Fields) {
            if (d.Format != format)
                continue;
            any = true;
            DdsField resolved;
            if (!resolver.Attributes(name, d.Field, resolved))
                resolved = d;
            fields.push_back({name, format, d.Field, resolved.Length, resolved.Decimals,
                              resolved.Type, file->Member, d.Line});
        }
        // A logical file's format without fields of its own is the physical file's format.
        if (!any && !basedOn.empty() && basedOn != name) {
            const DdsFile* based = resolver.File(basedOn);
            if (!based)
                continue;
            const std::string& own = format;
            bool sameName = std::any_of(based->Formats.begin(), based->Formats.end(),
                                        [&](const auto& f) { return f.first == own; });
            for (const DdsField& d : based->Fields) {
                if (sameName && d.Format != format)
                    continue;
                DdsField resolved;
                if (!resolver.Attributes(basedOn, d.Field, resolved))
                    resolved = d;
                fields.push_back({name, format, d.Field, resolved.Length, resolved.Decimals,
                                  resolved.Type, based->Member, d.Line});
            }
        }
    }
    return fields;
}

} // namespace orvale::library
