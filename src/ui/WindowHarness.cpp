// orvale-window: one program editor window on its own, without the main frame, to look at it
// and to drive it from scripts. It opens a program file (.RPG), imports a source member (a
// name ending in 3), or starts a new program; then selects a node, shows a page, sorts the
// object list, and can save a screenshot of itself or time the showing of a large section.
//
//   orvale-window [FILE] [--select TEXT] [--page source|objects|setting|rpg]
//                 [--sort COLUMN]... [--large-icons] [--size WxH] [--screenshot PNG]
//                 [--time-select LINES] [--changed-since YYMMDD] [--host-dates]
//                 [--export-dialog PNG]

#include "frame/HelpIndex.h"
#include "frame/Options.h"
#include "frame/ProgramDir.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "qtedge/FileNames.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/GenRPGOptions.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ColSortListView.h"
#include "ui/EditorFrame.h"
#include "ui/EditorsHolder.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormExport.h"
#include "ui/HelpWindow.h"
#include "ui/HostTransfer.h"
#include "ui/MessageBoxPrompter.h"

#include <QApplication>
#include <QClipboard>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMimeData>
#include <QPalette>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <memory>

namespace {

// The frame's part for a window that stands alone: its own dialogs and help window.
class StandaloneFrame : public TEditorFrame {
public:
    explicit StandaloneFrame(std::string programDir) : ProgramDir(std::move(programDir)) {}

    TEditorsHolder* Window = nullptr;

    void AddToReopenList(const std::string&) override {}
    void EnableEditCommands(bool) override {}
    void EnableEditButtons(bool) override {}
    void SetFontSizeIdx(int index) override {
        if (Window)
            Window->ApplyFontSizeIdx(index);
    }
    void ShowHelpKeyword(const std::string& keyword) override {
        if (!Help) {
            Help = std::make_unique<THelpWindow>();
            Help->OpenHelpFile(HelpFilePath(ProgramDir));
        }
        Help->ShowKeyword(keyword);
    }
    bool ExecPrintDialog(QPrinter& printer) override {
        QPrintDialog dialog(&printer, Window);
        return dialog.exec() == QDialog::Accepted;
    }
    void NormaliseClipboard() override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard->mimeData();
        if (!data || !data->hasText())
            return;
        QString text = data->text();
        clipboard->clear();
        clipboard->setText(text);
    }
    std::optional<std::string> ChooseSaveFile(const std::string& title,
                                              const std::string& initialDir,
                                              const std::string& fileName) override {
        return Chosen(QFileDialog::getSaveFileName(Window, orvale::TextEdge().ToQt(title),
                                                   orvale::PathToQt(initialDir + "/" + fileName),
                                                   "Quenby Files (*.RPG)"));
    }
    std::optional<std::string> ChooseTextFileToImport() override {
        return Chosen(QFileDialog::getOpenFileName(Window, "Quenby - Import Text File"));
    }
    std::optional<std::string> ChooseTextFileToExport() override {
        return Chosen(QFileDialog::getSaveFileName(Window, "Quenby - Export Text File"));
    }

private:
    static std::optional<std::string> Chosen(const QString& path) {
        if (path.isEmpty())
            return std::nullopt;
        return orvale::PathFromQt(path);
    }

    std::string ProgramDir;
    std::unique_ptr<THelpWindow> Help;
};

int Fail(const QString& message) {
    std::fprintf(stderr, "orvale-window: %s\n", qPrintable(message));
    return 2;
}

bool SelectByText(TEditorsHolder& window, const std::string& text) {
    TreeNode* node = window.Document->FindNodeByText(text);
    if (!node)
        return false;
    window.SelectNode(node);
    return true;
}

// A program whose one subroutine holds Lines lines, then the time from the click on that
// subroutine until its text is on show (the pending repaint included).
int TimeSelect(TEditorsHolder& window, int lines) {
    TRPGProgram& doc = *window.Document;
    doc.NewProgram();
    TEDITSection* section = doc.AddSubRoutine("BIG", "timing");
    StringList text;
    text.reserve(static_cast<size_t>(lines));
    text.push_back("                Begsr(BIG)");
    for (int i = 1; i + 1 < lines; ++i)
        text.push_back("                    Add(CNT" + std::to_string(i % 100) + ",1,CNT) /* " +
                       std::to_string(i) + " */");
    text.push_back("                Endsr()");
    section->SetLines(text);
    window.show();
    QApplication::processEvents();
    SelectByText(window, "Header");
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    SelectByText(window, "BIG");
    window.repaint();
    QApplication::processEvents();
    qint64 elapsed = clock.nsecsElapsed();
    bool shown = window.RichEditSource->LineCount() == lines;
    std::printf("select %d lines: %.1f ms%s\n", lines, elapsed / 1e6,
                shown ? "" : " (text not shown!)");
    return shown ? 0 : 1;
}

// Export To AS/400 on the window with the options as they come (the save left out: the program
// may have no file yet), into a members folder that goes afterwards; its dialog, once shown, is
// saved as PNG and cancelled. Questions of the compile are answered yes.
int ShotExportDialog(TEditorsHolder& window, const std::string& programDir, const QString& png) {
    QTemporaryDir members;
    TOptions options;
    options.Export.SaveOnExport = false;
    options.LastExportFolder = orvale::PathFromQt(members.path()) + "/";
    orvale::ScriptedPrompter yes;
    window.Services.RunDialog = [](QDialog&) { return true; };
    bool saved = false;
    THostTransfer transfer{options, programDir, yes, &window, [&](QDialog& dialog) {
                               dialog.show();
                               QTimer::singleShot(300, &dialog, [&] {
                                   saved = dialog.grab().save(png, "PNG");
                                   dialog.reject();
                               });
                               return dialog.exec() == QDialog::Accepted;
                           }};
    ExportToHost(window, transfer);
    window.DiscardChanges();
    if (!saved)
        return Fail("no export dialog saved to " + png);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("orvale-window");
    QApplication::setApplicationDisplayName("Orvale 1.0");

    QCommandLineParser parser;
    parser.setApplicationDescription("One program editor window without the main frame.");
    parser.addHelpOption();
    parser.addPositionalArgument("file", "Program file (.RPG) or source member (name ending in 3)");
    QCommandLineOption select("select", "Selects the first tree node with TEXT.", "TEXT");
    QCommandLineOption page("page", "Shows a page: source, objects, setting or rpg.", "PAGE");
    QCommandLineOption sort("sort", "Clicks a column header of the object list (from 0).",
                            "COLUMN");
    QCommandLineOption largeIcons("large-icons", "Shows the object list as large icons.");
    QCommandLineOption size("size", "Window size, WIDTHxHEIGHT.", "SIZE", "900x600");
    QCommandLineOption screenshot("screenshot", "Saves the window as PNG and quits.", "PNG");
    QCommandLineOption timeSelect(
        "time-select", "Times the showing of a subroutine of LINES lines and quits.", "LINES");
    QCommandLineOption dir("dir", "Program directory (prompt file, help pages).", "DIR");
    QCommandLineOption palette("palette", "Desktop palette: light (with a white editor) or dark.",
                               "KIND");
    QCommandLineOption line("line", "Puts the caret on LINE (1-based) of the page shown.", "LINE");
    QCommandLineOption build("build", "Compiles every section first (the statistics skipped).");
    QCommandLineOption changedSince(
        "changed-since", "Tints the lines of a dated member changed since YYMMDD.", "YYMMDD");
    QCommandLineOption hostDates("host-dates", "Shows change dates as YY/MM/DD.");
    QCommandLineOption exportDialog(
        "export-dialog", "Runs Export To AS/400, saves its dialog as PNG and quits.", "PNG");
    parser.addOptions({select, page, sort, largeIcons, size, screenshot, timeSelect, dir, palette,
                       line, build, changedSince, hostDates, exportDialog});
    parser.process(app);
    if (parser.isSet(palette)) {
        QApplication::setStyle("Fusion");
        if (parser.value(palette) == "dark") {
            QPalette dark;
            dark.setColor(QPalette::Window, QColor(0x2b, 0x2d, 0x30));
            dark.setColor(QPalette::WindowText, QColor(0xdf, 0xe1, 0xe5));
            dark.setColor(QPalette::Base, QColor(0x1e, 0x1f, 0x22));
            dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x28, 0x2b));
            dark.setColor(QPalette::Text, QColor(0xdf, 0xe1, 0xe5));
            dark.setColor(QPalette::Button, QColor(0x3c, 0x3f, 0x41));
            dark.setColor(QPalette::ButtonText, QColor(0xdf, 0xe1, 0xe5));
            dark.setColor(QPalette::Highlight, QColor(0x2f, 0x65, 0xca));
            dark.setColor(QPalette::HighlightedText, Qt::white);
            QApplication::setPalette(dark);
        } else {
            QApplication::setPalette(QApplication::style()->standardPalette());
        }
    }

    std::string programDir =
        parser.isSet(dir) ? orvale::PathFromQt(parser.value(dir)) + "/" : CurrentProgramDir();
    TMessageBoxPrompter prompter;
    orvale::Prompter::SetDefault(&prompter);
    TFormGenRPG compilerOptions;
    StandaloneFrame frame(programDir);
    TEditorSetup setup{"USER", 2, &compilerOptions, programDir};
    TEditorsHolder window(prompter, setup, &frame);
    frame.Window = &window;
    if (parser.value(palette) == "light") {
        window.RichEditSource->SetBackColor(Qt::white);
        window.RichEditSource->SetTextColor(Qt::black);
        window.MemoRPGView->SetBackColor(QColor(0xfb, 0xfb, 0xf6));
        window.MemoRPGView->SetTextColor(Qt::black);
    }
    QStringList dimensions = parser.value(size).split('x');
    if (dimensions.size() == 2)
        window.resize(dimensions[0].toInt(), dimensions[1].toInt());

    if (parser.isSet(timeSelect))
        return TimeSelect(window, parser.value(timeSelect).toInt());

    QStringList files = parser.positionalArguments();
    window.show();
    QApplication::processEvents();
    if (files.isEmpty()) {
        window.Document->NewProgram();
    } else {
        std::string file = orvale::PathFromQt(files.front());
        if (!orvale::FileExists(file))
            return Fail("no file " + files.front());
        if (file.back() == '3')
            window.ImportSource(file);
        else if (!window.OpenProgram(file))
            return Fail("cannot open " + files.front());
    }
    window.setWindowTitle(orvale::PathToQt(window.Document->FilePath + window.Document->FileName));
    window.TreeProgramChange();

    if (parser.isSet(build)) {
        window.Services.RunDialog = [](QDialog&) { return true; };
        window.CompileProgram(true);
    }
    window.HostDateFormat = parser.isSet(hostDates);
    if (parser.isSet(select) && !SelectByText(window, window.Edge.FromQt(parser.value(select))))
        return Fail("no node " + parser.value(select));
    if (parser.isSet(page)) {
        const QStringList pages{"source", "objects", "setting", "rpg"};
        int index = static_cast<int>(pages.indexOf(parser.value(page).toLower()));
        if (index < 0)
            return Fail("no page " + parser.value(page));
        window.PageControl->setCurrentIndex(index);
    }
    if (parser.isSet(line)) {
        TExtRichEdit* editor = window.ActivePage() == orvale::ProgramPage::RpgView
                                   ? window.MemoRPGView
                                   : window.RichEditSource;
        editor->SetCaretPos(0, parser.value(line).toInt() - 1);
        editor->setFocus();
    }
    if (parser.isSet(changedSince))
        window.ShowChangedSince(parser.value(changedSince).toInt());
    if (parser.isSet(exportDialog))
        return ShotExportDialog(window, programDir, parser.value(exportDialog));
    for (const QString& column : parser.values(sort))
        window.ListViewObject->ColumnClick(column.toInt());
    if (parser.isSet(largeIcons))
        window.SpeedBtnBigIcon->click();

    if (parser.isSet(screenshot)) {
        // Let the window lay itself out and paint before it is grabbed.
        QTimer::singleShot(300, [&] {
            bool saved = window.grab().save(parser.value(screenshot), "PNG");
            if (!saved)
                Fail("cannot write " + parser.value(screenshot));
            // The document has nothing to keep; the window goes without asking.
            window.DiscardChanges();
            QApplication::exit(saved ? 0 : 2);
        });
    }
    int status = QApplication::exec();
    orvale::Prompter::SetDefault(nullptr);
    return status;
}
