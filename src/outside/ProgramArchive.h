#pragma once

// The program archive without a window: the program files of a folder together with the
// backups that saving leaves beside them (A.RPG keeps A.~RP), and the exchange of a program
// with its backup.

#include "platform/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace caddis {

struct TArchiveFile {
    std::string Path;
    std::string Name;
    std::int64_t Size = 0;
    orvale::DateTime Modified;
};

// A program and its backup. An entry may lack either: a backup whose program was deleted is
// listed too, so that it can be brought back.
struct TArchiveEntry {
    bool HasProgram = false;
    TArchiveFile Program; // its Path is the program's path even when it is missing
    bool HasBackup = false;
    TArchiveFile Backup;
};

// The entries of Folder sorted by program name. Program files have the extension ".RPG" in any
// case; a backup is found by the saving rule of its program's name.
std::vector<TArchiveEntry> ScanArchive(const std::string& folder);

// Makes the backup the program and the program the backup, so nothing is lost; a missing
// program simply gets the backup's content back. False with Error when a rename fails, with
// both files as they were.
bool ExchangeWithBackup(const TArchiveEntry& entry, std::string* error = nullptr);

} // namespace caddis
