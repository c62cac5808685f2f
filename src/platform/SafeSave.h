#pragma once

#include "StringList.h"

#include <string>
#include <string_view>

namespace orvale {

// Backup names of the two save rules. A program file keeps "." + "~" + the two characters
// after the dot of its extension (A.RPG -> A.~RP); a source member has the first character
// after the dot replaced by "~" (A.RP3 -> A.~P3).
std::string ProgramBackupPath(std::string_view path);
std::string SourceBackupPath(std::string_view path);

// Replaces Path with Content so that a failure never leaves a truncated file: the content is
// written and flushed to a temporary file in the same folder, then, when BackupPath is not
// empty and Path exists, the old file becomes BackupPath (a second name for it, or a copy where
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

// Copies From to To through a temporary file and a rename (the target is replaced whole).
bool CopyFileSafely(const std::string& from, const std::string& to, std::string* error = nullptr);

} // namespace orvale
