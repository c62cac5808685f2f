#pragma once

#include "StringList.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace orvale {

// Backup names of the two save rules. A program file keeps "." + "~" + the two characters
// after the dot of its extension (A.RPG -> A.~RP); a source member has the first character
// after the dot replaced by "~" (A.RP3 -> A.~P3).
std::string ProgramBackupPath(std::string_view path);
std::string SourceBackupPath(std::string_view path);

// Replaces Path with Content so that a failure never leaves a truncated file: the content is
// written and flushed to a temporary file in the same folder (one without a name where the file
// system offers it, so that a save killed half way leaves nothing behind), then, when BackupPath is
// not empty and Path exists, the old file becomes BackupPath (a second name for it, or a copy where
// the file system has no such names; an older backup is replaced the same way), and finally the
// temporary file is renamed over Path. On any failure the old file and the old backup are left as
// they were and Error names the file and the system's reason. A new file gets Mode (subject to the
// umask); a replaced file keeps the old file's mode.
bool WriteFileSafely(const std::string& path, std::string_view content,
                     const std::string& backupPath = {}, std::string* error = nullptr,
                     unsigned mode = 0666);

// WriteFileSafely with the content given as lines, each followed by CR LF (the text that
// JoinTextLines makes), written without building that text whole in memory.
bool WriteLinesSafely(const std::string& path, const StringList& lines,
                      const std::string& backupPath = {}, std::string* error = nullptr,
                      unsigned mode = 0666);

// The replacement of a file whose content comes in pieces, for a content too large to be held
// twice: what is written goes to a temporary file next to Path at once (a quarter megabyte at a
// time), and Commit puts it in place as WriteFileSafely does, backup included. A writer dropped
// without a successful Commit removes its temporary file and leaves Path and the backup as they
// were. The mode is the replaced file's (with KeepMode) or Mode subject to the umask.
class SafeFileWriter {
public:
    explicit SafeFileWriter(std::string path, unsigned mode = 0666, bool keepMode = true);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Both return false once a write has failed; the failure is reported by Commit.
    bool Write(std::string_view content);
    // Each line followed by CR LF.
    bool WriteLines(const StringList& lines) { return WriteLines(lines, 0, lines.size()); }
    // Lines First to End (exclusive) of Lines.
    bool WriteLines(const StringList& lines, size_t first, size_t end);
    // One line, followed by CR LF.
    bool WriteLine(std::string_view line);
    // Text gathered with what comes next, for a line made of pieces (its CR LF included).
    bool Add(std::string_view text);
    // False with Error naming the file and the system's reason.
    bool Commit(const std::string& backupPath, std::string* error);

    // Called before the first write: what is written is compared with the file it replaces
    // instead of being written, for as long as the two are the same. When they are the same
    // to the end, Commit leaves that file and its backup as they are (Unchanged then says so);
    // at the first difference the part found the same is copied from the old file and the
    // writing goes on as usual. A save that changes nothing then costs a read, not the write
    // of a file that may be hundreds of megabytes and its wait for the disk.
    void KeepIfUnchanged();
    bool Unchanged() const { return SameAsOld; }

private:
    void OpenTemporary();
    bool NameTemporary();
    bool Put(std::string_view content);
    bool Compare(std::string_view content);
    void StopComparing();
    void Discard();

    std::string Path;
    std::string Temporary; // the temporary file's name; empty while it has none
    std::string Buffer;
    int Fd = -1;
    int Failure = 0;    // the first error number met
    size_t Written = 0; // bytes written so far
    size_t Started = 0; // bytes the disk has been asked to write out
    unsigned Mode = 0;
    bool Exists = false;
    int Old = -1;         // the file replaced, while what is written is compared with it
    std::string OldPiece; // the part of it compared last
    bool SameAsOld = false;
};

// Saves use an unnamed temporary file where the file system offers one (the default). Turned
// off, every save uses a named one, as on file systems without them.
void SetUnnamedTemporaries(bool allowed);

// Copies From to To through a temporary file and a rename (the target is replaced whole).
bool CopyFileSafely(const std::string& from, const std::string& to, std::string* error = nullptr);

} // namespace orvale
