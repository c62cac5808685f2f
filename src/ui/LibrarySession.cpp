// orvale-library-session: the library in the real main frame, for pictures of it at work. It
// logs a user in, opens a library folder and plays one scene, then saves a picture:
//
//   panel     the library panel, filtered by a member pattern and sorted by size
//   find      Find in Library of a text, its hits grouped by member
//   whereused Where Used of a name, with the roles
//   program   an RPG III member opened as a program on a line, its /COPY at hand
//   copy      the copy member opened from a program's /COPY line (F3)
//   xref      the field cross-reference of a program with the library's lines (Shift+F4)
//   viewer    a data description opened read-only
//   compare   two members side by side
//
//   orvale-library-session --dir PROGRAMDIR --library FOLDER --scene NAME
//                          [--member PATH] [--other PATH] [--text TEXT] [--line N]
//                          [--size WxH] --screenshot PNG
//
// Run it on an X display (scripts/library-screenshots starts one).

#include "frame/ProgramDir.h"
#include "platform/Prompter.h"
#include "qtedge/FileNames.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/CompareWindow.h"
#include "ui/EditorsHolder.h"
#include "ui/ExtRichEdit.h"
#include "ui/LibraryFindDock.h"
#include "ui/LibraryFrame.h"
#include "ui/LibraryPanel.h"
#include "ui/MainForm.h"
#include "ui/PasswordDlg.h"
#include "ui/WhereUsedDock.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>
#include <QTreeView>

#include <iostream>

namespace {

void Settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool LogIn(QDialog& dialog) {
    auto& login = dynamic_cast<TPasswordDlg&>(dialog);
    login.EditUserName->setText("MARIO");
    login.EditPassword->setText("RPG400");
    login.EditRepeat->setText("RPG400");
    login.BtnOK->click();
    return login.LoginAccepted();
}

// Puts the caret of a program window on the first place Word stands, in the section that
// holds it.
bool CaretOnWord(TEditorsHolder& window, const std::string& word) {
    TreeNode* found = nullptr;
    int line = 0, column = 0;
    window.Document->ForEachNode([&](TreeNode* n) {
        if (found || !n->Section())
            return true;
        const StringList& lines = n->Section()->LineTexts();
        for (size_t i = 0; i < lines.size(); ++i)
            if (size_t at = lines[i].find(word); at != std::string::npos) {
                found = n;
                line = static_cast<int>(i);
                column = static_cast<int>(at);
                return false;
            }
        return true;
    });
    if (!found)
        return false;
    window.GoToPlace(found, line, column);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("orvale");
    QApplication::setApplicationDisplayName(kApplicationName);
    QCommandLineParser args;
    args.addHelpOption();
    for (const char* option :
         {"dir", "library", "scene", "member", "other", "text", "line", "size", "screenshot"})
        args.addOption({option, option, option});
    // The value of an option, or Fallback when it is not given.
    auto value = [&](const char* option, const char* fallback) {
        return args.isSet(option) ? args.value(option) : QString(fallback);
    };
    args.process(app);
    if (!args.isSet("dir") || !args.isSet("library") || !args.isSet("screenshot")) {
        std::cerr << "orvale-library-session: --dir, --library and --screenshot are needed\n";
        return 2;
    }
    std::string programDir = orvale::PathFromQt(args.value("dir")) + "/";
    std::string error;
    if (!SeedProgramDir(ExecutableDir(), programDir, &error)) {
        std::cerr << "orvale-library-session: " << error << "\n";
        return 2;
    }
    QStringList size = value("size", "1280x800").split('x');
    orvale::StreamPrompter box(std::cerr);
    orvale::Prompter::SetDefault(&box);
    TMainFormServices services = TMainFormServices::Default();
    services.RunDialog = LogIn;
    TMainForm frame(box, services);
    frame.ProgramDir = programDir;
    frame.setGeometry(0, 0, size.value(0).toInt(), size.value(1).toInt());
    frame.show();
    frame.Startup();
    frame.activateWindow();
    TLibraryFrame& library = *frame.Library;
    library.DataRoot = programDir + "library-data";
    if (!library.OpenLibrary(orvale::PathFromQt(args.value("library"))))
        return 1;
    library.Panel->WaitForRefresh();
    Settle(200);

    const QString scene = value("scene", "panel");
    const std::string member = orvale::PathFromQt(args.value("member"));
    const std::string text = orvale::PathFromQt(args.value("text"));
    const int line = value("line", "0").toInt();
    if (scene == "panel") {
        library.Panel->EditFilter->setText(value("text", "*"));
        library.Panel->ListMembers->sortByColumn(4, Qt::DescendingOrder);
    } else if (scene == "find") {
        library.FindDock->EditText->setText(QString::fromStdString(text));
        library.FindInLibraryItem->trigger();
        library.FindDock->EditText->setText(QString::fromStdString(text));
        library.FindDock->Start();
        library.FindDock->WaitForSearch();
    } else if (scene == "whereused") {
        library.WhereDock->show();
        library.WhereDock->raise();
        library.WhereDock->Show(QString::fromStdString(text));
    } else if (scene == "program" || scene == "copy" || scene == "xref") {
        auto* window = qobject_cast<TEditorsHolder*>(library.OpenMember(member, line));
        if (!window)
            return 1;
        frame.MdiArea->activeSubWindow()->showMaximized();
        if (scene == "copy")
            window->OpenCopyMemberAt();
        if (scene == "xref" && CaretOnWord(*window, text))
            window->PopCrossReference->trigger();
    } else if (scene == "viewer") {
        library.OpenMember(member, line);
        frame.MdiArea->activeSubWindow()->showMaximized();
    } else if (scene == "compare") {
        library.OpenMember(member, line);
        library.RunDialog = [&](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("EditMember")->setText(args.value("other"));
            dialog.findChild<QRadioButton*>("RadioMember")->setChecked(true);
            return true;
        };
        library.CompareWithClick();
        if (library.LastCompare) {
            library.LastCompare->setGeometry(frame.geometry());
            library.LastCompare->CheckColumns->setChecked(true);
        }
    }
    Settle(600);
    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
    if (picture.isNull())
        picture = frame.grab();
    if (!picture.save(args.value("screenshot"), "PNG"))
        return 1;
    std::cout << "Screenshot: " << args.value("screenshot").toStdString() << "\n";
    for (TEditorsHolder* window : frame.EditorWindows())
        window->DiscardChanges();
    frame.close();
    orvale::Prompter::SetDefault(nullptr);
    return 0;
}
