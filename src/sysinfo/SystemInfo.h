#pragma once

// What the about box tells of the machine: the operating system, the processor, the registered
// owner and organisation, and the memory. Read from /etc/os-release, uname, /proc/cpuinfo,
// /proc/meminfo, the password database and the host name. Every text is single-byte Latin-1
// like the rest of the program (characters beyond it read as "?").

#include <cstdint>
#include <string>
#include <string_view>

namespace sysinfo {

struct TOperatingSystem {
    std::string Name;    // "Debian GNU/Linux"
    std::string Version; // "12"
    std::string Build;   // the kernel release
};

// Memory figures in KiB; -1 when the source did not give them.
struct TMemory {
    std::int64_t Total = -1;
    std::int64_t Free = -1; // available to programs without swapping
    std::int64_t SwapTotal = -1;
    std::int64_t SwapFree = -1;
};

struct TSystemInfo {
    TOperatingSystem System;
    std::string Processor;
    std::string Owner;        // the user's full name, or the login name
    std::string Organisation; // the host name
    TMemory Memory;
};

// NAME and VERSION_ID of an os-release text (VERSION when there is no VERSION_ID); quotes and
// escapes of its shell-like values undone. Build is left to the caller.
TOperatingSystem ParseOsRelease(std::string_view text);
// The model of the first processor, with the number of processors when there are several:
// "Intel(R) Xeon(R) CPU @ 2.20GHz (2 processors)". Empty when the text names none.
std::string ParseCpuInfo(std::string_view text);
TMemory ParseMemInfo(std::string_view text);
// The full name of a password-database comment field (its first comma-separated part).
std::string FullNameFromGecos(std::string_view gecos);

// "Operating System: " + Name + " - V. " + Version + " build " + Build.
std::string FormatOperatingSystem(const TOperatingSystem& system);
// "16,384,256 KB", or "unknown" for -1.
std::string FormatKilobytes(std::int64_t kilobytes);

// UTF-8 text as Latin-1: characters beyond it and malformed bytes become "?".
std::string Utf8ToLatin1(std::string_view text);

// Reads everything from the running system. Files are read from Root ("" for the real system)
// so that a test can point the reader at a folder of sample files.
TSystemInfo ReadSystemInfo(const std::string& root = {});

} // namespace sysinfo
