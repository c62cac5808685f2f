#include "ui/MainForm.h"

#include "FrameTest.h"
#include "frame/HelpIndex.h"
#include "platform/ProfileFile.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/TempDir.h"
#include "ui/ColorComboBox.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormEditOptions.h"
#include "ui/FormExport.h"
#include "ui/FormFind.h"
#include "ui/FormGenRPG.h"
#include "ui/FormHistory.h"
#include "ui/FormUndoOpt.h"
#include "ui/HelpWindow.h"
#include "ui/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::FrameUser;
using orvale::test::TempDir;

namespace {

bool Contains(const StringList& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class MainFormTest : public orvale::test::FrameTest {
protected:
    // A program file made by the document, in the program directory.
    std::string MakeProgram(const std::string& name) {
        ScriptedPrompter box;
        TRPGProgram doc(box);
        doc.NewProgram();
        std::string path = Dir.File(name);
        doc.SaveToFile(path);
        return path;
    }

    static std::vector<std::string> Captions(const QMenu* menu) {
        std::vector<std::string> captions;
        for (const QAction* item : menu->actions())
            if (!item->isSeparator())
                captions.push_back(item->text().toStdString());
        return captions;
    }

    static std::vector<std::string> WindowCaptions(const TMainForm& frame) {
        std::vector<std::string> captions;
        for (const TEditorsHolder* window : frame.EditorWindows())
            captions.push_back(window->windowTitle().toStdString());
        return captions;
    }

    // Opens a program and closes it again, which puts it on top of the recent list.
    static void OpenAndClose(TMainForm& frame, const std::string& path) {
        frame.OpenProgramFile(path);
        frame.FileCloseItem->trigger();
        QApplication::processEvents();
    }

    std::string OptionsText() const {
        std::string text;
        orvale::ReadFileBytes(ProgramDir + kOptionsFileName, text);
        return text;
    }
};

// -- Menus, buttons and enabling

TEST_F(MainFormTest, MenusCarryTheirCaptionsAndShortCuts) {
    auto frame = Start();
    // Without a program the desktop shows the application's name alone.
    EXPECT_EQ(frame->windowTitle(), "");
    EXPECT_EQ(Captions(frame->FileMenu),
              (std::vector<std::string>{"&New", "&Open...", "&Browse...", "Re&pository",
                                        "Open &Library...", "Recent L&ibraries", "Library &Members",
                                        "&Reopen", "&Save", "Save &As...", "Sa&ve All", "&Close",
                                        "Clos&e All", "&Print...", "Print Pre&view...",
                                        "Export to P&DF...", "E&xit"}));
    EXPECT_EQ(
        Captions(frame->EditMenu),
        (std::vector<std::string>{"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Select &All",
                                  "&Restore", "&Import", "&Export Text File", "Print &Section"}));
    EXPECT_EQ(Captions(frame->Restore), (std::vector<std::string>{"&Prev Update", "Last &Update",
                                                                  "Last &Save", "Last &Open"}));
    EXPECT_EQ(
        Captions(frame->Import),
        (std::vector<std::string>{"Insert at &Cursor", "R&eplace Selection", "&Override All"}));
    EXPECT_EQ(Captions(frame->ExportTextFile),
              (std::vector<std::string>{"&Selected Text", "All Sectio&n"}));
    EXPECT_EQ(Captions(frame->SearchMenu),
              (std::vector<std::string>{"&Find...", "&Replace...", "&Search Again",
                                        "Next &Error\tF8", "Pre&vious Error\tShift+F8",
                                        "C&hanged Since...", "Next C&hanged Line",
                                        "Previous Chan&ged Line", "Go to Se&quence Number...",
                                        "Find in &Library...", "&Where Used..."}));
    EXPECT_EQ(Captions(frame->ProgramMenu),
              (std::vector<std::string>{"Co&mpile", "&Build All", "&Export To AS/400",
                                        "&Create from Source...", "&Import From AS/400",
                                        "&Save Source As...", "&Print Source",
                                        "Source Print Pre&view...", "Export Source to P&DF...",
                                        "Code Pa&ge...", "Compare &With..."}));
    EXPECT_EQ(Captions(frame->OptionsMenu),
              (std::vector<std::string>{"&Button Bar", "&Editor", "&Undo", "&History Log",
                                        "&Compiler", "E&xport", "Change &PassWord"}));
    EXPECT_EQ(Captions(frame->HelpMenu),
              (std::vector<std::string>{"Orvale features\tF1", "Operation Codes", "&About"}));
    EXPECT_EQ(Captions(frame->HelpOpCodesItem),
              (std::vector<std::string>{"&RPG Standard", "Orvale Special"}));

    using K = QKeySequence;
    EXPECT_EQ(frame->FileOpenItem->shortcut(), K("Ctrl+O"));
    EXPECT_EQ(frame->FileSaveItem->shortcut(), K("Ctrl+S"));
    EXPECT_EQ(frame->EditUndoItem->shortcut(), K("Ctrl+Z"));
    EXPECT_EQ(frame->EditCutItem->shortcut(), K("Ctrl+X"));
    EXPECT_EQ(frame->EditCopyItem->shortcut(), K("Ctrl+C"));
    EXPECT_EQ(frame->EditPasteItem->shortcut(), K("Ctrl+V"));
    EXPECT_EQ(frame->EditSelectAllItem->shortcut(), K("Ctrl+A"));
    EXPECT_EQ(frame->SearchFindItem->shortcut(), K("Ctrl+F"));
    EXPECT_EQ(frame->SearchReplaceItem->shortcut(), K("Ctrl+R"));
    EXPECT_EQ(frame->SearchSAgainItem->shortcut(), K("F3"));
    EXPECT_EQ(frame->SearchNextChangedItem->shortcut(), K("F7"));
    EXPECT_EQ(frame->SearchPrevChangedItem->shortcut(), K("Shift+F7"));
    EXPECT_EQ(frame->SearchGoToSequenceItem->shortcut(), K("Ctrl+Shift+G"));
    EXPECT_EQ(frame->ProgCompileItem->shortcut(), K("Ctrl+F9"));
    EXPECT_EQ(frame->ProgBuildAllItem->shortcut(), K("F9"));
    EXPECT_TRUE(frame->FileNewItem->shortcut().isEmpty());

    EXPECT_EQ(frame->FormGenRPG->windowTitle(), "Generate RPG/400 Source");
    EXPECT_TRUE(frame->OptionsButtonBarItem->isChecked());
}

TEST_F(MainFormTest, CommandsFollowTheOpenWindows) {
    auto frame = Start();
    // Only New, Open and Import work before a program is open.
    for (QToolButton* button : {frame->BtnNew, frame->BtnOpen, frame->BtnImport})
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    for (QToolButton* button :
         {frame->BtnSave, frame->BtnFind, frame->BtnCut, frame->BtnCopy, frame->BtnPaste,
          frame->BtnUndo, frame->BtnGenerate, frame->BtnExport})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    std::vector<QAction*> windowCommands = {
        frame->FileCloseItem,   frame->FileCloseAllItem,  frame->FileSaveItem,
        frame->FileSaveAsItem,  frame->FileSaveAllItem,   frame->FilePrintItem,
        frame->ProgCompileItem, frame->ProgBuildAllItem,  frame->ProgExportItem,
        frame->ProgSaveAsItem,  frame->ProgPrintItem,     frame->WindowCascadeItem,
        frame->WindowTileItem,  frame->WindowArrangeItem, frame->WindowMinimizeItem};
    for (QAction* item : windowCommands)
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_FALSE(frame->SearchFindItem->isEnabled());

    frame->FileNewItem->trigger();
    for (QAction* item : windowCommands)
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_TRUE(frame->BtnSave->isEnabled());
    EXPECT_TRUE(frame->BtnGenerate->isEnabled());

    // The edit commands follow the page on show: the root shows the object list.
    TEditorsHolder* window = frame->ActiveWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(frame->EditCutItem->isEnabled());
    window->SelectNode(window->Document->MainRoutineNode);
    // (Cut and copy wait for a selection.)
    EXPECT_TRUE(frame->EditPasteItem->isEnabled());
    EXPECT_TRUE(frame->SearchFindItem->isEnabled());
    EXPECT_TRUE(frame->Restore->menuAction()->isEnabled());
    EXPECT_TRUE(frame->BtnFind->isEnabled());

    Box.Queue(Prompter::Answer::No); // do not save the new program
    frame->FileCloseItem->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(frame->EditorWindows().empty());
    for (QAction* item : windowCommands)
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_FALSE(frame->EditCutItem->isEnabled());
    EXPECT_FALSE(frame->BtnFind->isEnabled());
}

TEST_F(MainFormTest, NewProgramCaptionCountsTheOpenWindows) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    frame->FileNewItem->trigger();
    frame->FileNewItem->trigger();
    EXPECT_EQ(WindowCaptions(*frame),
              (std::vector<std::string>{"NoName1.RPG", "NoName2.RPG", "NoName3.RPG"}));
    // The name counts the windows, not the programs made so far.
    Box.Queue(Prompter::Answer::No);
    frame->FileCloseItem->trigger();
    QApplication::processEvents();
    frame->FileNewItem->trigger();
    EXPECT_EQ(WindowCaptions(*frame).back(), "NoName3.RPG");
    // A new program is a fresh document with the initialisation subroutine.
    TEditorsHolder* window = frame->ActiveWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Document->Untitled);
    EXPECT_EQ(window->Document->UserName, kUser);
    EXPECT_EQ(window->Document->InitSubRoutineSection.LineTexts().front(),
              "                Begsr(*INZSR)");
}

TEST_F(MainFormTest, ANewProgramHasOneNameEverywhere) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    ASSERT_NE(window, nullptr);
    TRPGProgram& doc = *window->Document;
    EXPECT_EQ(window->windowTitle(), "NoName1.RPG");
    EXPECT_EQ(doc.Tree.Root()->Text, "NoName1.RPG");
    EXPECT_TRUE(doc.Untitled);
    // The save question names it so too; its save dialog offers it, in the folder last used
    // for programs.
    frame->OpenProgramFile(MakeProgram("OTHER.RPG"));
    frame->MdiArea->setActiveSubWindow(frame->SubWindowOf(window));
    Box.Queue(Prompter::Answer::Yes);
    User.Files.push_back(std::nullopt);
    frame->FileCloseItem->trigger();
    QApplication::processEvents();
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(Box.Messages.back().Text, "Save changes to file NoName1.RPG?");
    ASSERT_FALSE(User.FileDialogs.empty());
    EXPECT_EQ(frame->MainSaveDialog->directory().absolutePath().toStdString(), Dir.Path());
    EXPECT_EQ(frame->Options.LastProgramFolder, Dir.Path() + "/");
}

TEST_F(MainFormTest, TheRecentListHoldsOnlyProgramsOnDisk) {
    auto frame = Start();
    // A program named but never written (as an imported one is) leaves nothing to reopen.
    frame->FileNewItem->trigger();
    TRPGProgram& doc = *frame->ActiveWindow()->Document;
    doc.SetFileName(Dir.File("NEVER.RPG"));
    doc.Untitled = false;
    Box.Queue(Prompter::Answer::No);
    frame->FileCloseItem->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Captions(frame->FileReopenItem), std::vector<std::string>{"Void"});
}

TEST_F(MainFormTest, TheMainWindowComesBackAsItWasLeft) {
    {
        auto frame = Start();
        frame->resize(700, 500);
        frame->move(40, 30);
        frame->OptionsButtonBarItem->trigger();
        ASSERT_EQ(frame->PanelButt->height(), TMainForm::kFoldedButtonBarHeight);
        frame->close();
    }
    auto frame = Start();
    EXPECT_EQ(frame->size(), QSize(700, 500));
    EXPECT_EQ(frame->PanelButt->height(), TMainForm::kFoldedButtonBarHeight);
    EXPECT_FALSE(frame->OptionsButtonBarItem->isChecked());
}

TEST_F(MainFormTest, ButtonBarFoldsAndItsCheckMarkFollowsItsHeight) {
    auto frame = Start();
    EXPECT_EQ(frame->PanelButt->height(), TMainForm::kButtonBarHeight);
    frame->OptionsButtonBarItem->trigger();
    EXPECT_FALSE(frame->OptionsButtonBarItem->isChecked());
    EXPECT_EQ(frame->PanelButt->height(), TMainForm::kFoldedButtonBarHeight);
    frame->OptionsButtonBarItem->trigger();
    EXPECT_EQ(frame->PanelButt->height(), TMainForm::kButtonBarHeight);
    // Opening the menu shows the bar as it is.
    frame->OptionsButtonBarItem->setChecked(false);
    emit frame->OptionsMenu->aboutToShow();
    EXPECT_TRUE(frame->OptionsButtonBarItem->isChecked());
}

TEST_F(MainFormTest, WindowMenuListsAndArrangesTheWindows) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    frame->FileNewItem->trigger();
    auto listed = [&] {
        emit frame->WindowMenu->aboutToShow();
        std::vector<std::string> items;
        for (QAction* item : frame->WindowMenu->actions())
            if (item->isCheckable())
                items.push_back((item->isChecked() ? "*" : "") + item->text().toStdString());
        return items;
    };
    EXPECT_EQ(listed(), (std::vector<std::string>{"&1 NoName1.RPG", "*&2 NoName2.RPG"}));
    // The list is made anew each time the menu opens, and picks the window.
    std::vector<std::string> again = listed();
    EXPECT_EQ(again.size(), 2u);
    for (QAction* item : frame->WindowMenu->actions())
        if (item->text() == "&1 NoName1.RPG")
            item->trigger();
    EXPECT_EQ(frame->ActiveWindow()->windowTitle(), "NoName1.RPG");

    frame->WindowMinimizeItem->trigger();
    for (TEditorsHolder* window : frame->EditorWindows())
        EXPECT_TRUE(frame->SubWindowOf(window)->isMinimized());
    // Arranged, the icons sit side by side along the bottom of the client area.
    frame->WindowArrangeItem->trigger();
    std::vector<TEditorsHolder*> windows = frame->EditorWindows();
    QRect first = frame->SubWindowOf(windows[0])->geometry();
    QRect second = frame->SubWindowOf(windows[1])->geometry();
    EXPECT_EQ(first.left(), 0);
    EXPECT_EQ(second.left(), first.right() + 1);
    EXPECT_EQ(first.bottom(), frame->MdiArea->viewport()->height() - 1);
}

// -- Recent programs

TEST_F(MainFormTest, RecentListKeepsTheTenLatestProgramsOnce) {
    auto frame = Start();
    EXPECT_EQ(Captions(frame->FileReopenItem), std::vector<std::string>{"Void"});
    EXPECT_FALSE(frame->FileReopenItem->actions().front()->isEnabled());

    std::vector<std::string> paths;
    for (int i = 1; i <= 11; ++i)
        paths.push_back(MakeProgram("P" + std::to_string(i) + ".RPG"));
    for (const std::string& path : paths)
        OpenAndClose(*frame, path);
    std::vector<std::string> expected(paths.rbegin(), paths.rbegin() + 10);
    EXPECT_EQ(Captions(frame->FileReopenItem), expected);
    EXPECT_EQ(frame->Options.Reopen.Paths(), expected);

    // Opening one takes it off the list; closing it puts it back on top, once.
    frame->OpenProgramFile(paths[4]);
    EXPECT_EQ(frame->Options.Reopen.Count(), 9u);
    frame->FileCloseItem->trigger();
    QApplication::processEvents();
    ASSERT_EQ(frame->Options.Reopen.Count(), 10u);
    EXPECT_EQ(frame->Options.Reopen.Paths().front(), paths[4]);
    EXPECT_EQ(std::count(frame->Options.Reopen.Paths().begin(), frame->Options.Reopen.Paths().end(),
                         paths[4]),
              1);
    // An untitled program has nothing to put there.
    frame->FileNewItem->trigger();
    Box.Queue(Prompter::Answer::No);
    frame->FileCloseItem->trigger();
    QApplication::processEvents();
    EXPECT_EQ(frame->Options.Reopen.Paths().front(), paths[4]);
}

TEST_F(MainFormTest, ReopenOpensTheProgramOrReportsItGone) {
    auto frame = Start();
    std::string kept = MakeProgram("KEPT.RPG");
    std::string gone = MakeProgram("GONE.RPG");
    OpenAndClose(*frame, kept);
    OpenAndClose(*frame, gone);
    ASSERT_EQ(Captions(frame->FileReopenItem), (std::vector<std::string>{gone, kept}));

    // A program deleted meanwhile is reported and leaves the list all the same.
    std::filesystem::remove(gone);
    frame->FileReopenItem->actions().front()->trigger();
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_EQ(Box.Messages[0].Text, "Sorry can't find selected program!\n" + gone);
    EXPECT_TRUE(frame->EditorWindows().empty());
    EXPECT_EQ(Captions(frame->FileReopenItem), std::vector<std::string>{kept});

    // The last one opens in its own window; the list is then empty but for "Void".
    frame->FileReopenItem->actions().front()->trigger();
    ASSERT_EQ(frame->EditorWindows().size(), 1u);
    EXPECT_EQ(WindowCaptions(*frame).front(), kept);
    EXPECT_EQ(Captions(frame->FileReopenItem), std::vector<std::string>{"Void"});
    EXPECT_FALSE(frame->FileReopenItem->actions().front()->isEnabled());
    EXPECT_FALSE(frame->FileCommandsLocked());
    EXPECT_TRUE(frame->FileMenu->isEnabled());
}

TEST_F(MainFormTest, AProgramThatCannotBeReadLeavesNoWindow) {
    auto frame = Start();
    std::string dir = Dir.File("folder.RPG");
    std::filesystem::create_directory(dir);
    frame->OpenProgramFile(dir);
    EXPECT_TRUE(frame->EditorWindows().empty());
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(Box.Messages.back().BoxKind, Prompter::Kind::Error);
    // Closing the frame asks nothing about it and lists nothing.
    Box.Clear();
    frame->close();
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_TRUE(frame->Options.Reopen.Empty());
}

TEST_F(MainFormTest, BrowseOpensWhatThePickerChose) {
    auto frame = Start();
    std::string path = MakeProgram("BROWSED.RPG");
    User.Browsed = {Dir.File("MISSING.RPG"), path, ""};
    frame->FileBrowseItem->trigger();
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text,
              "Sorry can't find selected program!\n" + Dir.File("MISSING.RPG"));
    EXPECT_TRUE(frame->EditorWindows().empty());
    frame->FileBrowseItem->trigger();
    EXPECT_EQ(WindowCaptions(*frame), std::vector<std::string>{path});
    // Nothing chosen: nothing happens.
    frame->FileBrowseItem->trigger();
    EXPECT_EQ(frame->EditorWindows().size(), 1u);
    EXPECT_EQ(Box.Messages.size(), 1u);

    frame->FileCaddisItem->trigger();
    EXPECT_EQ(User.RepositoryShown, 1);
}

// -- Save and close

TEST_F(MainFormTest, SaveAllClearsTheMarkOfEveryWindow) {
    auto frame = Start();
    std::string first = MakeProgram("FIRST.RPG");
    std::string second = MakeProgram("SECOND.RPG");
    frame->OpenProgramFile(first);
    frame->OpenProgramFile(second);
    for (TEditorsHolder* window : frame->EditorWindows()) {
        window->SelectNode(window->Document->MainRoutineNode);
        window->RichEditSource->setFocus();
        QTest::keyClicks(window->RichEditSource, "EXSR(CALC)");
        ASSERT_EQ(window->StatusPanel(TEditorsHolder::ModifiedPanel)->text(), "Modified");
    }
    frame->FileSaveAllItem->trigger();
    for (TEditorsHolder* window : frame->EditorWindows()) {
        EXPECT_TRUE(window->StatusPanel(TEditorsHolder::ModifiedPanel)->text().isEmpty());
        EXPECT_FALSE(window->Document->Modified);
    }
    StringList lines;
    ASSERT_TRUE(orvale::ReadTextFile(first, lines));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "EXSR(CALC)"), lines.end());
}

TEST_F(MainFormTest, SavingAnUntitledProgramTakesItsNewName) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    // The user cancels the save dialog: the program stays as it was.
    frame->FileSaveItem->trigger();
    EXPECT_EQ(window->windowTitle(), "NoName1.RPG");
    EXPECT_TRUE(window->Document->Modified);
    ASSERT_EQ(User.FileDialogs.size(), 1u);
    EXPECT_EQ(User.FileDialogs[0].Title, "Quenby - Save Program");

    std::string path = Dir.File("NAMED.RPG");
    User.Files.push_back(path);
    frame->FileSaveItem->trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), path);
    EXPECT_FALSE(window->Document->Modified);
    EXPECT_TRUE(orvale::FileExists(path));
}

TEST_F(MainFormTest, ARefusedCloseStopsCloseAllAndTheFrame) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    frame->FileNewItem->trigger();
    frame->FileNewItem->trigger();
    // The last window goes first and is let go; the middle one is kept.
    Box.Queue(Prompter::Answer::No);
    Box.Queue(Prompter::Answer::Cancel);
    frame->FileCloseAllItem->trigger();
    QApplication::processEvents();
    EXPECT_EQ(WindowCaptions(*frame), (std::vector<std::string>{"NoName1.RPG", "NoName2.RPG"}));
    ASSERT_EQ(Box.Messages.size(), 2u);
    EXPECT_EQ(Box.Messages[0].Text, "Save changes to file NoName3.RPG?");
    EXPECT_FALSE(frame->FileCommandsLocked());

    // The frame does not close either, and writes no options.
    Box.Queue(Prompter::Answer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(orvale::FileExists(ProgramDir + kOptionsFileName));
    Box.Queue(Prompter::Answer::No);
    Box.Queue(Prompter::Answer::No);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(orvale::FileExists(ProgramDir + kOptionsFileName));
}

// -- Dialogs of the Program menu

TEST_F(MainFormTest, FileDialogsShowTheirTitleAndFilter) {
    auto frame = Start();
    frame->FileOpenItem->trigger();
    frame->ProgOpenItem->trigger();
    frame->FileNewItem->trigger();
    frame->ProgSaveAsItem->trigger();
    ASSERT_EQ(User.FileDialogs.size(), 3u);
    EXPECT_EQ(User.FileDialogs[0].Title, "Orvale - Open Program");
    EXPECT_EQ(User.FileDialogs[0].Filter, 1);
    EXPECT_EQ(User.FileDialogs[1].Title, "Orvale - Open RPG/400 Source");
    EXPECT_EQ(User.FileDialogs[1].Filter, 2);
    EXPECT_EQ(User.FileDialogs[2].Title, "Orvale - Save RPG/400 Source");
    EXPECT_EQ(User.FileDialogs[2].Filter, 2);
    EXPECT_EQ(User.FileDialogs[2].DefaultSuffix, "RP3");
    // Cancelled or not, the dialogs are left as the other commands expect them.
    EXPECT_EQ(FilterIndex(*frame->MainOpenDialog), 1);
    EXPECT_EQ(FilterIndex(*frame->MainSaveDialog), 1);
    EXPECT_EQ(frame->MainSaveDialog->defaultSuffix(), "RPG");
}

TEST_F(MainFormTest, ACancelledImportClosesItsWindow) {
    auto frame = Start();
    std::string source = Dir.File("EMPTY.RP3");
    orvale::WriteTextFile(source, {"     C                     SETON                     LR"});
    // The progress window's Cancel is pressed whenever the window is up and the import hands
    // events on: the conversion does so after each of its steps, so the click always lands
    // while it runs, however quick it is (a click before it starts counts for nothing).
    User.Files.push_back(source);
    int clicks = 0;
    QTimer presser;
    presser.setInterval(0);
    QObject::connect(&presser, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->windowTitle() == "Convert from RPG Source" && top->isVisible())
                if (auto* cancel = top->findChild<QPushButton*>("BtnCancel")) {
                    cancel->click();
                    ++clicks;
                }
    });
    presser.start();
    frame->ProgOpenItem->trigger();
    presser.stop();
    QApplication::processEvents();
    EXPECT_GT(clicks, 0);
    // The cancelled import leaves no window behind, and the frame is usable again.
    EXPECT_EQ(frame->ActiveWindow(), nullptr);
    EXPECT_TRUE(frame->EditorWindows().empty());
    EXPECT_TRUE(frame->isEnabled());

    // A source that cannot be read leaves no window behind.
    frame.reset();
    frame = Start();
    User.Files.push_back(Dir.File("NOWHERE.RP3"));
    frame->ProgOpenItem->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(frame->EditorWindows().empty());
    EXPECT_EQ(Box.Messages.back().BoxKind, Prompter::Kind::Error);
}

// An RPG IV member is refused with the line that shows it, and no window is left for it.
TEST_F(MainFormTest, AnRpgIvMemberOpensNoWindow) {
    auto frame = Start();
    std::string source = Dir.File("NEWSTYLE.RP3");
    orvale::WriteTextFile(source,
                          {"     H DFTACTGRP(*NO)", "     C                   EVAL      X = 1"});
    User.Files.push_back(source);
    frame->ProgOpenItem->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(frame->EditorWindows().empty());
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(Box.Messages.back().BoxKind, Prompter::Kind::Error);
    EXPECT_NE(Box.Messages.back().Text.find("NEWSTYLE.RP3 is an RPG IV member: line 1"),
              std::string::npos)
        << Box.Messages.back().Text;
    EXPECT_TRUE(frame->isEnabled());
}

// -- Commands handed to the active window

TEST_F(MainFormTest, FindAndReplaceOpenOnTheWordAtTheCaret) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    window->SelectNode(window->Document->MainRoutineNode);
    QTest::keyClicks(window->RichEditSource, "EXSR(CALC) EXSR(CALC)");
    window->RichEditSource->SetCaretPos(2, 0);
    std::vector<std::string> seen;
    frame->FormFind->RunModal = [&](TFormFind& form) {
        seen.push_back(form.windowTitle().toStdString() + "|" +
                       form.ComboTextToFind->currentText().toStdString() + "|" +
                       (form.ComboTextReplace->isHidden() ? "find" : "replace"));
    };
    frame->SearchFindItem->trigger();
    frame->SearchReplaceItem->trigger();
    EXPECT_EQ(seen, (std::vector<std::string>{"Find Text|EXSR|find", "Replace Text|EXSR|replace"}));

    // Search Again goes on with the last settings.
    frame->FormFind->ComboTextToFind->setEditText("CALC");
    frame->FormFind->ReadSettings();
    window->RichEditSource->SetCaretPos(0, 0);
    frame->SearchSAgainItem->trigger();
    EXPECT_EQ(window->RichEditSource->textCursor().selectedText(), "CALC");
    EXPECT_EQ(window->RichEditSource->CaretPos(), QPoint(9, 0));
    frame->SearchSAgainItem->trigger();
    EXPECT_EQ(window->RichEditSource->CaretPos(), QPoint(20, 0));
}

TEST_F(MainFormTest, EditMenuMovesSectionTextThroughTheFrameDialogs) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    window->SelectNode(window->Document->MainRoutineNode);
    std::string in = Dir.File("in.txt");
    orvale::WriteTextFile(in, {"SETON(LR)", "RETRN()"});
    User.Files.push_back(in);
    frame->ImpInsertatCursor->trigger();
    EXPECT_EQ(window->RichEditSource->Lines(), (StringList{"SETON(LR)", "RETRN()"}));
    EXPECT_EQ(window->StatusPanel(TEditorsHolder::ModifiedPanel)->text(), "Modified");

    std::string out = Dir.File("out.txt");
    User.Files.push_back(out);
    frame->ExpAllSection->trigger();
    StringList written;
    ASSERT_TRUE(orvale::ReadTextFile(out, written));
    EXPECT_EQ(written, (StringList{"SETON(LR)", "RETRN()"}));

    ASSERT_EQ(User.FileDialogs.size(), 2u);
    EXPECT_EQ(User.FileDialogs[0].Title, "Quenby - Import Text File");
    EXPECT_EQ(User.FileDialogs[0].Filter, 4);
    EXPECT_EQ(User.FileDialogs[1].Title, "Quenby - Export Text File");
    EXPECT_EQ(User.FileDialogs[1].DefaultSuffix, "TXT");
    EXPECT_EQ(FilterIndex(*frame->MainOpenDialog), 1);
    EXPECT_EQ(frame->MainSaveDialog->defaultSuffix(), "RPG");
}

TEST_F(MainFormTest, AProgramGoesToTheHostFolderAndComesBack) {
    for (const char* table : {"AStoPC.xlt", "PCtoAS.xlt"})
        std::filesystem::copy_file(std::string(ORVALE_BIN_DIR) + "/" + table, ProgramDir + table);
    std::string host = Dir.File("host");
    std::filesystem::create_directory(host);
    auto frame = Start();
    frame->OpenProgramFile(MakeProgram("PAYROLL.RPG"));

    // Export: saved, compiled (its statistics read), built, converted and copied.
    User.Dialogs.push_back(FrameUser::Ok()); // the compile statistics
    User.Dialogs.push_back([&](QDialog& dialog) {
        auto& member = dynamic_cast<TFormExport&>(dialog);
        EXPECT_EQ(member.EditFile->text(), "PAYROLL.MBR");
        member.EditFold->setText(QString::fromStdString(host));
        member.BtnOK->click();
        return member.result() == QDialog::Accepted;
    });
    frame->ProgExportItem->trigger();
    EXPECT_EQ(User.DialogTitles, (std::vector<std::string>{"Password Dialog", "Compiling",
                                                           "Export EBCDIC AS/400 Member"}));
    // Its work files did not stay in the program directory.
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "PAYROLL.RP3"));
    ASSERT_TRUE(orvale::FileExists(host + "/PAYROLL.MBR"));
    EXPECT_EQ(frame->Options.LastExportFolder, host);

    // Import: the member becomes a new program; the converted file does not stay.
    User.Dialogs.push_back([&](QDialog& dialog) {
        auto& member = dynamic_cast<TFormExport&>(dialog);
        EXPECT_EQ(member.windowTitle(), "Import EBCDIC AS/400 Member");
        EXPECT_EQ(member.EditFold->text().toStdString(), host);
        member.EditFile->setText("PAYROLL.MBR");
        member.BtnOK->click();
        return member.result() == QDialog::Accepted;
    });
    frame->BtnImport->click();
    ASSERT_EQ(frame->EditorWindows().size(), 2u);
    EXPECT_EQ(frame->ActiveWindow()->windowTitle(), "PAYROLL.RPG");
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "PAYROLL.RP3"));
    EXPECT_TRUE(
        Contains(frame->ActiveWindow()->Document->HistorySection.LineTexts(), ",Converted,"));
}

TEST_F(MainFormTest, AnImportedProgramIsKeptWhereTheUserSays) {
    std::string host = Dir.File("host");
    std::string kept = Dir.File("kept");
    std::filesystem::create_directory(host);
    std::filesystem::create_directory(kept);
    std::filesystem::create_directory(Dir.File("src"));
    auto frame = Start();
    frame->OpenProgramFile(MakeProgram("src/PAYROLL.RPG"));
    User.Dialogs.push_back(FrameUser::Ok()); // the compile statistics
    User.Dialogs.push_back([&](QDialog& dialog) {
        auto& member = dynamic_cast<TFormExport&>(dialog);
        member.EditFold->setText(QString::fromStdString(host));
        member.BtnOK->click();
        return member.result() == QDialog::Accepted;
    });
    frame->ProgExportItem->trigger();
    ASSERT_TRUE(orvale::FileExists(host + "/PAYROLL.MBR"));
    auto import = [&] {
        User.Dialogs.push_back([&](QDialog& dialog) {
            auto& member = dynamic_cast<TFormExport&>(dialog);
            member.EditFile->setText("PAYROLL.MBR");
            member.BtnOK->click();
            return member.result() == QDialog::Accepted;
        });
        User.FileDialogs.clear();
        frame->BtnImport->click();
    };

    // Asked where: the program is named there and saved there, never in the program
    // directory.
    User.Files.push_back(kept + "/PAYROLL.RPG");
    import();
    ASSERT_EQ(User.FileDialogs.size(), 1u);
    EXPECT_EQ(User.FileDialogs[0].Title, "Orvale - Keep the Imported Program As");
    TRPGProgram& doc = *frame->ActiveWindow()->Document;
    EXPECT_FALSE(doc.Untitled);
    EXPECT_EQ(doc.FilePath + doc.FileName, kept + "/PAYROLL.RPG");
    EXPECT_EQ(frame->ActiveWindow()->windowTitle().toStdString(), kept + "/PAYROLL.RPG");
    frame->FileSaveItem->trigger();
    EXPECT_TRUE(orvale::FileExists(kept + "/PAYROLL.RPG"));
    EXPECT_FALSE(orvale::FileExists(ProgramDir + "PAYROLL.RPG"));
    EXPECT_EQ(frame->Options.LastProgramFolder, kept + "/");

    // Not answered: the program has no place yet, and its first save asks, in the folder last
    // used.
    import();
    TRPGProgram& later = *frame->ActiveWindow()->Document;
    EXPECT_TRUE(later.Untitled);
    EXPECT_EQ(later.FileName, "PAYROLL.RPG");
    EXPECT_EQ(frame->MainSaveDialog->directory().absolutePath().toStdString(), kept);
}

// -- Options

TEST_F(MainFormTest, AFreshInstallationStartsWithTheDefaults) {
    auto frame = Start();
    EXPECT_EQ(frame->OptionsFile, ProgramDir + "Orvale.DEF");
    EXPECT_EQ(frame->UserName, kUser);
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ValueFromColor(window->RichEditSource->BackColor()), 0x800000);
    EXPECT_EQ(ValueFromColor(window->RichEditSource->TextColor()), 0x00FFFF);
    EXPECT_EQ(window->ComboFont->currentText(), "10");
    EXPECT_EQ(window->RichEditSource->font().pointSize(), 10);
    EXPECT_EQ(window->RichEditSource->TabSpaces(), 2);
    // A new installation indents on Enter and unindents on Backspace.
    EXPECT_TRUE(window->RichEditSource->AutoIndent() && window->RichEditSource->BackUnindent());
    EXPECT_TRUE(window->EditorPopupMemu);
    EXPECT_FALSE(window->UseRightButton);
    EXPECT_TRUE(window->Document->LogAdd && window->Document->LogDelete &&
                window->Document->LogModify && window->Document->LogRename &&
                window->Document->LogProperty);
    EXPECT_TRUE(window->Document->KeepPrevious && window->Document->KeepOpen &&
                window->Document->KeepSave);
    EXPECT_TRUE(frame->FormGenRPG->PrgProp->isChecked());
    EXPECT_TRUE(frame->FormGenRPG->LoadComp->isChecked());
    EXPECT_EQ(frame->FormGenRPG->EditPrefix->text(), "&%");

    // Closing with an empty list: the next start offers only "Void".
    Box.Queue(Prompter::Answer::No);
    frame->close();
    std::string text = OptionsText();
    EXPECT_NE(text.find("[General Options]"), std::string::npos);
    EXPECT_NE(text.find("BackColor=8388608"), std::string::npos);
    frame = Start();
    EXPECT_EQ(Captions(frame->FileReopenItem), std::vector<std::string>{"Void"});
}

TEST_F(MainFormTest, StoredOptionsAreReadAndWrittenBack) {
    std::vector<std::string> programs;
    std::string reopen;
    for (int i = 0; i < 8; ++i) {
        programs.push_back(Dir.File("R" + std::to_string(i) + ".RPG"));
        reopen += std::to_string(i) + "=" + programs.back() + "\n";
    }
    WriteFile(ProgramDir + kOptionsFileName,
              "[General Options]\nBackColor=0x000080\nFontSizeIdx=20\nAutoIndent=2\n"
              "[Compiler Options]\nPrgHist=0\n[Undo Options]\nLastSave=0\n"
              "[Reopen Item]\n" +
                  reopen);
    auto frame = Start();
    EXPECT_EQ(frame->Options.Editor.BackColor, 128);
    EXPECT_TRUE(frame->Options.Editor.AutoIndent);
    EXPECT_FALSE(frame->FormGenRPG->PrgHist->isChecked());
    EXPECT_FALSE(frame->RestLastSaved->isEnabled());
    EXPECT_TRUE(frame->RestLastOpen->isEnabled());
    EXPECT_EQ(Captions(frame->FileReopenItem), programs);
    // A window shows them; a size the list does not offer gives 12.
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    EXPECT_EQ(ValueFromColor(window->RichEditSource->BackColor()), 128);
    EXPECT_EQ(window->ComboFont->currentIndex(), -1);
    EXPECT_EQ(window->RichEditSource->font().pointSize(), 12);
    EXPECT_EQ(window->MemoRPGView->font().pointSize(), 12);
    EXPECT_TRUE(window->RichEditSource->AutoIndent());
    Box.Queue(Prompter::Answer::No);
    frame->FileCloseItem->trigger();
    QApplication::processEvents();

    // The five oldest no longer exist: reopening them empties their places.
    for (int i = 0; i < 5; ++i)
        frame->FileReopenItem->actions().back()->trigger();
    EXPECT_EQ(frame->Options.Reopen.Paths(), (StringList{programs[0], programs[1], programs[2]}));
    frame->close();
    orvale::ProfileFile written(ProgramDir + kOptionsFileName);
    ASSERT_TRUE(written.Load());
    EXPECT_EQ(written.ReadString("General Options", "BackColor", ""), "128");
    EXPECT_EQ(written.ReadString("General Options", "AutoIndent", ""), "1");
    EXPECT_EQ(written.ReadString("Compiler Options", "PrgHist", ""), "0");
    EXPECT_EQ(written.ReadString("Reopen Item", "2", ""), programs[2]);
    // Keys of the longer list stay, and come back at the next start.
    EXPECT_EQ(written.ReadString("Reopen Item", "7", ""), programs[7]);
    frame = Start();
    EXPECT_EQ(frame->Options.Reopen.Paths(), programs);
}

TEST_F(MainFormTest, ACancelledLoginEndsTheRunWithoutTheOptionsFile) {
    User.Dialogs.push_back(FrameUser::Cancel());
    TMainForm frame(Box, User.Services());
    frame.ProgramDir = ProgramDir;
    frame.show();
    frame.Startup();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(frame.OptionsFile, "Nothing");
    EXPECT_TRUE(frame.UserName.empty());
    EXPECT_FALSE(orvale::FileExists(ProgramDir + kOptionsFileName));

    // A refused password keeps the dialog for another try; here the user gives up.
    User.Dialogs.push_back(FrameUser::Login(kUser, "WRONG"));
    TMainForm second(Box, User.Services());
    second.ProgramDir = ProgramDir;
    second.show();
    second.Startup();
    EXPECT_FALSE(second.isVisible());
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(Box.Messages.back().Text, "Password not valid!");
    EXPECT_FALSE(orvale::FileExists(ProgramDir + kOptionsFileName));
}

TEST_F(MainFormTest, EditorOptionsReachEveryOpenWindow) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    frame->FileNewItem->trigger();
    // Cancel changes nothing.
    User.Dialogs.push_back([](QDialog& dialog) {
        static_cast<TFormEditOptions&>(dialog).ComboBackCol->SetColorValue(0xFFFFFF);
        return false;
    });
    frame->OptionEditorItem->trigger();
    EXPECT_EQ(frame->Options.Editor.BackColor, 0x800000);

    User.Dialogs.push_back(FrameUser::Change<TFormEditOptions>([](TFormEditOptions& d) {
        d.ComboBackCol->SetColorValue(0xFFFFFF);
        d.ComboTextCol->SetColorValue(0);
        d.ComboFont->setCurrentIndex(6); // "12"
        d.TrackTabSpace->setValue(4);
        d.CheckAutoIndent->setChecked(true);
        d.RadioRightMouse->SetItemIndex(1);
    }));
    frame->OptionEditorItem->trigger();
    EXPECT_EQ(frame->Options.Editor.FontSizeIdx, 6);
    EXPECT_TRUE(frame->Options.Editor.UseRightButton);
    EXPECT_FALSE(frame->Options.Editor.EditorPopupMemu);
    for (TEditorsHolder* window : frame->EditorWindows()) {
        TExtRichEdit& source = *window->RichEditSource;
        EXPECT_EQ(ValueFromColor(source.BackColor()), 0xFFFFFF);
        EXPECT_EQ(ValueFromColor(source.TextColor()), 0);
        EXPECT_EQ(window->ComboFont->currentText(), "12");
        EXPECT_EQ(source.font().pointSize(), 12);
        EXPECT_EQ(source.TabSpaces(), 4);
        EXPECT_TRUE(source.AutoIndent());
        EXPECT_TRUE(window->UseRightButton);
        EXPECT_FALSE(window->EditorPopupMemu);
        // The compiled view and the document's indentation follow at the next window.
        EXPECT_EQ(window->MemoRPGView->font().pointSize(), 10);
        EXPECT_EQ(window->Document->TabSpaces, 2);
    }
    frame->FileNewItem->trigger();
    TEditorsHolder* fresh = frame->ActiveWindow();
    EXPECT_EQ(fresh->MemoRPGView->font().pointSize(), 12);
    EXPECT_EQ(fresh->Document->TabSpaces, 4);
}

TEST_F(MainFormTest, UndoAndHistoryOptionsReachEveryDocument) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    User.Dialogs.push_back(FrameUser::Change<TFormUndoOpt>([](TFormUndoOpt& d) {
        d.CheckSave->setChecked(false);
        d.CheckPrev->setChecked(false);
    }));
    frame->OptionUndoItem->trigger();
    EXPECT_FALSE(window->Document->KeepSave);
    EXPECT_FALSE(window->Document->KeepPrevious);
    EXPECT_TRUE(window->Document->KeepOpen);
    EXPECT_FALSE(window->PopRestLastSave->isEnabled());
    EXPECT_FALSE(window->PopRestPrevUpdate->isEnabled());
    EXPECT_TRUE(window->PopRestLastOpen->isEnabled());
    // The frame's own Restore items keep the state of the options file.
    EXPECT_TRUE(frame->RestLastSaved->isEnabled());

    User.Dialogs.push_back(FrameUser::Change<TFormHistory>([](TFormHistory& d) {
        d.CheckModSPr->setChecked(false);
        d.CheckAddSec->setChecked(false);
    }));
    frame->OptionHistoryLogItem->trigger();
    EXPECT_FALSE(window->Document->LogRename);
    EXPECT_FALSE(window->Document->LogAdd);
    EXPECT_TRUE(window->Document->LogProperty);
    EXPECT_TRUE(window->Document->LogDelete);
}

TEST_F(MainFormTest, FontSizeFromOneWindowGoesToAll) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    frame->FileNewItem->trigger();
    std::vector<TEditorsHolder*> windows = frame->EditorWindows();
    // The user picks "14" in the first window's list.
    windows[0]->ComboFont->setCurrentIndex(8);
    emit windows[0]->ComboFont->activated(8);
    EXPECT_EQ(frame->Options.Editor.FontSizeIdx, 8);
    for (TEditorsHolder* window : windows) {
        EXPECT_EQ(window->ComboFont->currentText(), "14");
        EXPECT_EQ(window->RichEditSource->font().pointSize(), 14);
        EXPECT_EQ(window->MemoRPGView->font().pointSize(), 14);
    }
}

TEST_F(MainFormTest, UndoAndRedoTakeTurns) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    window->SelectNode(window->Document->MainRoutineNode);
    QTest::keyClicks(window->RichEditSource, "Z-ADD");
    ASSERT_EQ(window->RichEditSource->toPlainText(), "Z-ADD");
    frame->EditUndoItem->trigger();
    EXPECT_EQ(window->RichEditSource->toPlainText(), "");
    EXPECT_FALSE(frame->EditUndoItem->isEnabled());
    EXPECT_FALSE(frame->BtnUndo->isEnabled());
    EXPECT_TRUE(frame->EditRedoItem->isEnabled());
    frame->EditRedoItem->trigger();
    EXPECT_EQ(window->RichEditSource->toPlainText(), "Z-ADD");
    EXPECT_TRUE(frame->EditUndoItem->isEnabled());
    EXPECT_TRUE(frame->BtnUndo->isEnabled());
    EXPECT_FALSE(frame->EditRedoItem->isEnabled());
}

TEST_F(MainFormTest, HelpOpensAtItsKeywords) {
    std::filesystem::copy(std::string(ORVALE_BIN_DIR) + "/Help", ProgramDir + "Help",
                          std::filesystem::copy_options::recursive);
    auto frame = Start();
    THelpIndex index;
    ASSERT_TRUE(index.Load(frame->HelpFile));
    THelpTarget target;

    frame->RPGStandard->trigger();
    ASSERT_NE(frame->HelpWindow, nullptr);
    ASSERT_TRUE(index.Find("IDH_RPGOpCodes", target));
    EXPECT_EQ(frame->HelpWindow->CurrentPage(), target.Page);
    EXPECT_FALSE(frame->HelpShowing);

    frame->OrvaleSpecial->trigger();
    ASSERT_TRUE(index.Find("IDH_OrvaleOpCodes", target));
    EXPECT_EQ(frame->HelpWindow->CurrentPage(), target.Page);

    // Topic search in an editor: the help at the operation code's keyword.
    frame->FileNewItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    window->SelectNode(window->Document->MainRoutineNode);
    QTest::keyClicks(window->RichEditSource, "ENDIF");
    window->PopTopicSearch->trigger();
    EXPECT_TRUE(frame->HelpShowing);
    ASSERT_TRUE(index.Find("IDH_OpCod_ENDYY", target));
    EXPECT_EQ(frame->HelpWindow->CurrentPage(), target.Page);
    EXPECT_EQ(frame->HelpWindow->CurrentAnchor(), target.Anchor);
}

} // namespace
