// The fields of an externally described file, from the data descriptions the index holds:
// each record format's own fields and those it takes from the files it refers to.

#include "library/IndexStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <optional>

namespace orvale::library {

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
