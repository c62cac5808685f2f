// library index | members | find | where-used: the library of members for scripts. A library
// is a folder of members; its index lives in the user's cache folder and is brought up to
// date before each command that reads it.

#include "Commands.h"
#include "JsonText.h"

#include "library/LibraryFind.h"
#include "library/LibraryIndex.h"

#include <CLI/CLI.hpp>

#include <ctime>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace orvale::cli {

namespace {

using namespace orvale::library;

constexpr const char* LibraryHelp =
    "The library of members: a folder of source members as a host export lays them out (one "
    "folder per source file, MEMBER.TYPE files, or members whose type their content tells). "
    "Its index is kept in the user's cache folder, never in the library folder.";

constexpr const char* IndexHelp =
    "Builds the index of the library DIR, or brings it up to date (only members whose size or "
    "time changed are read again), and prints the members by kind, the files skipped with the "
    "reason and the /COPY members the library does not hold. Exits 0 when the index is up to "
    "date, 2 with a one-line message when it cannot be made.";

constexpr const char* MembersHelp =
    "Lists the members of the library DIR: path, source file, member, type, kind, lines, "
    "changed and text, one a line (tab-separated), or one JSON object a line with --json. The "
    "index is built when there is none and brought up to date when files were added, removed "
    "or renamed (after editing members in place, run library index). Exits 0 when there are "
    "members, 1 when there are none, 2 on bad input.";

constexpr const char* FindHelp =
    "Prints every line of the library's members that holds TEXT, as a plain search of the "
    "files finds it: member:line:text, or one JSON object a line with --json. Exits 0 with "
    "hits, 1 with none, 2 on bad input.";

constexpr const char* WhereUsedHelp =
    "Prints every member and line that defines or uses NAME (a file, record format, field, "
    "subroutine, program, data area, copy member, key or parameter list) with its role: "
    "declares, defines, calls, copies, reads, changes, updates, writes, deletes or uses. A file "
    "brings in the uses of its record formats. NAME may be FILE,MEMBER for the /COPY of that "
    "source file's member. The answer comes from the index, which is built when there is none "
    "and brought up to date when files were added, removed or renamed or a member of the answer "
    "changed. Exits 0 with hits, 1 with none, 2 on bad input.";

int Fail(const std::string& message) {
    std::cerr << "orvale-cli: " << message << '\n';
    return Failure;
}

// The progress of a build as one line on a terminal's standard error.
class ProgressLine : public IndexProgress {
public:
    ProgressLine() : Shown(::isatty(STDERR_FILENO)) {}
    ~ProgressLine() override { Finish(); }
    void Progress(size_t done, size_t total) override {
        if (!Shown || total == 0)
            return;
        int percent = static_cast<int>(100 * done / total);
        if (percent == Percent)
            return;
        Percent = percent;
        std::cerr << "\rindexing " << done << " of " << total << " members (" << percent << "%)"
                  << std::flush;
    }
    void Finish() {
        if (Shown && Percent >= 0)
            std::cerr << "\r\033[K" << std::flush;
        Percent = -1;
    }

private:
    bool Shown;
    int Percent = -1;
};

// Opens and refreshes the index of Dir; false (with the message shown) when it cannot.
bool OpenIndex(LibraryIndex& index, const std::string& dir, TRefreshReport& report) {
    std::string error;
    if (!index.Open(dir, error)) {
        Fail(error);
        return false;
    }
    ProgressLine progress;
    bool ok = index.Refresh(report, error, &progress);
    progress.Finish();
    for (const std::string& notice : index.TakeNotices())
        std::cerr << "orvale-cli: " << notice << '\n';
    if (!ok)
        Fail(error);
    return ok;
}

// Opens the index of Dir for a query: built when there is none, refreshed when a folder of
// the library changed (files added, removed or renamed).
bool OpenIndexForQuery(LibraryIndex& index, const std::string& dir) {
    std::string error;
    if (!index.Open(dir, error)) {
        Fail(error);
        return false;
    }
    if (index.Ready() && index.FoldersCurrent())
        return true;
    TRefreshReport report;
    return OpenIndex(index, dir, report);
}

std::string ChangedText(std::int64_t nanoseconds) {
    std::time_t seconds = static_cast<std::time_t>(nanoseconds / 1000000000LL);
    std::tm tm{};
    ::localtime_r(&seconds, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

struct IndexArgs {
    std::string Dir;
    bool Json = false;
};

int RunIndex(const IndexArgs& a) {
    LibraryIndex index;
    TRefreshReport report;
    if (!OpenIndex(index, a.Dir, report))
        return Failure;
    // The /COPY directives that name no member of the library, by what they name.
    struct Unresolved {
        size_t Count = 0;
        std::string First;
    };
    std::map<std::string, Unresolved> unresolved;
    for (const TCopyLink& link : index.Copies()) {
        if (!link.Target.empty())
            continue;
        const TCopyDirective& d = link.Directive;
        std::string named = (d.Library.empty() ? "" : d.Library + "/") +
                            (d.File.empty() ? "" : d.File + ",") + d.Member;
        Unresolved& u = unresolved[named];
        if (u.Count++ == 0)
            u.First = link.Member + ":" + std::to_string(d.Line);
    }
    if (a.Json) {
        JsonObject o;
        o.Add("members", report.Members);
        o.Add("lines", report.Lines);
        o.Add("read", report.Read);
        o.Add("removed", report.Removed);
        o.Add("built", report.Built);
        JsonObject kinds;
        for (size_t k = 0; k < report.ByKind.size(); ++k)
            kinds.Add(MemberKindText(static_cast<MemberKind>(k)), report.ByKind[k]);
        o.AddRaw("kinds", kinds.Text());
        std::vector<std::string> skipped;
        for (const TSkippedPath& s : report.Skipped) {
            JsonObject item;
            item.Add("path", s.Path);
            item.Add("reason", s.Reason);
            skipped.push_back(item.Text());
        }
        o.AddRaw("skipped", JsonArray(skipped));
        std::vector<std::string> copies;
        for (const auto& [named, u] : unresolved) {
            JsonObject item;
            item.Add("copy", named);
            item.Add("directives", u.Count);
            item.Add("first", u.First);
            copies.push_back(item.Text());
        }
        o.AddRaw("unresolved", JsonArray(copies));
        o.Add("index", index.IndexPath());
        std::cout << o.Text() << '\n';
        return Success;
    }
    std::cout << report.Members << " members, " << report.Lines << " lines:";
    for (size_t k = 0; k < report.ByKind.size(); ++k)
        std::cout << (k ? ", " : " ") << report.ByKind[k] << ' '
                  << MemberKindText(static_cast<MemberKind>(k));
    std::cout << '\n'
              << (report.Built ? "built: " : "refreshed: ") << report.Read << " read, "
              << report.Removed << " removed; index " << index.IndexPath() << '\n';
    if (!report.Skipped.empty()) {
        std::cout << report.Skipped.size() << " skipped:\n";
        for (const TSkippedPath& s : report.Skipped)
            std::cout << "  " << s.Path << ": " << s.Reason << '\n';
    }
    if (!unresolved.empty()) {
        std::cout << unresolved.size() << " copy members not in the library:\n";
        for (const auto& [named, u] : unresolved)
            std::cout << "  /COPY " << named << ": " << u.Count << " directive"
                      << (u.Count == 1 ? "" : "s") << ", first in " << u.First << '\n';
    }
    return Success;
}

int RunMembers(const IndexArgs& a) {
    LibraryIndex index;
    if (!OpenIndexForQuery(index, a.Dir))
        return Failure;
    std::vector<TMemberInfo> members = index.Members();
    for (const TMemberInfo& m : members) {
        if (a.Json) {
            JsonObject o;
            o.Add("member", m.Path);
            o.Add("source_file", m.SourceFile);
            o.Add("library", m.Library);
            o.Add("name", m.Name);
            o.Add("type", m.Type);
            o.Add("kind", MemberKindText(m.Kind));
            o.Add("lines", static_cast<size_t>(m.Lines));
            o.Add("size", static_cast<size_t>(m.Size));
            o.Add("changed", ChangedText(m.Time));
            o.Add("text", m.Text);
            std::cout << o.Text() << '\n';
        } else {
            std::cout << m.Path << '\t' << m.SourceFile << '\t' << m.Name << '\t' << m.Type << '\t'
                      << MemberKindText(m.Kind) << '\t' << m.Lines << '\t' << ChangedText(m.Time)
                      << '\t' << m.Text << '\n';
        }
    }
    return members.empty() ? Findings : Success;
}

struct FindArgs {
    std::string Dir, Text, Columns;
    bool IgnoreCase = false, Word = false, Json = false;
    std::vector<std::string> Types;
};

// "FROM-TO" into the options; false when it is not two columns in order.
bool ParseColumns(const std::string& text, TFindOptions& o) {
    size_t dash = text.find('-');
    if (dash == std::string::npos || dash == 0 || dash + 1 == text.size())
        return false;
    try {
        size_t used = 0;
        o.FromColumn = std::stoi(text.substr(0, dash), &used);
        if (used != dash)
            return false;
        o.ToColumn = std::stoi(text.substr(dash + 1), &used);
        if (used != text.size() - dash - 1)
            return false;
    } catch (...) {
        return false;
    }
    return o.FromColumn >= 1 && o.ToColumn >= o.FromColumn;
}

int RunFind(const FindArgs& a) {
    TFindOptions o;
    o.Text = a.Text;
    o.IgnoreCase = a.IgnoreCase;
    o.Word = a.Word;
    o.Types = a.Types;
    if (!a.Columns.empty() && !ParseColumns(a.Columns, o))
        return Fail("--columns " + a.Columns + ": not FROM-TO with 1 <= FROM <= TO");
    std::string error;
    std::string root = CanonicalLibrary(a.Dir, error);
    if (root.empty())
        return Fail(error);
    TFindSummary summary;
    std::string out;
    bool ok = FindInLibrary(
        root, o,
        [&](const std::string& member, std::vector<TFindHit>& hits) {
            for (const TFindHit& h : hits) {
                if (a.Json) {
                    JsonObject j;
                    j.Add("member", member);
                    j.Add("line", static_cast<size_t>(h.Line));
                    j.Add("column", static_cast<size_t>(h.Column));
                    j.Add("role", "contains");
                    j.Add("text", h.Text);
                    out += j.Text();
                } else {
                    out += member;
                    out += ':';
                    out += std::to_string(h.Line);
                    out += ':';
                    out += h.Text;
                }
                out += '\n';
            }
            if (out.size() > (1 << 16)) {
                std::cout << out;
                out.clear();
            }
            return true;
        },
        summary, error);
    std::cout << out << std::flush;
    if (!ok)
        return Fail(error);
    if (::isatty(STDERR_FILENO))
        std::cerr << summary.Hits << " lines in " << summary.WithHits << " of " << summary.Searched
                  << " members\n";
    return summary.Hits > 0 ? Success : Findings;
}

struct WhereUsedArgs {
    std::string Dir, Name, Kind;
    bool Json = false;
};

int RunWhereUsed(const WhereUsedArgs& a) {
    NameKind kind = NameKind::Field;
    if (!a.Kind.empty() && !ParseNameKind(a.Kind, kind))
        return Fail("--kind " + a.Kind +
                    ": not file, format, field, subroutine, program, dataarea, copy, klist or "
                    "plist");
    if (a.Name.empty() || a.Name.find_first_of(" \t\r\n") != std::string::npos)
        return Fail("'" + a.Name + "': not a name");
    LibraryIndex index;
    if (!OpenIndexForQuery(index, a.Dir))
        return Failure;
    const NameKind* wanted = a.Kind.empty() ? nullptr : &kind;
    std::vector<THit> hits = index.WhereUsed(a.Name, wanted);
    if (!index.FillTexts(hits)) {
        // A member of the answer changed since the index was made: bring it up to date.
        TRefreshReport report;
        if (!OpenIndex(index, a.Dir, report))
            return Failure;
        hits = index.WhereUsed(a.Name, wanted);
        index.FillTexts(hits);
    }
    std::string out;
    for (const THit& h : hits) {
        std::string_view op = OperationText(h.Op);
        std::string via = CallViaText(h.Via);
        if (a.Json) {
            JsonObject j;
            j.Add("member", h.Member);
            j.Add("line", static_cast<size_t>(h.Line));
            j.Add("role", RoleText(h.Role));
            j.Add("kind", NameKindText(h.Kind));
            j.Add("name", h.Name);
            if (!op.empty())
                j.Add("op", std::string(op));
            if (!via.empty())
                j.Add("via", via);
            j.Add("text", h.Text);
            out += j.Text();
        } else {
            out += h.Member + ":" + std::to_string(h.Line) + ": " + RoleText(h.Role) + " " +
                   NameKindText(h.Kind) + " " + h.Name;
            if (!op.empty())
                out += " (" + std::string(op) + (via.empty() ? "" : ", " + via) + ")";
            out += ": " + h.Text;
        }
        out += '\n';
    }
    std::cout << out << std::flush;
    return hits.empty() ? Findings : Success;
}

} // namespace

void AddLibraryCommands(CLI::App& app, int& status) {
    auto* library = app.add_subcommand("library", LibraryHelp);
    library->require_subcommand(1);

    auto index = std::make_shared<IndexArgs>();
    auto* indexCommand = library->add_subcommand("index", IndexHelp);
    indexCommand->add_option("DIR", index->Dir, "The library folder")->required();
    indexCommand->add_flag("--json", index->Json, "One JSON object instead of text");
    indexCommand->callback([index, &status] { status = RunIndex(*index); });

    auto members = std::make_shared<IndexArgs>();
    auto* membersCommand = library->add_subcommand("members", MembersHelp);
    membersCommand->add_option("DIR", members->Dir, "The library folder")->required();
    membersCommand->add_flag("--json", members->Json, "One JSON object a member");
    membersCommand->callback([members, &status] { status = RunMembers(*members); });

    auto find = std::make_shared<FindArgs>();
    auto* findCommand = library->add_subcommand("find", FindHelp);
    findCommand->add_option("DIR", find->Dir, "The library folder")->required();
    findCommand->add_option("TEXT", find->Text, "The text to find")->required();
    findCommand->add_flag("-i,--ignore-case", find->IgnoreCase, "Capitals and small letters alike");
    findCommand->add_flag("-w,--word", find->Word, "The text as a whole word only");
    findCommand->add_option("--columns", find->Columns,
                            "FROM-TO: the text must stand within these columns");
    findCommand->add_option("--type", find->Types,
                            "A member type to search (* and ? as wildcards); may be repeated");
    findCommand->add_flag("--json", find->Json, "One JSON object a line");
    findCommand->callback([find, &status] { status = RunFind(*find); });

    auto where = std::make_shared<WhereUsedArgs>();
    auto* whereCommand = library->add_subcommand("where-used", WhereUsedHelp);
    whereCommand->add_option("DIR", where->Dir, "The library folder")->required();
    whereCommand->add_option("NAME", where->Name, "The name, or FILE,MEMBER of a copy member")
        ->required();
    whereCommand->add_option("--kind", where->Kind,
                             "file, format, field, subroutine, program, dataarea, copy, klist "
                             "or plist");
    whereCommand->add_flag("--json", where->Json, "One JSON object a line");
    whereCommand->callback([where, &status] { status = RunWhereUsed(*where); });
}

} // namespace orvale::cli
