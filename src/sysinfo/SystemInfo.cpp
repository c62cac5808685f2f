#include "sysinfo/SystemInfo.h"

#include <charconv>
#include <fstream>
#include <map>
#include <pwd.h>
#include <sstream>
#include <sys/utsname.h>
#include <unistd.h>

namespace sysinfo {

namespace {

std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

// Calls F(key, value) for each "key<separator>value" line, both trimmed.
template <class F> void ForEachPair(std::string_view text, char separator, F&& f) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        size_t at = line.find(separator);
        if (at != std::string_view::npos)
            f(Trim(line.substr(0, at)), Trim(line.substr(at + 1)));
    }
}

// A value of os-release: optionally in double or single quotes; inside double quotes (and
// outside quotes) a backslash takes the next character literally.
std::string ShellValue(std::string_view value) {
    std::string out;
    char quote = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (quote == 0 && (c == '"' || c == '\'')) {
            quote = c;
        } else if (c == quote) {
            quote = 0;
        } else if (c == '\\' && quote != '\'' && i + 1 < value.size()) {
            out += value[++i];
        } else {
            out += c;
        }
    }
    return out;
}

std::int64_t Kilobytes(std::string_view value) {
    std::int64_t number = -1;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc())
        return -1;
    std::string_view unit = Trim(std::string_view(end, value.data() + value.size() - end));
    if (unit == "MB")
        return number * 1024;
    return number;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TOperatingSystem ParseOsRelease(std::string_view text) {
    std::map<std::string, std::string, std::less<>> values;
    ForEachPair(text, '=', [&](std::string_view key, std::string_view value) {
        if (!key.empty() && key.front() != '#')
            values.emplace(std::string(key), ShellValue(value));
    });
    auto get = [&](std::string_view key) {
        auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    };
    TOperatingSystem system;
    system.Name = get("NAME");
    if (system.Name.empty())
        system.Name = get("PRETTY_NAME");
    system.Version = get("VERSION_ID");
    if (system.Version.empty())
        system.Version = get("VERSION");
    return system;
}

std::string ParseCpuInfo(std::string_view text) {
    std::string model;
    int processors = 0;
    // Kernels of different machines name the model differently; the first one found wins.
    static const char* const modelKeys[] = {"model name", "cpu model", "cpu", "Processor",
                                            "Hardware"};
    int rank = static_cast<int>(std::size(modelKeys));
    ForEachPair(text, ':', [&](std::string_view key, std::string_view value) {
        if (key == "processor") {
            ++processors;
            return;
        }
        for (int i = 0; i < rank; ++i) {
            if (key == modelKeys[i] && !value.empty()) {
                model = std::string(value);
                rank = i;
                break;
            }
        }
    });
    if (!model.empty() && processors > 1)
        model += " (" + std::to_string(processors) + " processors)";
    return model;
}

TMemory ParseMemInfo(std::string_view text) {
    TMemory memory;
    std::int64_t memFree = -1;
    ForEachPair(text, ':', [&](std::string_view key, std::string_view value) {
        if (key == "MemTotal")
            memory.Total = Kilobytes(value);
        else if (key == "MemAvailable")
            memory.Free = Kilobytes(value);
        else if (key == "MemFree")
            memFree = Kilobytes(value);
        else if (key == "SwapTotal")
            memory.SwapTotal = Kilobytes(value);
        else if (key == "SwapFree")
            memory.SwapFree = Kilobytes(value);
    });
    // Kernels before 3.14 give no estimate of available memory.
    if (memory.Free < 0)
        memory.Free = memFree;
    return memory;
}

std::string FullNameFromGecos(std::string_view gecos) {
    return std::string(Trim(gecos.substr(0, gecos.find(','))));
}

std::string FormatOperatingSystem(const TOperatingSystem& system) {
    return "Operating System: " + system.Name + " - V. " + system.Version + " build " +
           system.Build;
}

std::string FormatKilobytes(std::int64_t kilobytes) {
    if (kilobytes < 0)
        return "unknown";
    std::string digits = std::to_string(kilobytes);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped + " KB";
}

std::string Utf8ToLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        unsigned code = length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
        bool valid = length > 1 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += code >= 0x80 && code <= 0xFF ? static_cast<char>(code) : '?';
        i += static_cast<size_t>(length);
    }
    return out;
}

TSystemInfo ReadSystemInfo(const std::string& root) {
    TSystemInfo info;
    std::string release = ReadWhole(root + "/etc/os-release");
    if (release.empty())
        release = ReadWhole(root + "/usr/lib/os-release");
    info.System = ParseOsRelease(release);

    utsname names{};
    bool haveNames = ::uname(&names) == 0;
    if (haveNames) {
        info.System.Build = names.release;
        if (info.System.Name.empty())
            info.System.Name = names.sysname;
    }
    info.Processor = ParseCpuInfo(ReadWhole(root + "/proc/cpuinfo"));
    if (info.Processor.empty() && haveNames)
        info.Processor = names.machine;
    info.Memory = ParseMemInfo(ReadWhole(root + "/proc/meminfo"));

    if (const passwd* user = ::getpwuid(::getuid())) {
        info.Owner = FullNameFromGecos(user->pw_gecos ? user->pw_gecos : "");
        if (info.Owner.empty() && user->pw_name)
            info.Owner = user->pw_name;
    }
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        info.Organisation = host;

    for (std::string* text : {&info.System.Name, &info.System.Version, &info.System.Build,
                              &info.Processor, &info.Owner, &info.Organisation})
        *text = Utf8ToLatin1(*text);
    return info;
}

} // namespace sysinfo
