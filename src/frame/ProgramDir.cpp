#include "frame/ProgramDir.h"

#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// True when both files hold the same bytes; an unreadable file counts as different.
bool SameContent(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::file_size(a, ec) != fs::file_size(b, ec) || ec)
        return false;
    std::string x, y;
    return orvale::ReadFileBytes(a, x) && orvale::ReadFileBytes(b, y) && x == y;
}

bool MakeDir(const std::string& dir, std::string* error) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        if (error)
            *error = dir + ": " + (ec ? ec.message() : std::string("not a directory"));
        return false;
    }
    return true;
}

bool CopyHelpFolder(const std::string& from, const std::string& to, std::string* error) {
    std::error_code ec;
    if (!fs::is_directory(from, ec))
        return true;
    // A fresh program directory has no help folder yet.
    if (!MakeDir(to, error))
        return false;
    for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        std::string target = (fs::path(to) / fs::relative(it->path(), from)).string();
        std::string source = it->path().string();
        if (it->is_directory()) {
            if (!MakeDir(target, error))
                return false;
        } else if (it->is_regular_file() && !SameContent(source, target)) {
            if (!orvale::CopyFileSafely(source, target, error))
                return false;
        }
    }
    if (ec) {
        if (error)
            *error = from + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace

const StringList& DefaultDataFiles() {
    static const StringList files = {"PromptH.PRM", "PromptS.PRM", "AStoPC.xlt", "PCtoAS.xlt"};
    return files;
}

std::string ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return WithSlash(exe.parent_path().string());
}

bool IsWritableDir(const std::string& dir) {
    if (dir.empty())
        return false;
    std::string probe = WithSlash(dir) + ".orvale-write-test-" + std::to_string(::getpid());
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::string UserDataDir(const std::string& xdgDataHome, const std::string& home) {
    // The base directory specification ignores a relative XDG_DATA_HOME.
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/')
        return WithSlash(xdgDataHome) + "orvale/";
    if (!home.empty())
        return WithSlash(home) + ".local/share/orvale/";
    return {};
}

std::string UserDataDir() {
    return UserDataDir(Env("XDG_DATA_HOME"), Env("HOME"));
}

bool SeedProgramDir(const std::string& defaultsDir, const std::string& dir, std::string* error) {
    if (!MakeDir(dir, error))
        return false;
    std::string from = WithSlash(defaultsDir);
    std::string to = WithSlash(dir);
    for (const std::string& name : DefaultDataFiles()) {
        if (!orvale::FileExists(from + name) || orvale::FileExists(to + name))
            continue;
        if (!orvale::CopyFileSafely(from + name, to + name, error))
            return false;
    }
    return CopyHelpFolder(from + kHelpFolderName, to + kHelpFolderName, error);
}

std::string InstalledDataDir(const std::string& exeDir) {
    // The install rules give the path from the program's directory to its data directory.
    return WithSlash(WithSlash(exeDir) + ORVALE_INSTALLED_DATA_FROM_PROGRAM);
}

bool IsInstalledProgram(const std::string& installedDataDir) {
    return orvale::FileExists(WithSlash(installedDataDir) + DefaultDataFiles().front());
}

namespace {

// The user directory is the program directory: an installed program, even one run by a user
// who could write into its folder, or a program whose folder is read-only.
bool UsesUserDir(const std::string& exeDir, const std::string& installedDataDir,
                 const std::string& userDataDir) {
    if (userDataDir.empty())
        return false;
    return IsInstalledProgram(installedDataDir) || !IsWritableDir(exeDir);
}

} // namespace

std::string ResolveProgramDir(const std::string& exeDir, const std::string& installedDataDir,
                              const std::string& userDataDir, std::string* warning) {
    if (!UsesUserDir(exeDir, installedDataDir, userDataDir))
        return WithSlash(exeDir);
    std::string defaults = IsInstalledProgram(installedDataDir) ? installedDataDir : exeDir;
    std::string error;
    if (!SeedProgramDir(defaults, userDataDir, &error) && warning)
        *warning = error;
    return WithSlash(userDataDir);
}

std::string ResolveProgramDir(const std::string& exeDir, const std::string& userDataDir,
                              std::string* warning) {
    return ResolveProgramDir(exeDir, InstalledDataDir(exeDir), userDataDir, warning);
}

std::string CurrentProgramDir() {
    std::string exeDir = ExecutableDir();
    std::string userDir = UserDataDir();
    return UsesUserDir(exeDir, InstalledDataDir(exeDir), userDir) ? WithSlash(userDir) : exeDir;
}
