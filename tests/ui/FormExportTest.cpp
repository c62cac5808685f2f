#include "ui/FormExport.h"

#include "FakeEditorFrame.h"
#include "calvex/MemberRoundTrip.h"
#include "frame/Options.h"
#include "ondrel/CodePageTables.h"
#include "ondrel/Ondrel.h"
#include "platform/Prompter.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/FileBytes.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "ui/EditorsHolder.h"
#include "ui/HostTransfer.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iconv.h>
#include <memory>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;
using orvale::test::Slurp;
using orvale::test::TempDir;
using Shown = ScriptedPrompter::Shown;
namespace fs = std::filesystem;

namespace {

// A member of the host: a disk file read in a loop, in fixed columns.
const StringList kMemberSource = {
    "     FQLETSRC IF  F      92            DISK",
    "     C                     MOVE '1'       *INOA",
    "     C                     READ QLETSRC                  LR",
    "     C                     SETON                     LR",
};

class MemberTransfer : public ::testing::Test {
protected:
    MemberTransfer() { orvale::test::QtApp(); }

    void SetUp() override {
        ProgramDir = Root.Path() + "/prog/";
        HostDir = Root.Path() + "/host/";
        fs::create_directories(ProgramDir);
        fs::create_directories(HostDir);
        fs::create_directories(Root.Path() + "/src");
        std::string error;
        ASSERT_TRUE(ondrel::WriteCodePageTables("IBM037", ProgramDir, error)) << error;
        Options.LastExportFolder = HostDir;
        Transfer.ProgramDir = ProgramDir;
    }

    // A program window on PAYROLL.RPG whose main routine compiles cleanly.
    std::unique_ptr<TEditorsHolder> PayrollWindow(StringList mainRoutine = {"Z-add(0,X)"}) {
        TEditorSetup setup;
        setup.ProgramDir = ProgramDir;
        auto window = std::make_unique<TEditorsHolder>(Box, setup, &Frame);
        // The compile statistics are read and closed at once.
        window->Services.RunDialog = [](QDialog&) { return true; };
        TRPGProgram& doc = *window->Document;
        doc.NewProgram();
        doc.MainRoutineSection.AssignLines(std::move(mainRoutine));
        EXPECT_TRUE(doc.SaveToFile(Root.File("src/PAYROLL.RPG")));
        return window;
    }

    // The member dialog as the user fills it: Act runs on it, and true is returned when it
    // was closed with OK.
    void PlayDialog(std::function<void(TFormExport&)> act) {
        Transfer.RunDialog = [this, act](QDialog& dialog) {
            auto& form = dynamic_cast<TFormExport&>(dialog);
            Seen.Caption = form.windowTitle();
            Seen.Folder = form.EditFold->text();
            Seen.Member = form.EditFile->text();
            Seen.Label = form.LabelFolder->text();
            act(form);
            return form.result() == QDialog::Accepted;
        };
    }
    static void TypeAndOk(TFormExport& form, const QString& member) {
        form.EditFile->setText(member);
        form.BtnOK->click();
    }

    // Converts an EBCDIC member back into text lines with the program's own table.
    StringList MemberText(const std::string& member) {
        std::string text = Root.File("back.txt");
        EXPECT_TRUE(EBCDicToASCII(member, text, ProgramDir + ondrel::HostToPcFile, 80, nullptr));
        StringList lines;
        EXPECT_TRUE(orvale::ReadTextFile(text, lines));
        return lines;
    }
    void WriteMember(const std::string& path, const StringList& lines) {
        std::string text = Root.File("member.txt");
        ASSERT_TRUE(orvale::WriteTextFile(text, lines));
        ASCIIToEBCDic(text, path, ProgramDir + ondrel::PcToHostFile, 80, nullptr);
        std::string reason;
        ASSERT_EQ(OndrelLastError(reason), OndrelOk) << reason;
    }
    // Every file below the temporary root, as paths relative to it.
    std::vector<std::string> FilesBelowRoot() {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(Root.Path()))
            if (entry.is_regular_file())
                files.push_back(fs::relative(entry.path(), Root.Path()).string());
        std::sort(files.begin(), files.end());
        return files;
    }

    struct DialogSeen {
        QString Caption, Folder, Member, Label;
    } Seen;
    TempDir Root;
    std::string ProgramDir;
    std::string HostDir;
    ScriptedPrompter Box;
    FakeEditorFrame Frame;
    TOptions Options;
    THostTransfer Transfer{Options, {}, Box, nullptr, {}};
};

TEST_F(MemberTransfer, ExportBuildsTheSourceAndCopiesItsMemberIntoTheFolder) {
    auto window = PayrollWindow();
    TRPGProgram& doc = *window->Document;
    doc.MainRoutineSection.AddLine("Z-add(1,Y)");
    doc.Modified = true;
    PlayDialog([](TFormExport& form) { form.BtnOK->click(); });

    ASSERT_TRUE(ExportToHost(*window, Transfer));
    EXPECT_EQ(Seen.Caption, "Export EBCDIC AS/400 Member");
    EXPECT_EQ(Seen.Label, "Export to Folder:");
    EXPECT_EQ(Seen.Member, "PAYROLL.MBR");
    EXPECT_EQ(Seen.Folder.toStdString(), HostDir);
    // Saved first, as the Save command would.
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(window->windowTitle().toStdString(), Root.File("src/PAYROLL.RPG"));

    doc.AssembleSource();
    const StringList& source = doc.NameList;
    ASSERT_GT(source.size(), 2u);
    StringList expected;
    for (std::string line : source) {
        line.resize(80, ' ');
        expected.push_back(line);
    }
    EXPECT_EQ(MemberText(HostDir + "PAYROLL.MBR"), expected);
    // It says where the member went.
    EXPECT_EQ(Box.Messages,
              (std::vector<Shown>{
                  {Prompter::Kind::Information,
                   ExportedMemberMessage("PAYROLL", HostDir + "PAYROLL.MBR", source.size(), 80),
                   Prompter::Buttons::Ok, ""}}));
    // The source and the member were made in private work folders, gone now: the program
    // directory holds what it held.
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(ProgramDir))
        kept.push_back(entry.path().filename().string());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"AStoPC.xlt", "PCtoAS.xlt"}));
    EXPECT_EQ(Options.LastExportFolder, HostDir);
}

// A real member imported, exported and imported again with the options as they come: the
// program built from what came back from the host is the member, line for line, the text past
// column 80 (change tags) included. Nothing is asked on the way.
TEST_F(MemberTransfer, ExportThenImportWithTheDefaultOptionsGivesTheMemberBack) {
    for (const char* name : {"MIDAS__DL0307.RPG.RP3", "MIDAS__DL0300.RPG.RP3"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(ORVALE_CORPUS_DIR) + "/" + name;
        StringList original;
        if (!orvale::ReadTextFile(path, original))
            GTEST_SKIP() << "no member " << path;
        size_t widest = 0;
        for (const std::string& line : original)
            widest = std::max(widest, line.find_last_not_of(' ') + 1);
        Box.Clear();

        TEditorSetup setup;
        setup.ProgramDir = ProgramDir;
        TEditorsHolder window(Box, setup, &Frame);
        window.Services.RunDialog = [](QDialog&) { return true; };
        window.ImportSource(path);
        ASSERT_TRUE(window.Document->SaveToFile(Root.File("src/PROGRAM.RPG")));
        PlayDialog([](TFormExport& form) { TypeAndOk(form, "DL03"); });
        ASSERT_TRUE(ExportToHost(window, Transfer));
        EXPECT_EQ(Slurp(HostDir + "DL03.MBR").size() % widest, 0u);

        PlayDialog([](TFormExport& form) { TypeAndOk(form, "dl03"); });
        StringList built;
        ASSERT_TRUE(ImportFromHost(Transfer, [&](const std::string& converted) {
            TEditorsHolder back(Box, setup, &Frame);
            back.Services.RunDialog = [](QDialog&) { return true; };
            back.ImportSource(converted);
            ASSERT_TRUE(back.CompileProgram(true));
            back.Document->AssembleSource();
            built = back.Document->NameList;
        }));
        std::vector<calvex::LineDifference> differences =
            calvex::CompareRoundTrip(original, built, window.Document->IndicatorPrefix);
        EXPECT_TRUE(differences.empty())
            << differences.size() << " lines differ, the first is line "
            << differences.front().SourceIndex + 1 << ": " << differences.front().Source;
        ASSERT_EQ(Box.Messages.size(), 1u) << Box.Messages.back().Text;
        EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Information);
    }
}

// The dialog says what the host will receive before anything is sent; the banner lines the
// compile wrote can be left out of the member.
TEST_F(MemberTransfer, TheExportShowsWhatTheHostReceivesAndCanLeaveTheBannersOut) {
    auto window = PayrollWindow({"Z-add(0,X)", "Z-add(1,Y)"});
    // A program name the host would refuse as a member name.
    ASSERT_TRUE(window->Document->SaveToFile(Root.File("src/LucyJGitHub__DL0110.RPG")));
    TMemberPreview preview;
    std::string withBanners, without;
    bool offered = false;
    PlayDialog([&](TFormExport& form) {
        preview = form.Preview;
        offered = !form.CheckBanners->isHidden() && form.CheckBanners->isChecked();
        withBanners = form.LabelSummary->text().toStdString();
        form.CheckBanners->setChecked(false);
        without = form.LabelSummary->text().toStdString();
        form.BtnOK->click();
    });
    ASSERT_TRUE(ExportToHost(*window, Transfer));
    EXPECT_EQ(Seen.Member, "DL0110.MBR");

    TRPGProgram& doc = *window->Document;
    doc.AssembleSource();
    StringList sent;
    for (const std::string& line : doc.NameList)
        if (!calvex::IsAddedBanner(line, doc.IndicatorPrefix))
            sent.push_back(line + std::string(80 - std::min<size_t>(line.size(), 80), ' '));
    const size_t banners = doc.NameList.size() - sent.size();
    ASSERT_GT(banners, 0u); // the compile options write banners as they come
    EXPECT_TRUE(offered);
    EXPECT_EQ(preview.Lines, doc.NameList.size());
    EXPECT_EQ(preview.BannerLines, banners);
    const std::string all = std::to_string(doc.NameList.size());
    EXPECT_NE(withBanners.find(all + " lines, as " + all + " records of 80 bytes, " +
                               std::to_string(banners) + " of them banner lines"),
              std::string::npos)
        << withBanners;
    const std::string left = std::to_string(sent.size());
    EXPECT_NE(without.find(left + " lines, as " + left + " records of 80 bytes; the " +
                           std::to_string(banners) + " banner lines"),
              std::string::npos)
        << without;
    EXPECT_EQ(MemberText(HostDir + "DL0110.MBR"), sent);
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text,
              ExportedMemberMessage("DL0110", HostDir + "DL0110.MBR", sent.size(), 80));
}

// Read in records of a length they were not written with, a member's specification lines
// leave their columns: the import asks before it opens anything, and a No leaves the dialog
// open on the length the records tell.
TEST_F(MemberTransfer, AnImportThatWouldMisreadTheRecordsAsksFirst) {
    StringList tagged;
    for (std::string line : kMemberSource) {
        line.resize(80, ' ');
        tagged.push_back(line + "CHG0001 ANNE");
    }
    ASSERT_TRUE(orvale::WriteTextFile(Root.File("tagged.txt"), tagged));
    ASCIIToEBCDic(Root.File("tagged.txt"), HostDir + "CUST.MBR", ProgramDir + ondrel::PcToHostFile,
                  92, nullptr);
    int tries = 0;
    int lengthAfterNo = 0;
    PlayDialog([&](TFormExport& form) {
        form.EditRecordLength->setValue(80);
        TypeAndOk(form, "CUST");
        tries += form.result() == 0;
        lengthAfterNo = form.EditRecordLength->value();
        form.BtnOK->click();
    });
    Box.Queue(Prompter::Answer::No);
    StringList opened;
    ASSERT_TRUE(ImportFromHost(Transfer, [&](const std::string& converted) {
        EXPECT_TRUE(orvale::ReadTextFile(converted, opened));
    }));
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(lengthAfterNo, 92);
    EXPECT_EQ(opened, tagged);
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Confirmation);
    EXPECT_EQ(Box.Messages[0].BoxButtons, Prompter::Buttons::YesNo);
    EXPECT_TRUE(Box.Messages[0].Text.starts_with(MisreadMemberQuestion("CUST", 80, 25, 92, 100)))
        << Box.Messages[0].Text;

    // Text that reads as source at no length: asked alike, and Yes reads it as the options say.
    ASSERT_TRUE(orvale::WriteTextFile(
        Root.File("cl.txt"), StringList(6, "PGM PARM(&NAME)  DCL VAR(&NAME) TYPE(*CHAR)")));
    ASCIIToEBCDic(Root.File("cl.txt"), HostDir + "CL.MBR", ProgramDir + ondrel::PcToHostFile, 80,
                  nullptr);
    Box.Clear();
    Box.Queue(Prompter::Answer::Yes);
    PlayDialog([](TFormExport& form) { TypeAndOk(form, "CL"); });
    ASSERT_TRUE(ImportFromHost(Transfer, [&](const std::string& converted) {
        EXPECT_TRUE(orvale::ReadTextFile(converted, opened));
    }));
    EXPECT_EQ(opened.size(), 6u);
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_NE(Box.Messages[0].Text.find("No record length"), std::string::npos)
        << Box.Messages[0].Text;
}

TEST_F(MemberTransfer, ExportGoesToTheFolderLeftInTheDialog) {
    auto window = PayrollWindow();
    std::string other = Root.Path() + "/other";
    fs::create_directories(other);
    // A folder typed without its trailing separator is joined with one.
    PlayDialog([&](TFormExport& form) {
        form.EditFold->setText(QString::fromStdString(other));
        TypeAndOk(form, "PAY2.MBR");
    });
    ASSERT_TRUE(ExportToHost(*window, Transfer));
    EXPECT_TRUE(orvale::FileExists(other + "/PAY2.MBR"));
    EXPECT_FALSE(orvale::FileExists(HostDir + "PAYROLL.MBR"));
    EXPECT_EQ(Options.LastExportFolder, other);
}

TEST_F(MemberTransfer, AFailedCompileEndsTheExportBeforeTheDialogAndSaysWhy) {
    auto window = PayrollWindow({"Chain(,FILE)"});
    bool shown = false;
    Transfer.RunDialog = [&](QDialog&) { return shown = true; };
    EXPECT_FALSE(ExportToHost(*window, Transfer));
    EXPECT_FALSE(shown);
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "PAYROLL.RP3"));
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(Box.Messages.back().Text, ExportStoppedMessage({"Main Routine"}));

    // Without the compile, the error lines the section still holds stop it all the same: a
    // member with an error line never goes to the host.
    Options.Export.CompOnExport = false;
    Box.Clear();
    EXPECT_FALSE(ExportToHost(*window, Transfer));
    EXPECT_FALSE(shown);
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "PAYROLL.MBR"));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text, ExportStoppedMessage({"Main Routine"}));
}

TEST_F(MemberTransfer, WarningsOnlyAskWhetherToExportAnyway) {
    auto window = PayrollWindow({"Z-add(1,Y)", "RPG()"});
    bool shown = false;
    Transfer.RunDialog = [&](QDialog&) { return shown = true; };
    Box.Queue(Prompter::Answer::No);
    EXPECT_FALSE(ExportToHost(*window, Transfer));
    EXPECT_FALSE(shown);
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(Box.Messages.back().Text, ExportWarningsQuestion({"Main Routine"}));
    EXPECT_EQ(Box.Messages.back().BoxButtons, Prompter::Buttons::YesNo);

    // Exported anyway, the member holds the code and no warning line.
    Box.Clear();
    Box.Queue(Prompter::Answer::Yes);
    PlayDialog([](TFormExport& form) { form.BtnOK->click(); });
    ASSERT_TRUE(ExportToHost(*window, Transfer));
    StringList member = MemberText(HostDir + "PAYROLL.MBR");
    EXPECT_TRUE(std::none_of(member.begin(), member.end(), [](const std::string& line) {
        return line.find("**WARNING") != std::string::npos;
    }));
    EXPECT_TRUE(std::any_of(member.begin(), member.end(), [](const std::string& line) {
        return line.find("Z-ADD") != std::string::npos;
    }));
}

TEST_F(MemberTransfer, AFailedCopyIsReportedAndRemovesTheWorkFiles) {
    auto window = PayrollWindow();
    std::string missing = Root.Path() + "/nowhere";
    PlayDialog([&](TFormExport& form) {
        form.EditFold->setText(QString::fromStdString(missing));
        form.BtnOK->click();
    });
    EXPECT_FALSE(ExportToHost(*window, Transfer));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_EQ(Box.Messages[0].Text.rfind("Sorry can't Export the member!\n", 0), 0u);
    EXPECT_NE(Box.Messages[0].Text.find(missing), std::string::npos);
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "PAYROLL.MBR"));
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "PAYROLL.RP3"));
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(MemberTransfer, MemberNamesThatLeaveTheFoldersAreRefused) {
    EXPECT_EQ(TFormExport::JoinFolder("/host", "X.MBR"), "/host/X.MBR");
    EXPECT_EQ(TFormExport::JoinFolder("/host/", "X.MBR"), "/host/X.MBR");
    // The export dialog stays open on a bad name, and Cancel then leaves.
    auto window = PayrollWindow();
    std::vector<std::string> before;
    bool stayedOpen = false;
    PlayDialog([&](TFormExport& form) {
        TypeAndOk(form, "../x");
        stayedOpen = form.result() == 0 && form.BtnOK->isEnabled();
        form.BtnCancel->click();
    });
    EXPECT_FALSE(ExportToHost(*window, Transfer));
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(orvale::FileExists(Root.File("x.MBR")));
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Error, kInvalidMemberName,
                                                 Prompter::Buttons::Ok, ""}}));

    // Importing, a member outside the folder is not read.
    WriteMember(Root.File("x.MBR"), kMemberSource);
    before = FilesBelowRoot();
    PlayDialog([](TFormExport& form) {
        TypeAndOk(form, "../x.MBR");
        form.BtnCancel->click();
    });
    bool opened = false;
    EXPECT_FALSE(ImportFromHost(Transfer, [&](const std::string&) { opened = true; }));
    EXPECT_FALSE(opened);
    EXPECT_EQ(FilesBelowRoot(), before);
}

// With the members folder set to the program directory itself, no member name reaches a file
// of the program: a name the host would not take is refused and writes nothing; a name it takes
// becomes its own upper-case ".MBR" file and nothing else changes.
TEST_F(MemberTransfer, NoMemberNameReachesTheProgramsOwnFiles) {
    auto window = PayrollWindow();
    for (const char* own : {"orvale", "orvale-cli", "libcalvex.so", "Orvale.KEY"})
        ASSERT_TRUE(orvale::WriteTextFile(ProgramDir + own, {own}));
    Options.LastExportFolder = ProgramDir;
    Options.Export.CompOnExport = false;
    for (const char* name :
         {"libcalvex.so", "A/B", "..", "TOOLONGNAME1", "../../src/PAYROLL.RPG", "orvale-cli"}) {
        Box.Messages.clear();
        // What the export wrote before the dialog (the built source) is the program's own.
        std::vector<std::string> before;
        PlayDialog([&](TFormExport& form) {
            before = FilesBelowRoot();
            TypeAndOk(form, name);
            form.BtnCancel->click();
        });
        EXPECT_FALSE(ExportToHost(*window, Transfer)) << name;
        EXPECT_EQ(FilesBelowRoot(), before) << name;
        EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Error, kInvalidMemberName,
                                                     Prompter::Buttons::Ok, ""}}))
            << name;
    }
    for (const char* name : {"orvale", "Orvale.KEY"}) {
        PlayDialog([&](TFormExport& form) { TypeAndOk(form, name); });
        EXPECT_TRUE(ExportToHost(*window, Transfer)) << name;
    }
    for (const char* own : {"orvale", "orvale-cli", "libcalvex.so", "Orvale.KEY"}) {
        StringList kept;
        ASSERT_TRUE(orvale::ReadTextFile(ProgramDir + own, kept));
        EXPECT_EQ(kept, StringList{own});
    }
    EXPECT_TRUE(orvale::FileExists(ProgramDir + "ORVALE.MBR"));
    EXPECT_TRUE(orvale::FileExists(ProgramDir + "ORVALE.KEY.MBR"));
}

// Members written by other tools in lower case are found; the converted file is private to the
// import and goes with it.
TEST_F(MemberTransfer, AnImportReadsOnlyTheMembersFileAndLeavesNoWorkFile) {
    WriteMember(HostDir + "cust.mbr", kMemberSource);
    ASSERT_TRUE(orvale::WriteTextFile(ProgramDir + "CUST.RP3", {"mine"}));
    std::vector<std::string> before = FilesBelowRoot();
    PlayDialog([](TFormExport& form) { TypeAndOk(form, "cust"); });
    std::string converted;
    EXPECT_TRUE(ImportFromHost(Transfer, [&](const std::string& file) {
        converted = file;
        StringList lines;
        EXPECT_TRUE(orvale::ReadTextFile(file, lines));
        EXPECT_EQ(lines.size(), kMemberSource.size());
    }));
    EXPECT_EQ(ImportedProgramCaption(converted), "CUST.RPG");
    EXPECT_EQ(ImportedProgramPath(ProgramDir, converted), ProgramDir + "CUST.RPG");
    EXPECT_FALSE(fs::exists(converted));
    EXPECT_FALSE(fs::exists(fs::path(converted).parent_path()));
    EXPECT_EQ(FilesBelowRoot(), before);
}

// Records as long as the longest line: tags past column 80 reach the host and come back.
TEST_F(MemberTransfer, TextPastColumnEightyTravelsBothWays) {
    StringList wide = {
        "     C                     Z-ADD0         X                           S01157" +
        std::string("  CHG0001 BY ME")};
    std::string source = Root.File("src/WIDE.RP3");
    ASSERT_TRUE(orvale::WriteTextFile(source, wide));
    EXPECT_EQ(ExportRecordLength(source, 80), static_cast<int>(wide[0].size()));
    EXPECT_EQ(ExportRecordLength(source, 120), 120);
    TFormExport form(Box);
    form.WorkingDir = ProgramDir;
    form.ConvertedFile = source;
    form.ShowPreview(PreviewMember(source, "&%"), ExportRecordLength(source, 80));
    form.EditFold->setText(QString::fromStdString(HostDir));
    form.EditFile->setText("WIDE.MBR");
    form.BtnOK->click();
    ASSERT_TRUE(form.Done);
    EXPECT_EQ(form.RecordLength, static_cast<int>(wide[0].size()));
    EXPECT_TRUE(Box.Messages.empty());

    // The import finds the length in the records, whatever the options say.
    PlayDialog([](TFormExport& dialog) { TypeAndOk(dialog, "WIDE"); });
    EXPECT_TRUE(ImportFromHost(Transfer, [&](const std::string& file) {
        StringList lines;
        EXPECT_TRUE(orvale::ReadTextFile(file, lines));
        EXPECT_EQ(lines, wide);
    }));
    EXPECT_TRUE(Box.Messages.empty());

    // Read with records too short, the member ends in a partial record: kept, and said.
    PlayDialog([](TFormExport& dialog) {
        dialog.EditRecordLength->setValue(80);
        TypeAndOk(dialog, "WIDE");
    });
    EXPECT_TRUE(ImportFromHost(Transfer, [&](const std::string&) {}));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Warning);
    EXPECT_NE(Box.Messages[0].Text.find("holds " + std::to_string(wide[0].size() - 80) + " of 80"),
              std::string::npos)
        << Box.Messages[0].Text;
}

// A dated member's lines go to the host as records of 92 bytes, the 12 digits of sequence
// number and date before the 80 columns: lengths and banners are judged after the digits, and
// the member comes back with them.
TEST_F(MemberTransfer, DatedLinesTravelWithTheirNumbersAndDates) {
    auto padded = [](std::string line) { return line + std::string(80 - line.size(), ' '); };
    StringList dated;
    for (size_t k = 0; k < kMemberSource.size(); ++k)
        dated.push_back("000" + std::to_string(k + 1) + "00990301" + padded(kMemberSource[k]));
    // A banner of the compile, as a dated build numbers it between two lines.
    std::string banner = "&%   H* banner";
    banner.resize(74, ' ');
    banner = "000150250612" + banner + "&%xPRO";
    StringList source = dated;
    source.insert(source.begin() + 1, banner);
    std::string file = Root.File("src/DATED.RP3");
    ASSERT_TRUE(orvale::WriteTextFile(file, source));

    TMemberPreview preview = PreviewMember(file, "&%", true);
    EXPECT_EQ(preview.BannerLines, 1u);
    EXPECT_EQ(preview.Longest, 80u);
    size_t longest = 0;
    for (const std::string& line : kMemberSource)
        longest = std::max(longest, line.size());
    EXPECT_EQ(preview.LongestWithoutBanners, longest);
    EXPECT_EQ(ExportRecordLength(file, 80, true), 80);
    EXPECT_EQ(ExportRecordLength(file, 80), 92);
    EXPECT_EQ(PreviewMember(file, "&%").BannerLines, 0u);

    TFormExport form(Box);
    form.WorkingDir = ProgramDir;
    form.ConvertedFile = file;
    form.Dated = true;
    form.ShowPreview(preview, 80);
    form.CheckBanners->setChecked(false);
    EXPECT_NE(form.Summary().find("4 records of 80 bytes after the 12 bytes of their sequence "
                                  "number and date"),
              std::string::npos)
        << form.Summary();
    form.EditFold->setText(QString::fromStdString(HostDir));
    form.EditFile->setText("DATED.MBR");
    form.BtnOK->click();
    ASSERT_TRUE(form.Done);
    EXPECT_EQ(form.RecordsSent, dated.size());
    EXPECT_EQ(fs::file_size(HostDir + "DATED.MBR"), dated.size() * 92);

    // Its records tell no length the undated way: the import takes the 80 columns after the
    // digits and gives the lines back as they were.
    TFormExport back(Box);
    back.SetImportMode();
    back.WorkingDir = ProgramDir;
    back.Dated = true;
    back.EditFold->setText(QString::fromStdString(HostDir));
    TypeAndOk(back, "DATED");
    ASSERT_TRUE(back.Done) << back.FailureReason;
    StringList lines;
    ASSERT_TRUE(orvale::ReadTextFile(back.ConvertedFile, lines));
    EXPECT_EQ(lines, dated);
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(MemberTransfer, AnImportedMemberOpensAsANewProgram) {
    WriteMember(HostDir + "CUST.MBR", kMemberSource);
    PlayDialog([](TFormExport& form) { TypeAndOk(form, "CUST.MBR"); });
    std::unique_ptr<TEditorsHolder> imported;
    std::string caption;
    bool existed = false;
    bool opened = ImportFromHost(Transfer, [&](const std::string& converted) {
        existed = orvale::FileExists(converted);
        caption = ImportedProgramCaption(converted);
        TEditorSetup setup;
        setup.ProgramDir = ProgramDir;
        imported = std::make_unique<TEditorsHolder>(Box, setup, &Frame);
        imported->setWindowTitle(QString::fromStdString(caption));
        imported->ImportSource(converted);
    });
    ASSERT_TRUE(opened);
    EXPECT_EQ(Seen.Caption, "Import EBCDIC AS/400 Member");
    EXPECT_EQ(Seen.Label, "Import from Folder");
    EXPECT_EQ(Seen.Member, "");
    EXPECT_TRUE(existed);
    EXPECT_EQ(caption, "CUST.RPG");
    TRPGProgram& doc = *imported->Document;
    EXPECT_EQ(doc.FileName, "CUST.RPG");
    EXPECT_FALSE(doc.LogicalSection.LineTexts().empty());
    EXPECT_FALSE(doc.MainRoutineSection.LineTexts().empty());
    EXPECT_TRUE(doc.Modified);
    // The converted file was a temporary one, never in the program directory.
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "CUST.RP3"));
    EXPECT_TRUE(Box.Messages.empty());
}

// A member of a double-byte host code page, made with the system's iconv: with that code page
// in the options it comes in as text of the usual PC code page for it, each shift character a
// blank, says which code page its program takes, and goes back byte for byte.
TEST_F(MemberTransfer, AMemberOfADoubleByteHostCodePageComesInAndGoesBackWhole) {
    const std::string chinese = "\xB8\xEA\xAE\xC6"; // two characters of Big5
    // The PC's lines: a double-byte run between two blanks. The host's records: the same text
    // with the run between shift-out and shift-in, made by iconv, each padded to 80 bytes.
    StringList pcLines = kMemberSource;
    pcLines.insert(pcLines.begin() + 1, "     C*   " + chinese + " COMMENT");
    std::string member;
    for (std::string line : pcLines) {
        if (size_t run = line.find(chinese); run != std::string::npos)
            line.erase(run + chinese.size(), 1).erase(run - 1, 1);
        iconv_t cd = ::iconv_open("IBM-937", "BIG5");
        ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
        std::string record(200, '\0');
        char* in = line.data();
        size_t inLeft = line.size();
        char* out = record.data();
        size_t outLeft = record.size();
        ASSERT_NE(::iconv(cd, &in, &inLeft, &out, &outLeft), static_cast<size_t>(-1));
        ::iconv(cd, nullptr, nullptr, &out, &outLeft);
        ::iconv_close(cd);
        record.resize(record.size() - outLeft);
        record.resize(80, '\x40');
        member += record;
    }
    ASSERT_EQ(member[80 + 9], '\x0E'); // the shift-out stands where the PC has its blank
    ASSERT_TRUE(orvale::WriteFileSafely(HostDir + "NOTE.MBR", member));
    Options.Export.HostCodePage = "IBM-937";
    Options.Editor.CodePage = "ISO-8859-1";

    PlayDialog([](TFormExport& form) { TypeAndOk(form, "NOTE.MBR"); });
    std::optional<TImportedMember> imported = ImportFromHost(Transfer);
    ASSERT_TRUE(imported.has_value()) << (Box.Messages.empty() ? "" : Box.Messages[0].Text);
    EXPECT_EQ(imported->CodePage, "BIG5");
    StringList lines;
    ASSERT_TRUE(orvale::ReadTextFile(imported->ConvertedFile, lines));
    ASSERT_EQ(lines.size(), pcLines.size());
    for (size_t k = 0; k < lines.size(); ++k)
        EXPECT_EQ(lines[k].substr(0, lines[k].find_last_not_of(' ') + 1), pcLines[k]);

    // The program of the member, in Big5, goes back as the same records.
    TEditorSetup setup;
    setup.ProgramDir = ProgramDir;
    TEditorsHolder window(Box, setup, &Frame);
    window.Services.RunDialog = [](QDialog&) { return true; };
    ASSERT_TRUE(window.SetCodePage(imported->CodePage));
    window.ImportSource(imported->ConvertedFile);
    ASSERT_TRUE(window.Document->SaveToFile(Root.File("src/NOTE.RPG")));
    PlayDialog([](TFormExport& form) {
        form.CheckBanners->setChecked(false);
        TypeAndOk(form, "BACK");
    });
    Box.Clear();
    ASSERT_TRUE(ExportToHost(window, Transfer))
        << (Box.Messages.empty() ? "" : Box.Messages[0].Text);
    EXPECT_EQ(Slurp(HostDir + "BACK.MBR"), member);
}

TEST_F(MemberTransfer, AMemberThatCannotBeConvertedOpensNothing) {
    // An older file of the converted name is not taken for the member.
    ASSERT_TRUE(orvale::WriteTextFile(ProgramDir + "GONE.RP3", kMemberSource));
    PlayDialog([](TFormExport& form) { TypeAndOk(form, "GONE.MBR"); });
    bool opened = false;
    EXPECT_FALSE(ImportFromHost(Transfer, [&](const std::string&) { opened = true; }));
    EXPECT_FALSE(opened);
    // The message gives the system's reason under the sentence.
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_TRUE(Box.Messages[0].Text.starts_with("Sorry can't Import selected member!\n"))
        << Box.Messages[0].Text;
    EXPECT_NE(Box.Messages[0].Text.find("GONE.MBR"), std::string::npos) << Box.Messages[0].Text;
    EXPECT_TRUE(orvale::FileExists(ProgramDir + "GONE.RP3"));

    // Nor is a member of the program directory converted over itself.
    WriteMember(ProgramDir + "SAME.RP3", kMemberSource);
    std::string member;
    ASSERT_TRUE(orvale::ReadFileBytes(ProgramDir + "SAME.RP3", member));
    Options.LastExportFolder = ProgramDir;
    PlayDialog([](TFormExport& form) { TypeAndOk(form, "SAME.RP3"); });
    EXPECT_FALSE(ImportFromHost(Transfer, [&](const std::string&) { opened = true; }));
    EXPECT_FALSE(opened);
    EXPECT_EQ(Box.Messages.size(), 2u);
    std::string after;
    ASSERT_TRUE(orvale::ReadFileBytes(ProgramDir + "SAME.RP3", after));
    EXPECT_EQ(after, member);
}

TEST_F(MemberTransfer, CancelledImportOpensNothingAndKeepsTheFolder) {
    WriteMember(HostDir + "CUST.MBR", kMemberSource);
    std::string typed = Root.Path() + "/elsewhere/";
    PlayDialog([&](TFormExport& form) {
        form.EditFold->setText(QString::fromStdString(typed));
        form.EditFile->setText("CUST.MBR");
        form.BtnCancel->click();
    });
    bool opened = false;
    EXPECT_FALSE(ImportFromHost(Transfer, [&](const std::string&) { opened = true; }));
    EXPECT_FALSE(opened);
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(Options.LastExportFolder, typed);
}

TEST_F(MemberTransfer, CancelReachesARunningConversion) {
    WriteMember(HostDir + "CUST.MBR", kMemberSource);
    TFormExport form(Box);
    form.SetImportMode();
    form.WorkingDir = ProgramDir;
    form.EditFold->setText(QString::fromStdString(HostDir));
    form.EditFile->setText("CUST.MBR");
    struct {
        bool Running = false, OkEnabled = true, Animated = false, Closed = false;
    } during;
    // The click lands while the library works through the records.
    QTimer::singleShot(0, &form, [&] {
        during = {form.Running(), form.BtnOK->isEnabled(), !form.Animation->isHidden(),
                  form.result() != 0};
        form.BtnCancel->click();
        during.Closed = during.Closed || form.result() != 0;
    });
    form.BtnOK->click();
    EXPECT_TRUE(during.Running);
    EXPECT_FALSE(during.OkEnabled);
    EXPECT_TRUE(during.Animated);
    EXPECT_FALSE(during.Closed);
    EXPECT_TRUE(form.Cancelled);
    EXPECT_FALSE(form.Done);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(form.BtnOK->isEnabled());
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "CUST.RP3"));
}

TEST_F(MemberTransfer, BrowseReplacesTheFolderWithTheOneChosen) {
    TFormExport form(Box);
    form.EditFold->setText(QString::fromStdString(HostDir));
    QString title;
    QString start;
    bool dirsOnly = false;
    std::string chosen = Root.Path() + "/src";
    form.BrowseDirDlg.RunDialog = [&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        start = dialog.directory().absolutePath() + "/";
        dirsOnly = dialog.fileMode() == QFileDialog::Directory;
        dialog.selectFile(QString::fromStdString(chosen));
        return true;
    };
    form.BtnBrowse->click();
    EXPECT_EQ(title, "Select AS/400 Members Folder");
    EXPECT_EQ(start.toStdString(), HostDir);
    EXPECT_TRUE(dirsOnly);
    EXPECT_EQ(form.EditFold->text().toStdString(), chosen);

    form.BrowseDirDlg.RunDialog = [](QFileDialog&) { return false; };
    form.BtnBrowse->click();
    EXPECT_EQ(form.EditFold->text().toStdString(), chosen);
}

} // namespace
