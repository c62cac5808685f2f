#pragma once

// Where the program keeps its files (`ProgramDir`): the options file, the user key file, the
// prompt file, the translation tables, the help pages and the export work files.
//
// An installed program (its default data files in <datadir>/orvale beside the installed
// executable's <libdir>/orvale) uses the user's data directory ($XDG_DATA_HOME/orvale/, or
// ~/.local/share/orvale/), filled with the installed defaults on its first start; so does a
// program whose directory cannot be written. A program run where it was built uses its own
// directory, where the build places the default data files.

#include "platform/StringList.h"

#include <string>

// The default data files found beside the program, and its folder of help pages.
const StringList& DefaultDataFiles();
inline constexpr const char* kHelpFolderName = "Help";

// The directory of the running executable, with a trailing "/"; empty if it cannot be told.
std::string ExecutableDir();

// True when a file can be created in Dir (tried, not guessed from permission bits).
bool IsWritableDir(const std::string& dir);

// The user's data directory for the program, with a trailing "/": XdgDataHome + "/orvale/"
// when XdgDataHome is an absolute path, else Home + "/.local/share/orvale/"; empty when
// neither gives one.
std::string UserDataDir(const std::string& xdgDataHome, const std::string& home);
// The same from the environment.
std::string UserDataDir();

// Copies the defaults of DefaultsDir into Dir, creating Dir: a data file only when Dir has
// none (the user's own prompt file and tables are kept), a help page whenever it differs from
// the installed one. False with Error (naming what failed) when Dir cannot be made or a file
// cannot be copied; a default missing from DefaultsDir is not an error.
bool SeedProgramDir(const std::string& defaultsDir, const std::string& dir,
                    std::string* error = nullptr);

// Where an installed executable in ExeDir finds its default data files, with a trailing "/".
std::string InstalledDataDir(const std::string& exeDir);
// True when InstalledDataDir holds the installed defaults: the program is an installed one.
bool IsInstalledProgram(const std::string& installedDataDir);

// The rule above for an executable in ExeDir whose installed defaults would be in
// InstalledDataDir. Returns the directory with a trailing "/"; when the user directory had to
// be used and could not be made or filled, Warning says why (the directory is returned all
// the same, so the program can still start).
std::string ResolveProgramDir(const std::string& exeDir, const std::string& installedDataDir,
                              const std::string& userDataDir, std::string* warning = nullptr);
// The same with the installed defaults where the install rules put them.
std::string ResolveProgramDir(const std::string& exeDir, const std::string& userDataDir,
                              std::string* warning = nullptr);

// The program directory of the running program as the start-up settled it, without copying
// anything: the executable's directory when writable, else the user data directory.
std::string CurrentProgramDir();
