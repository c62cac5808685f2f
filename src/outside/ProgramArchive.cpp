#include "outside/ProgramArchive.h"

#include "document/ParseString.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace caddis {

namespace {

bool Describe(const std::string& path, TArchiveFile& file) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    file.Path = path;
    file.Name = orvale::ExtractFileName(path);
    file.Size = static_cast<std::int64_t>(st.st_size);
    std::tm local{};
    ::localtime_r(&st.st_mtime, &local);
    file.Modified = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
    return true;
}

// The program a backup belongs to: A.~RP gives A.RP? with the backup's case. Only the
// backups of program files are archive entries.
bool ProgramOfBackup(const std::string& backup, std::string& program) {
    std::string ext = orvale::ExtractFileExt(backup);
    if (ext.size() != 4 || ext[1] != '~' || !SameText(ext.substr(2), "RP"))
        return false;
    bool lower = ext[2] == 'r';
    program = orvale::ChangeFileExt(backup, lower ? ".rpg" : ".RPG");
    return true;
}

bool Rename(const std::string& from, const std::string& to, std::string* error) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    if (error)
        *error = from + ": " + std::strerror(errno);
    return false;
}

} // namespace

std::vector<TArchiveEntry> ScanArchive(const std::string& folder) {
    std::map<std::string, TArchiveEntry> byProgram;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::string path = it->path().string();
        std::string program;
        if (SameText(orvale::ExtractFileExt(path), ".RPG")) {
            TArchiveEntry& entry = byProgram[path];
            entry.HasProgram = Describe(path, entry.Program);
            entry.Program.Path = path;
            entry.Program.Name = orvale::ExtractFileName(path);
            std::string backup = orvale::ProgramBackupPath(path);
            entry.HasBackup = Describe(backup, entry.Backup);
        } else if (ProgramOfBackup(path, program) && !orvale::FileExists(program)) {
            TArchiveEntry& entry = byProgram[program];
            entry.Program.Path = program;
            entry.Program.Name = orvale::ExtractFileName(program);
            entry.HasBackup = Describe(path, entry.Backup);
        }
    }
    std::vector<TArchiveEntry> entries;
    for (auto& [path, entry] : byProgram)
        if (entry.HasProgram || entry.HasBackup)
            entries.push_back(std::move(entry));
    return entries;
}

bool ExchangeWithBackup(const TArchiveEntry& entry, std::string* error) {
    if (!entry.HasBackup) {
        if (error)
            *error = entry.Program.Path + ": the program has no backup";
        return false;
    }
    const std::string& program = entry.Program.Path;
    const std::string& backup = entry.Backup.Path;
    if (!entry.HasProgram)
        return orvale::CopyFileSafely(backup, program, error);
    std::string parked = program + ".exchange";
    if (!Rename(program, parked, error))
        return false;
    if (!Rename(backup, program, error)) {
        std::rename(parked.c_str(), program.c_str());
        return false;
    }
    if (!Rename(parked, backup, error)) {
        std::rename(program.c_str(), backup.c_str());
        std::rename(parked.c_str(), program.c_str());
        return false;
    }
    return true;
}

} // namespace caddis
