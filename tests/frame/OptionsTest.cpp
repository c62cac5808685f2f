#include "frame/Options.h"
#include "platform/ProfileFile.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using orvale::ProfileFile;
using orvale::test::TempDir;

namespace {

class OptionsFileTest : public ::testing::Test {
protected:
    std::string Path() const { return OptionsFilePath(Dir.Path() + "/"); }

    void WriteFile(const std::string& text) {
        ProfileFile profile(Path());
        profile.SetText(text);
        ASSERT_TRUE(profile.Save());
    }

    ProfileFile Reload() const {
        ProfileFile profile(Path());
        EXPECT_TRUE(profile.Load());
        return profile;
    }

    TempDir Dir;
    TOptions Options;
    TFormGenRPG Compiler;
};

StringList Paths(int from, int count) {
    StringList paths;
    for (int i = from; i < from + count; ++i)
        paths.push_back("/prg/P" + std::to_string(i) + ".RPG");
    return paths;
}

} // namespace

TEST_F(OptionsFileTest, FreshInstallationStartsWithTheDefaults) {
    Options.Editor.BackColor = 0;
    Compiler.PrgProp = false;
    ASSERT_TRUE(LoadOptionsFile(Path(), Options, Compiler));

    EXPECT_EQ(Options.Editor.BackColor, 0x800000); // navy
    EXPECT_EQ(Options.Editor.TextColor, 0x00FFFF); // yellow
    EXPECT_EQ(FontSizeForIndex(Options.Editor.FontSizeIdx), 10);
    EXPECT_EQ(Options.Editor.TabSpaces, 2);
    EXPECT_TRUE(Options.Editor.EditorPopupMemu);
    EXPECT_FALSE(Options.Editor.UseRightButton);
    EXPECT_TRUE(Options.Editor.AutoIndent && Options.Editor.BackUnindent);
    EXPECT_FALSE(Options.Editor.CursThrTabs);
    for (bool flag : {Compiler.PrgProp, Compiler.PrgDesc, Compiler.PrgHist, Compiler.PreComp,
                      Compiler.SDesc, Compiler.CDate, Compiler.UDate, Compiler.LComm,
                      Compiler.CComm, Compiler.BLines, Compiler.SaveComp, Compiler.LoadComp})
        EXPECT_TRUE(flag);
    EXPECT_EQ(Compiler.EditPrefix, "&%");
    const THistoryOptions& h = Options.History;
    EXPECT_TRUE(h.AddSec && h.DelSec && h.ModSec && h.ModPrp && h.ModSPr);
    EXPECT_TRUE(Options.Undo.Previous && Options.Undo.LastOpen && Options.Undo.LastSave);
    const TExportOptions& e = Options.Export;
    EXPECT_TRUE(e.SaveOnExport && e.CompOnExport && e.BuilOnExport);
    EXPECT_TRUE(Options.Reopen.Empty());
    EXPECT_EQ(Options.Reopen.Captions(), StringList{"Void"});
    EXPECT_EQ(Options.LastExportFolder.back(), '/');
}

TEST_F(OptionsFileTest, WritesEveryKeyInTheFileOrder) {
    Compiler.EditPrefix = "#";
    Options.Editor.AutoIndent = true;
    Options.Reopen.AddToReopenList("/prg/B.RPG");
    Options.Reopen.AddToReopenList("/prg/A.RPG");
    Options.LastExportFolder = "/mnt/as400/";
    Options.LastProgramFolder = "/home/mario/Documents";
    Options.Window = {"AdnQywADAAA=", "AAAA/wAAAAD9", false};
    ASSERT_TRUE(SaveOptionsFile(Path(), Options, Compiler));

    StringList lines;
    ASSERT_TRUE(orvale::ReadTextFile(Path(), lines));
    StringList keys;
    for (const std::string& line : lines)
        if (!line.empty())
            keys.push_back(line);
    StringList expected = {"[General Options]",
                           "BackColor=8388608",
                           "TextColor=65535",
                           "FontSizeIdx=4",
                           "UseRightButton=0",
                           "EditorPopupMemu=1",
                           "AutoIndent=1",
                           "BackUnindent=0",
                           "CursThrTabs=0",
                           "TabSpaces=2",
                           "TextFilesLatin1=0",
                           "HostDateFormat=0",
                           "LastProgramFolder=/home/mario/Documents",
                           "CodePage=ISO-8859-1",
                           "[Compiler Options]",
                           "PrgProp=1",
                           "PrgDesc=1",
                           "PrgHist=1",
                           "PreComp=1",
                           "CodeComm=1",
                           "BlankLines=1",
                           "SecDesc=1",
                           "CrtDate=1",
                           "UpdDate=1",
                           "LineComm=1",
                           "SaveComp=1",
                           "LoadComp=1",
                           "RPGPrefix=#",
                           "ChangeTag=",
                           "ChangeTagLeft=0",
                           "RenumberDated=0",
                           "LastExportFolder=/mnt/as400/",
                           "[History Log]",
                           "AddSec=1",
                           "DelSec=1",
                           "ModSec=1",
                           "ModPrp=1",
                           "ModSPr=1",
                           "[Undo Options]",
                           "Previous=1",
                           "LastOpen=1",
                           "LastSave=1",
                           "[Export Options]",
                           "SaveOnExport=1",
                           "CompOnExport=1",
                           "BuilOnExport=1",
                           "RecordLength=80",
                           "DatedRecords=0",
                           "DatedReading=0",
                           "HostCodePage=",
                           "[Main Window]",
                           "Geometry=AdnQywADAAA=",
                           "State=AAAA/wAAAAD9",
                           "ButtonBar=0",
                           "[Reopen Item]",
                           "0=/prg/A.RPG",
                           "1=/prg/B.RPG"};
    EXPECT_EQ(keys, expected);
}

TEST_F(OptionsFileTest, ReadsWhatWasWrittenAndConvertsValues) {
    WriteFile("[General Options]\n"
              "BackColor=0x000080\n" // hexadecimal: maroon
              "TextColor=255\n"
              "FontSizeIdx=7\n"
              "UseRightButton=2\n" // any value but 0 is true
              "EditorPopupMemu=0\n"
              "AutoIndent=0\n" // an older file keeps its indentation keys off
              "BackUnindent=0\n"
              "TabSpaces=6\n"
              "[compiler options]\n" // sections and keys ignore case
              "prgdesc=0\n"
              "RPGPrefix=$\n"
              "ChangeTag=PR0042\n"
              "ChangeTagLeft=1\n"
              "[Undo Options]\n"
              "LastSave=0\n"
              "[Export Options]\n"
              "BuilOnExport=0\n"
              "RecordLength=100\n"
              "DatedRecords=1\n"
              "DatedReading=7\n"); // a hand-edited reading no choice has
    ASSERT_TRUE(LoadOptionsFile(Path(), Options, Compiler));
    EXPECT_EQ(Options.Editor.BackColor, 128);
    EXPECT_EQ(Options.Editor.TextColor, 255);
    EXPECT_EQ(FontSizeForIndex(Options.Editor.FontSizeIdx), 13);
    EXPECT_TRUE(Options.Editor.UseRightButton);
    EXPECT_FALSE(Options.Editor.EditorPopupMemu);
    EXPECT_FALSE(Options.Editor.AutoIndent || Options.Editor.BackUnindent);
    EXPECT_EQ(Options.Editor.TabSpaces, 6);
    EXPECT_FALSE(Compiler.PrgDesc);
    EXPECT_TRUE(Compiler.PrgProp);
    EXPECT_EQ(Compiler.EditPrefix, "$");
    EXPECT_EQ(Compiler.ChangeTag, "PR0042");
    EXPECT_TRUE(Compiler.ChangeTagLeft);
    EXPECT_FALSE(Options.Undo.LastSave);
    EXPECT_TRUE(Options.Undo.LastOpen);
    EXPECT_FALSE(Options.Export.BuilOnExport);
    EXPECT_EQ(Options.Export.RecordLength, 100);
    EXPECT_TRUE(Options.Export.DatedRecords);
    EXPECT_EQ(Options.Export.DatedReading, 2);

    // Written back, the boolean 2 becomes "1" and the colour decimal.
    ASSERT_TRUE(SaveOptionsFile(Path(), Options, Compiler));
    ProfileFile profile = Reload();
    EXPECT_EQ(profile.ReadString("General Options", "UseRightButton"), "1");
    EXPECT_EQ(profile.ReadString("General Options", "BackColor"), "128");
}

TEST_F(OptionsFileTest, ShorterReopenListLeavesOlderKeysThatComeBackAtTheNextStart) {
    for (const std::string& path : Paths(0, 8))
        Options.Reopen.AddToReopenList(path);
    ASSERT_TRUE(SaveOptionsFile(Path(), Options, Compiler));

    // The next run ends with three programs.
    TOptions next;
    for (const std::string& path : Paths(20, 3))
        next.Reopen.AddToReopenList(path);
    ASSERT_TRUE(SaveOptionsFile(Path(), next, Compiler));

    ProfileFile profile = Reload();
    EXPECT_EQ(profile.ReadSectionKeys("Reopen Item").size(), 8u);
    EXPECT_EQ(profile.ReadString("Reopen Item", "0"), "/prg/P22.RPG");
    EXPECT_EQ(profile.ReadString("Reopen Item", "2"), "/prg/P20.RPG");
    EXPECT_EQ(profile.ReadString("Reopen Item", "3"), "/prg/P4.RPG");
    EXPECT_EQ(profile.ReadString("Reopen Item", "7"), "/prg/P0.RPG");

    TOptions read;
    ASSERT_TRUE(LoadOptionsFile(Path(), read, Compiler));
    StringList expected = {"/prg/P22.RPG", "/prg/P21.RPG", "/prg/P20.RPG", "/prg/P4.RPG",
                           "/prg/P3.RPG",  "/prg/P2.RPG",  "/prg/P1.RPG",  "/prg/P0.RPG"};
    EXPECT_EQ(read.Reopen.Paths(), expected);
}

TEST_F(OptionsFileTest, EmptyReopenListIsStoredAsVoidAndReadBackEmpty) {
    ASSERT_TRUE(SaveOptionsFile(Path(), Options, Compiler));
    EXPECT_EQ(Reload().ReadString("Reopen Item", "0"), "Void");
    TOptions read;
    read.Reopen.AddToReopenList("/stale.RPG");
    ASSERT_TRUE(LoadOptionsFile(Path(), read, Compiler));
    EXPECT_EQ(read.Reopen.Captions(), StringList{"Void"});
}

TEST_F(OptionsFileTest, SavingKeepsTheRestOfTheFile) {
    WriteFile("; written by hand\n[Paths]\nHost=/mnt/as400\n[General Options]\nTabSpaces=4\n");
    ASSERT_TRUE(LoadOptionsFile(Path(), Options, Compiler));
    Options.Editor.TabSpaces = 8;
    ASSERT_TRUE(SaveOptionsFile(Path(), Options, Compiler));
    ProfileFile profile = Reload();
    EXPECT_EQ(profile.ReadString("Paths", "Host"), "/mnt/as400");
    EXPECT_EQ(profile.ReadInteger("General Options", "TabSpaces", 0), 8);
    EXPECT_NE(profile.Text().find("; written by hand"), std::string::npos);
}

TEST_F(OptionsFileTest, FailuresNameTheFileAndLoseNothing) {
    WriteFile("[General Options]\nTabSpaces=4\n");
    std::string before;
    ASSERT_TRUE(orvale::ReadFileBytes(Path(), before));
    std::string error;
    {
        // A full disk: the old file stays whole.
        orvale::test::FileSizeLimit limit(16);
        EXPECT_FALSE(SaveOptionsFile(Path(), Options, Compiler, &error));
    }
    EXPECT_NE(error.find(Path()), std::string::npos) << error;
    std::string after;
    ASSERT_TRUE(orvale::ReadFileBytes(Path(), after));
    EXPECT_EQ(after, before);

    // An options "file" that cannot be read gives the defaults and is not overwritten.
    std::string folder = Dir.File("Folder.DEF");
    std::filesystem::create_directory(folder);
    Options.Editor.TabSpaces = 9;
    error.clear();
    EXPECT_FALSE(LoadOptionsFile(folder, Options, Compiler, &error));
    EXPECT_EQ(Options.Editor.TabSpaces, 2);
    EXPECT_NE(error.find(folder), std::string::npos);
    EXPECT_FALSE(SaveOptionsFile(folder, Options, Compiler));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(OptionsFileTest, PathWithLineBreakIsLeftOutButTheRestIsSaved) {
    Options.Reopen.AddToReopenList("/prg/GOOD.RPG");
    Options.Reopen.AddToReopenList("/prg/BAD\nNAME.RPG");
    Options.Editor.TabSpaces = 5;
    std::string error;
    EXPECT_FALSE(SaveOptionsFile(Path(), Options, Compiler, &error));
    EXPECT_NE(error.find(Path()), std::string::npos);
    ProfileFile profile = Reload();
    EXPECT_EQ(profile.ReadInteger("General Options", "TabSpaces", 0), 5);
    EXPECT_EQ(profile.ReadString("Reopen Item", "0"), "/prg/GOOD.RPG");
    EXPECT_FALSE(profile.HasKey("Reopen Item", "1"));
}

TEST_F(OptionsFileTest, TabWidthIsKeptWithinItsRange) {
    WriteFile("[General Options]\nTabSpaces=2000000000\n");
    ASSERT_TRUE(LoadOptionsFile(Path(), Options, Compiler));
    EXPECT_EQ(Options.Editor.TabSpaces, 10);
    WriteFile("[General Options]\nTabSpaces=-3\n");
    ASSERT_TRUE(LoadOptionsFile(Path(), Options, Compiler));
    EXPECT_EQ(Options.Editor.TabSpaces, 2);
}

TEST(FontSizeForIndex, CoversSixToEighteenAndFallsBackToTwelve) {
    EXPECT_EQ(FontSizeForIndex(0), 6);
    EXPECT_EQ(FontSizeForIndex(12), 18);
    EXPECT_EQ(FontSizeForIndex(13), 12);
    EXPECT_EQ(FontSizeForIndex(-1), 12);
}
