// The program editor window: its making, its code page and the window's events. Its widgets are
// made in EditorsHolderWidgets.cpp; the document's view (tree, pages, editor, lists) is in
// EditorsHolderView.cpp; the commands of the tool bar and the editor's popup menu are in
// EditorsHolderCommands.cpp.

#include "ui/EditorsHolder.h"

#include "outside/Lumbro.h"
#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"
#include "tessary/Tessary.h"
#include "ui/ColSortListView.h"
#include "ui/EditorFrame.h"
#include "ui/ExtRichEdit.h"
#include "ui/ProgramTreeModel.h"
#include "ui/ProgramTreeView.h"
#include "ui/SettingsGrids.h"
#include "ui/SourceHighlighter.h"
#include "ui/TagColumn.h"
#include "ui/TreeImages.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include <cmath>

using orvale::ProgramPage;

namespace {

constexpr int kInitialWidth = 760;
constexpr int kInitialHeight = 520;
constexpr int kInitialTreeWidth = 190;
constexpr int kMinTreeMargin = 20;
constexpr int kDefaultFontIndex = 4;

// Puts text on the clipboard back as plain text, dropping any richer forms.
void NormalisePlainClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasText())
        return;
    QString text = data->text();
    clipboard->clear();
    QApplication::processEvents();
    clipboard->setText(text);
}

} // namespace

TEditorServices TEditorServices::Default() {
    TEditorServices services;
    services.PromptHelp = [](const std::string& dir, char formType, const std::string& text,
                             const orvale::CodePage& codePage) {
        std::string result;
        DoStatementPromptHelp(dir, formType, text, result, codePage);
        return result;
    };
    services.StatementFormat = [](const std::string& dir, char formType, const std::string& name) {
        std::string format;
        GetStatementFormat(dir, formType, name, format);
        return format;
    };
    services.OpCodeFormat = [](const std::string& dir, const std::string& code) {
        std::string format;
        GetOpCodeFormat(dir, code, format);
        return format;
    };
    services.OpCodeSymple = [](const std::string& dir, const std::string& code) {
        std::string symple;
        GetOpCodeSymple(dir, code, symple);
        return symple;
    };
    services.PrintDesign = [](StringList& lines, const orvale::CodePage& codePage) {
        return LumbroDesign(lines, codePage);
    };
    services.RunDialog = [](QDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    return services;
}

TEditorsHolder::TEditorsHolder(orvale::Prompter& prompter, const TEditorSetup& setup,
                               TEditorFrame* frame, QWidget* parent)
    : QWidget(parent), Services(TEditorServices::Default()), Box(prompter), Frame_(frame) {
    Document = std::make_unique<TRPGProgram>(prompter);
    // A window's user is there to agree to renumbering a dated member.
    Document->AskToRenumber = true;
    resize(kInitialWidth, kInitialHeight);

    BuildToolBar();
    BuildPages();
    BuildPopup();
    BuildStatusBar();
    BuildNavigation();

    TreeModel = new TProgramTreeModel(Document->Tree, this);
    TreeModel->SetImages(ProgramTreeImages());
    TreeProgram->setModel(TreeModel);
    ListViewObject->SetImages(ProgramTreeImages());
    SetTextEdge(Edge);

    SplitterTree = new QSplitter(Qt::Horizontal, this);
    SplitterTree->setObjectName("SplitterTree");
    SplitterTree->setChildrenCollapsible(false);
    // The limits are the window's own (ClampTreeWidth), not the controls' least sizes.
    PanelTreeEdHolder->setMinimumWidth(1);
    PageControl->setMinimumWidth(kMinTreeMargin);
    SplitterTree->addWidget(PanelTreeEdHolder);
    SplitterTree->addWidget(PageControl);
    SplitterTree->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(PanelEditorHolder);
    layout->addWidget(SplitterTree, 1);
    layout->addWidget(StatusBar);

    ConnectControls();

    // The document writes into this window from now on.
    Document->BindView(this);
    Document->UserName = setup.UserName;
    Document->TabSpaces = setup.TabSpaces;
    Document->FormGenRPG = setup.CompilerOptions;
    Document->ProgramDir = setup.ProgramDir;
    LastRpgViewSection = nullptr;
    SetTreePanelWidth(kInitialTreeWidth);
    TreeRatio = static_cast<double>(width()) / kInitialTreeWidth;
    // The font list starts at "10" when the window opens; the frame's options then apply
    // their own size.
    ApplyFontSizeIdx(kDefaultFontIndex);
    UpdateToolButtons();
}

void TEditorsHolder::SetTextEdge(const orvale::TextEdge& edge) {
    Edge = edge;
    RichEditSource->Edge = MemoRPGView->Edge = edge;
    SourceColours->Edge = RpgColours->Edge = edge;
    ListViewObject->Edge = edge;
    SettingsGrids->Edge = edge;
    TreeModel->Edge = edge;
}

void TEditorsHolder::ShowCodePage() {
    const orvale::CodePage* page = Document->TextCodePage.empty()
                                       ? &orvale::CodePage::Latin1()
                                       : orvale::CodePage::Shared(Document->TextCodePage);
    if (!page)
        page = &orvale::CodePage::Latin1();
    if (page == &Edge.Page())
        return;
    // What the editor holds is read in the code page it was shown in.
    Document->CommitCurrent();
    SetTextEdge(orvale::TextEdge(*page));
    if (Document->CurrentNode)
        Document->ShowSelected();
    SourceColours->rehighlight();
    RpgColours->rehighlight();
}

bool TEditorsHolder::SetCodePage(const std::string& name) {
    std::string canonical = orvale::CodePage::Canonical(name);
    if (canonical.empty() || !orvale::CodePage::Shared(canonical))
        return false;
    if (canonical == "ISO-8859-1")
        canonical.clear();
    if (canonical == Document->TextCodePage)
        return true;
    Document->TextCodePage = canonical;
    Document->Modified = true;
    StatusPanel(ModifiedPanel)->setText("Modified");
    ShowCodePage();
    return true;
}

TEditorsHolder::~TEditorsHolder() {
    // The widgets outlive the document by a little: nothing they signal while they go may
    // reach this window's handlers, and the tree view lets go of the document's tree first.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    Document->BindView(nullptr);
    TreeProgram->setModel(nullptr);
    delete TreeModel;
    TreeModel = nullptr;
    while (BusyDepth > 0) {
        --BusyDepth;
        QApplication::restoreOverrideCursor();
    }
}

// -- Queries

const QString& TEditorsHolder::CellTextBefore() const {
    return SettingsGrids->CellTextBefore;
}

bool TEditorsHolder::PageVisible(ProgramPage page) const {
    int index = static_cast<int>(page) - 1;
    return index >= 0 && index < PageControl->count() && !PageControl->isHidden() &&
           PageControl->isTabVisible(index);
}

ProgramPage TEditorsHolder::ActivePage() const {
    if (PageControl->isHidden())
        return ProgramPage::None;
    int index = PageControl->currentIndex();
    if (index < 0 || !PageControl->isTabVisible(index))
        return ProgramPage::None;
    return static_cast<ProgramPage>(index + 1);
}

int TEditorsHolder::TreePanelWidth() const {
    return PanelTreeEdHolder->width();
}

TreeNode* TEditorsHolder::SelectedNode() const {
    return Document->Tree.Selected();
}

// -- Frame operations

void TEditorsHolder::EnableEditCommands(bool enabled) {
    if (Frame_)
        Frame_->EnableEditCommands(enabled);
}

void TEditorsHolder::UpdateEditCommands() {
    bool source = PageVisible(ProgramPage::Source);
    EnableEditCommands(source);
    if (Frame_)
        Frame_->EnableEditButtons(source);
    ShowEditState();
}

void TEditorsHolder::Activated() {
    if (Frame_)
        Frame_->NormaliseClipboard();
    else
        NormalisePlainClipboard();
    UpdateEditCommands();
}

void TEditorsHolder::ApplyFontSizeIdx(int index) {
    if (index < 0 || index >= ComboFont->count())
        return;
    QSignalBlocker quiet(ComboFont);
    ComboFont->setCurrentIndex(index);
    bool ok = false;
    int size = ComboFont->currentText().toInt(&ok);
    if (!ok)
        size = 12;
    RichEditSource->SetFontSize(size);
    MemoRPGView->SetFontSize(size);
}

// -- Tree panel width

int TEditorsHolder::ClampTreeWidth(int width, int windowWidth) {
    width = std::max(width, kMinTreeMargin);
    width = std::min(width, windowWidth - kMinTreeMargin);
    return std::max(width, 0);
}

void TEditorsHolder::SetTreePanelWidth(int width) {
    width = std::max(width, 0);
    int rest = std::max(SplitterTree->width() - SplitterTree->handleWidth() - width, 0);
    SplitterTree->setSizes({width, rest});
}

void TEditorsHolder::TreeSplitterMoved(int pos) {
    int panel = ClampTreeWidth(pos, width());
    if (panel != PanelTreeEdHolder->width())
        SetTreePanelWidth(panel);
    if (panel > 0)
        TreeRatio = static_cast<double>(width()) / panel;
}

void TEditorsHolder::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    int windowWidth = width();
    int panel = ClampTreeWidth(static_cast<int>(std::lround(windowWidth / TreeRatio)), windowWidth);
    SetTreePanelWidth(panel);
    // A window too narrow for any panel keeps the share it had.
    if (panel > 0)
        TreeRatio = static_cast<double>(windowWidth) / panel;
}

bool TEditorsHolder::eventFilter(QObject* watched, QEvent* event) {
    QEvent::Type type = event->type();
    if (TreeProgram && watched == TreeProgram->viewport() && type == QEvent::MouseButtonRelease &&
        ActivePage() == ProgramPage::Source) {
        // A click on a section leaves the caret in its text, ready for typing.
        RichEditSource->setFocus();
        return false;
    }
    if (RichEditSource && watched == RichEditSource && type == QEvent::KeyPress &&
        !EditGroup.Sections.empty() && !EditGroup.Open) {
        // The editor's own keys for undo and redo take back (or give again) the whole group.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) && !EditGroup.Undone) {
            UndoEdit();
            return true;
        }
        if (key->matches(QKeySequence::Redo) && EditGroup.Undone) {
            RedoEdit();
            return true;
        }
    }
    if (RichEditSource && watched == RichEditSource &&
        (type == QEvent::ShortcutOverride || type == QEvent::KeyPress)) {
        // F3 on a /COPY line opens its copy member instead of searching again.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F3 && key->modifiers() == Qt::NoModifier && CaretOnCopyLine()) {
            event->accept();
            if (type == QEvent::KeyPress)
                OpenCopyMemberAt();
            return true;
        }
    }
    if (RichEditSource && watched == RichEditSource->viewport() &&
        type == QEvent::MouseButtonRelease) {
        // Ctrl+click on a /COPY line opens its copy member.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier) &&
            Services.OpenCopyMember) {
            int line = RichEditSource->cursorForPosition(mouse->position().toPoint()).blockNumber();
            if (OpenCopyMemberAt(line))
                return true;
        }
    }
    if (RichEditSource && watched == RichEditSource->viewport() &&
        type == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton &&
            RightButtonPress(mouse->modifiers(), mouse->globalPosition().toPoint()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

// -- Window events

void TEditorsHolder::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (FirstShow) {
        FirstShow = false;
        ShowTreeSelection(Document->Tree.Selected());
    }
}

void TEditorsHolder::closeEvent(QCloseEvent* event) {
    if (CloseQuery())
        event->accept();
    else
        event->ignore();
}
