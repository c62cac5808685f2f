// What the index answers: the members, where a name is defined and used, the /COPY members
// and the fields of externally described files.

#include "library/IndexStore.h"
#include "library/RpgReader.h"
#include "library/UseCodec.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
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
    const TMemberInfo* best = nullptr;
    std::tuple<int, int, int, size_t> bestRank;
    for (const TMemberInfo& c : candidates) {
        if (c.Path == member)
            continue;
        int fileMiss = c.SourceFile == file ? 0 : 1;
        int libraryMiss = copy.Library.empty() || c.Library == copy.Library ? 0 : 1;
        // A data description or control language of that name is no source to copy.
        int kindMiss = c.Kind == MemberKind::Dds || c.Kind == MemberKind::Cl ? 1 : 0;
        std::tuple<int, int, int, size_t> rank{fileMiss, libraryMiss, kindMiss,
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
    SqliteStmt rows(db, "SELECT m.path, r.uses, r.member, m.size, m.time FROM refs r JOIN "
                        "members m ON m.id = r.member WHERE r.name = ?");
    auto collect = [&](const std::string& n, const std::set<std::int64_t>* only,
                       const NameKind* want) {
        rows.Bind(1, n);
        while (rows.Step() == SQLITE_ROW) {
            if (only && !only->count(rows.Int(2)))
                continue;
            std::string path(rows.Text(0));
            for (const TStoredUse& u : DecodeUses(rows.Blob(1))) {
                if (want && u.Kind != *want)
                    continue;
                hits.push_back({path,
                                u.Line,
                                n,
                                u.Kind,
                                u.Role,
                                u.Op,
                                u.Via,
                                {},
                                static_cast<std::uint64_t>(rows.Int(3)),
                                rows.Int(4)});
            }
        }
        rows.Reset();
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
        {
            SqliteStmt d(db, "SELECT r.member, r.uses FROM refs r WHERE r.name = ?");
            d.Bind(1, name);
            while (d.Step() == SQLITE_ROW)
                for (const TStoredUse& u : DecodeUses(d.Blob(1)))
                    if (u.Kind == NameKind::File && u.Role == NameRole::Declares)
                        declaring.insert(d.Int(0));
        }
        std::map<std::string, std::set<std::int64_t>> formats; // format -> members (all: empty)
        if (!declaring.empty()) {
            SqliteStmt f(db, "SELECT DISTINCT f.format FROM ddsformats f JOIN members m ON "
                             "m.id = f.member WHERE m.name = ? AND m.kind = ?");
            f.Bind(1, name);
            f.Bind(2, static_cast<std::int64_t>(MemberKind::Dds));
            while (f.Step() == SQLITE_ROW)
                formats[std::string(f.Text(0))] = declaring;
        }
        SqliteStmt r(db, "SELECT format, member FROM renames WHERE file = ?");
        r.Bind(1, name);
        while (r.Step() == SQLITE_ROW)
            formats[std::string(r.Text(0))].insert(r.Int(1));
        NameKind format = NameKind::Format;
        for (auto& [f, members] : formats)
            if (f != name)
                collect(f, &members, &format);
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
    std::vector<THit> hits;
    if (!S->EnsureOpen())
        return hits;
    SqliteStmt m(S->Db, "SELECT id, names, size, time FROM members WHERE path = ?");
    m.Bind(1, member);
    if (m.Step() != SQLITE_ROW)
        return hits;
    std::int64_t id = m.Int(0);
    std::string names(m.Blob(1));
    SqliteStmt r(S->Db, "SELECT uses FROM refs WHERE name = ? AND member = ?");
    size_t start = 0;
    while (start < names.size()) {
        size_t end = names.find('\n', start);
        if (end == std::string::npos)
            end = names.size();
        std::string name = names.substr(start, end - start);
        r.Bind(1, name);
        r.Bind(2, id);
        if (r.Step() == SQLITE_ROW)
            for (const TStoredUse& u : DecodeUses(r.Blob(0)))
                hits.push_back(
                    {std::string(member), u.Line, name, u.Kind, u.Role, u.Op, u.Via, {}});
        r.Reset();
        start = end + 1;
    }
    std::sort(hits.begin(), hits.end(), [](const THit& a, const THit& b) {
        return std::tie(a.Line, a.Name) < std::tie(b.Line, b.Name);
    });
    return hits;
}

bool LibraryIndex::FillTexts(std::vector<THit>& hits) {
    std::map<std::string, std::vector<THit*>> byMember;
    for (THit& h : hits)
        byMember[h.Member].push_back(&h);
    TFileBuffer buffer;
    bool current = true;
    for (auto& [member, list] : byMember) {
        TScannedFile read;
        if (ReadLibraryFile(S->Root, member, buffer, read) != 0) {
            current = false;
            continue;
        }
        if (read.Size != list.front()->MemberSize || read.Time != list.front()->MemberTime)
            current = false;
        std::sort(list.begin(), list.end(),
                  [](const THit* a, const THit* b) { return a->Line < b->Line; });
        std::string_view text = buffer.View();
        size_t pos = 0;
        int line = 1;
        size_t k = 0;
        while (k < list.size() && pos <= text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string_view::npos)
                end = text.size();
            while (k < list.size() && list[k]->Line == line) {
                std::string_view l = text.substr(pos, end - pos);
                if (!l.empty() && l.back() == '\r')
                    l.remove_suffix(1);
                list[k++]->Text = l;
            }
            while (k < list.size() && list[k]->Line < line)
                ++k;
            if (end == text.size())
                break;
            pos = end + 1;
            ++line;
        }
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
            bool sameName = std::any_of(based->Formats.begin(), based->Formats.end(),
                                        [&](const auto& f) { return f.first == format; });
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
