// Converting members through the library's exports, files included, as the import and export
// windows do. Arguments are member sizes in MB of 80-byte records.

#include "ondrel/CodePageTables.h"
#include "ondrel/Ondrel.h"
#include "platform/SafeSave.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace {

// A work folder with the IBM037 tables, removed when the program ends.
class WorkDir {
public:
    WorkDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ondrel-bench-XXXXXX");
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder");
        Path = pattern;
        std::string error;
        if (!ondrel::WriteCodePageTables("IBM037", Path, error))
            throw std::runtime_error(error);
    }
    ~WorkDir() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    std::string File(const std::string& name) const { return Path + "/" + name; }

    // A text file and the member it converts to, of about Megabytes MB, made once.
    std::string Text(int megabytes) {
        std::string path = File("M" + std::to_string(megabytes) + ".RP3");
        if (Made.count(megabytes))
            return path;
        const char* lines[] = {
            "     C           PRICE     MULT QUANTITY  AMOUNT  112       Extended price",
            "     C           AMOUNT    IFGT LIMIT                       Over the limit?",
            "     C                     EXSR CHECK                                     ",
            "     C                     ENDIF                                          ",
        };
        std::string text;
        const size_t records = static_cast<size_t>(megabytes) * 1024 * 1024 / 80;
        text.reserve(records * 82);
        for (size_t i = 0; i < records; ++i) {
            std::string line = lines[i % 4];
            line.resize(80, ' ');
            text += line;
            text += "\r\n";
        }
        if (!orvale::WriteFileSafely(path, text))
            throw std::runtime_error("cannot write " + path);
        ASCIIToEBCDic(path, Member(megabytes), File("PCtoAS.xlt"), 80, nullptr);
        Made[megabytes] = true;
        return path;
    }
    std::string Member(int megabytes) const {
        return File("M" + std::to_string(megabytes) + ".MBR");
    }

private:
    std::string Path;
    std::map<int, bool> Made;
};

WorkDir& Work() {
    static WorkDir work;
    return work;
}

void CheckOutcome(benchmark::State& state) {
    std::string message;
    if (OndrelLastError(message) != OndrelOk)
        state.SkipWithError(message.c_str());
}

void BM_EbcdicToText(benchmark::State& state) {
    const int megabytes = static_cast<int>(state.range(0));
    Work().Text(megabytes);
    const std::string member = Work().Member(megabytes);
    const std::string target = Work().File("OUT.RP3");
    const std::string table = Work().File("AStoPC.xlt");
    for (auto _ : state) {
        EBCDicToASCII(member, target, table, 80, nullptr);
        CheckOutcome(state);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(member)));
}
BENCHMARK(BM_EbcdicToText)->Arg(1)->Arg(8)->Arg(80)->Unit(benchmark::kMillisecond);

void BM_TextToEbcdic(benchmark::State& state) {
    const int megabytes = static_cast<int>(state.range(0));
    const std::string text = Work().Text(megabytes);
    const std::string target = Work().File("OUT.MBR");
    const std::string table = Work().File("PCtoAS.xlt");
    for (auto _ : state) {
        ASCIIToEBCDic(text, target, table, 80, nullptr);
        CheckOutcome(state);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(text)));
}
BENCHMARK(BM_TextToEbcdic)->Arg(1)->Arg(8)->Arg(80)->Unit(benchmark::kMillisecond);

} // namespace
