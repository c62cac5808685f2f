// The two areas behind the tree part of a program file: the compiled area, which keeps each
// section's fixed-column lines between sessions, and the line-origin area, which keeps the
// member line each statement was imported from:
//
//   [Begin Of Line Origins, Version 2]
//   one block per section, in tree order:
//     [Name]
//     [N]              1 + the number of the section's text lines
//     the separator of an array's data, then one entry per text line: "-" for none, or
//     the member line's index, a blank, 16 hex digits of the statement's hash, a blank and
//     the member line as it was read
//
// A program imported from a dated member writes Version 3, whose entries hold the host's record
// between the hash and the member line: its 12 digits (sequence number and date) or "-" for a
// line without one, then a blank. Every other program writes Version 2, as before, which
// readers of the second version take as they always did.
//     [End Of Sec]
//     (empty)
//   [End Of Line Origins]
//
// A file without the origin area (written before it, or a program never imported) reads as a
// program without origins, and is written back without one. The first version of the area had
// the same blocks under a start marker without a version, which a reader of that version alone
// requires: it passes over an area of any later version, as this reader passes over one later
// than its own, so that a version may add what it needs to the entries.

#include "ProgramFile.h"

#include "EditProgram.h"

#include "platform/SafeSave.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

using orvale::Diagnostics;

namespace {

std::string_view LineAt(const StringList& src, int i) {
    return i >= 0 && i < static_cast<int>(src.size())
               ? std::string_view(src[static_cast<size_t>(i)])
               : std::string_view();
}

} // namespace

// -- Compiled area

void WriteCompiledArea(TEDITProgram& program, ProgramTextWriter& out) {
    out.Add({});
    out.Add(kBeginOfCompiled);
    program.ForEachNode([&](TreeNode* n) {
        if (const TEDITSection* s = n->Section()) {
            out.Add("[" + s->Properties.Name + "]");
            if (s->CompiledValid) {
                out.Add("[" + std::to_string(s->CompiledCount()) + "]");
                out.AddTexts(s->Compiled());
            } else {
                // A cache that no longer matches the text is not worth keeping.
                out.Add("[0]");
            }
            out.Add(kEndOfSection);
            out.Add({});
            out.Flush();
        }
        return true;
    });
    out.Add(kEndOfCompiled);
}

void ReadCompiledArea(TEDITProgram& program, StringList& lines, int start, bool take,
                      Diagnostics& found) {
    const int count = static_cast<int>(lines.size());
    if (start < 0 || start >= count)
        return;
    auto exists = [&](int i) { return i >= 0 && i < count; };
    auto line = [&](int i) { return LineAt(lines, i); };
    int i = start;
    if (line(start) != kBeginOfCompiled) {
        found.Error(kWrongFormatError);
    } else {
        // Name look-up ignoring case, built once: the tree does not change while the area is
        // read. The area holds one block per section in tree order, so when several sections
        // share a name (two output groups of one file) their blocks go to them in turn;
        // giving every block to the last of them would double its lines in the next build.
        // A block beyond the sections of its name goes to the last one.
        struct Named {
            std::vector<TEDITSection*> Sections;
            size_t Blocks = 0; // blocks of this name read so far
        };
        std::unordered_map<std::string, Named> byName;
        program.ForEachNode([&](TreeNode* n) {
            if (TEDITSection* s = n->Section())
                byName[UpperCase(n->Text)].Sections.push_back(s);
            return true;
        });
        auto next = [&](std::string_view blockName) -> TEDITSection* {
            auto named = byName.find(UpperCase(BracketValue(blockName)));
            if (named == byName.end())
                return nullptr;
            Named& n = named->second;
            size_t k = std::min(n.Blocks++, n.Sections.size() - 1);
            return n.Sections[k];
        };
        i = start + 1;
        while (exists(i) && line(i) != kEndOfCompiled) {
            if (line(i + 2) == kEndOfSection) {
                next(line(i));
                i += 4;
                continue;
            }
            TEDITSection* section = next(line(i));
            if (!section) {
                found.Warning(kCorruptedFileWarning);
                break;
            }
            // As with the sections' text, the lines of a file text that is dropped are moved.
            int after = ReadCompiledFromLines(*section, lines, i + 1, take, found);
            if (after < 0)
                return; // the count did not match; that has been said
            i = after;
        }
    }
    if (!exists(i) || line(i) != kEndOfCompiled)
        found.Warning(kCorruptedFileWarning);
}

// -- Origin area

namespace {

// The head of an entry with an origin: the member line's index and the statement's hash, each
// followed by a blank. Head must hold 40 characters.
// With Record (an entry of the dated version), the record follows. Head must hold 56 characters.
size_t EntryHead(const LineOrigin& origin, const HostRecord* record, char* head) {
    char* end = std::to_chars(head, head + 20, origin.Ordinal).ptr;
    *end++ = ' ';
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int k = 0; k < 16; ++k)
        *end++ = kDigits[(origin.Statement >> (60 - 4 * k)) & 15];
    *end++ = ' ';
    if (record) {
        if (record->Has()) {
            end = PutHostRecord(end, *record);
        } else {
            *end++ = '-';
        }
        *end++ = ' ';
    }
    return static_cast<size_t>(end - head);
}

std::string Entry(const LineOrigin& origin, const HostRecord* record) {
    if (!origin.Has())
        return "-";
    char head[56];
    std::string entry(head, EntryHead(origin, record, head));
    entry += origin.Text;
    return entry;
}

// The entry written straight to the file, without a string of its own.
void PutEntry(orvale::SafeFileWriter& out, const LineOrigin& origin, const HostRecord* record) {
    if (!origin.Has()) {
        out.Add("-\r\n");
        return;
    }
    char head[56];
    out.Add(std::string_view(head, EntryHead(origin, record, head)));
    out.Add(origin.Text);
    out.Add("\r\n");
}

// False for an entry that does not read as one. With Record (an entry of the dated version),
// the record is read after the hash. With Owned (the line of a file text that is dropped, which
// Entry views), the member line is moved out of it rather than copied.
bool ReadEntry(std::string_view entry, LineOrigin& origin, HostRecord* record, std::string* owned) {
    origin = {};
    if (record)
        *record = {};
    if (entry == "-")
        return true;
    int ordinal = -1;
    auto [end, ec] = std::from_chars(entry.data(), entry.data() + entry.size(), ordinal);
    size_t at = static_cast<size_t>(end - entry.data());
    if (ec != std::errc() || ordinal < 0 || at + 18 > entry.size() || entry[at] != ' ' ||
        entry[at + 17] != ' ')
        return false;
    unsigned long long hash = 0;
    auto [hashEnd, hashEc] =
        std::from_chars(entry.data() + at + 1, entry.data() + at + 17, hash, 16);
    if (hashEc != std::errc() || hashEnd != entry.data() + at + 17)
        return false;
    size_t text = at + 18;
    if (record) {
        std::string_view rest = entry.substr(text);
        if (rest.starts_with("- "))
            text += 2;
        else if (rest.size() > kRecordWidth && rest[kRecordWidth] == ' ' &&
                 ReadHostRecord(rest, *record))
            text += kRecordWidth + 1;
        else
            return false;
    }
    origin.Ordinal = ordinal;
    origin.Statement = hash;
    if (owned) {
        owned->erase(0, text);
        origin.Text = std::move(*owned);
    } else {
        origin.Text.assign(entry.substr(text));
    }
    return true;
}

bool HasOrigins(const TEDITSection& s) {
    return s.HeadOrigin.Has() || s.TracksOrigins();
}

// The version of an origin area's start marker: 1 for the marker without one, 0 for a line
// that is no such marker.
int OriginsVersion(std::string_view line) {
    if (line == kBeginOfOrigins)
        return 1;
    constexpr std::string_view head = "[Begin Of Line Origins, Version ";
    if (!line.starts_with(head) || !line.ends_with("]"))
        return 0;
    std::string_view digits = line.substr(head.size(), line.size() - head.size() - 1);
    int version = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), version);
    if (ec != std::errc() || end != digits.data() + digits.size() || version < 2)
        return 0;
    return version;
}

} // namespace

void WriteOriginArea(TEDITProgram& program, ProgramTextWriter& out, bool compiledAreaWritten) {
    bool any = program.Dated;
    program.ForEachNode([&](TreeNode* n) {
        const TEDITSection* s = n->Section();
        any = any || (s && HasOrigins(*s));
        return !any;
    });
    if (!any)
        return;
    if (!compiledAreaWritten) {
        // An empty compiled area first, so that a reader of the compiled area finds it.
        out.Add({});
        out.Add(kBeginOfCompiled);
        out.Add(kEndOfCompiled);
    }
    const bool dated = program.Dated;
    out.Add(OriginsMarker(dated ? kDatedOriginsVersion : kPlainOriginsVersion));
    program.ForEachNode([&](TreeNode* n) {
        const TEDITSection* s = n->Section();
        if (!s)
            return true;
        const HostRecord* head = dated ? &s->HeadRecord() : nullptr;
        auto record = [&](const SectionLine& line, HostRecord& r) -> const HostRecord* {
            r = line.Record();
            return dated ? &r : nullptr;
        };
        HostRecord r;
        out.Add("[" + s->Properties.Name + "]");
        bool tracked = s->TracksOrigins();
        out.Add("[" + std::to_string(1 + (tracked ? s->Lines().size() : 0)) + "]");
        if (orvale::SafeFileWriter* file = out.File()) {
            out.Flush();
            PutEntry(*file, s->HeadOrigin, head);
            if (tracked)
                for (const SectionLine& line : s->Lines())
                    PutEntry(*file, line.Origin, record(line, r));
            out.Skip(1 + (tracked ? s->Lines().size() : 0));
        } else {
            out.Add(Entry(s->HeadOrigin, head));
            if (tracked)
                for (const SectionLine& line : s->Lines())
                    out.Add(Entry(line.Origin, record(line, r)));
        }
        out.Add(kEndOfSection);
        out.Add({});
        out.Flush();
        return true;
    });
    out.Add(kEndOfOrigins);
}

int PassCompiledArea(StringList& lines, int start, bool giveUp) {
    const int count = static_cast<int>(lines.size());
    auto line = [&](int i) { return LineAt(lines, i); };
    if (line(start) != kBeginOfCompiled)
        return -1;
    int i = start + 1;
    while (i < count && line(i) != kEndOfCompiled) {
        int compiled = BracketNumber(line(i + 1));
        if (compiled < 0 || line(i + 2 + compiled) != kEndOfSection)
            return -1;
        // A second pass (the tree's reader gave them up already) finds them empty.
        if (giveUp)
            for (int k = i + 2; k < i + 2 + compiled; ++k)
                if (!lines[static_cast<size_t>(k)].empty())
                    std::string().swap(lines[static_cast<size_t>(k)]);
        i += 4 + compiled;
    }
    return i;
}

void ReadOriginArea(TEDITProgram& program, StringList& lines, int start, bool take,
                    Diagnostics& found) {
    auto line = [&](int i) { return LineAt(lines, i); };
    // Past the compiled area, block by block (its lines may have been moved out already). A
    // file text that is dropped gives up the compiled lines here (those the compiled area's
    // reader did not take): their memory then holds the origins instead of adding to it.
    int i = PassCompiledArea(lines, start, take);
    if (i < 0)
        return; // no compiled area, or a damaged one, reported by its reader
    int version = OriginsVersion(line(i + 1));
    if (version == 0)
        return;
    if (version > kOriginsVersion) {
        found.Warning(kNewerOriginsWarning);
        return;
    }
    i += 2;
    const bool dated = version >= kDatedOriginsVersion;
    program.Dated = dated;
    bool damaged = false;
    program.ForEachNode([&](TreeNode* n) {
        TEDITSection* s = n->Section();
        if (!s)
            return true;
        if (!SameText(BracketValue(line(i)), s->Properties.Name)) {
            damaged = true;
            return false;
        }
        int entries = BracketNumber(line(i + 1));
        if (entries < 1 || line(i + 2 + entries) != kEndOfSection) {
            damaged = true;
            return false;
        }
        // As with the compiled lines, the lines of a file text that is dropped are moved.
        auto entry = [&](int at, LineOrigin& origin, HostRecord* record) {
            std::string* owned = take ? &lines[static_cast<size_t>(at)] : nullptr;
            return ReadEntry(line(at), origin, dated ? record : nullptr, owned);
        };
        std::vector<LineOrigin> origins(static_cast<size_t>(entries - 1));
        std::vector<HostRecord> records(dated ? origins.size() : 0);
        HostRecord headRecord;
        bool read = entry(i + 2, s->HeadOrigin, &headRecord);
        for (int k = 1; k < entries && read; ++k)
            read = entry(i + 2 + k, origins[static_cast<size_t>(k - 1)],
                         dated ? &records[static_cast<size_t>(k - 1)] : nullptr);
        if (!read || (entries > 1 && entries - 1 != s->LinesCount())) {
            // Origins that do not fit the text would give its lines another line's columns.
            s->HeadOrigin = {};
            damaged = true;
        } else {
            s->SetHeadRecord(headRecord);
            if (entries > 1)
                s->SetOrigins(std::move(origins));
            for (size_t k = 0; k < records.size(); ++k)
                s->SetRecord(static_cast<int>(k), records[k]);
        }
        i += 4 + entries;
        return true;
    });
    if (damaged || line(i) != kEndOfOrigins)
        found.Warning(kCorruptedFileWarning);
}
