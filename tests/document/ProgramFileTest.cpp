#include "document/EditProgram.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include "support/FakeProgramView.h"
#include "support/ShownIn.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <unistd.h>

using orvale::DateTime;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeProgramView;
using orvale::test::FileSizeLimit;
using orvale::test::ShownIn;
using orvale::test::TempDir;
using Shown = ScriptedPrompter::Shown;

namespace {

const Shown kCorrupted{
    Prompter::Kind::Warning, "WARNING: The File may be corrupted!", Prompter::Buttons::Ok, {}};
const Shown kWrongFormat{
    Prompter::Kind::Error, "ERROR: Wrong format or File damaged!", Prompter::Buttons::Ok, {}};

class ProgramFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Doc.BindView(&View);
        Doc.BuildTree();
    }
    void TearDown() override {
        RegionalSettings::SetCurrent(Saved);
        EXPECT_TRUE(View.Violations.empty()) << View.Violations.front();
    }

    // The generic document with one sub routine CALC, dated as in a day-first example.
    void FillExample(TEDITProgram& doc) {
        const DateTime created{1999, 12, 6, 10, 15, 0};
        const DateTime updated{1999, 12, 6, 10, 20, 31};
        for (TEDITSection* s :
             {&doc.PropertySection, &doc.DescriptionSection, &doc.HistorySection,
              &doc.PreCompilerSection, &doc.HeaderSection, &doc.MainRoutineSection}) {
            s->Properties.CreatedOn = created;
            s->Properties.LastUpdate = updated;
        }
        doc.PropertySection.AssignLines({"Owner=USER1"});
        TEDITSection* calc = doc.AddSubRoutine("CALC", "Compute the totals");
        calc->Properties.CreatedOn = calc->Properties.LastUpdate = {1999, 12, 6, 10, 16, 2};
        calc->AssignLines({"                Begsr(CALC)", "", "                Endsr()"});
    }

    static StringList EmptyBlock(int image, const std::string& name, const std::string& desc) {
        return {"[" + std::to_string(image) + "]",
                "[" + name + "]",
                "[" + desc + "]",
                "[06/12/1999 10:15:00]",
                "[06/12/1999 10:20:31]",
                "[0]",
                "[End Of Sec]",
                ""};
    }

    static StringList ExampleFile() {
        StringList f = {"[Begin Of Tree Program]",
                        "[2]",
                        "[Property]",
                        "[Program's Propertys]",
                        "[06/12/1999 10:15:00]",
                        "[06/12/1999 10:20:31]",
                        "[1]",
                        "Owner=USER1",
                        "[End Of Sec]",
                        ""};
        for (const StringList& block :
             {EmptyBlock(3, "Description", "Program's Description"),
              EmptyBlock(4, "History", "Program's History Log"),
              EmptyBlock(5, "Pre Compiler", "Pre Compiler's Instructions"),
              EmptyBlock(6, "Header", "Header's Specifications"),
              EmptyBlock(7, "Main Routine", "Program's Main Routine")})
            f.insert(f.end(), block.begin(), block.end());
        StringList tail = {"[8]",
                           "[SectionFolder]",
                           "[Sub Routines]",
                           "[Folder of the Sub Routines]",
                           "[1]",
                           "",
                           "[9]",
                           "[CALC]",
                           "[Compute the totals]",
                           "[06/12/1999 10:16:02]",
                           "[06/12/1999 10:16:02]",
                           "[3]",
                           "                Begsr(CALC)",
                           "",
                           "                Endsr()",
                           "[End Of Sec]",
                           "",
                           "[End Of Program]"};
        f.insert(f.end(), tail.begin(), tail.end());
        return f;
    }

    // The example as this program writes it: the properties end with the record of the date
    // formats, the properties' creation text as its sample.
    static StringList RecordedExample() {
        StringList f = ExampleFile();
        f[6] = "[2]";
        f.insert(f.begin() + 8, "Date Format=%d/%m/%Y|%H:%M:%S|AM|PM|06/12/1999 10:15:00");
        return f;
    }

    // Reads Lines into a freshly built document and returns what ParseLines returned.
    int Parse(StringList lines) {
        Doc.SourceLines = std::move(lines);
        return Doc.ParseLines(ShownIn(Box));
    }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    ScriptedPrompter Box;
    FakeProgramView View;
    TEDITProgram Doc{Box};
};

TEST_F(ProgramFileTest, WritesTheWorkedExampleLineForLine) {
    FillExample(Doc);
    Doc.WriteLines();
    StringList expected = RecordedExample();
    ASSERT_EQ(expected.size(), 69u);
    ASSERT_EQ(Doc.SaveLines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Doc.SaveLines[i], expected[i]) << "line " << i;
    EXPECT_EQ(Doc.PropertySection.SaveLineIndex, 6);
    EXPECT_EQ(Doc.FindSectionByName("CALC")->SaveLineIndex, 62);
    // The record is the file's, not a property of the program.
    EXPECT_EQ(Doc.PropertySection.LineTexts(), StringList{"Owner=USER1"});
}

TEST_F(ProgramFileTest, ReadsTheWorkedExampleBack) {
    EXPECT_EQ(Parse(ExampleFile()), 69);
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(Doc.PropertySection.LineTexts(), StringList{"Owner=USER1"});
    EXPECT_EQ(Doc.PropertySection.OpenLineIndex, 6);
    EXPECT_EQ(Doc.PropertySection.Properties.CreatedOn, (DateTime{1999, 12, 6, 10, 15, 0}));
    EXPECT_EQ(Doc.PropertySection.Properties.LastUpdate, (DateTime{1999, 12, 6, 10, 20, 31}));
    TEDITSection* calc = Doc.FindSectionByName("CALC");
    ASSERT_NE(calc, nullptr);
    EXPECT_EQ(calc->OpenLineIndex, 61);
    EXPECT_EQ(calc->Properties.Description, "Compute the totals");
    EXPECT_EQ(calc->LineTexts(),
              (StringList{"                Begsr(CALC)", "", "                Endsr()"}));
    EXPECT_EQ(Doc.FindNodeByData(calc)->ImageIndex, 9);
    EXPECT_FALSE(calc->Properties.Modified);
    // Written again, the text is the same, with the record of its formats.
    Doc.WriteLines();
    EXPECT_EQ(Doc.SaveLines, RecordedExample());
    // Read with its record, the record is no property.
    TEDITProgram again(Box);
    again.BuildTree();
    again.SourceLines = Doc.SaveLines;
    EXPECT_EQ(again.ParseLines(ShownIn(Box)), 70);
    EXPECT_EQ(again.PropertySection.LineTexts(), StringList{"Owner=USER1"});
    EXPECT_EQ(again.PropertySection.Properties.CreatedOn, (DateTime{1999, 12, 6, 10, 15, 0}));
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(ProgramFileTest, RoundTripKeepsOddTextAndFolderOrder) {
    Doc.DescriptionSection.AssignLines(
        {"a [bracketed] line", "[", "]", "[End Of Sec]", "  trailing blanks  "});
    Doc.DescriptionSection.Properties.Description = "desc ] with [ brackets]";
    Doc.SubRoutinesFolder.Description = "My routines";
    for (const char* name : {"ZETA", "ALPHA", "MID"})
        Doc.AddSubRoutine(name, std::string("about ") + name)->AssignLines({name});
    Doc.WriteLines();

    TEDITProgram copy(Box);
    copy.BuildTree();
    copy.SourceLines = Doc.SaveLines;
    copy.ParseLines(ShownIn(Box));
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(copy.DescriptionSection.LineTexts(), Doc.DescriptionSection.LineTexts());
    EXPECT_EQ(copy.DescriptionSection.Properties.Description, "desc ] with [ brackets]");
    EXPECT_EQ(copy.SubRoutinesFolder.Description, "My routines");
    ASSERT_EQ(copy.SubRoutinesNode->Count(), 3);
    EXPECT_EQ(copy.SubRoutinesNode->Child(0)->Text, "ZETA");
    EXPECT_EQ(copy.SubRoutinesNode->Child(2)->Section()->Properties.Description, "about MID");
    copy.WriteLines();
    EXPECT_EQ(copy.SaveLines, Doc.SaveLines);
}

TEST_F(ProgramFileTest, EmptyFolderIsSixLinesAndKeepsItsDescription) {
    Doc.SubRoutinesFolder.Description = "Nothing yet";
    Doc.WriteLines();
    StringList& lines = Doc.SaveLines;
    ASSERT_GE(lines.size(), 7u);
    StringList folder(lines.end() - 7, lines.end() - 1);
    EXPECT_EQ(folder,
              (StringList{"[8]", "[SectionFolder]", "[Sub Routines]", "[Nothing yet]", "[0]", ""}));
    // Not in the tree order: top-level blocks are found by name, case ignored.
    StringList shuffled = {lines[0]};
    shuffled.insert(shuffled.end(), lines.end() - 7, lines.end() - 1);
    shuffled.insert(shuffled.end(), lines.begin() + 1, lines.end() - 7);
    shuffled[shuffled.size() - 7] = "[MAIN ROUTINE]";
    shuffled.push_back("[End Of Program]");
    TEDITProgram copy(Box);
    copy.BuildTree();
    copy.SourceLines = shuffled;
    copy.ParseLines(ShownIn(Box));
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(copy.SubRoutinesFolder.Description, "Nothing yet");
    EXPECT_EQ(copy.MainRoutineNode->Text, "Main Routine");
}

TEST_F(ProgramFileTest, WrongStartMarkerIsAnErrorThenAWarning) {
    EXPECT_EQ(Parse({}), 3);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kWrongFormat, kCorrupted}));
    EXPECT_TRUE(Doc.MainRoutineSection.LineTexts().empty());
    EXPECT_EQ(Doc.Tree.Root()->Count(), 7);

    Box.Clear();
    StringList file = ExampleFile();
    file[0] = "[Begin Of Tree Programs]";
    Parse(file);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kWrongFormat, kCorrupted}));
    EXPECT_TRUE(Doc.PropertySection.LineTexts().empty());
}

TEST_F(ProgramFileTest, BadImageLineStopsReading) {
    StringList file = ExampleFile();
    file[10] = "[three]"; // the Description block's image line
    EXPECT_EQ(Parse(file), 12);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted, kCorrupted}));
    EXPECT_EQ(Doc.PropertySection.LineTexts(), StringList{"Owner=USER1"});
    EXPECT_EQ(Doc.SubRoutinesNode->Count(), 0);
}

TEST_F(ProgramFileTest, FolderChildWithBadImageStillReadsBackAfterSaving) {
    // A second block of the same folder whose child has an image line that is not a number:
    // the first child of a folder block is read without that check.
    StringList file = ExampleFile();
    StringList more = {"[8]",
                       "[SectionFolder]",
                       "[Sub Routines]",
                       "[Folder of the Sub Routines]",
                       "[1]",
                       "",
                       "[nine]",
                       "[BETA]",
                       "[]",
                       "[06/12/1999 10:16:02]",
                       "[06/12/1999 10:16:02]",
                       "[1]",
                       "  beta",
                       "[End Of Sec]",
                       ""};
    file.insert(file.end() - 1, more.begin(), more.end());
    Parse(file);
    EXPECT_TRUE(Box.Messages.empty());
    ASSERT_EQ(Doc.SubRoutinesNode->Count(), 2);
    Doc.WriteLines();

    // Saved and opened again, BETA is still there and nothing is reported.
    TEDITProgram copy(Box);
    copy.BuildTree();
    copy.SourceLines = Doc.SaveLines;
    copy.ParseLines(ShownIn(Box));
    EXPECT_TRUE(Box.Messages.empty());
    ASSERT_EQ(copy.SubRoutinesNode->Count(), 2);
    EXPECT_EQ(copy.SubRoutinesNode->Child(1)->Section()->LineTexts(), StringList{"  beta"});
}

TEST_F(ProgramFileTest, BadFolderCountStopsReading) {
    StringList file = ExampleFile();
    file[54] = "[one]";
    Parse(file);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted, kCorrupted}));
    EXPECT_EQ(Doc.SubRoutinesNode->Count(), 0);
}

TEST_F(ProgramFileTest, UnknownFolderStopsReading) {
    StringList file = ExampleFile();
    file[52] = "[Routines]";
    Parse(file);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted, kCorrupted}));
    EXPECT_EQ(Doc.SubRoutinesNode->Count(), 0);
    // A folder name that names a section is not a folder either.
    Box.Clear();
    TEDITProgram other(Box);
    other.BuildTree();
    file[52] = "[Header]";
    other.SourceLines = file;
    other.ParseLines(ShownIn(Box));
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted, kCorrupted}));
    EXPECT_EQ(other.HeaderSection.LinesCount(), 0);
}

TEST_F(ProgramFileTest, UnknownTopLevelNameStopsReading) {
    StringList file = ExampleFile();
    file[35] = "[Headers]";
    EXPECT_EQ(Parse(file), 36);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted, kCorrupted}));
    EXPECT_EQ(Doc.PropertySection.LineTexts(), StringList{"Owner=USER1"});
    EXPECT_EQ(Doc.SubRoutinesNode->Count(), 0);
    // The document knows it holds only part of the file, until a whole file is read.
    EXPECT_FALSE(Doc.ReadWhole);
    Parse(ExampleFile());
    EXPECT_TRUE(Doc.ReadWhole);
}

// A date that no format reads damages nothing: it keeps its text, which is shown and written
// back as it stands, and the file says so once, however many there are.
TEST_F(ProgramFileTest, ADateNoFormatReadsKeepsItsTextAndReadsOn) {
    StringList file = ExampleFile();
    DateTime created = Doc.PropertySection.Properties.CreatedOn;
    file[4] = "[31/02/1999 10:15:00]";
    file[59] = "[the day before yesterday]";
    Parse(file);
    const Shown kept{Prompter::Kind::Warning,
                     "WARNING: 2 dates of the file could not be read as a date in any known format "
                     "and are kept as written!",
                     Prompter::Buttons::Ok,
                     {}};
    EXPECT_EQ(Box.Messages, std::vector<Shown>{kept});
    EXPECT_TRUE(Doc.ReadWhole);
    const TEDITSectionProperty& p = Doc.PropertySection.Properties;
    EXPECT_EQ(p.CreatedOn, created);
    EXPECT_EQ(p.CreatedOnText(), "31/02/1999 10:15:00");
    EXPECT_EQ(p.LastUpdate, (DateTime{1999, 12, 6, 10, 20, 31}));
    EXPECT_EQ(Doc.PropertySection.LineTexts(), StringList{"Owner=USER1"});
    TEDITSection* calc = Doc.FindSectionByName("CALC");
    ASSERT_NE(calc, nullptr);
    EXPECT_EQ(calc->Properties.CreatedOnText(), "the day before yesterday");
    EXPECT_EQ(calc->LinesCount(), 3);
    Doc.WriteLines();
    EXPECT_EQ(Doc.SaveLines[4], "[31/02/1999 10:15:00]");
    EXPECT_EQ(Doc.SaveLines[60], "[the day before yesterday]");
    // An edit gives the section a moment again.
    calc->SetLines({"  Begsr(CALC)"});
    EXPECT_EQ(calc->Properties.LastUpdateText(),
              RegionalSettings::Current().FormatDateTime(calc->Properties.LastUpdate));
}

TEST_F(ProgramFileTest, WrongLineCountKeepsTheLinesAndReadsOn) {
    StringList file = ExampleFile();
    file[61] = "[4]";
    Parse(file);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted}));
    EXPECT_EQ(Doc.FindSectionByName("CALC")->LinesCount(), 3);
    // A text line that is exactly the end marker is text when the count says so: the block's
    // own marker follows its counted lines.
    Box.Clear();
    TEDITProgram other(Box);
    other.BuildTree();
    file = ExampleFile();
    file[7] = "[End Of Sec]";
    other.SourceLines = file;
    other.ParseLines(ShownIn(Box));
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(other.PropertySection.LineTexts(), StringList{"[End Of Sec]"});
    EXPECT_NE(other.FindSectionByName("CALC"), nullptr);
}

TEST_F(ProgramFileTest, MissingEndMarkerIsAWarning) {
    StringList file = ExampleFile();
    file.pop_back();
    EXPECT_EQ(Parse(file), 69);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted}));
    EXPECT_NE(Doc.FindSectionByName("CALC"), nullptr);
}

TEST_F(ProgramFileTest, LoadingNeverWritesHistory) {
    Doc.LogAdd = true;
    Parse(ExampleFile());
    EXPECT_TRUE(Doc.HistorySection.LineTexts().empty());
    EXPECT_TRUE(Doc.LogAdd);
}

TEST_F(ProgramFileTest, SaveWritesTheFileAndABackupOfTheOldOne) {
    TempDir dir;
    Doc.MainRoutineSection.AssignLines({"first"});
    Doc.Modified = true;
    ASSERT_TRUE(Doc.SaveToFile(dir.File("P.PRG")));
    EXPECT_FALSE(Doc.Modified);
    EXPECT_TRUE(Doc.Opened);
    EXPECT_FALSE(Doc.Untitled);
    EXPECT_EQ(Doc.FileName, "P.PRG");
    EXPECT_EQ(Doc.FilePath, dir.Path() + "/");
    EXPECT_EQ(Doc.FileExt, ".PRG");
    EXPECT_EQ(Doc.Tree.Root()->Text, "P.PRG");
    EXPECT_FALSE(orvale::FileExists(dir.File("P.~PR")));
    std::string bytes;
    ASSERT_TRUE(orvale::ReadFileBytes(dir.File("P.PRG"), bytes));
    EXPECT_TRUE(bytes.starts_with("[Begin Of Tree Program]\r\n[2]\r\n"));
    EXPECT_TRUE(bytes.ends_with("[End Of Program]\r\n"));

    Doc.MainRoutineSection.AssignLines({"second"});
    ASSERT_TRUE(Doc.SaveToFile(dir.File("P.PRG")));
    StringList backup;
    ASSERT_TRUE(orvale::ReadTextFile(dir.File("P.~PR"), backup));
    EXPECT_NE(std::find(backup.begin(), backup.end(), "first"), backup.end());
    // KeepSave off: the saved text is not held on to.
    Doc.KeepSave = false;
    ASSERT_TRUE(Doc.SaveToFile(dir.File("P.PRG")));
    EXPECT_TRUE(Doc.SaveLines.empty());
}

TEST_F(ProgramFileTest, AFailedSaveIsReportedAndChangesNothingOnDisk) {
    TempDir dir;
    std::string path = dir.File("P.PRG");
    Doc.MainRoutineSection.AssignLines({"first"});
    ASSERT_TRUE(Doc.SaveToFile(path));
    Doc.MainRoutineSection.AssignLines({"second"});
    ASSERT_TRUE(Doc.SaveToFile(path)); // P.~PR now holds "first"
    std::string file, backup;
    ASSERT_TRUE(orvale::ReadFileBytes(path, file));
    ASSERT_TRUE(orvale::ReadFileBytes(dir.File("P.~PR"), backup));
    StringList savedText = Doc.SaveLines;

    Doc.MainRoutineSection.AssignLines({std::string(4000, 'x')});
    Doc.Modified = true;
    {
        FileSizeLimit full(1000);
        EXPECT_FALSE(Doc.SaveToFile(path));
    }
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_EQ(Box.Messages[0].BoxButtons, Prompter::Buttons::Ok);
    EXPECT_NE(Box.Messages[0].Text.find("P.PRG"), std::string::npos);
    EXPECT_TRUE(Doc.Modified);
    // The last-save point still describes what is on disk.
    EXPECT_EQ(Doc.SaveLines, savedText);
    std::string fileAfter, backupAfter;
    ASSERT_TRUE(orvale::ReadFileBytes(path, fileAfter));
    ASSERT_TRUE(orvale::ReadFileBytes(dir.File("P.~PR"), backupAfter));
    EXPECT_EQ(fileAfter, file);
    EXPECT_EQ(backupAfter, backup);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_TRUE(entry.path().filename() == "P.PRG" || entry.path().filename() == "P.~PR")
            << entry.path();
}

TEST_F(ProgramFileTest, SaveIntoAnUnwritableFolderFails) {
    TempDir dir;
    std::string folder = dir.Path();
    if (::geteuid() == 0) {
        // Root writes into read-only folders; a "folder" that is a file stops everybody.
        folder = dir.File("plain");
        ASSERT_TRUE(orvale::WriteTextFile(folder, {"not a folder"}));
    } else {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    }
    Doc.Modified = true;
    EXPECT_FALSE(Doc.SaveToFile(folder + "/P.PRG"));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_NE(Box.Messages[0].Text.find("P.PRG"), std::string::npos);
    EXPECT_TRUE(Doc.Modified);
    EXPECT_FALSE(Doc.Opened);
    EXPECT_FALSE(orvale::FileExists(folder + "/P.PRG"));
}

} // namespace

// -- Section blocks, the unit of the tree text

namespace {

class SectionBlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
    }
    void TearDown() override { RegionalSettings::SetCurrent(Saved); }

    int Read(TEDITSection& s, StringList file, int start) {
        std::string dates[2];
        return ReadFromLines(s, file, start, false, dates, Found);
    }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    orvale::Diagnostics Found;
};

const orvale::Diagnostic kCorruptedWarning{orvale::Diagnostic::Kind::Warning,
                                           kCorruptedFileWarning};

} // namespace

TEST_F(SectionBlockTest, BlockWrittenAndReadBack) {
    TEDITSection s("CALC", "Compute the totals");
    s.Properties.CreatedOn = DateTime{1999, 12, 6, 10, 16, 2};
    s.Properties.LastUpdate = DateTime{1999, 12, 6, 10, 16, 2};
    s.AssignLines({"                Begsr(CALC)", "", "                Endsr()"});
    StringList file{"[Begin Of Tree Program]", "[9]"};
    ProgramTextWriter out(file);
    WriteToLines(s, out);
    EXPECT_EQ(file, (StringList{"[Begin Of Tree Program]", "[9]", "[CALC]", "[Compute the totals]",
                                "[06/12/1999 10:16:02]", "[06/12/1999 10:16:02]", "[3]",
                                "                Begsr(CALC)", "", "                Endsr()",
                                "[End Of Sec]", ""}));
    EXPECT_EQ(s.SaveLineIndex, 6);

    TEDITSection r("CALC", "");
    r.AssignCompiled({"stale"});
    std::string dates[2];
    EXPECT_EQ(ReadFromLines(r, file, 3, false, dates, Found), 12);
    EXPECT_EQ(r.LineTexts(), s.LineTexts());
    EXPECT_EQ(r.Properties.Description, "Compute the totals");
    // The dates are the caller's to read, with the others of the file.
    EXPECT_EQ(dates[0], "06/12/1999 10:16:02");
    EXPECT_EQ(dates[1], "06/12/1999 10:16:02");
    EXPECT_EQ(r.OpenLineIndex, 6);
    EXPECT_TRUE(r.CompiledTexts().empty());
    EXPECT_TRUE(Found.Empty());
}

TEST_F(SectionBlockTest, ACountThatDoesNotMatchWarnsAndKeepsTheLines) {
    TEDITSection r("X", "");
    EXPECT_EQ(Read(r, {"[d]", "[06/12/1999]", "[06/12/1999]", "[3]", "a", "[End Of Sec]", ""}, 0),
              7);
    EXPECT_EQ(r.LineTexts(), (StringList{"a"}));
    EXPECT_EQ(Found.All(), std::vector<orvale::Diagnostic>{kCorruptedWarning});
    // A missing end marker reads to the end of the text.
    TEDITSection t("Y", "");
    EXPECT_EQ(Read(t, {"[d]", "[06/12/1999]", "[06/12/1999]", "[1]", "a"}, 0), 7);
    EXPECT_EQ(t.LineTexts(), (StringList{"a"}));
}

TEST_F(SectionBlockTest, CompiledBlockReadsOrIsDroppedWhole) {
    TEDITSection s("Header", "");
    StringList area{"[2]", "     H", "     H*", "[End Of Sec]", "", "[Next]"};
    EXPECT_EQ(ReadCompiledFromLines(s, area, 0, false, Found), 5);
    EXPECT_TRUE(s.CompiledValid);
    EXPECT_EQ(s.CompiledTexts(), (StringList{"     H", "     H*"}));
    EXPECT_FALSE(s.CompiledLinked());

    TEDITSection bad("Header", "");
    StringList wrong{"[3]", "     H", "[End Of Sec]", ""};
    EXPECT_EQ(ReadCompiledFromLines(bad, wrong, 0, false, Found), -1);
    EXPECT_TRUE(bad.CompiledTexts().empty());
    EXPECT_FALSE(bad.CompiledValid);
    EXPECT_EQ(Found.All(), std::vector<orvale::Diagnostic>{kCorruptedWarning});
}

// Taking a block reads what reading it gives and moves only the block's own lines out of the
// file text: the markers around them stay for the reader of the next block.
TEST_F(SectionBlockTest, TakingABlockReadsItAsReadingDoes) {
    StringList file{"[d]",
                    "[06/12/1999 10:16:02]",
                    "[06/12/1999 10:16:02]",
                    "[2]",
                    "                Begsr(CALC)",
                    "x",
                    "[End Of Sec]",
                    "",
                    "[2]",
                    "     C*",
                    "     C",
                    "[End Of Sec]",
                    ""};
    StringList copy = file;
    TEDITSection read("CALC", ""), taken("CALC", "");
    std::string readDates[2], takenDates[2];
    EXPECT_EQ(ReadFromLines(taken, file, 0, true, takenDates, Found),
              ReadFromLines(read, copy, 0, false, readDates, Found));
    EXPECT_EQ(taken.LineTexts(), read.LineTexts());
    EXPECT_EQ(takenDates[0], readDates[0]);
    EXPECT_EQ(ReadCompiledFromLines(taken, file, 8, true, Found),
              ReadCompiledFromLines(read, copy, 8, false, Found));
    EXPECT_EQ(taken.CompiledTexts(), read.CompiledTexts());
    EXPECT_TRUE(taken.CompiledValid);
    EXPECT_EQ(copy, (StringList{"[d]", "[06/12/1999 10:16:02]", "[06/12/1999 10:16:02]", "[2]",
                                "                Begsr(CALC)", "x", "[End Of Sec]", "", "[2]",
                                "     C*", "     C", "[End Of Sec]", ""}));
    EXPECT_EQ(file, (StringList{"[d]", "[06/12/1999 10:16:02]", "[06/12/1999 10:16:02]", "[2]", "",
                                "", "[End Of Sec]", "", "[2]", "", "", "[End Of Sec]", ""}));
    EXPECT_TRUE(Found.Empty());
}

TEST_F(SectionBlockTest, StoredTextOfARestorePoint) {
    StringList saved{"[x]", "[2]", "one", "two", "[End Of Sec]", ""};
    StringList text{"left alone"};
    EXPECT_FALSE(ReadSectionLines(saved, 9, text, Found));
    EXPECT_EQ(text, StringList{"left alone"});
    EXPECT_TRUE(ReadSectionLines(saved, 1, text, Found));
    EXPECT_EQ(text, (StringList{"one", "two"}));
    EXPECT_TRUE(Found.Empty());
    saved[1] = "[3]";
    EXPECT_TRUE(ReadSectionLines(saved, 1, text, Found));
    EXPECT_EQ(text, (StringList{"one", "two"}));
    EXPECT_EQ(Found.All(), std::vector<orvale::Diagnostic>{kCorruptedWarning});
}

TEST(BracketLines, ValueDropsFirstAndLastCharacterWhateverTheyAre) {
    EXPECT_EQ(BracketValue("[a]b]"), "a]b");
    EXPECT_EQ(BracketValue("xyz"), "y");
    EXPECT_EQ(BracketValue("[]"), "");
    EXPECT_EQ(BracketNumber("[12]"), 12);
    EXPECT_EQ(BracketNumber("[1a]"), -1);
    EXPECT_EQ(BracketNumber("[]"), -1);
    EXPECT_EQ(BracketNumber("[-3]"), -3);
}
