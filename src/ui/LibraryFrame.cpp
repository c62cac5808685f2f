#include "ui/LibraryFrame.h"

#include "calvex/MemberRoundTrip.h"
#include "library/LibraryIndex.h"
#include "library/MemberClassify.h"
#include "library/RecentLibraries.h"
#include "library/RpgReader.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "qtedge/FileNames.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/CompareWindow.h"
#include "ui/EditorsHolder.h"
#include "ui/ExtRichEdit.h"
#include "ui/LibraryEdge.h"
#include "ui/LibraryFindDock.h"
#include "ui/LibraryPanel.h"
#include "ui/MainForm.h"
#include "ui/MemberViewer.h"
#include "ui/WhereUsedDock.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTreeView>
#include <QVBoxLayout>

#include <filesystem>

using namespace orvale::library;

namespace {

QString ShownPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathBytes(const QString& shown) {
    return QFile::encodeName(shown).toStdString();
}

std::int64_t FileTime(const std::string& path) {
    std::error_code ec;
    auto time = std::filesystem::last_write_time(path, ec);
    return ec ? -1
              : std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch())
                    .count();
}

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == '#' || c == '$' || c == '@' || c == '_';
}

// The name under the cursor of a plain text view: letters, digits and # $ @ _.
std::string NameAtCursor(const QPlainTextEdit& edit) {
    QTextCursor cursor = edit.textCursor();
    if (cursor.hasSelection())
        return LibraryEdge().FromQt(cursor.selectedText().trimmed());
    QString text = cursor.block().text();
    int at = cursor.positionInBlock();
    int start = at, end = at;
    while (start > 0 && IsNameChar(text[start - 1]))
        --start;
    while (end < text.size() && IsNameChar(text[end]))
        ++end;
    return LibraryEdge().FromQt(text.mid(start, end - start));
}

// The place of member line Line (from 1) in a program imported from the member: the section
// and the statement whose origin is that line, or the nearest before it.
bool PlaceOfMemberLine(const TRPGProgram& doc, int line, TreeNode*& node, int& statement) {
    int best = -1;
    node = nullptr;
    doc.ForEachNode([&](TreeNode* n) {
        if (const TEDITSection* s = n->Section())
            for (size_t i = 0; i < s->Lines().size(); ++i) {
                int ordinal = s->Lines()[i].Origin.Ordinal;
                if (ordinal >= 0 && ordinal < line && ordinal > best) {
                    best = ordinal;
                    node = n;
                    statement = static_cast<int>(i);
                }
            }
        return true;
    });
    return node != nullptr;
}

} // namespace

TLibraryFrame::TLibraryFrame(TMainForm& frame) : QObject(&frame), Frame(frame) {
    setObjectName("LibraryFrame");
    Panel = new TLibraryPanel(&frame);
    FindDock = new TLibraryFindDock(&frame);
    WhereDock = new TWhereUsedDock(&frame);
    frame.addDockWidget(Qt::LeftDockWidgetArea, Panel);
    frame.addDockWidget(Qt::BottomDockWidgetArea, FindDock);
    frame.addDockWidget(Qt::BottomDockWidgetArea, WhereDock);
    frame.tabifyDockWidget(FindDock, WhereDock);
    Panel->hide();
    FindDock->hide();
    WhereDock->hide();
    WhereDock->SetIndex(&Panel->Index());

    ChooseFolder = [this] {
        QString folder = QFileDialog::getExistingDirectory(&Frame, "Orvale - Open Library",
                                                           ShownPath(Panel->Root()));
        return PathBytes(folder);
    };
    ChooseFile = [this](const QString& title, bool save) {
        QString file = save ? QFileDialog::getSaveFileName(&Frame, title, QString(),
                                                           "CSV files (*.csv);;All files (*)")
                            : QFileDialog::getOpenFileName(&Frame, title);
        return PathBytes(file);
    };
    RunDialog = [](QDialog& dialog) { return dialog.exec() == QDialog::Accepted; };

    BuildMenus();
    connect(Panel, &TLibraryPanel::MemberActivated, this,
            [this](const QByteArray& member) { OpenMember(member.toStdString()); });
    connect(Panel, &TLibraryPanel::IndexRefreshed, this,
            [this] { WhereDock->SetIndex(&Panel->Index()); });
    connect(Panel->ListMembers, &QAbstractItemView::clicked, this, [this] {
        FindDock->SetCurrentSourceFile(SplitMemberPath(Panel->CurrentMember()).SourceFile);
    });
    auto place = [this](const QByteArray& member, int line) {
        OpenMember(member.toStdString(), line);
    };
    connect(FindDock, &TLibraryFindDock::PlaceActivated, this, place);
    connect(WhereDock, &TWhereUsedDock::PlaceActivated, this, place);
    connect(WhereDock, &TWhereUsedDock::SaveRequested, this, &TLibraryFrame::SaveWhereUsedCsv);

    // Every program window asks the library for its copy members and library fields.
    frame.Services.Editor.OpenCopyMember = [this](TEditorsHolder& window, const std::string& line) {
        return OpenCopyMember(MemberOf(&window), line);
    };
    frame.Services.Editor.LibraryFields = [this](TEditorsHolder& window, const std::string& f) {
        return FieldRows(window, f);
    };
    frame.Services.Editor.OpenLibraryPlace = [this](const std::string& member, int line) {
        OpenMember(member, line);
    };
}

void TLibraryFrame::BuildMenus() {
    QMenu* file = Frame.FileMenu;
    QAction* before = Frame.FileReopenItem->menuAction();
    OpenLibraryItem = new QAction("Open &Library...", this);
    OpenLibraryItem->setObjectName("FileOpenLibraryItem");
    OpenLibraryItem->setStatusTip("Open a folder of members as a library");
    RecentLibrariesMenu = new QMenu("Recent L&ibraries", file);
    RecentLibrariesMenu->setObjectName("FileRecentLibrariesItem");
    RecentLibrariesMenu->menuAction()->setStatusTip("Open a library opened before");
    file->insertAction(before, OpenLibraryItem);
    file->insertMenu(before, RecentLibrariesMenu);

    FindInLibraryItem = new QAction("Find in &Library...", this);
    FindInLibraryItem->setObjectName("SearchFindInLibraryItem");
    FindInLibraryItem->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    FindInLibraryItem->setStatusTip("Find a text in every member of the library");
    WhereUsedItem = new QAction("&Where Used...", this);
    WhereUsedItem->setObjectName("SearchWhereUsedItem");
    WhereUsedItem->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
    WhereUsedItem->setStatusTip(
        "Every member and line that defines or uses the name at the cursor");
    Frame.SearchMenu->addSeparator();
    Frame.SearchMenu->addAction(FindInLibraryItem);
    Frame.SearchMenu->addAction(WhereUsedItem);

    CompareItem = new QAction("Compare &With...", this);
    CompareItem->setObjectName("ProgCompareItem");
    CompareItem->setStatusTip("Compare the member or program with another member or a file");
    Frame.ProgramMenu->addSeparator();
    Frame.ProgramMenu->addAction(CompareItem);

    ShowPanelItem = Panel->toggleViewAction();
    ShowPanelItem->setText("Library &Members");
    ShowPanelItem->setObjectName("FileLibraryPanelItem");
    ShowPanelItem->setStatusTip("Show or hide the members of the open library");
    file->insertAction(before, ShowPanelItem);

    for (QAction* action : {FindInLibraryItem, WhereUsedItem})
        Frame.addAction(action); // the keys work in every window of the frame
    connect(OpenLibraryItem, &QAction::triggered, this, &TLibraryFrame::OpenLibraryItemClick);
    connect(FindInLibraryItem, &QAction::triggered, this, &TLibraryFrame::FindInLibraryClick);
    connect(WhereUsedItem, &QAction::triggered, this, &TLibraryFrame::WhereUsedClick);
    connect(CompareItem, &QAction::triggered, this, &TLibraryFrame::CompareWithClick);
    connect(RecentLibrariesMenu, &QMenu::aboutToShow, this, &TLibraryFrame::UpdateRecentMenu);
    UpdateRecentMenu();
}

std::string TLibraryFrame::Data() const {
    return DataRoot.empty() ? LibraryIndex::DefaultDataRoot() : DataRoot;
}

std::string TLibraryFrame::RecentFile() const {
    return RecentLibrariesFile(Data());
}

void TLibraryFrame::UpdateRecentMenu() {
    RecentLibrariesMenu->clear();
    std::vector<std::string> recent = ReadRecentLibraries(RecentFile());
    for (const std::string& folder : recent) {
        QAction* item = RecentLibrariesMenu->addAction(ShownPath(folder).replace('&', "&&"));
        connect(item, &QAction::triggered, this, [this, folder] { OpenLibrary(folder); });
    }
    RecentLibrariesMenu->setEnabled(!recent.empty());
}

void TLibraryFrame::ShowMessage(const QString& text) {
    Frame.statusBar()->showMessage(text, 8000);
}

bool TLibraryFrame::OpenLibrary(const std::string& folder) {
    std::string error;
    FindDock->SetLibrary({});
    if (!Panel->OpenLibrary(folder, error)) {
        orvale::Prompter::Default().Error(error);
        return false;
    }
    FindDock->SetLibrary(Panel->Root());
    WhereDock->SetIndex(&Panel->Index());
    if (Panel->isHidden()) {
        Panel->show();
        // The members' texts need room: the panel takes some two fifths of the frame.
        Frame.resizeDocks({Panel}, {std::max(480, Frame.width() * 2 / 5)}, Qt::Horizontal);
    }
    Panel->raise();
    AddRecentLibrary(RecentFile(), Panel->Root());
    UpdateRecentMenu();
    return true;
}

void TLibraryFrame::OpenLibraryItemClick() {
    std::string folder = ChooseFolder ? ChooseFolder() : std::string();
    if (!folder.empty())
        OpenLibrary(folder);
}

std::string TLibraryFrame::MemberOf(const QWidget* window) const {
    for (const auto& [shown, member] : Opened)
        if (shown == window)
            return member;
    return {};
}

void TLibraryFrame::Remember(QWidget* window, const std::string& member) {
    std::erase_if(Opened, [](const auto& p) { return p.first.isNull(); });
    Opened.emplace_back(window, member);
}

QWidget* TLibraryFrame::OpenMember(const std::string& member, int line) {
    if (!Panel->HasLibrary())
        return nullptr;
    // A member already on show is brought forward.
    for (const auto& [window, shown] : Opened)
        if (window && shown == member) {
            for (QMdiSubWindow* sub : Frame.MdiArea->subWindowList())
                if (sub->widget() == window)
                    Frame.MdiArea->setActiveSubWindow(sub);
            if (line > 0) {
                if (auto* viewer = qobject_cast<TMemberViewer*>(window.data()))
                    viewer->GoToLine(line);
                else if (auto* program = qobject_cast<TEditorsHolder*>(window.data())) {
                    TreeNode* node = nullptr;
                    int statement = 0;
                    if (PlaceOfMemberLine(*program->Document, line, node, statement))
                        program->GoToPlace(node, statement);
                }
            }
            return window;
        }
    // A program of RPG III is worked on as a program; a copy member is a piece of one, read
    // where it stands.
    std::optional<TMemberInfo> info = Panel->Index().Member(member);
    if (info && info->Kind == MemberKind::RpgIII && info->Type.rfind("COPY", 0) != 0)
        return OpenProgram(member, line);
    return OpenReadOnly(member, line);
}

QWidget* TLibraryFrame::OpenProgram(const std::string& member, int line) {
    TMemberName name = SplitMemberPath(member);
    // The program file lives in the library's work folder, in the folders the member has.
    std::string folder = Panel->Index().WorkFolder(Data());
    if (size_t slash = member.rfind('/'); slash != std::string::npos)
        folder += "/" + member.substr(0, slash);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string source = Panel->Root() + "/" + member;
    std::string program = folder + "/" + name.Name + ".RPG";
    TEditorsHolder* window = nullptr;
    if (FileTime(program) >= FileTime(source) && FileTime(program) >= 0) {
        Frame.OpenProgramFile(program);
        std::vector<TEditorsHolder*> windows = Frame.EditorWindows();
        if (!windows.empty() &&
            windows.back()->Document->FilePath + windows.back()->Document->FileName == program)
            window = windows.back();
    } else {
        std::string text, error;
        std::string copy = folder + "/" + name.Name + ".RP3";
        if (!orvale::ReadFileBytes(source, text, &error) ||
            !orvale::WriteTextFile(copy, orvale::SplitTextLines(text), &error)) {
            orvale::Prompter::Default().Error(error);
            return nullptr;
        }
        window = Frame.ImportIntoNewWindow(copy, program);
        if (window) {
            window->Document->SetFileName(program);
            window->Document->Save();
        }
    }
    if (!window)
        return nullptr;
    Remember(window, member);
    if (line > 0) {
        TreeNode* node = nullptr;
        int statement = 0;
        if (PlaceOfMemberLine(*window->Document, line, node, statement))
            window->GoToPlace(node, statement);
    }
    return window;
}

QWidget* TLibraryFrame::OpenReadOnly(const std::string& member, int line) {
    StringList lines;
    std::string error;
    if (!orvale::ReadTextFile(Panel->Root() + "/" + member, lines, &error)) {
        orvale::Prompter::Default().Error(error);
        return nullptr;
    }
    auto* viewer = new TMemberViewer(member, std::move(lines));
    viewer->OpenCopyMember = [this](const std::string& from, const std::string& text) {
        return OpenCopyMember(from, text);
    };
    ShowInFrame(viewer, viewer->windowTitle());
    Remember(viewer, member);
    if (line > 0)
        viewer->GoToLine(line);
    return viewer;
}

void TLibraryFrame::ShowInFrame(QWidget* window, const QString& caption) {
    QMdiSubWindow* sub = Frame.MdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(caption);
    QSize room = Frame.MdiArea->viewport()->size();
    sub->resize(window->size().boundedTo(room));
    sub->show();
    Frame.MdiArea->setActiveSubWindow(sub);
}

bool TLibraryFrame::OpenCopyMember(const std::string& member, const std::string& line) {
    TCopyDirective copy;
    if (!Panel->HasLibrary() || !ParseCopyLine(line, copy))
        return false;
    std::optional<TMemberInfo> target = Panel->Index().ResolveCopy(member, copy);
    if (!target) {
        ShowMessage("The library holds no copy member " +
                    LibraryEdge().ToQt((copy.File.empty() ? "" : copy.File + ",") + copy.Member) +
                    ".");
        return false;
    }
    OpenMember(target->Path);
    return true;
}

QWidget* TLibraryFrame::ActiveChild() const {
    QMdiSubWindow* sub = Frame.MdiArea->activeSubWindow();
    if (!sub)
        sub = Frame.MdiArea->currentSubWindow();
    return sub ? sub->widget() : nullptr;
}

std::string TLibraryFrame::WordOfActive() const {
    QWidget* child = ActiveChild();
    if (auto* program = qobject_cast<TEditorsHolder*>(child)) {
        std::string word = program->RichEditSource->WordAtCursor(false);
        while (!word.empty() && static_cast<unsigned char>(word.back()) <= 32)
            word.pop_back();
        return word;
    }
    if (auto* viewer = qobject_cast<TMemberViewer*>(child))
        return NameAtCursor(*viewer->EditText);
    return {};
}

void TLibraryFrame::FindInLibraryClick() {
    if (!Panel->HasLibrary()) {
        ShowMessage("No library is open (File > Open Library...).");
        OpenLibraryItemClick();
        if (!Panel->HasLibrary())
            return;
    }
    std::string word = WordOfActive();
    if (!word.empty())
        FindDock->EditText->setText(LibraryEdge().ToQt(word));
    FindDock->show();
    FindDock->raise();
    FindDock->EditText->setFocus();
    FindDock->EditText->selectAll();
}

void TLibraryFrame::WhereUsedClick() {
    if (!Panel->HasLibrary()) {
        ShowMessage("No library is open (File > Open Library...).");
        OpenLibraryItemClick();
        if (!Panel->HasLibrary())
            return;
    }
    WhereDock->show();
    WhereDock->raise();
    std::string word = WordOfActive();
    if (word.empty()) {
        WhereDock->EditName->setFocus();
        return;
    }
    WhereDock->Show(LibraryEdge().ToQt(word));
}

void TLibraryFrame::SaveWhereUsedCsv() {
    std::string path = ChooseFile ? ChooseFile("Orvale - Save Where Used", true) : std::string();
    if (path.empty())
        return;
    std::string error;
    if (!WhereDock->SaveCsv(path, error))
        orvale::Prompter::Default().Error(error);
    else
        ShowMessage("Saved " + ShownPath(path));
}

TCompareWindow* TLibraryFrame::Compare(const QString& leftTitle, StringList left,
                                       const QString& rightTitle, StringList right,
                                       const orvale::TextEdge& leftEdge) {
    auto* window = new TCompareWindow(leftTitle, std::move(left), rightTitle, std::move(right),
                                      &Frame, leftEdge);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    LastCompare = window;
    return window;
}

void TLibraryFrame::CompareWithClick() {
    QWidget* child = ActiveChild();
    auto* program = qobject_cast<TEditorsHolder*>(child);
    auto* viewer = qobject_cast<TMemberViewer*>(child);
    if (!program && !viewer) {
        ShowMessage("Open a program or a member to compare.");
        return;
    }
    std::string member = MemberOf(child);
    // The dialog: the member it was imported from, another member of the library, a file.
    QDialog dialog(&Frame);
    dialog.setObjectName("FormCompareWith");
    dialog.setWindowTitle("Compare With");
    auto* imported = new QRadioButton("The &member it was imported from", &dialog);
    imported->setObjectName("RadioImported");
    auto* other = new QRadioButton("&Another member of the library:", &dialog);
    other->setObjectName("RadioMember");
    auto* editMember = new QLineEdit(&dialog);
    editMember->setObjectName("EditMember");
    auto* file = new QRadioButton("A &file:", &dialog);
    file->setObjectName("RadioFile");
    auto* editFile = new QLineEdit(&dialog);
    editFile->setObjectName("EditFile");
    auto* browse = new QPushButton("...", &dialog);
    QStringList paths;
    for (const TMemberInfo& m : Panel->Members())
        paths << ShownPath(m.Path);
    auto* completer = new QCompleter(paths, &dialog);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    editMember->setCompleter(completer);
    imported->setEnabled(program && !member.empty());
    other->setEnabled(Panel->HasLibrary());
    (imported->isEnabled() ? imported : other->isEnabled() ? other : file)->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(imported);
    layout->addWidget(other);
    layout->addWidget(editMember);
    layout->addWidget(file);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(editFile, 1);
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(browse, &QPushButton::clicked, &dialog, [this, editFile, file] {
        std::string chosen = ChooseFile ? ChooseFile("Orvale - Compare With", false) : "";
        if (!chosen.empty()) {
            editFile->setText(ShownPath(chosen));
            file->setChecked(true);
        }
    });
    connect(editMember, &QLineEdit::textEdited, other, [other] { other->setChecked(true); });
    connect(editFile, &QLineEdit::textEdited, file, [file] { file->setChecked(true); });
    dialog.resize(520, dialog.sizeHint().height());
    if (!RunDialog || !RunDialog(dialog))
        return;

    // The left side: the program's source as a build would write it, or the member shown.
    StringList left;
    QString leftTitle;
    orvale::TextEdge leftEdge = LibraryEdge();
    if (program) {
        TRPGProgram& doc = *program->Document;
        if (doc.EditorModified)
            doc.CommitCurrent();
        doc.CompileAllSections(false);
        doc.AssembleSource();
        // The banner lines a build adds are no part of what was written.
        for (const std::string& l : doc.NameList)
            if (!calvex::IsAddedBanner(l, doc.IndicatorPrefix))
                left.push_back(l);
        leftTitle = orvale::PathToQt(doc.FileName) + " (the program's source)";
        leftEdge = program->Edge;
    } else {
        left = viewer->Lines();
        leftTitle = ShownPath(viewer->Member());
    }
    StringList right;
    QString rightTitle;
    std::string error;
    std::string path;
    if (imported->isChecked()) {
        path = Panel->Root() + "/" + member;
        rightTitle = ShownPath(member);
    } else if (other->isChecked()) {
        std::string chosen = PathBytes(editMember->text().trimmed());
        path = Panel->Root() + "/" + chosen;
        rightTitle = ShownPath(chosen);
    } else {
        path = PathBytes(editFile->text().trimmed());
        rightTitle = editFile->text().trimmed();
    }
    if (!orvale::ReadTextFile(path, right, &error)) {
        orvale::Prompter::Default().Error(error);
        return;
    }
    Compare(leftTitle, std::move(left), rightTitle, std::move(right), leftEdge);
}

std::vector<TLibraryXrefRow> TLibraryFrame::FieldRows(const TEditorsHolder& window,
                                                      const std::string& field) {
    std::vector<TLibraryXrefRow> rows;
    std::string member = MemberOf(&window);
    if (member.empty() || !Panel->HasLibrary())
        return rows;
    LibraryIndex& index = Panel->Index();
    std::string name = UpperName(field);
    // The field's lines in the copy members the program copies.
    for (const TCopyLink& link : index.Copies(member)) {
        if (link.Target.empty())
            continue;
        std::vector<THit> uses = index.UsesIn(link.Target);
        std::erase_if(uses,
                      [&](const THit& h) { return h.Kind != NameKind::Field || h.Name != name; });
        index.FillTexts(uses);
        for (const THit& h : uses)
            rows.push_back(
                {"copy member " + link.Target, h.Line, RoleText(h.Role), h.Text, link.Target});
    }
    // The field as the externally described files the program declares define it.
    std::vector<std::string> files;
    for (const THit& h : index.UsesIn(member))
        if (h.Kind == NameKind::File && h.Role == NameRole::Declares &&
            std::find(files.begin(), files.end(), h.Name) == files.end())
            files.push_back(h.Name);
    for (const std::string& file : files)
        for (const TFileField& f : index.FieldsOfFile(file)) {
            if (f.Field != name)
                continue;
            std::string attributes = "length " + std::to_string(f.Length);
            if (f.Decimals >= 0)
                attributes += ", decimals " + std::to_string(f.Decimals);
            attributes += std::string(", type ") + f.Type;
            rows.push_back(
                {"file " + file + ", format " + f.Format, f.Line, "defines", attributes, f.Member});
        }
    return rows;
}
