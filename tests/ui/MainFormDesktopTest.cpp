// The frame as a Linux desktop program: live windows, the clipboard left alone, the caption,
// the desktop's keys, dialog frames, printing through the real print path, the help contents,
// window sizes and the modification mark after a save.

#include "ui/MainForm.h"

#include "FrameTest.h"
#include "frame/HelpIndex.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/TempDir.h"
#include "ui/BrowserFold.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormFind.h"
#include "ui/HelpWindow.h"
#include "ui/PasswordDlg.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

using orvale::ScriptedPrompter;
using orvale::test::FrameUser;
using orvale::test::TempDir;

namespace {

// The text of a PDF file as pdftotext reads it; empty when the tool is missing.
std::string PdfText(const std::string& pdf) {
    std::string out = pdf + ".txt";
    std::string command = "pdftotext -layout '" + pdf + "' '" + out + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return {};
    std::string text;
    orvale::ReadFileBytes(out, text);
    return text;
}

bool HavePdfToText() {
    return std::system("command -v pdftotext >/dev/null 2>&1") == 0;
}

class MainFormDesktop : public orvale::test::FrameTest {
protected:
    // A program whose main routine holds Lines, saved as Name in the program directory and
    // opened in the frame.
    TEditorsHolder* OpenProgram(TMainForm& frame, const std::string& name,
                                const StringList& lines) {
        ScriptedPrompter box;
        TRPGProgram doc(box);
        doc.NewProgram();
        doc.MainRoutineSection.SetLines(lines);
        doc.SaveToFile(Dir.File(name));
        frame.OpenProgramFile(Dir.File(name));
        return frame.ActiveWindow();
    }

    // The print dialog answered with OK, its printer writing a PDF file.
    FrameUser::DialogAnswer PrintTo(const std::string& pdf) {
        return [pdf](QDialog& dialog) {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (!print)
                return false;
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(QString::fromStdString(pdf));
            return true;
        };
    }
};

TEST_F(MainFormDesktop, WindowsStayLiveAndTheClipboardKeepsWhatOthersPutThere) {
    auto frame = Start();
    frame->FileNewItem->trigger();
    QMdiSubWindow* sub = frame->ActiveSubWindow();
    ASSERT_NE(sub, nullptr);

    // Another program puts rich text on the clipboard and takes the focus.
    auto* data = new QMimeData;
    data->setHtml("<b>total</b>");
    data->setText("total");
    QGuiApplication::clipboard()->setMimeData(data);
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QApplication::processEvents();
    EXPECT_TRUE(sub->isEnabled());
    EXPECT_TRUE(frame->ActiveWindow()->RichEditSource->isEnabled());

    // Orvale is activated again, and a window with it.
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    frame->FileNewItem->trigger();
    frame->MdiArea->setActiveSubWindow(sub);
    QApplication::processEvents();
    const QMimeData* now = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(now, nullptr);
    EXPECT_TRUE(now->hasHtml());
    EXPECT_EQ(now->text(), "total");
}

TEST_F(MainFormDesktop, CaptionIsTheProgramsNameAlsoWhenMaximised) {
    QApplication::setApplicationDisplayName(kApplicationName);
    auto frame = Start();
    EXPECT_EQ(frame->windowTitle(), "");
    OpenProgram(*frame, "DL0110.RPG", {"   Z-ADD(1 : X)"});
    EXPECT_EQ(frame->windowTitle(), "DL0110.RPG");
    frame->ActiveSubWindow()->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(frame->windowTitle(), "DL0110.RPG");
    frame->ActiveSubWindow()->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(frame->windowTitle(), "DL0110.RPG");
    frame->FileCloseItem->trigger();
    QApplication::processEvents();
    EXPECT_EQ(frame->windowTitle(), "");
}

TEST_F(MainFormDesktop, CommandsAnswerTheDesktopsKeysBesideTheirOwn) {
    auto frame = Start();
    // Every key the desktop names for the command, and the usual one where it names none.
    auto has = [](QAction* item, QKeySequence::StandardKey key) {
        for (const QKeySequence& k : QKeySequence::keyBindings(key))
            if (!item->shortcuts().contains(k))
                return false;
        return !item->shortcuts().isEmpty();
    };
    EXPECT_TRUE(has(frame->FileExitItem, QKeySequence::Quit));
    EXPECT_TRUE(has(frame->FileCloseItem, QKeySequence::Close));
    EXPECT_TRUE(has(frame->EditRedoItem, QKeySequence::Redo));
    EXPECT_TRUE(has(frame->SearchFindItem, QKeySequence::Find));
    EXPECT_TRUE(has(frame->SearchReplaceItem, QKeySequence::Replace));
    EXPECT_TRUE(has(frame->FilePrintItem, QKeySequence::Print));
    EXPECT_TRUE(frame->FileExitItem->shortcuts().contains(QKeySequence("Ctrl+Q")));
    EXPECT_TRUE(frame->FileCloseItem->shortcuts().contains(QKeySequence("Ctrl+W")));
    // The keys the commands are known by stay first.
    EXPECT_EQ(frame->SearchReplaceItem->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(frame->EditUndoItem->shortcut(), QKeySequence("Ctrl+Z"));
}

TEST_F(MainFormDesktop, FileAndFolderDialogsAreTheDesktops) {
    auto frame = Start();
    EXPECT_FALSE(frame->MainOpenDialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_FALSE(frame->MainSaveDialog->testOption(QFileDialog::DontUseNativeDialog));
    TBrowserFold browser;
    bool toolkits = true;
    browser.RunDialog = [&](QFileDialog& dialog) {
        toolkits = dialog.testOption(QFileDialog::DontUseNativeDialog);
        return false;
    };
    browser.Execute(frame.get(), ProgramDir);
    EXPECT_FALSE(toolkits);
}

TEST_F(MainFormDesktop, DialogsHaveNoMinimiseOrMaximiseButton) {
    Qt::WindowFlags seen;
    User.Dialogs.push_back(FrameUser::Login(kUser, kPassword));
    User.Dialogs.push_back([&seen](QDialog& dialog) {
        seen = dialog.windowFlags();
        return false;
    });
    auto frame = std::make_unique<TMainForm>(Box, User.Services());
    frame->ProgramDir = ProgramDir;
    frame->show();
    frame->Startup();
    frame->HelpAboutItem->trigger();
    EXPECT_FALSE(seen & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(seen & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(seen & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(frame->FormFind->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainFormDesktop, PrintedProgramHoldsItsSectionsLinesUnderPageHeaders) {
    if (!HavePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is needed to read the printed pages";
    auto frame = Start();
    StringList lines;
    for (int i = 0; i < 150; ++i)
        lines.push_back("                Z-ADD(" + std::to_string(i) + " : COUNT" +
                        std::to_string(i) + ")");
    OpenProgram(*frame, "PAYROLL.RPG", lines);

    std::string pdf = Dir.File("program.pdf");
    User.Dialogs.push_back(PrintTo(pdf));
    ASSERT_TRUE(frame->PrintActive(TPrintContent::Program, TPrintWay::Printer));
    std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Program: PAYROLL.RPG"), std::string::npos);
    EXPECT_NE(text.find("Section: Main Routine"), std::string::npos);
    EXPECT_NE(text.find("Page 1"), std::string::npos);
    // 150 lines do not fit one page: every line is printed, on the pages that follow.
    EXPECT_NE(text.find("Page 2"), std::string::npos);
    for (int i : {0, 75, 149})
        EXPECT_NE(text.find("Z-ADD(" + std::to_string(i) + " : COUNT" + std::to_string(i) + ")"),
                  std::string::npos)
            << i;

    // Export to PDF writes the same pages into the file chosen.
    std::string exported = Dir.File("chosen.pdf");
    User.Files.push_back(exported);
    ASSERT_TRUE(frame->PrintActive(TPrintContent::Program, TPrintWay::Pdf));
    std::string again = PdfText(exported);
    EXPECT_NE(again.find("Z-ADD(149 : COUNT149)"), std::string::npos);

    // A cancelled print dialog prints nothing.
    EXPECT_FALSE(frame->PrintActive(TPrintContent::Program, TPrintWay::Printer));
}

TEST_F(MainFormDesktop, PrintedSourceIsTheCompiledMember) {
    if (!HavePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is needed to read the printed pages";
    auto frame = Start();
    OpenProgram(*frame, "PAYROLL.RPG", {"  ADD(TOTAL, 07, COUNT)"});
    std::string pdf = Dir.File("member.pdf");
    User.Dialogs.push_back(PrintTo(pdf));
    frame->ProgPrintItem->trigger();
    std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Program: PAYROLL.RPG"), std::string::npos);
    EXPECT_NE(text.find("MAIN ROUTINE"), std::string::npos);
    // The calculation line as the compiler writes it, not the statement.
    EXPECT_NE(text.find("TOTAL"), std::string::npos) << text;
    EXPECT_NE(text.find("COUNT"), std::string::npos);
    EXPECT_EQ(text.find("ADD(TOTAL"), std::string::npos);
    EXPECT_EQ(text.find("**ERROR"), std::string::npos);
}

TEST_F(MainFormDesktop, PdfIntoAFolderThatCannotBeWrittenIsReported) {
    auto frame = Start();
    OpenProgram(*frame, "PAYROLL.RPG", {"                Z-ADD(1 : COUNT)"});
    User.Files.push_back(Dir.File("missing/folder/out.pdf"));
    EXPECT_FALSE(frame->PrintActive(TPrintContent::Program, TPrintWay::Pdf));
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_NE(Box.Messages.back().Text.find("could not be written"), std::string::npos);
}

TEST_F(MainFormDesktop, FeaturesOpenTheHelpAtItsContents) {
    std::filesystem::copy(std::string(ORVALE_BIN_DIR) + "/Help", ProgramDir + "Help",
                          std::filesystem::copy_options::recursive);
    auto frame = Start();
    frame->HelpOrvaleItem->trigger();
    ASSERT_NE(frame->HelpWindow, nullptr);
    EXPECT_TRUE(frame->HelpWindow->isVisible());
    THelpIndex index;
    ASSERT_TRUE(index.Load(frame->HelpFile));
    EXPECT_EQ(frame->HelpWindow->CurrentPage(), index.Contents().Page);
}

TEST_F(MainFormDesktop, NewWindowsBesideOthersOpenAtAUsableSize) {
    auto frame = Start();
    frame->resize(1000, 720);
    OpenProgram(*frame, "ONE.RPG", {"                Z-ADD(1 : COUNT)"});
    OpenProgram(*frame, "TWO.RPG", {"                Z-ADD(2 : COUNT)"});
    QMdiSubWindow* sub = frame->ActiveSubWindow();
    ASSERT_NE(sub, nullptr);
    EXPECT_GE(sub->width(), 600);
    EXPECT_GE(sub->height(), 400);
}

TEST_F(MainFormDesktop, RefusedCharacterIsNamedInTheWindowsMessagePanel) {
    auto frame = Start();
    TEditorsHolder* window = OpenProgram(*frame, "PAYROLL.RPG", {"  ADD(A, B, C)"});
    ASSERT_NE(window, nullptr);
    window->SelectNode(window->Document->MainRoutineNode);
    QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC)));
    QApplication::sendEvent(window->RichEditSource, &euro);
    EXPECT_EQ(window->StatusPanel(TEditorsHolder::MessagePanel)->text(),
              QString::fromUtf8("The section's text cannot hold the character \"\u20AC\" "
                                "(U+20AC)."));
    EXPECT_EQ(window->RichEditSource->Line(0), "  ADD(A, B, C)");
}

TEST_F(MainFormDesktop, SuccessfulSaveClearsTheModificationMark) {
    auto frame = Start();
    TEditorsHolder* window = OpenProgram(*frame, "PAYROLL.RPG", {"                Z-ADD(1 : X)"});
    ASSERT_NE(window, nullptr);
    window->SelectNode(window->Document->MainRoutineNode);
    QTest::keyClicks(window->RichEditSource, "  ADD(1 : X)");
    ASSERT_EQ(window->StatusPanel(TEditorsHolder::ModifiedPanel)->text(), "Modified");
    frame->FileSaveItem->trigger();
    EXPECT_EQ(window->StatusPanel(TEditorsHolder::ModifiedPanel)->text(), "");
    EXPECT_FALSE(window->Document->Modified);
}

} // namespace
