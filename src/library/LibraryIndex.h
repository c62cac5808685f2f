#pragma once

// The index of a library: every member with its source file, name, type, kind, text, lines,
// size and time, and every definition and use of a name in a member with its line and role,
// kept in an SQLite database under the user's cache folder (never in the library folder, which
// may be read-only or a host share). The first build reads the members on every core; a
// refresh reads again only the members whose size or time changed and drops those that are
// gone. A damaged index, one written by another version or one another Orvale holds while it
// updates it is built again, with a notice that says so.

#include "library/LibraryScan.h"
#include "library/MemberAnalysis.h"
#include "library/MemberFacts.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::library {

// What a build tells while it runs: the members read out of those to read. Cancelled may stop
// it; the index then keeps what it held before.
class IndexProgress {
public:
    virtual ~IndexProgress() = default;
    virtual void Progress(size_t done, size_t total) = 0;
    virtual bool Cancelled() { return false; }
};

struct TRefreshReport {
    size_t Members = 0; // in the index afterwards
    size_t Lines = 0;
    size_t Read = 0;    // read, being new or changed
    size_t Removed = 0; // gone from the folder since the last refresh
    std::array<size_t, 5> ByKind{};
    // Files and folders not indexed: unreadable, binary, too large, link loops.
    std::vector<TSkippedPath> Skipped;
    bool Built = false; // made from nothing (first build or rebuild)
};

struct TMemberInfo {
    std::int64_t Id = 0;
    std::string Path;
    std::string SourceFile;
    std::string Library;
    std::string Name;
    std::string Type;
    MemberKind Kind = MemberKind::Other;
    std::string Text;
    int Lines = 0;
    std::uint64_t Size = 0;
    std::int64_t Time = 0;
};

// One line of a member that defines or uses a name.
struct THit {
    std::string Member; // path relative to the library
    int Line = 0;
    std::string Name;
    NameKind Kind = NameKind::Field;
    NameRole Role = NameRole::Uses;
    std::uint8_t Op = 0;
    CallVia Via = CallVia::Name;
    std::string Text; // the line, filled by FillTexts
    // The member's size and time as indexed, and where the line starts in it (0 unknown).
    std::uint64_t MemberSize = 0;
    std::int64_t MemberTime = 0;
    std::uint64_t Offset = 0;
};

// A /COPY directive of a member and the member it names, when the library holds it.
struct TCopyLink {
    std::string Member; // the member that copies
    TCopyDirective Directive;
    std::string Target; // path of the copied member; empty when unresolved
};

// A field of an externally described file, its attributes followed through REF and REFFLD.
struct TFileField {
    std::string File;
    std::string Format;
    std::string Field;
    int Length = 0;
    int Decimals = -1;
    char Type = ' ';
    std::string Member; // the data description that defines the field
    int Line = 0;
};

class LibraryIndex {
public:
    // $XDG_CACHE_HOME/orvale/libraries (~/.cache/... by default): where indexes are kept.
    static std::string DefaultCacheRoot();
    // $XDG_DATA_HOME/orvale/libraries (~/.local/share/... by default): where the programs
    // imported from a library's members are kept.
    static std::string DefaultDataRoot();
    // The version of the index's layout and of the readers that fill it: an index written
    // under another is built again, since what the members hold would be read differently.
    static constexpr int kSchemaVersion = 1;
    static constexpr int kReaderRevision = 1;

    LibraryIndex();
    ~LibraryIndex();
    LibraryIndex(const LibraryIndex&) = delete;
    LibraryIndex& operator=(const LibraryIndex&) = delete;

    // Opens the index of the library folder Root (under CacheRoot, by default the user's).
    // False with Error when Root is not a folder that can be read. The index is made or
    // brought up to date by Refresh.
    bool Open(const std::string& root, std::string& error, const std::string& cacheRoot = {});
    bool IsOpen() const;
    // The library folder, absolute and canonical.
    const std::string& Root() const;
    // The database file in use.
    std::string IndexPath() const;
    // The folder of this library's program files: DataRoot/<the index's folder name>/work.
    std::string WorkFolder(const std::string& dataRoot = {}) const;

    // Brings the index up to date with the folder. False with Error when the index cannot be
    // written or read at all (the cache folder is unusable).
    bool Refresh(TRefreshReport& report, std::string& error, IndexProgress* progress = nullptr);
    // Whether there is an index of this library of this version to query (a refresh ran here
    // or earlier).
    bool Ready();
    // What the last Open or Refresh had to tell: an index rebuilt, in use elsewhere, ...
    std::vector<std::string> TakeNotices();

    std::vector<TMemberInfo> Members();
    std::optional<TMemberInfo> Member(std::string_view path);
    // The members of that name (upper case), in path order.
    std::vector<TMemberInfo> MembersNamed(std::string_view name);

    // Every line that defines or uses Name, of Kind when given, in member and line order. A
    // file brings in the uses of its record formats in the members that declare it; NAME may
    // be "FILE,MEMBER" for the /COPY of that source file's member only.
    std::vector<THit> WhereUsed(std::string_view name, const NameKind* kind = nullptr);
    // The uses of every name in one member (its path), in line order.
    std::vector<THit> UsesIn(std::string_view member);
    // Reads each hit's line from its member; false when a member is no longer as indexed
    // (a refresh and a new query then give the true lines).
    bool FillTexts(std::vector<THit>& hits);
    // Whether no folder of the library changed since the last refresh: no file was added,
    // removed or renamed. A quick check before a query; members edited in place are seen by
    // the next refresh.
    bool FoldersCurrent();

    // The /COPY directives of one member (or of all with an empty path), resolved.
    std::vector<TCopyLink> Copies(std::string_view member = {});
    // The member a /COPY of Member names, by the rule: that member of that source file (and
    // library), else a member of that name in the nearest folder.
    std::optional<TMemberInfo> ResolveCopy(std::string_view member, const TCopyDirective& copy);
    // The fields of the data description of File with their attributes.
    std::vector<TFileField> FieldsOfFile(std::string_view file);

    // The inside, shared by the index's own sources.
    struct State;

private:
    std::unique_ptr<State> S;
};

} // namespace orvale::library
