#include "rpgprogram/RPGProgram.h"

#include "document/ProgramFile.h"

#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "platform/TextFile.h"

#include "support/FakeProgramView.h"
#include "support/ShownIn.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using orvale::DateTime;
using orvale::ProgramPage;
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

class RPGProgramFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Doc.BindView(&View);
        Doc.FormGenRPG = &Form;
        Doc.UserName = "USER1";
    }
    void TearDown() override {
        RegionalSettings::SetCurrent(Saved);
        EXPECT_TRUE(View.Violations.empty()) << View.Violations.front();
    }

    // A new program with a routine, an array, an output, history and some compiled lines.
    void FillProgram() {
        Doc.NewProgram();
        Doc.LogAdd = true;
        Doc.HeaderSection.AssignLines({"Header(...)"});
        Doc.HeaderSection.AssignCompiled({"     H                                    1"});
        Doc.HeaderSection.CompiledValid = true;
        TEDITSection* calc = Doc.AddSubRoutine("CALC", "Compute the totals");
        calc->AssignLines(
            {"                Begsr(CALC)", "  [odd] text", "                Endsr()"});
        calc->AssignCompiled(
            {"     C           CALC      BEGSR", "     C                     ENDSR"});
        calc->CompiledValid = true;
        calc->Properties.CreatedOn = {1999, 12, 6, 10, 16, 2};
        Doc.AddArray("TAB", "Months")->AssignLines({"JANFEBMAR"});
        TEDITSection* out = Doc.AddOutput("QPRINT", "Report");
        out->AssignLines({"OUTBegin(QPRINT)"});
        out->AssignCompiled({"     OQPRINT  H  1"});
        out->CompiledValid = false; // edited after the build
        Doc.DescriptionSection.AssignLines({"What it does"});
    }

    // Everything a program file keeps, one text per node, in tree order.
    static StringList Snapshot(const TRPGProgram& doc) {
        StringList out;
        const RegionalSettings& rs = RegionalSettings::Current();
        for (TreeNode* n = doc.Tree.First(); n; n = TProgramTree::Next(n)) {
            std::string text = std::to_string(n->Level()) + " " + n->Text + " " +
                               std::to_string(n->ImageIndex) + "/" +
                               std::to_string(n->SelectedIndex);
            if (const TEDITSection* s = n->Section()) {
                const TEDITSectionProperty& p = s->Properties;
                text += " [" + p.Name + "|" + p.Description + "|" + rs.FormatDateTime(p.CreatedOn) +
                        "|" + rs.FormatDateTime(p.LastUpdate) + "]";
                for (const auto& line : s->LineTexts())
                    text += "\n  " + line;
                // A cache that no longer matches its text is not kept.
                if (s->CompiledValid) {
                    text += "\n compiled:";
                    for (const auto& line : s->CompiledTexts())
                        text += "\n  " + line;
                }
            } else if (const TEDITFolder* f = n->Folder()) {
                text += " folder " + f->Name + "|" + f->Description;
            }
            out.push_back(text);
        }
        return out;
    }

    StringList FileLines(const std::string& path) {
        StringList lines;
        EXPECT_TRUE(orvale::ReadTextFile(path, lines));
        return lines;
    }

    // Loads Lines as a file into a fresh document.
    void LoadLines(TRPGProgram& doc, const StringList& lines) {
        std::string path = Dir.File("LOAD.RPG");
        ASSERT_TRUE(orvale::WriteTextFile(path, lines));
        ASSERT_TRUE(doc.LoadFromFile(path, ShownIn(Box)));
    }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    TempDir Dir;
    ScriptedPrompter Box;
    FakeProgramView View;
    TFormGenRPG Form;
    TRPGProgram Doc{Box};
};

TEST_F(RPGProgramFileTest, SavedProgramLoadsBackWhole) {
    FillProgram();
    std::string path = Dir.File("DEMO.RPG");
    ASSERT_TRUE(Doc.SaveToFile(path));
    EXPECT_FALSE(Doc.Modified);
    EXPECT_FALSE(Doc.Untitled);
    EXPECT_EQ(Doc.Tree.Root()->Text, "DEMO.RPG");
    StringList before = Snapshot(Doc);

    ScriptedPrompter box;
    FakeProgramView view;
    TRPGProgram loaded(box);
    loaded.BindView(&view);
    ASSERT_TRUE(loaded.LoadFromFile(path, ShownIn(Box)));
    EXPECT_TRUE(box.Messages.empty());
    StringList after = Snapshot(loaded);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i], before[i]);
    EXPECT_EQ(loaded.HistorySection.LineTexts(), Doc.HistorySection.LineTexts());
    EXPECT_EQ(loaded.HistorySection.LinesCount(), 3);
    // The opened state.
    EXPECT_TRUE(loaded.Opened);
    EXPECT_FALSE(loaded.Modified);
    EXPECT_FALSE(loaded.Untitled);
    EXPECT_EQ(loaded.FileName, "DEMO.RPG");
    EXPECT_EQ(loaded.FilePath, Dir.Path() + "/");
    EXPECT_EQ(loaded.FileExt, ".RPG");
    EXPECT_EQ(view.GridRows, 13);
    EXPECT_EQ(view.ActivePage, ProgramPage::Objects);
    EXPECT_EQ(loaded.SourceLines, FileLines(path));
    EXPECT_TRUE(view.Violations.empty());
    EXPECT_EQ(view.BusyDepth, 0);
}

TEST_F(RPGProgramFileTest, CompiledAreaFollowsTheTreeText) {
    Doc.NewProgram();
    Doc.HeaderSection.AssignCompiled({"     H  compiled"});
    Doc.HeaderSection.CompiledValid = true;
    // A stale cache is written as an empty block.
    Doc.MainRoutineSection.AssignCompiled({"     C  stale"});
    Doc.MainRoutineSection.CompiledValid = false;
    std::string path = Dir.File("A.RPG");
    ASSERT_TRUE(Doc.SaveToFile(path));
    StringList lines = FileLines(path);
    auto end = std::find(lines.begin(), lines.end(), "[End Of Program]");
    ASSERT_NE(end, lines.end());
    size_t n = static_cast<size_t>(end - lines.begin());
    EXPECT_EQ(lines[n + 1], "");
    EXPECT_EQ(lines[n + 2], "[Begin Of Compiled Section]");
    EXPECT_EQ(StringList(lines.begin() + n + 3, lines.begin() + n + 7),
              (StringList{"[Property]", "[0]", "[End Of Sec]", ""}));
    EXPECT_EQ(StringList(lines.begin() + n + 19, lines.begin() + n + 24),
              (StringList{"[Header]", "[1]", "     H  compiled", "[End Of Sec]", ""}));
    EXPECT_EQ(lines.back(), "[End Of Compiled Section]");
    auto main = std::find(lines.begin() + n, lines.end(), "[Main Routine]");
    ASSERT_NE(main, lines.end());
    EXPECT_EQ(main[1], "[0]");
    EXPECT_EQ(main[2], "[End Of Sec]");
    // Fourteen sections in all, four lines each when empty.
    EXPECT_EQ(lines.size() - n, 3 + 13 * 4 + 5 + 1u);
}

TEST_F(RPGProgramFileTest, SavingTwiceKeepsTheFirstVersionAsBackup) {
    Doc.NewProgram();
    Doc.MainRoutineSection.AssignLines({"version 1"});
    std::string path = Dir.File("A.RPG");
    ASSERT_TRUE(Doc.SaveToFile(path));
    StringList first = FileLines(path);
    Doc.MainRoutineSection.AssignLines({"version 2"});
    EXPECT_EQ(Doc.Save(), path); // named now: no dialog
    EXPECT_TRUE(View.SaveRequests.empty());
    EXPECT_EQ(FileLines(Dir.File("A.~RP")), first);
    EXPECT_NE(FileLines(path), first);
}

TEST_F(RPGProgramFileTest, SaveAsWritesTheChosenFile) {
    Doc.NewProgram();
    View.SaveAnswers.push_back(Dir.File("B.RPG"));
    EXPECT_EQ(Doc.SaveAs(), Dir.File("B.RPG"));
    EXPECT_TRUE(orvale::FileExists(Dir.File("B.RPG")));
    EXPECT_FALSE(Doc.Untitled);
    View.SaveAnswers.push_back(std::nullopt);
    EXPECT_EQ(Doc.SaveAs(), Dir.File("B.RPG"));
    EXPECT_EQ(View.SaveRequests.back().InitialDir, Dir.Path());
    EXPECT_EQ(View.SaveRequests.back().FileName, "B.RPG");
}

TEST_F(RPGProgramFileTest, CompiledAreaOptions) {
    FillProgram();
    std::string path = Dir.File("A.RPG");
    Form.SaveComp = false;
    ASSERT_TRUE(Doc.SaveToFile(path));
    EXPECT_EQ(FileLines(path).back(), "[End Of Program]");
    {
        // Loading a file without the area shows nothing and reads nothing.
        TRPGProgram loaded(Box);
        loaded.FormGenRPG = &Form;
        ASSERT_TRUE(loaded.LoadFromFile(path, ShownIn(Box)));
        EXPECT_TRUE(Box.Messages.empty());
        EXPECT_TRUE(loaded.HeaderSection.CompiledTexts().empty());
        EXPECT_FALSE(loaded.HeaderSection.CompiledValid);
    }
    Form.SaveComp = true;
    ASSERT_TRUE(Doc.SaveToFile(path));
    Form.LoadComp = false;
    TRPGProgram loaded(Box);
    loaded.FormGenRPG = &Form;
    ASSERT_TRUE(loaded.LoadFromFile(path, ShownIn(Box)));
    EXPECT_TRUE(Box.Messages.empty());
    for (TreeNode* n = loaded.Tree.First(); n; n = TProgramTree::Next(n)) {
        if (TEDITSection* s = n->Section()) {
            EXPECT_TRUE(s->CompiledTexts().empty() && !s->CompiledValid) << n->Text;
        }
    }
}

TEST_F(RPGProgramFileTest, ClosingSavesWithoutTheCompiledArea) {
    FillProgram();
    std::string path = Dir.File("A.RPG");
    ASSERT_TRUE(Doc.SaveToFile(path));
    Doc.MainRoutineSection.AssignLines({"changed"});
    Doc.Modified = true;
    EXPECT_TRUE(Doc.CloseProgram()); // default answer: Yes
    StringList lines = FileLines(path);
    EXPECT_EQ(lines.back(), "[End Of Program]");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "changed"), lines.end());
}

TEST_F(RPGProgramFileTest, KeepOpenDecidesWhetherTheOpenedTextStays) {
    FillProgram();
    std::string path = Dir.File("A.RPG");
    ASSERT_TRUE(Doc.SaveToFile(path));
    TRPGProgram loaded(Box);
    loaded.KeepOpen = false;
    ASSERT_TRUE(loaded.LoadFromFile(path, ShownIn(Box)));
    EXPECT_TRUE(loaded.SourceLines.empty());
    EXPECT_EQ(loaded.FindSectionByName("CALC")->LinesCount(), 3);
}

// Without the restore texts a save writes the sections' lines straight to the file and an open
// moves them out of the file text; neither may change what is written or read.
TEST_F(RPGProgramFileTest, TextsNotKeptChangeNothingInTheFileOrTheProgram) {
    FillProgram();
    StringList header = Doc.HeaderSection.LineTexts();
    header.push_back("[End Of Sec]"); // a text line that reads like the marker
    Doc.HeaderSection.AssignLines(header);
    std::string kept = Dir.File("KEPT.RPG"), streamed = Dir.File("STREAMED.RPG");
    ASSERT_TRUE(Doc.SaveToFile(kept));
    Doc.KeepSave = false;
    ASSERT_TRUE(Doc.SaveToFile(streamed));
    EXPECT_EQ(FileLines(streamed), FileLines(kept));
    EXPECT_TRUE(Doc.SaveLines.empty());

    TRPGProgram copied(Box), moved(Box);
    copied.FormGenRPG = moved.FormGenRPG = &Form;
    moved.KeepOpen = false;
    ASSERT_TRUE(copied.LoadFromFile(kept, ShownIn(Box)));
    ASSERT_TRUE(moved.LoadFromFile(kept, ShownIn(Box)));
    EXPECT_EQ(Snapshot(moved), Snapshot(copied));
    EXPECT_EQ(moved.HeaderSection.CompiledTexts(), Doc.HeaderSection.CompiledTexts());
    EXPECT_TRUE(Box.Messages.empty());
}

// An open that leaves the compiled area unread (a build of every section) and drops the file
// text gives up the area's lines before the sections take theirs, so that the file's copy of
// the member is gone before the sections' line records are made. It reads what an open that
// keeps the text reads, origins included; a tree it cannot find the end of gives up nothing.
TEST_F(RPGProgramFileTest, AnOpenWithoutTheCompiledAreaGivesItUpFirst) {
    FillProgram();
    TEDITSection* calc = Doc.FindSectionByName("CALC");
    const std::string begsr = "     C           CALC      BEGSR";
    ASSERT_TRUE(calc->SetOrigins({{begsr, 4, StatementHash(calc->GetLine(0))},
                                  {},
                                  {"     C                     ENDSR        tag", 9, 42}}));
    Form.SaveComp = true;
    std::string path = Dir.File("A.RPG");
    ASSERT_TRUE(Doc.SaveToFile(path));
    Form.LoadComp = false;

    TRPGProgram copied(Box), moved(Box);
    copied.FormGenRPG = moved.FormGenRPG = &Form;
    moved.KeepOpen = false;
    ASSERT_TRUE(copied.LoadFromFile(path, ShownIn(Box)));
    ASSERT_TRUE(moved.LoadFromFile(path, ShownIn(Box)));
    EXPECT_EQ(Snapshot(moved), Snapshot(copied));
    const TEDITSection* read = moved.FindSectionByName("CALC");
    ASSERT_EQ(read->LinesCount(), 3);
    ASSERT_TRUE(read->OriginAt(0) && read->OriginAt(2));
    EXPECT_EQ(read->OriginAt(0)->Text, begsr);
    EXPECT_EQ(read->OriginAt(0)->Ordinal, 4);
    EXPECT_EQ(read->OriginAt(1), nullptr);
    EXPECT_EQ(read->OriginAt(2)->Text, "     C                     ENDSR        tag");
    EXPECT_EQ(read->OriginAt(2)->Statement, 42u);
    EXPECT_TRUE(moved.HeaderSection.CompiledTexts().empty());
    EXPECT_TRUE(Box.Messages.empty());

    // The file text as the tree's reader leaves it: the compiled lines emptied, the markers
    // and the origin area left for the readers that follow.
    const StringList file = FileLines(path);
    auto compiledLine = std::find(file.begin(), file.end(), begsr);
    ASSERT_NE(compiledLine, file.end());
    const size_t at = static_cast<size_t>(compiledLine - file.begin());
    StringList lines = file;
    TRPGProgram reader(Box);
    reader.FormGenRPG = &Form;
    reader.BuildTree();
    orvale::Diagnostics found;
    TreeReading tree = ReadTree(reader, lines, true, found, false);
    EXPECT_TRUE(found.Empty());
    EXPECT_EQ(reader.FindSectionByName("CALC")->LineTexts(), calc->LineTexts());
    EXPECT_EQ(reader.HeaderSection.LineTexts(), Doc.HeaderSection.LineTexts());
    EXPECT_EQ(lines[static_cast<size_t>(tree.AreaStart)], kBeginOfCompiled);
    EXPECT_TRUE(lines[at].empty());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), kEndOfCompiled), 1);
    StringList whole = file;
    EXPECT_EQ(PassCompiledArea(lines, tree.AreaStart, false),
              PassCompiledArea(whole, tree.AreaStart, false));

    StringList damaged = file;
    damaged.erase(std::find(damaged.begin(), damaged.end(), kEndOfProgram));
    TRPGProgram other(Box);
    other.FormGenRPG = &Form;
    other.BuildTree();
    orvale::Diagnostics otherFound;
    ReadTree(other, damaged, true, otherFound, false);
    EXPECT_FALSE(otherFound.Empty());
    EXPECT_EQ(damaged[at - 1], begsr);
    EXPECT_EQ(other.FindSectionByName("CALC")->LineTexts(), calc->LineTexts());
}

TEST_F(RPGProgramFileTest, UnreadableFileIsReportedAndChangesNothing) {
    EXPECT_FALSE(Doc.LoadFromFile(Dir.File("MISSING.RPG"), ShownIn(Box)));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_EQ(Box.Messages[0].BoxButtons, Prompter::Buttons::Ok);
    EXPECT_NE(Box.Messages[0].Text.find("MISSING.RPG"), std::string::npos);
    EXPECT_FALSE(Doc.Opened);
    EXPECT_EQ(Doc.FileName, "NoName.PRG");
    EXPECT_TRUE(Doc.Tree.Empty());
    EXPECT_EQ(View.BusyDepth, 0);
}

// -- The compiled area's failure cases, on a saved program whose Header and CALC have lines.

class CompiledAreaTest : public RPGProgramFileTest {
protected:
    void SetUp() override {
        RPGProgramFileTest::SetUp();
        FillProgram();
        ASSERT_TRUE(Doc.SaveToFile(Dir.File("A.RPG")));
        File = FileLines(Dir.File("A.RPG"));
        auto at = std::find(File.begin(), File.end(), "[Begin Of Compiled Section]");
        ASSERT_NE(at, File.end());
        Begin = static_cast<size_t>(at - File.begin());
    }
    size_t Find(const std::string& line) const {
        return static_cast<size_t>(
            std::find(File.begin() + static_cast<long>(Begin), File.end(), line) - File.begin());
    }
    StringList File;
    size_t Begin = 0;
};

TEST_F(CompiledAreaTest, MissingStartMarker) {
    File[Begin] = "[Begin Of Compiled]";
    TRPGProgram loaded(Box);
    LoadLines(loaded, File);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kWrongFormat, kCorrupted}));
    EXPECT_TRUE(loaded.HeaderSection.CompiledTexts().empty());
    EXPECT_EQ(loaded.FindSectionByName("CALC")->LinesCount(), 3); // the tree part is read
}

TEST_F(CompiledAreaTest, UnknownSectionName) {
    File[Find("[CALC]")] = "[CALC9]";
    TRPGProgram loaded(Box);
    LoadLines(loaded, File);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted, kCorrupted}));
    // Sections before the fault keep their compiled lines.
    EXPECT_EQ(loaded.HeaderSection.CompiledTexts(), Doc.HeaderSection.CompiledTexts());
    EXPECT_TRUE(loaded.HeaderSection.CompiledValid);
    EXPECT_TRUE(loaded.FindSectionByName("CALC")->CompiledTexts().empty());
}

TEST_F(CompiledAreaTest, WrongCountStopsWithOneWarning) {
    File[Find("[CALC]") + 1] = "[3]";
    TRPGProgram loaded(Box);
    LoadLines(loaded, File);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted}));
    EXPECT_TRUE(loaded.HeaderSection.CompiledValid);
    TEDITSection* calc = loaded.FindSectionByName("CALC");
    EXPECT_TRUE(calc->CompiledTexts().empty());
    EXPECT_FALSE(calc->CompiledValid);
}

TEST_F(CompiledAreaTest, MissingEndMarker) {
    File.pop_back();
    TRPGProgram loaded(Box);
    LoadLines(loaded, File);
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{kCorrupted}));
    EXPECT_EQ(loaded.FindSectionByName("calc")->CompiledTexts(),
              Doc.FindSectionByName("CALC")->CompiledTexts());
}

TEST_F(CompiledAreaTest, NamesAreFoundIgnoringCase) {
    File[Find("[CALC]")] = "[calc]";
    TRPGProgram loaded(Box);
    LoadLines(loaded, File);
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_TRUE(loaded.FindSectionByName("CALC")->CompiledValid);
}

TEST_F(RPGProgramFileTest, AFailedSaveKeepsTheOldFileAndItsBackup) {
    FillProgram();
    std::string path = Dir.File("A.RPG");
    ASSERT_TRUE(Doc.SaveToFile(path));
    ASSERT_TRUE(Doc.SaveToFile(path));
    StringList file = FileLines(path);
    StringList backup = FileLines(Dir.File("A.~RP"));
    Doc.MainRoutineSection.AssignLines(StringList(200, std::string(80, 'C')));
    Doc.Modified = true;
    {
        FileSizeLimit full(4096);
        EXPECT_FALSE(Doc.SaveToFile(path));
    }
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_TRUE(Doc.Modified);
    EXPECT_EQ(FileLines(path), file);
    EXPECT_EQ(FileLines(Dir.File("A.~RP")), backup);
}

} // namespace
