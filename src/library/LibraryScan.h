#pragma once

// The walk of a library folder: every file below it, searched recursively, symbolic links
// followed (a folder reached twice, as a link loop does, is walked once), with its size and
// time. What cannot be walked or read is skipped and listed with the reason; the walk never
// writes anything.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::library {

struct TScannedFile {
    std::string Path; // relative to the library, "/" between folders
    std::uint64_t Size = 0;
    std::int64_t Time = 0; // modification time in nanoseconds
};

struct TSkippedPath {
    std::string Path; // relative to the library
    std::string Reason;
};

struct TLibraryScan {
    std::vector<TScannedFile> Files; // sorted by path
    std::vector<TSkippedPath> Skipped;
    // The folders walked ("" the library itself) with their times: a folder's time changes
    // when a file is added to it, removed from it or renamed in it.
    std::vector<TScannedFile> Folders;
};

// The modification time of a path (a folder or a file) in nanoseconds, following links; -1
// when it cannot be told.
std::int64_t PathTime(const std::string& path);

// Walks the folder Root. False with Error when Root itself is no folder that can be read.
// Without Times the files' sizes and times are left 0 (a search needs none of them).
bool ScanLibrary(const std::string& root, TLibraryScan& scan, std::string& error,
                 bool times = true);

// The absolute, canonical form of a library folder (links resolved), or empty with Error.
std::string CanonicalLibrary(const std::string& root, std::string& error);

// A buffer of file bytes that grows without clearing what it will be read into.
class TFileBuffer {
public:
    char* Reserve(size_t size);
    void SetSize(size_t size) { Size_ = size; }
    std::string_view View() const { return {Data.get(), Size_}; }
    size_t Size() const { return Size_; }

private:
    std::unique_ptr<char[]> Data;
    size_t Capacity = 0;
    size_t Size_ = 0;
};

// Reads the file Path of the library into Text with the size and time of what was read. A
// file that changes while it is read is read again. Returns 0 on success, else the errno of
// the failure (ENOENT when the file went away meanwhile, EFBIG when it is too large to read).
int ReadLibraryFile(const std::string& root, const std::string& path, TFileBuffer& text,
                    TScannedFile& read);

// The largest file a library member may be.
inline constexpr std::uint64_t kMaxMemberBytes = 256ull << 20;

} // namespace orvale::library
