#include "platform/TextFile.h"
#include "platform/SafeSave.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvale;
using orvale::test::FileSizeLimit;
using orvale::test::Slurp;
using orvale::test::TempDir;

TEST(TextFile, LineEndsOfEveryKindEndALine) {
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (StringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\n\nb"), (StringList{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\rb"), (StringList{"a", "", "b"}));
    // LF CR is two line ends, not one.
    EXPECT_EQ(SplitTextLines("a\n\rb"), (StringList{"a", "", "b"}));
}

TEST(TextFile, FinalLineEndMakesNoEmptyLine) {
    EXPECT_EQ(SplitTextLines("a\r\n"), (StringList{"a"}));
    EXPECT_EQ(SplitTextLines("a"), (StringList{"a"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\n"), (StringList{"a", ""}));
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(TextFile, ZeroByteEndsTheText) {
    std::string text("ab\ncd\0ef\ngh", 11);
    EXPECT_EQ(SplitTextLines(text), (StringList{"ab", "cd"}));

    // A reader learns the line of the zero byte, wherever in its line and its file it stands.
    TempDir dir;
    auto zeroLine = [&](const std::string& bytes) {
        std::string path = dir.File("zero.txt");
        EXPECT_TRUE(WriteFileSafely(path, bytes));
        size_t line = 99;
        StringList lines;
        EXPECT_TRUE(ReadTextFile(path, lines, nullptr, &line));
        return line;
    };
    const std::string zero(1, '\0');
    EXPECT_EQ(zeroLine(text), 2u);
    EXPECT_EQ(zeroLine("ab\r\n" + zero + "cd"), 2u);
    EXPECT_EQ(zeroLine("ab\r" + zero), 2u);
    EXPECT_EQ(zeroLine(zero), 1u);
    EXPECT_EQ(zeroLine("ab\r\ncd"), 0u);
    EXPECT_EQ(zeroLine(""), 0u);
    const size_t piece = 1 << 18;
    std::string line(79, 'x');
    std::string large;
    while (large.size() < 5 * piece)
        large += line + "\r\n";
    size_t lines = large.size() / 81;
    EXPECT_EQ(zeroLine(large + zero), lines + 1);
    EXPECT_EQ(zeroLine(large + "ab" + zero + "\r\n" + large), lines + 1);
    EXPECT_EQ(zeroLine(large.substr(0, piece - 1) + zero + large), piece / 81 + 1);
}

TEST(TextFile, BytesAndTrailingBlanksAreKept) {
    std::string line = "  x\t\xA6\xFF   ";
    EXPECT_EQ(SplitTextLines(line + "\r\n"), (StringList{line}));
}

TEST(TextFile, WritesCrLfAndReadsBack) {
    TempDir dir;
    StringList lines{"[Begin]", "", "  text  ", "\xE8"};
    ASSERT_TRUE(WriteTextFile(dir.File("a.txt"), lines));
    EXPECT_EQ(Slurp(dir.File("a.txt")), "[Begin]\r\n\r\n  text  \r\n\xE8\r\n");
    StringList back;
    ASSERT_TRUE(ReadTextFile(dir.File("a.txt"), back));
    EXPECT_EQ(back, lines);
}

// A file is read in pieces; whatever falls on the edge between two of them (a CR LF cut in
// half, a line longer than a piece, a zero byte far into the file) must come out as the whole
// text split at once.
TEST(TextFile, ReadingInPiecesGivesTheLinesOfTheWholeText) {
    TempDir dir;
    auto lines = [](const std::string& text) { return SplitTextLines(text); };
    auto read = [&](const std::string& text) {
        std::string path = dir.File("piece.txt");
        EXPECT_TRUE(WriteFileSafely(path, text));
        StringList back{"old"};
        EXPECT_TRUE(ReadTextFile(path, back));
        return back;
    };
    const size_t piece = 1 << 18;
    for (size_t cut = piece - 3; cut <= piece + 2; ++cut) {
        std::string crlf = std::string(cut, 'a') + "\r\nb\rc\n\rd\r";
        EXPECT_EQ(read(crlf), lines(crlf)) << "CR LF at " << cut;
        std::string lf = std::string(cut, 'a') + "\n\n";
        EXPECT_EQ(read(lf), lines(lf)) << "LF at " << cut;
    }
    std::string shortLines;
    while (shortLines.size() < 3 * piece)
        shortLines += "     C           PRICE     MULT QUANTITY  AMOUNT  112\r\n";
    EXPECT_EQ(read(shortLines), lines(shortLines));
    std::string longLine = std::string(3 * piece + 7, 'x') + "\r\ny";
    EXPECT_EQ(read(longLine), lines(longLine));
    std::string zero = shortLines + std::string("tail\0after\r\nmore", 17) + shortLines;
    EXPECT_EQ(read(zero), lines(zero));
    EXPECT_EQ(read(zero).back(), "tail");
    EXPECT_TRUE(read("").empty());

    // Large files are counted before they are read: any kind of line end, and a zero byte
    // before which the count stops, must give the same lines.
    std::string large;
    while (large.size() < 5 * piece)
        large += "     C           PRICE     MULT QUANTITY  AMOUNT  112\r";
    EXPECT_EQ(read(large), lines(large));
    for (char& c : large)
        if (c == '\r')
            c = '\n';
    EXPECT_EQ(read(large), lines(large));
    std::string mixed = large + shortLines + std::string(piece, '\r') + large;
    EXPECT_EQ(read(mixed), lines(mixed));
    std::string zeroInLarge = shortLines + std::string("\0", 1) + large;
    EXPECT_EQ(read(zeroInLarge), lines(zeroInLarge));
}

TEST(TextFile, ReadingAMissingFileNamesTheFileAndReason) {
    TempDir dir;
    StringList lines{"old"};
    std::string error;
    EXPECT_FALSE(ReadTextFile(dir.File("missing.RPG"), lines, &error));
    EXPECT_TRUE(lines.empty());
    EXPECT_NE(error.find("missing.RPG"), std::string::npos);
    EXPECT_NE(error.find("No such file"), std::string::npos);
}

TEST(TextFile, PathParts) {
    EXPECT_EQ(ExtractFilePath("/a/b/C.RPG"), "/a/b/");
    EXPECT_EQ(ExtractFileName("/a/b/C.RPG"), "C.RPG");
    EXPECT_EQ(ExtractFileExt("/a/b/C.RPG"), ".RPG");
    EXPECT_EQ(ExtractFileExt("/a.b/C"), "");
    EXPECT_EQ(ChangeFileExt("/a/X.RP3", ".RPG"), "/a/X.RPG");
    EXPECT_EQ(ChangeFileExt("X", ".RPG"), "X.RPG");
    EXPECT_EQ(ExtractFilePath("C.RPG"), "");
}

TEST(SafeSave, BackupNamesFollowTheTwoRules) {
    EXPECT_EQ(ProgramBackupPath("/p/A.RPG"), "/p/A.~RP");
    EXPECT_EQ(ProgramBackupPath("/p/A.PRG"), "/p/A.~PR");
    EXPECT_EQ(SourceBackupPath("/p/A.RP3"), "/p/A.~P3");
    EXPECT_EQ(SourceBackupPath("/p/A.TXT"), "/p/A.~XT");
}

TEST(SafeSave, SavingTwiceKeepsTheFirstVersionInTheBackup) {
    TempDir dir;
    std::string path = dir.File("A.RPG");
    ASSERT_TRUE(WriteFileSafely(path, "one", ProgramBackupPath(path)));
    EXPECT_FALSE(FileExists(dir.File("A.~RP")));
    ASSERT_TRUE(WriteFileSafely(path, "two", ProgramBackupPath(path)));
    ASSERT_TRUE(WriteFileSafely(path, "three", ProgramBackupPath(path)));
    EXPECT_EQ(Slurp(path), "three");
    EXPECT_EQ(Slurp(dir.File("A.~RP")), "two");
}

TEST(SafeSave, ASymbolicLinkStaysALinkAndItsFileIsReplaced) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("shared").c_str(), 0755), 0);
    std::string target = dir.File("shared/REAL.RPG");
    std::string link = dir.File("A.RPG");
    ASSERT_TRUE(WriteFileSafely(target, "one"));
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteFileSafely(link, "two", ProgramBackupPath(link)));
    struct stat entry {};
    ASSERT_EQ(::lstat(link.c_str(), &entry), 0);
    EXPECT_TRUE(S_ISLNK(entry.st_mode));
    EXPECT_EQ(Slurp(target), "two");
    EXPECT_EQ(Slurp(dir.File("A.~RP")), "one");
}

TEST(SafeSave, AFullDiskLeavesTheOldFileAndBackupWhole) {
    TempDir dir;
    std::string path = dir.File("A.RPG");
    ASSERT_TRUE(WriteFileSafely(path, "first", ProgramBackupPath(path)));
    ASSERT_TRUE(WriteFileSafely(path, "second", ProgramBackupPath(path)));
    std::string error;
    {
        FileSizeLimit limit(16);
        EXPECT_FALSE(
            WriteFileSafely(path, std::string(4096, 'x'), ProgramBackupPath(path), &error));
    }
    EXPECT_NE(error.find("A.RPG"), std::string::npos);
    EXPECT_EQ(Slurp(path), "second");
    EXPECT_EQ(Slurp(dir.File("A.~RP")), "first");
    // No temporary file is left behind.
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST(SafeSave, AReadOnlyFolderReportsTheFailure) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    std::string path = dir.File("A.RPG");
    ASSERT_TRUE(WriteFileSafely(path, "old"));
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    std::string error;
    EXPECT_FALSE(WriteFileSafely(path, "new", ProgramBackupPath(path), &error));
    EXPECT_NE(error.find("Permission denied"), std::string::npos);
    EXPECT_EQ(Slurp(path), "old");
}

TEST(SafeSave, ReplacedFileKeepsItsModeAndNewFileGetsTheRequestedOne) {
    TempDir dir;
    std::string path = dir.File("Orvale.KEY");
    ASSERT_TRUE(WriteFileSafely(path, "a", {}, nullptr, 0600));
    auto perms = std::filesystem::status(path).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_TRUE(WriteFileSafely(path, "b"));
    perms = std::filesystem::status(path).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(SafeSave, LinesAreWrittenAsTheirJoinedTextInPieces) {
    TempDir dir;
    std::string path = dir.File("BIG.RPG");
    StringList lines;
    for (int i = 0; i < 40000; ++i) // well over one piece of a megabyte
        lines.push_back(std::string(static_cast<size_t>(i % 90), static_cast<char>('A' + i % 26)));
    ASSERT_TRUE(WriteLinesSafely(path, lines));
    EXPECT_EQ(Slurp(path), JoinTextLines(lines));

    std::string error;
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(WriteLinesSafely(path, StringList(lines.rbegin(), lines.rend()),
                                      ProgramBackupPath(path), &error));
    }
    EXPECT_NE(error.find("BIG.RPG"), std::string::npos);
    EXPECT_EQ(Slurp(path), JoinTextLines(lines));
}

TEST(SafeSave, WriterPutsItsPiecesInPlaceOnlyOnCommit) {
    TempDir dir;
    std::string path = dir.File("P.RPG");
    ASSERT_TRUE(WriteFileSafely(path, "old"));
    {
        SafeFileWriter dropped(path);
        dropped.WriteLines({"never", "committed"});
    }
    EXPECT_EQ(Slurp(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    SafeFileWriter writer(path);
    writer.WriteLines({"a", "b"});
    writer.Write("raw");
    writer.WriteLines({"", "c"});
    std::string error;
    ASSERT_TRUE(writer.Commit(ProgramBackupPath(path), &error)) << error;
    EXPECT_EQ(Slurp(path), "a\r\nb\r\nraw\r\nc\r\n");
    EXPECT_EQ(Slurp(dir.File("P.~RP")), "old");
}

namespace {

// Lines enough for several of the writer's pieces, so that a difference can fall in a later
// one and the part found the same must be copied from the old file.
StringList ManyLines(size_t count, const std::string& tail = {}) {
    StringList lines;
    for (size_t k = 0; k < count; ++k)
        lines.push_back("     C                     Z-ADD" + std::to_string(k) + "  TOTAL" + tail);
    return lines;
}

ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

TEST(SafeSave, AnUnchangedContentLeavesTheFileAndItsBackupAlone) {
    TempDir dir;
    std::string path = dir.File("P.RPG");
    const StringList lines = ManyLines(40000);
    ASSERT_TRUE(WriteFileSafely(path, "older"));
    ASSERT_TRUE(WriteLinesSafely(path, lines, ProgramBackupPath(path)));
    const ino_t inode = Inode(path);

    SafeFileWriter writer(path);
    writer.KeepIfUnchanged();
    writer.WriteLines(lines);
    std::string error;
    ASSERT_TRUE(writer.Commit(ProgramBackupPath(path), &error)) << error;
    EXPECT_TRUE(writer.Unchanged());
    EXPECT_EQ(Inode(path), inode);
    EXPECT_EQ(Slurp(path), JoinTextLines(lines));
    EXPECT_EQ(Slurp(dir.File("P.~RP")), "older");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(SafeSave, AChangedContentIsWrittenWholeWhereverItDiffers) {
    const StringList old = ManyLines(40000);
    StringList late = old;
    late[31000] += "X"; // in a later piece than the first
    StringList first = old;
    first[0] = "changed";
    StringList longer = old;
    longer.push_back("one more");
    StringList shorter(old.begin(), old.end() - 1);
    for (const StringList* lines : {&late, &first, &longer, &shorter}) {
        TempDir dir;
        std::string path = dir.File("P.RPG");
        ASSERT_TRUE(WriteLinesSafely(path, old));
        SafeFileWriter writer(path);
        writer.KeepIfUnchanged();
        writer.WriteLines(*lines, 0, 20000);
        writer.Write(""); // a flush in between must not end the comparison wrongly
        writer.WriteLines(*lines, 20000, lines->size());
        std::string error;
        ASSERT_TRUE(writer.Commit(ProgramBackupPath(path), &error)) << error;
        EXPECT_FALSE(writer.Unchanged());
        EXPECT_EQ(Slurp(path), JoinTextLines(*lines));
        EXPECT_EQ(Slurp(dir.File("P.~RP")), JoinTextLines(old));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
    }
}

namespace {

// The names in Dir, sorted.
std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A save of Path killed half way, in a child process.
void KilledSave(const std::string& path) {
    pid_t child = ::fork();
    if (child == 0) {
        SafeFileWriter writer(path);
        writer.Write(std::string(1 << 20, 'k'));
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

class UnnamedTemporaries {
public:
    explicit UnnamedTemporaries(bool allowed) { SetUnnamedTemporaries(allowed); }
    ~UnnamedTemporaries() { SetUnnamedTemporaries(true); }
};

} // namespace

// A save killed half way leaves nothing where the file system has unnamed files; elsewhere its
// temporary file is left, and the next save of the same file removes it, but not the file of
// a save still running, nor a file of another name.
TEST(SafeSave, TemporariesOfKilledSavesGoWithTheNextSave) {
    for (bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed temporaries" : "named temporaries");
        UnnamedTemporaries mode(unnamed);
        TempDir dir;
        std::string path = dir.File("A.RPG");
        ASSERT_TRUE(WriteFileSafely(path, "one"));
        KilledSave(path);
        KilledSave(path);
        std::vector<std::string> left = Names(dir.Path());
        if (!unnamed) {
            EXPECT_EQ(left.size(), 3u);
            // two temporaries beside the file
        }
        for (const std::string& name : left) {
            EXPECT_TRUE(name == "A.RPG" || name.starts_with(".A.RPG.")) << name;
        }
        EXPECT_EQ(Slurp(path), "one");

        // A backup name being made when its save was killed, and files that are not ours.
        ASSERT_TRUE(WriteFileSafely(dir.File(".A.~RP.x1Y2z3"), "one"));
        ASSERT_TRUE(WriteFileSafely(dir.File(".A.RPG.notes"), "mine"));
        ASSERT_TRUE(WriteFileSafely(dir.File(".B.RPG.abc123"), "other's"));
        SafeFileWriter running(path);
        running.Write("three");
        ASSERT_TRUE(WriteFileSafely(path, "two", ProgramBackupPath(path)));
        std::vector<std::string> expected{".A.RPG.notes", ".B.RPG.abc123", "A.RPG", "A.~RP"};
        std::vector<std::string> now = Names(dir.Path());
        if (!unnamed) {
            // The running save's own file, held by it.
            ASSERT_EQ(now.size(), expected.size() + 1);
            now.erase(std::find_if(now.begin(), now.end(), [](const std::string& name) {
                return name.starts_with(".A.RPG.") && name != ".A.RPG.notes";
            }));
        }
        EXPECT_EQ(now, expected);
        EXPECT_EQ(Slurp(path), "two");

        std::string error;
        ASSERT_TRUE(running.Commit(ProgramBackupPath(path), &error)) << error;
        EXPECT_EQ(Slurp(path), "three");
        EXPECT_EQ(Slurp(dir.File("A.~RP")), "two");
        EXPECT_EQ(Names(dir.Path()), expected);
    }
}
