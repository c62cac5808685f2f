// The program editor window: its controls and the window's events. The document's view (tree,
// pages, editor, lists) is in EditorsHolderView.cpp; the commands of the tool bar and the
// editor's popup menu are in EditorsHolderCommands.cpp.

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

QIcon Badged(const QIcon& base, QColor colour, bool cross) {
    QPixmap pixmap = base.pixmap(16, 16);
    if (pixmap.isNull()) {
        pixmap = QPixmap(16, 16);
        pixmap.fill(Qt::transparent);
    }
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    if (cross) {
        p.drawLine(QPointF(8.5, 8.5), QPointF(14.5, 14.5));
        p.drawLine(QPointF(14.5, 8.5), QPointF(8.5, 14.5));
    } else {
        p.drawLine(QPointF(11.5, 8), QPointF(11.5, 15));
        p.drawLine(QPointF(8, 11.5), QPointF(15, 11.5));
    }
    return QIcon(pixmap);
}

QToolButton* NewButton(QWidget* parent, const char* name, const QIcon& icon, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIconSize(QSize(16, 16));
    return button;
}

QFont EditorFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPointSize(10);
    return font;
}

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

void TEditorsHolder::BuildToolBar() {
    const QList<QIcon>& images = ProgramTreeImages();
    PanelEditorHolder = new QWidget(this);
    PanelEditorHolder->setObjectName("PanelEditorHolder");
    QStyle* look = style();
    SpeedBtnAddSub =
        NewButton(PanelEditorHolder, "SpeedBtnAddSub",
                  Badged(images[9], QColor(0x2e, 0x7d, 0x32), false), "Add Sub Routine");
    SpeedBtnDeleteSec =
        NewButton(PanelEditorHolder, "SpeedBtnDeleteSec",
                  Badged(images[9], QColor(0xc6, 0x28, 0x28), true), "Delete Section");
    SpeedBtnBigIcon = NewButton(PanelEditorHolder, "SpeedBtnBigIcon",
                                look->standardIcon(QStyle::SP_FileDialogListView), "Large Icons");
    SpeedBtnAddArray =
        NewButton(PanelEditorHolder, "SpeedBtnAddArray",
                  Badged(images[20], QColor(0x2e, 0x7d, 0x32), false), "Add Data Array");
    SpeedBtnChProp =
        NewButton(PanelEditorHolder, "SpeedBtnChProp",
                  look->standardIcon(QStyle::SP_FileDialogInfoView), "Change Section Property");
    SpeedBtnAddOut =
        NewButton(PanelEditorHolder, "SpeedBtnAddOut",
                  Badged(images[19], QColor(0x2e, 0x7d, 0x32), false), "Add Output Specification");
    SpeedBtnReport = NewButton(PanelEditorHolder, "SpeedBtnReport",
                               look->standardIcon(QStyle::SP_FileDialogDetailedView), "Report");
    SpeedBtnPrnAid = NewButton(PanelEditorHolder, "SpeedBtnPrnAid", images[16], "Print Design Aid");
    SpeedBtnPrnAid->setEnabled(false);

    SpeedBtnBigIcon->setCheckable(true);
    SpeedBtnReport->setCheckable(true);
    SpeedBtnReport->setChecked(true);
    auto* styles = new QButtonGroup(PanelEditorHolder);
    styles->setExclusive(true);
    styles->addButton(SpeedBtnBigIcon);
    styles->addButton(SpeedBtnReport);

    LabelFontSize = new QLabel("Font Size", PanelEditorHolder);
    LabelFontSize->setObjectName("LabelFontSize");
    ComboFont = new QComboBox(PanelEditorHolder);
    ComboFont->setObjectName("ComboFont");
    for (int size = 6; size <= 18; ++size)
        ComboFont->addItem(QString::number(size));

    auto* bar = new QHBoxLayout(PanelEditorHolder);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(1);
    for (QToolButton* button :
         {SpeedBtnAddSub, SpeedBtnDeleteSec, SpeedBtnBigIcon, SpeedBtnAddArray, SpeedBtnChProp,
          SpeedBtnAddOut, SpeedBtnReport, SpeedBtnPrnAid})
        bar->addWidget(button);
    bar->addSpacing(12);
    bar->addWidget(LabelFontSize);
    bar->addWidget(ComboFont);
    bar->addStretch();
}

void TEditorsHolder::BuildPages() {
    PanelTreeEdHolder = new QWidget(this);
    PanelTreeEdHolder->setObjectName("PanelTreeEdHolder");
    TreeProgram = new TProgramTreeView(PanelTreeEdHolder);
    TreeProgram->setObjectName("TreeProgram");
    TreeProgram->viewport()->installEventFilter(this);
    auto* treeLayout = new QVBoxLayout(PanelTreeEdHolder);
    // The strip right of the tree is the panel's own: dragging it sets the panel's width.
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->addWidget(TreeProgram);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    PageControl->setMinimumSize(1, 1);
    PageControl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);

    auto page = [this](const char* name) {
        auto* sheet = new QWidget(PageControl);
        sheet->setObjectName(name);
        auto* layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        return sheet;
    };
    TabSheetSource = page("TabSheetSource");
    TabSheetObjects = page("TabSheetObjects");
    TabSheetSetting = page("TabSheetSetting");
    TabSheetRPGView = page("TabSheetRPGView");

    RichEditSource = new TExtRichEdit(TabSheetSource);
    AddTagColumn(*RichEditSource);
    RichEditSource->setObjectName("RichEditSource");
    RichEditSource->setFont(EditorFont());
    RichEditSource->SetBackColor(QColor(0, 0, 0x80));
    RichEditSource->SetTextColor(QColor(0xff, 0xff, 0));
    RichEditSource->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEditSource->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEditSource->SetTabSpaces(2);
    RichEditSource->SetAutoIndent(true);
    RichEditSource->SetBackUnindent(true);
    RichEditSource->SetCursThrTabs(true);
    RichEditSource->SetPrompter(&Box);
    RichEditSource->setContextMenuPolicy(Qt::CustomContextMenu);
    RichEditSource->viewport()->installEventFilter(this);
    RichEditSource->installEventFilter(this);
    TabSheetSource->layout()->addWidget(RichEditSource);

    ListViewObject = new TColSortListView(TabSheetObjects);
    ListViewObject->setObjectName("ListViewObject");
    ListViewObject->SetStyle(TColSortListView::ViewStyle::Report);
    TabSheetObjects->layout()->addWidget(ListViewObject);

    SettingsGrids = new TSettingsGrids(TabSheetSetting);
    StringGridName = SettingsGrids->StringGridName;
    StringGridValue = SettingsGrids->StringGridValue;
    TabSheetSetting->layout()->addWidget(SettingsGrids);

    MemoRPGView = new TExtRichEdit(TabSheetRPGView);
    // A dated member's sequence numbers and dates beside the lines.
    AddTagColumn(*MemoRPGView);
    MemoRPGView->setObjectName("MemoRPGView");
    MemoRPGView->setFont(EditorFont());
    MemoRPGView->SetBackColor(Qt::black);
    MemoRPGView->SetTextColor(QColor(0, 0xff, 0));
    MemoRPGView->setReadOnly(true);
    MemoRPGView->SetTabSpaces(0);
    MemoRPGView->SetPrompter(&Box);
    TabSheetRPGView->layout()->addWidget(MemoRPGView);

    PageControl->addTab(TabSheetSource, "Source");
    PageControl->addTab(TabSheetObjects, "Objects");
    PageControl->addTab(TabSheetSetting, "Setting");
    PageControl->addTab(TabSheetRPGView, "RPG/400");
    // Until the document shows something, only the object list is on offer.
    PageControl->setCurrentIndex(1);
    PageControl->setTabVisible(0, false);
    PageControl->setTabVisible(2, false);
    PageControl->setTabVisible(3, false);
}

void TEditorsHolder::BuildPopup() {
    PopupSource = new QMenu(this);
    PopupSource->setObjectName("PopupSource");
    auto item = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    PopPaste = item(PopupSource, "PopPaste", "Paste");
    PopCopy = item(PopupSource, "PopCopy", "Copy");
    PopCut = item(PopupSource, "PopCut", "Cut");
    PopupSource->addSeparator();
    PopTopicSearch = item(PopupSource, "PopTopicSearch", "Topic &Search");
    PopTopicSearch->setShortcut(Qt::Key_F1);
    PopCommandSyntax = item(PopupSource, "PopCommandSyntax", "&Command Syntax");
    PopCommandSyntax->setShortcut(Qt::Key_F2);
    PopPromptatCursor = item(PopupSource, "PopPromptatCursor", "Prompt &at Cursor");
    PopPromptatCursor->setShortcut(Qt::Key_F4);
    PopupSource->addSeparator();
    PopUpdateSection = item(PopupSource, "PopUpdateSection", "&Update Section");
    PopRestoreSection = PopupSource->addMenu("&Restore Section");
    PopRestoreSection->setObjectName("PopRestoreSection");
    // In the order of the frame's Edit menu.
    PopRestPrevUpdate = item(PopRestoreSection, "PopRestPrevUpdate", "&Prev Update");
    PopRestLastUpdate = item(PopRestoreSection, "PopRestLastUpdate", "Last &Update");
    PopRestLastSave = item(PopRestoreSection, "PopRestLastSave", "Last &Save");
    PopRestLastOpen = item(PopRestoreSection, "PopRestLastOpen", "Last &Open");
    PopupSource->addSeparator();
    PopImportText = PopupSource->addMenu("&Import Text File");
    PopImportText->setObjectName("PopImportText");
    PopImportatCursor = item(PopImportText, "PopImportatCursor", "Insert at &Cursor");
    PopReplaceSel = item(PopImportText, "PopReplaceSel", "&Replace Selection");
    PopImportOverride = item(PopImportText, "PopImportOverride", "&Override All");
    PopExportTextFile = PopupSource->addMenu("&Export Text File");
    PopExportTextFile->setObjectName("PopExportTextFile");
    PopExpSelectedText = item(PopExportTextFile, "PopExpSelectedText", "&Selected Text");
    PopExpAllSection = item(PopExportTextFile, "PopExpAllSection", "&All Section");
    PopupSource->addSeparator();
    PopPrintSection = item(PopupSource, "PopPrintSection", "&Print Section");

    // The short cuts work while the source editor has the focus, menu open or not.
    for (QAction* action : {PopTopicSearch, PopCommandSyntax, PopPromptatCursor}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        RichEditSource->addAction(action);
    }
}

void TEditorsHolder::BuildStatusBar() {
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    const int widths[] = {80, 40, 80, 0};
    const Qt::Alignment aligns[] = {Qt::AlignRight, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft};
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new QLabel(StatusBar);
        panel->setObjectName(QString("StatusPanel%1").arg(i));
        panel->setAlignment(aligns[i] | Qt::AlignVCenter);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        if (widths[i] > 0)
            panel->setFixedWidth(widths[i]);
        StatusBar->addWidget(panel, widths[i] > 0 ? 0 : 1);
        StatusPanels[i] = panel;
    }
    RichEditSource->SetCaretPosDisplay(StatusPanels[CaretPanel]);
}

void TEditorsHolder::ConnectControls() {
    connect(SplitterTree, &QSplitter::splitterMoved, this, &TEditorsHolder::TreeSplitterMoved);
    connect(SpeedBtnAddSub, &QToolButton::clicked, this, &TEditorsHolder::SpeedBtnAddSubClick);
    connect(SpeedBtnDeleteSec, &QToolButton::clicked, this,
            &TEditorsHolder::SpeedBtnDeleteSecClick);
    connect(SpeedBtnBigIcon, &QToolButton::clicked, this,
            [this] { ListViewObject->SetStyle(TColSortListView::ViewStyle::LargeIcon); });
    connect(SpeedBtnAddArray, &QToolButton::clicked, this, &TEditorsHolder::SpeedBtnAddArrayClick);
    connect(SpeedBtnChProp, &QToolButton::clicked, this, &TEditorsHolder::SpeedBtnChPropClick);
    connect(SpeedBtnAddOut, &QToolButton::clicked, this, &TEditorsHolder::SpeedBtnAddOutClick);
    connect(SpeedBtnReport, &QToolButton::clicked, this,
            [this] { ListViewObject->SetStyle(TColSortListView::ViewStyle::Report); });
    connect(SpeedBtnPrnAid, &QToolButton::clicked, this, &TEditorsHolder::SpeedBtnPrnAidClick);
    connect(ComboFont, &QComboBox::activated, this, &TEditorsHolder::ComboFontChange);

    connect(TreeProgram->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (Notifying == 0)
                    SelectNode(TreeModel->NodeOf(current));
            });
    connect(TreeProgram, &TProgramTreeView::OpenRequested, this, &TEditorsHolder::OpenSelectedPage);
    connect(TreeProgram, &TProgramTreeView::NodeDropped, this,
            [this](TreeNode* dragged, TreeNode* target) {
                if (Notifying == 0)
                    Document->MoveNode(dragged, target);
            });
    connect(TreeModel, &QAbstractItemModel::modelReset, this, &TEditorsHolder::ApplyExpansion);
    connect(TreeProgram, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (TreeNode* node = TreeModel->NodeOf(index))
            node->Expanded = true;
    });
    connect(TreeProgram, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (TreeNode* node = TreeModel->NodeOf(index))
            node->Expanded = false;
    });

    connect(PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        if (Notifying == 0 && index == static_cast<int>(ProgramPage::RpgView) - 1)
            ShowRpgView();
    });

    connect(ListViewObject, &TColSortListView::SelectionChanged, this,
            &TEditorsHolder::ObjectListSelectionChanged);
    connect(ListViewObject, &TColSortListView::ItemDoubleClicked, this,
            [this](QTreeWidgetItem* item) {
                ObjectListDoubleClicked(TColSortListView::ItemData(item), item->text(0));
            });
    connect(ListViewObject, &TColSortListView::ColumnSorted, this, [this](const QString& caption) {
        StatusPanel(MessagePanel)->setText("Sorted by " + caption);
    });

    connect(SettingsGrids, &TSettingsGrids::ValueEdited, this, &TEditorsHolder::SettingEdited);
    connect(RichEditSource, &TExtRichEdit::TextEdited, this, &TEditorsHolder::SourceEdited);
    // The frame's undo, redo, cut and copy follow what there is to act on.
    for (auto available : {&QPlainTextEdit::undoAvailable, &QPlainTextEdit::redoAvailable,
                           &QPlainTextEdit::copyAvailable})
        connect(RichEditSource, available, this, [this] { ShowEditState(); });
    connect(RichEditSource, &TExtRichEdit::BackColorChanged, SourceColours,
            &TSourceHighlighter::SetBackground);
    connect(MemoRPGView, &TExtRichEdit::BackColorChanged, RpgColours,
            &TSourceHighlighter::SetBackground);
    connect(RichEditSource, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (EditorPopupMemu && !UseRightButton)
            PopupSource->popup(RichEditSource->mapToGlobal(at));
    });

    connect(PopPaste, &QAction::triggered, this, &TEditorsHolder::PopPasteClick);
    connect(PopCopy, &QAction::triggered, this, &TEditorsHolder::PopCopyClick);
    connect(PopCut, &QAction::triggered, this, &TEditorsHolder::PopCutClick);
    connect(PopTopicSearch, &QAction::triggered, this, &TEditorsHolder::PopTopicSearchClick);
    connect(PopCommandSyntax, &QAction::triggered, this, &TEditorsHolder::PopCommandSyntaxClick);
    connect(PopPromptatCursor, &QAction::triggered, this, &TEditorsHolder::PopPromptatCursorClick);
    connect(PopUpdateSection, &QAction::triggered, this, &TEditorsHolder::PopUpdateSectionClick);
    connect(PopRestLastUpdate, &QAction::triggered, this, &TEditorsHolder::PopRestLastUpdateClick);
    connect(PopRestPrevUpdate, &QAction::triggered, this, &TEditorsHolder::PopRestPrevUpdateClick);
    connect(PopRestLastSave, &QAction::triggered, this, &TEditorsHolder::PopRestLastSaveClick);
    connect(PopRestLastOpen, &QAction::triggered, this, &TEditorsHolder::PopRestLastOpenClick);
    connect(PopImportatCursor, &QAction::triggered, this, &TEditorsHolder::PopImportatCursorClick);
    connect(PopReplaceSel, &QAction::triggered, this, &TEditorsHolder::PopReplaceSelClick);
    connect(PopImportOverride, &QAction::triggered, this, &TEditorsHolder::PopImportOverrideClick);
    connect(PopExpSelectedText, &QAction::triggered, this,
            &TEditorsHolder::PopExpSelectedTextClick);
    connect(PopExpAllSection, &QAction::triggered, this, &TEditorsHolder::PopExpAllSectionClick);
    connect(PopPrintSection, &QAction::triggered, this, &TEditorsHolder::PopPrintSectionClick);
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
