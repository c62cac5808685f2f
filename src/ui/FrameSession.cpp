// orvale-session: a scripted session in the real main frame, for pictures of the program at
// work. It logs a user in (a fresh program directory enrols it first), makes a program from
// each RPG/400 source member given, adds a subroutine to the first and types its text,
// shows the last one's RPG/400 page, tiles the windows and saves a picture of the screen.
//
//   orvale-session --dir PROGRAMDIR --member FILE.RP3 [--member FILE.RP3]
//                  [--size WxH] [--scene NAME] --screenshot PNG
//
// A scene takes the picture of one task instead, on the first member's program: "prompt" (F4
// on the first File statement), "prompt-unknown" (F4 on an unknown operation code), "guide"
// (the help at the guide's page on editing), "menu-Program", "menu-Help", ... (that menu open,
// with its keys).
//
// The program directory is filled with the default data files found beside the program.
// Run it on an X display (scripts/screenshot starts one).

#include "document/ParseString.h"
#include "frame/ProgramDir.h"
#include "platform/Prompter.h"
#include "qtedge/FileNames.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormEditOptions.h"
#include "ui/FormGestSubSec.h"
#include "ui/HelpWindow.h"
#include "ui/MainForm.h"
#include "ui/PasswordDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <deque>
#include <functional>
#include <iostream>

namespace {

constexpr const char* kUser = "MARIO";
constexpr const char* kPassword = "RPG400";

// Lets the window system catch up: pending events for a while.
void Settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Type(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// The user in front of the frame: answers its dialogs in turn.
class ScriptedUser {
public:
    std::deque<std::function<bool(QDialog&)>> Dialogs;
    std::deque<std::string> Files;

    TMainFormServices Services() {
        TMainFormServices services = TMainFormServices::Default();
        services.RunDialog = [this](QDialog& dialog) { return Answer(dialog); };
        services.Editor.RunDialog = [this](QDialog& dialog) { return Answer(dialog); };
        services.RunFileDialog = [this](QFileDialog& dialog) {
            if (Files.empty())
                return false;
            dialog.selectFile(orvale::PathToQt(Files.front()));
            Files.pop_front();
            return true;
        };
        return services;
    }

private:
    bool Answer(QDialog& dialog) {
        if (Dialogs.empty())
            return false;
        auto answer = std::move(Dialogs.front());
        Dialogs.pop_front();
        return answer(dialog);
    }
};

// The login; on a fresh program directory the name is enrolled with its password first.
bool LogIn(QDialog& dialog) {
    auto& login = dynamic_cast<TPasswordDlg&>(dialog);
    login.EditUserName->setText(kUser);
    login.EditPassword->setText(kPassword);
    login.EditRepeat->setText(kPassword);
    login.BtnOK->click();
    return login.LoginAccepted();
}

bool SaveScreen(QWidget& fallback, const QString& png) {
    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
    if (QGuiApplication::platformName() != "xcb" || picture.isNull())
        picture = fallback.grab();
    if (!picture.save(png, "PNG")) {
        std::cerr << "orvale-session: cannot write " << png.toStdString() << "\n";
        return false;
    }
    std::cout << "Screenshot: " << png.toStdString() << "\n";
    return true;
}

// The first line of the section Node that starts with Name (any case), or -1.
int LineStarting(const TEditorsHolder& window, TreeNode* node, const std::string& name) {
    const TEDITSection* section = node ? node->Section() : nullptr;
    for (int i = 0; section && i < section->LinesCount(); ++i) {
        std::string line = UpperCase(Trim(section->GetLine(i)));
        if (line.rfind(UpperCase(name) + "(", 0) == 0)
            return i;
    }
    (void)window;
    return -1;
}

// F4 on a line of Node whose statement is Name; the picture is taken while the prompt is open.
bool PromptScene(TMainForm& frame, TEditorsHolder& window, TreeNode* node, const std::string& name,
                 const QString& png, const std::string& replaceWith = {}) {
    int line = replaceWith.empty() ? LineStarting(window, node, name) : 0;
    if (line < 0 || !node) {
        std::cerr << "orvale-session: no " << name << " statement to prompt\n";
        return false;
    }
    frame.MdiArea->setActiveSubWindow(frame.SubWindowOf(&window));
    frame.ActiveSubWindow()->showMaximized();
    window.SelectNode(node);
    window.RichEditSource->SetCaretPos(6, line);
    if (!replaceWith.empty()) {
        // A line typed at the top of the section.
        window.RichEditSource->ReplaceText({0, line}, {0, line}, replaceWith + "\n");
        window.RichEditSource->SetCaretPos(18, line);
    }
    bool saved = false;
    QTimer::singleShot(900, [&] {
        QWidget* prompt = QApplication::activeModalWidget();
        saved = SaveScreen(prompt ? *prompt : static_cast<QWidget&>(frame), png);
        if (prompt)
            QMetaObject::invokeMethod(prompt, "reject", Qt::QueuedConnection);
    });
    window.PopPromptatCursor->trigger();
    return saved;
}

bool PlayScene(TMainForm& frame, TEditorsHolder& window, const QString& scene, const QString& png) {
    TRPGProgram& doc = *window.Document;
    if (scene == "prompt") {
        TreeNode* files = nullptr;
        for (int i = 0; doc.FilesNode && i < doc.FilesNode->Count() && !files; ++i)
            if (LineStarting(window, doc.FilesNode->Child(i), "File") >= 0)
                files = doc.FilesNode->Child(i);
        return PromptScene(frame, window, files, "File", png);
    }
    if (scene == "prompt-unknown")
        return PromptScene(frame, window, doc.MainRoutineNode, "", png,
                           "                Zadd(1,COUNT)");
    if (scene == "guide") {
        frame.HelpOrvaleItem->trigger();
        if (!frame.HelpWindow)
            return false;
        frame.HelpWindow->resize(900, 640);
        frame.HelpWindow->move(160, 80);
        frame.HelpWindow->ShowKeyword("IDH_Guide_Edit");
        Settle(800);
        return SaveScreen(*frame.HelpWindow, png);
    }
    if (scene.startsWith("menu-")) {
        window.SelectNode(doc.MainRoutineNode);
        QMenu* menu = nullptr;
        for (QAction* item : frame.MainMenu->actions())
            if (item->menu() && item->text().remove('&') == scene.mid(5))
                menu = item->menu();
        if (!menu)
            return false;
        QRect at = frame.MainMenu->actionGeometry(menu->menuAction());
        menu->popup(frame.MainMenu->mapToGlobal(at.bottomLeft()));
        Settle(800);
        bool saved = SaveScreen(frame, png);
        menu->hide();
        return saved;
    }
    std::cerr << "orvale-session: no scene " << scene.toStdString() << "\n";
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("orvale");
    QApplication::setApplicationDisplayName(kApplicationName);

    QCommandLineParser args;
    args.setApplicationDescription("A scripted session in the Orvale main frame.");
    args.addHelpOption();
    args.addOption({"dir", "Program directory (filled with the defaults).", "dir"});
    args.addOption({"member", "RPG/400 source member to make a program of.", "file"});
    args.addOption({"size", "Size of the frame, WxH.", "size", "1280x800"});
    args.addOption({"screenshot", "Where to save the picture of the screen.", "png"});
    args.addOption({"scene", "One task to take the picture of (see the source).", "name"});
    args.process(app);
    QStringList members = args.values("member");
    if (!args.isSet("dir") || !args.isSet("screenshot") || members.isEmpty()) {
        std::cerr << "orvale-session: --dir, --member and --screenshot are needed\n";
        return 2;
    }
    std::string programDir = orvale::PathFromQt(args.value("dir"));
    if (programDir.back() != '/')
        programDir += '/';
    std::string error;
    if (!SeedProgramDir(ExecutableDir(), programDir, &error)) {
        std::cerr << "orvale-session: " << error << "\n";
        return 2;
    }
    QStringList size = args.value("size").split('x');
    int width = size.value(0).toInt();
    int height = size.value(1).toInt();
    if (width < 400 || height < 300) {
        std::cerr << "orvale-session: a size of at least 400x300 is needed\n";
        return 2;
    }

    // Every question is answered: no box may wait for a hand on the screen.
    orvale::StreamPrompter box(std::cerr);
    orvale::Prompter::SetDefault(&box);
    ScriptedUser user;
    user.Dialogs.push_back(LogIn);
    TMainForm frame(box, user.Services());
    frame.ProgramDir = programDir;
    frame.setGeometry(0, 0, width, height);
    frame.show();
    frame.Startup();
    if (!frame.isVisible()) {
        std::cerr << "orvale-session: the login was not accepted\n";
        return 1;
    }
    frame.activateWindow();
    Settle(200);

    for (const QString& member : members) {
        user.Files.push_back(orvale::PathFromQt(member));
        frame.ProgOpenItem->trigger();
    }
    std::vector<TEditorsHolder*> windows = frame.EditorWindows();
    if (windows.size() != static_cast<size_t>(members.size())) {
        std::cerr << "orvale-session: a member could not be converted\n";
        return 1;
    }
    frame.WindowTileItem->trigger();
    if (args.isSet("scene")) {
        QString png = args.value("screenshot");
        int status = PlayScene(frame, *windows.front(), args.value("scene"), png) ? 0 : 1;
        for (TEditorsHolder* window : frame.EditorWindows())
            window->DiscardChanges();
        frame.close();
        orvale::Prompter::SetDefault(nullptr);
        return status;
    }

    // The last program shows its compiled lines.
    TEditorsHolder* compiled = windows.back();
    compiled->SelectNode(compiled->Document->MainRoutineNode);
    compiled->PageControl->setCurrentWidget(compiled->TabSheetRPGView);

    // The first gets a new subroutine, typed with the editor's indentation.
    TEditorsHolder* edited = windows.front();
    frame.MdiArea->setActiveSubWindow(frame.SubWindowOf(edited));
    user.Dialogs.push_back([](QDialog& dialog) {
        auto& form = dynamic_cast<TFormGestSubSec&>(dialog);
        form.EditName->setText("SUMUP");
        form.EditDesc->setText("Count the subfile records");
        return true;
    });
    edited->SpeedBtnAddSub->click();
    // The editor indents new lines and Backspace steps back one level.
    user.Dialogs.push_back([](QDialog& dialog) {
        auto& options = dynamic_cast<TFormEditOptions&>(dialog);
        options.CheckAutoIndent->setChecked(true);
        options.CheckBackUnindent->setChecked(true);
        return true;
    });
    frame.OptionEditorItem->trigger();
    if (TreeNode* routine = edited->Document->FindNodeByText("SUMUP")) {
        edited->SelectNode(routine);
        TExtRichEdit* editor = edited->RichEditSource;
        editor->setFocus();
        editor->SetCaretPos(static_cast<int>(editor->Line(0).size()), 0);
        Key(editor, Qt::Key_Return);
        Type(editor, "  Z-add(0,RRN01)");
        Key(editor, Qt::Key_Return);
        Type(editor, "Doweq(*IN80,*OFF)");
        Key(editor, Qt::Key_Return);
        Type(editor, "  Add(RRN01,1,RRN01)");
        Key(editor, Qt::Key_Return);
        Type(editor, "Read(COUNTRY,,N,,80)");
        Key(editor, Qt::Key_Return);
        Key(editor, Qt::Key_Backspace);
        Type(editor, "Enddo()");
    }
    frame.statusBar()->showMessage(frame.ProgCompileItem->statusTip());
    Settle(800);

    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
    if (QGuiApplication::platformName() != "xcb" || picture.isNull())
        picture = frame.grab();
    QString png = args.value("screenshot");
    if (!picture.save(png, "PNG")) {
        std::cerr << "orvale-session: cannot write " << png.toStdString() << "\n";
        return 1;
    }
    std::cout << "Screenshot: " << png.toStdString() << " (" << picture.width() << "x"
              << picture.height() << ")\n";

    // The session leaves nothing behind: the programs are let go unsaved.
    for (TEditorsHolder* window : frame.EditorWindows())
        window->DiscardChanges();
    frame.close();
    orvale::Prompter::SetDefault(nullptr);
    return 0;
}
