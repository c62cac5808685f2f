// The line-origin area of a program file: after the compiled area, the member line each
// statement was imported from. A reader that knows only the compiled area stops at its end
// marker and never sees it; a file without it (written before, or a program never imported)
// reads as a program without origins, and is written back without one.
//
//   [Begin Of Line Origins]
//   one block per section, in tree order:
//     [Name]
//     [N]              1 + the number of the section's text lines
//     the separator of an array's data, then one entry per text line: "-" for none, or
//     the member line's index, a blank, 16 hex digits of the statement's hash, a blank and
//     the member line as it was read
//     [End Of Sec]
//     (empty)
//   [End Of Line Origins]

#include "RPGProgram.h"

#include "platform/Prompter.h"
#include "platform/SafeSave.h"

#include <charconv>

namespace {

// The head of an entry with an origin: the member line's index and the statement's hash, each
// followed by a blank. Head must hold 40 characters.
size_t EntryHead(const LineOrigin& origin, char* head) {
    char* end = std::to_chars(head, head + 20, origin.Ordinal).ptr;
    *end++ = ' ';
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int k = 0; k < 16; ++k)
        *end++ = kDigits[(origin.Statement >> (60 - 4 * k)) & 15];
    *end++ = ' ';
    return static_cast<size_t>(end - head);
}

std::string Entry(const LineOrigin& origin) {
    if (!origin.Has())
        return "-";
    char head[40];
    std::string entry(head, EntryHead(origin, head));
    entry += origin.Text;
    return entry;
}

// The entry written straight to the file, without a string of its own.
void PutEntry(orvale::SafeFileWriter& out, const LineOrigin& origin) {
    if (!origin.Has()) {
        out.Add("-\r\n");
        return;
    }
    char head[40];
    out.Add(std::string_view(head, EntryHead(origin, head)));
    out.Add(origin.Text);
    out.Add("\r\n");
}

// False for an entry that does not read as one. With Owned (the line of a file text that is not
// kept, which Entry views), the member line is moved out of it rather than copied.
bool ReadEntry(std::string_view entry, LineOrigin& origin, std::string* owned) {
    origin = {};
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
    origin.Ordinal = ordinal;
    origin.Statement = hash;
    if (owned) {
        owned->erase(0, at + 18);
        origin.Text = std::move(*owned);
    } else {
        origin.Text.assign(entry.substr(at + 18));
    }
    return true;
}

bool HasOrigins(const TEDITSection& s) {
    return s.HeadOrigin.Has() || s.TracksOrigins();
}

} // namespace

void TRPGProgram::WriteOriginBlocks(bool compiledAreaWritten) {
    bool any = false;
    ForEachNode([&](TreeNode* n) {
        const TEDITSection* s = n->Section();
        any = any || (s && HasOrigins(*s));
        return !any;
    });
    if (!any)
        return;
    if (!compiledAreaWritten) {
        // An empty compiled area first, so that a reader of the compiled area finds it.
        SaveLines.emplace_back();
        SaveLines.emplace_back(kBeginOfCompiled);
        SaveLines.emplace_back(kEndOfCompiled);
    }
    SaveLines.emplace_back(kBeginOfOrigins);
    ForEachNode([&](TreeNode* n) {
        const TEDITSection* s = n->Section();
        if (!s)
            return true;
        SaveLines.push_back("[" + s->Properties.Name + "]");
        bool tracked = s->TracksOrigins();
        SaveLines.push_back("[" + std::to_string(1 + (tracked ? s->Lines().size() : 0)) + "]");
        if (orvale::SafeFileWriter* out = SaveWriter()) {
            FlushSaveLines();
            PutEntry(*out, s->HeadOrigin);
            if (tracked)
                for (const SectionLine& line : s->Lines())
                    PutEntry(*out, line.Origin);
        } else {
            SaveLines.push_back(Entry(s->HeadOrigin));
            if (tracked)
                for (const SectionLine& line : s->Lines())
                    SaveLines.push_back(Entry(line.Origin));
        }
        SaveLines.emplace_back(kEndOfSection);
        SaveLines.emplace_back();
        FlushSaveLines();
        return true;
    });
    SaveLines.emplace_back(kEndOfOrigins);
}

void TRPGProgram::ReadOriginBlocks(int start) {
    const int count = static_cast<int>(SourceLines.size());
    auto line = [&](int i) -> std::string_view {
        return i >= 0 && i < count ? std::string_view(SourceLines[static_cast<size_t>(i)])
                                   : std::string_view();
    };
    // Past the compiled area, block by block (its lines may have been moved out already).
    if (line(start) != kBeginOfCompiled)
        return;
    // A file text that is not kept gives up the compiled lines here (those the compiled area's
    // reader did not take): their memory then holds the origins instead of adding to it.
    int i = start + 1;
    while (i < count && line(i) != kEndOfCompiled) {
        int lines = BracketNumber(line(i + 1));
        if (lines < 0 || line(i + 2 + lines) != kEndOfSection)
            return; // a damaged compiled area, reported by its reader
        if (!KeepOpen)
            for (int k = i + 2; k < i + 2 + lines; ++k)
                std::string().swap(SourceLines[static_cast<size_t>(k)]);
        i += 4 + lines;
    }
    if (line(i + 1) != kBeginOfOrigins)
        return;
    i += 2;
    bool damaged = false;
    ForEachNode([&](TreeNode* n) {
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
        // As with the compiled lines, the lines of a file text that is not kept are moved.
        auto entry = [&](int at, LineOrigin& origin) {
            std::string* owned = KeepOpen ? nullptr : &SourceLines[static_cast<size_t>(at)];
            return ReadEntry(line(at), origin, owned);
        };
        std::vector<LineOrigin> origins(static_cast<size_t>(entries - 1));
        bool read = entry(i + 2, s->HeadOrigin);
        for (int k = 1; k < entries && read; ++k)
            read = entry(i + 2 + k, origins[static_cast<size_t>(k - 1)]);
        if (!read || (entries > 1 && entries - 1 != s->LinesCount())) {
            // Origins that do not fit the text would give its lines another line's columns.
            s->HeadOrigin = {};
            damaged = true;
        } else if (entries > 1) {
            s->SetOrigins(std::move(origins));
        }
        i += 4 + entries;
        return true;
    });
    if (damaged || line(i) != kEndOfOrigins)
        Box.Warning(kCorruptedFileWarning);
}
