// The program editor window's widgets: its tool bar, pages, popup menu and status bar, made
// and wired once when the window is made.

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

} // namespace

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
