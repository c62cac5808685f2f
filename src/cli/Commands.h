#pragma once

#include <cstddef>
#include <string>

namespace CLI {
class App;
}

namespace orvale::cli {

// Exit statuses of every subcommand.
enum ExitStatus { Success = 0, Findings = 1, Failure = 2 };

// The size of the file at Path in bytes; 0 when it cannot be told.
size_t FileSize(const std::string& path);

// Each family of subcommands adds itself to the tool and stores its exit status in Status
// when it runs.
void AddProgramCommands(CLI::App& app, int& status); // import, build, check, xref
void AddMemberCommands(CLI::App& app, int& status);  // xlt, ebcdic-to-text, text-to-ebcdic
void AddUserCommands(CLI::App& app, int& status);    // passwd
void AddLibraryCommands(CLI::App& app, int& status); // library index|members|find|where-used

} // namespace orvale::cli
