// The program editor window's ways to a place in the program: the errors and warnings of the
// last compile (margin marks, tree marks, F8 and Shift+F8, the statistics window and the
// RPG/400 page), the cross-reference of indicators and field names, and the colouring and
// column ruler of the two editors.

#include "ui/EditorsHolder.h"

#include "library/RpgReader.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/CompileFindings.h"
#include "rpgprogram/CrossReference.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ColSortListView.h"
#include "ui/ColumnRuler.h"
#include "ui/DialogFrame.h"
#include "ui/ExtRichEdit.h"
#include "ui/ProgramTreeModel.h"
#include "ui/SourceHighlighter.h"

#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <map>
#include <regex>
#include <unordered_map>

namespace {

constexpr int kNodeRole = Qt::UserRole + 1;
constexpr int kLineRole = Qt::UserRole + 2;
constexpr int kColumnRole = Qt::UserRole + 3;
// A line of the library's cross-reference: the member it opens.
constexpr int kMemberRole = Qt::UserRole + 4;

QTreeWidget* NewUsesList(QWidget* parent, const char* name) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setHeaderLabels({"Section", "Line", "Col.", "Role", "Code"});
    list->header()->setStretchLastSection(true);
    list->setColumnWidth(0, 110);
    list->setColumnWidth(1, 50);
    list->setColumnWidth(2, 40);
    list->setColumnWidth(3, 170);
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    list->setFont(fixed);
    return list;
}

// A word the user asks the cross-reference about names an indicator when it reads like one.
bool ReadsAsIndicator(const std::string& word) {
    static const std::regex indicator("^([0-9][0-9]|L[0-9R]|K[A-Y]|O[A-GFV]|U[1-8]|H[0-9]|M[0-9R]|"
                                      "1P|RT|LR)$",
                                      std::regex::icase);
    return std::regex_match(word, indicator);
}

bool SameTextPrefix(const std::string& text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

} // namespace

void TEditorsHolder::BuildNavigation() {
    SourceColours = new TSourceHighlighter(TSourceHighlighter::Language::Statements);
    SourceColours->setObjectName("SourceColours");
    RichEditSource->SetHighlighter(SourceColours);
    RpgColours = new TSourceHighlighter(TSourceHighlighter::Language::RpgColumns);
    RpgColours->setObjectName("RpgColours");
    MemoRPGView->SetHighlighter(RpgColours);

    RulerRPGView = new TColumnRuler(*MemoRPGView, TabSheetRPGView);
    static_cast<QVBoxLayout*>(TabSheetRPGView->layout())->insertWidget(0, RulerRPGView);

    // The object list shares its page with the uses of the flag selected in it.
    auto* split = new QSplitter(Qt::Vertical, TabSheetObjects);
    split->setObjectName("SplitObjects");
    TabSheetObjects->layout()->removeWidget(ListViewObject);
    split->addWidget(ListViewObject);
    ListViewUses = NewUsesList(split, "ListViewUses");
    split->addWidget(ListViewUses);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    ListViewUses->hide();
    TabSheetObjects->layout()->addWidget(split);

    PopCrossReference = new QAction("Cross &Reference", this);
    PopCrossReference->setObjectName("PopCrossReference");
    PopCrossReference->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F4));
    PopCrossReference->setShortcutContext(Qt::WidgetShortcut);
    RichEditSource->addAction(PopCrossReference);
    // F3 is Search Again everywhere but on a /COPY line, where the editor takes it for this
    // (see eventFilter): a shortcut of its own would make the key ambiguous.
    PopOpenCopyMember = new QAction("&Open Copy Member\tF3", this);
    PopOpenCopyMember->setObjectName("PopOpenCopyMember");
    PopNextError = new QAction("Next &Error", this);
    PopNextError->setObjectName("PopNextError");
    PopNextError->setShortcut(QKeySequence(Qt::Key_F8));
    PopPrevError = new QAction("Pre&vious Error", this);
    PopPrevError->setObjectName("PopPrevError");
    PopPrevError->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    // The error keys work from anywhere in the window: the tree, the pages, the lists.
    for (QAction* action : {PopNextError, PopPrevError}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    QAction* after = PopUpdateSection;
    PopupSource->insertAction(after, PopCrossReference);
    PopupSource->insertAction(after, PopOpenCopyMember);
    PopupSource->insertSeparator(after);
    PopupSource->insertAction(after, PopNextError);
    PopupSource->insertAction(after, PopPrevError);
    PopupSource->insertSeparator(after);

    connect(PopCrossReference, &QAction::triggered, this, &TEditorsHolder::PopCrossReferenceClick);
    connect(PopOpenCopyMember, &QAction::triggered, this, [this] { OpenCopyMemberAt(); });
    connect(PopNextError, &QAction::triggered, this, [this] { GoToFinding(1); });
    connect(PopPrevError, &QAction::triggered, this, [this] { GoToFinding(-1); });
    connect(MemoRPGView, &TExtRichEdit::LineDoubleClicked, this,
            &TEditorsHolder::RpgViewLineActivated);
    connect(ListViewUses, &QTreeWidget::itemActivated, this,
            [this] { UseActivated(ListViewUses); });
    connect(ListViewObject, &TColSortListView::SelectionChanged, this,
            &TEditorsHolder::ShowFlagUses);
    // What can be restored changes with commits and saves the menu does not see, so the
    // commands are judged when the menu opens.
    connect(PopupSource, &QMenu::aboutToShow, this, &TEditorsHolder::UpdateRestoreCommands);
    // Cut and copy need a selection, as the frame's do.
    connect(PopupSource, &QMenu::aboutToShow, this, [this] {
        bool selection = RichEditSource->textCursor().hasSelection();
        PopCut->setEnabled(selection);
        PopCopy->setEnabled(selection);
    });
    connect(PopRestoreSection, &QMenu::aboutToShow, this, [this] {
        UpdateRestoreCommands();
        QStringList reasons;
        for (QAction* action : PopRestoreSection->actions())
            if (!action->isEnabled())
                reasons << action->statusTip();
        StatusPanel(MessagePanel)->setText(reasons.join("  "));
    });
}

void TEditorsHolder::GoToPlace(TreeNode* node, int line, int column) {
    if (!node || !Document->Tree.Contains(node) || !node->Section())
        return;
    if (SelectedNode() != node)
        SelectNode(node);
    if (!PageVisible(orvale::ProgramPage::Source))
        return;
    PageControl->setCurrentWidget(TabSheetSource);
    RichEditSource->SetCaretPos(column, line);
    RichEditSource->centerCursor();
    RichEditSource->setFocus();
}

void TEditorsHolder::ShowCompileMarks() {
    std::vector<TCompileFinding> findings = ProgramFindings(*Document);
    std::unordered_map<const TreeNode*, TProgramTreeModel::FindingCount> counts;
    for (const TCompileFinding& f : findings) {
        auto& count = counts[f.Node];
        (f.Error ? count.Errors : count.Warnings) += 1;
    }
    TreeModel->SetFindingMarks(std::move(counts));

    std::map<int, TExtRichEdit::LineMark> marks;
    TreeNode* shown = SelectedNode();
    for (const TCompileFinding& f : findings) {
        if (f.Node != shown || f.Statement < 0)
            continue;
        TExtRichEdit::LineMark& mark = marks[f.Statement];
        mark.Error = mark.Error || f.Error;
        if (!mark.Message.isEmpty())
            mark.Message += '\n';
        mark.Message += Edge.ToQt(f.Message);
    }
    RichEditSource->SetLineMarks(std::move(marks));
}

bool TEditorsHolder::GoToFinding(int step) {
    std::vector<TCompileFinding> findings = ProgramFindings(*Document);
    if (findings.empty()) {
        StatusPanel(MessagePanel)->setText("No error or warning in the compiled sections");
        return false;
    }
    TreeNode* here = SelectedNode();
    int line = ActivePage() == orvale::ProgramPage::Source ? RichEditSource->CaretPos().y() : -1;
    int index = StepFinding(*Document, findings, here, line, step, LastFinding);
    const TCompileFinding& f = findings[static_cast<size_t>(index)];
    GoToPlace(f.Node, std::max(f.Statement, 0));
    LastFinding = index;
    StatusPanel(MessagePanel)
        ->setText(QString("%1 of %2: %3  %4")
                      .arg(index + 1)
                      .arg(findings.size())
                      .arg(Edge.ToQt(f.Node->Text), Edge.ToQt(f.Message)));
    return true;
}

void TEditorsHolder::RpgViewLineActivated(int line) {
    TreeNode* node = SelectedNode();
    const TEDITSection* section = node ? node->Section() : nullptr;
    if (!section || section != LastRpgViewSection || line < 0 ||
        line >= static_cast<int>(section->CompiledCount()))
        return;
    const std::string& text = section->CompiledText(static_cast<size_t>(line));
    if (!IsCompileError(text) && !IsCompileWarning(text))
        return;
    std::vector<int> from = CompiledStatements(*Document, node);
    int statement = line < static_cast<int>(from.size()) ? from[static_cast<size_t>(line)] : -1;
    if (statement < 0) {
        StatusPanel(MessagePanel)->setText("No statement of the section wrote this line");
        return;
    }
    GoToPlace(node, statement);
    StatusPanel(MessagePanel)->setText(Edge.ToQt(text).trimmed());
}

void TEditorsHolder::CompileRowActivated(const QString& section, int statement) {
    TreeNode* node = Document->FindNodeByText(Edge.FromQt(section));
    if (!node || !node->Section())
        return;
    if (statement < 0) {
        // A section's line leads to its first finding that has a statement.
        for (const TCompileFinding& f : SectionFindings(*Document, node))
            if (f.Statement >= 0) {
                statement = f.Statement;
                break;
            }
    }
    GoToPlace(node, std::max(statement, 0));
}

void TEditorsHolder::FillUses(QTreeWidget* list, const std::vector<TXrefUse>& uses) {
    list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(uses.size()));
    for (const TXrefUse& use : uses) {
        const std::string& code = use.Node->Section()->GetLine(use.Line);
        auto* item = new QTreeWidgetItem({Edge.ToQt(use.Node->Text), QString::number(use.Line + 1),
                                          QString::number(use.Column + 1), RoleText(use.Role),
                                          Edge.ToQt(code).trimmed()});
        item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(use.Node)));
        item->setData(0, kLineRole, use.Line);
        item->setData(0, kColumnRole, use.Column);
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
        items.push_back(item);
    }
    list->addTopLevelItems(items);
}

void TEditorsHolder::UseActivated(QTreeWidget* list) {
    QTreeWidgetItem* item = list->currentItem();
    if (!item)
        return;
    if (QByteArray member = item->data(0, kMemberRole).toByteArray(); !member.isEmpty()) {
        if (Services.OpenLibraryPlace)
            Services.OpenLibraryPlace(member.toStdString(), item->data(0, kLineRole).toInt());
        return;
    }
    auto* node = reinterpret_cast<TreeNode*>(item->data(0, kNodeRole).value<quintptr>());
    // The list may be older than the tree: a section deleted since is not gone to.
    if (!Document->Tree.Contains(node))
        return;
    GoToPlace(node, item->data(0, kLineRole).toInt(), item->data(0, kColumnRole).toInt());
    // The list of uses, a window of its own, moves off the line it led to.
    if (list == ListCrossRef && FormCrossRef->isVisible())
        MoveClearOf(*FormCrossRef, RichEditSource->CaretLineRect());
}

void TEditorsHolder::ShowFlagUses() {
    TreeNode* group = SelectedNode();
    QTreeWidgetItem* row = ListViewObject->SelectedItem();
    bool flags = group && Document->AllFlagsNode && group->Parent() == Document->AllFlagsNode;
    if (!flags || !row) {
        ListViewUses->hide();
        ListViewUses->clear();
        return;
    }
    FillUses(ListViewUses, IndicatorUses(*Document, Edge.FromQt(row->text(0))));
    ListViewUses->show();
}

void TEditorsHolder::PopCrossReferenceClick() {
    std::string word = RichEditSource->WordAtCursor(false);
    while (!word.empty() && static_cast<unsigned char>(word.back()) <= 32)
        word.pop_back();
    if (word.empty()) {
        StatusPanel(MessagePanel)->setText("No name at the cursor");
        return;
    }
    // The cross-reference reads the stored texts: what was typed counts too.
    if (Document->EditorModified)
        Document->CommitCurrent();
    std::vector<TXrefUse> uses;
    std::string shown = word;
    if (word.size() > 3 && SameTextPrefix(word, "*IN")) {
        shown = word.substr(word[3] == '[' || word[3] == ',' ? 4 : 3);
        uses = IndicatorUses(*Document, shown);
    } else if (ReadsAsIndicator(word)) {
        uses = IndicatorUses(*Document, word);
    } else {
        uses = FieldUses(*Document, word);
    }
    if (!FormCrossRef) {
        FormCrossRef = new QDialog(this, Qt::Window);
        FormCrossRef->setObjectName("FormCrossRef");
        FormCrossRef->resize(640, 300);
        ListCrossRef = NewUsesList(FormCrossRef, "ListCrossRef");
        auto* layout = new QVBoxLayout(FormCrossRef);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(ListCrossRef);
        connect(ListCrossRef, &QTreeWidget::itemActivated, this,
                [this] { UseActivated(ListCrossRef); });
    }
    FormCrossRef->setWindowTitle(
        QString("Cross Reference: %1 (%2 uses)").arg(Edge.ToQt(shown)).arg(uses.size()));
    FillUses(ListCrossRef, uses);
    // The field in the program's copy members and externally described files.
    if (Services.LibraryFields)
        for (const TLibraryXrefRow& row : Services.LibraryFields(*this, word)) {
            auto* item = new QTreeWidgetItem(
                ListCrossRef,
                {Edge.ToQt(row.Place), row.Line > 0 ? QString::number(row.Line) : QString(),
                 QString(), Edge.ToQt(row.Role), Edge.ToQt(row.Text).trimmed()});
            item->setData(0, kMemberRole, QByteArray::fromStdString(row.Member));
            item->setData(0, kLineRole, row.Line);
            item->setToolTip(0, Edge.ToQt(row.Place));
            item->setTextAlignment(1, Qt::AlignRight);
            ListCrossRef->resizeColumnToContents(0);
        }
    FormCrossRef->show();
    FormCrossRef->raise();
    MoveClearOf(*FormCrossRef, RichEditSource->CaretLineRect());
}

bool TEditorsHolder::CaretOnCopyLine() const {
    orvale::library::TCopyDirective copy;
    return orvale::library::ParseCopyLine(Edge.FromQt(RichEditSource->textCursor().block().text()),
                                          copy);
}

bool TEditorsHolder::OpenCopyMemberAt(int line) {
    if (line < 0)
        line = RichEditSource->textCursor().blockNumber();
    QTextBlock block = RichEditSource->document()->findBlockByNumber(line);
    if (!block.isValid())
        return false;
    std::string text = Edge.FromQt(block.text());
    if (Services.OpenCopyMember && Services.OpenCopyMember(*this, text))
        return true;
    StatusPanel(MessagePanel)
        ->setText(Services.OpenCopyMember ? "No copy member of the library is named on this line"
                                          : "No library is open (File > Open Library...)");
    return false;
}

bool TEditorsHolder::CanRestore(int kind, std::string* reason) const {
    auto refuse = [&](const char* why) {
        if (reason)
            *reason = why;
        return false;
    };
    TreeNode* node = SelectedNode();
    const TEDITSection* section = node ? node->Section() : nullptr;
    if (!section || !PageVisible(orvale::ProgramPage::Source))
        return refuse("Restore: no section text on show.");
    switch (static_cast<RestoreKind>(kind)) {
    case RestoreKind::PreviousUpdate:
        if (section->PrevLines.empty())
            return refuse("Prev Update: the section has no earlier text.");
        break;
    case RestoreKind::LastUpdate:
        break;
    case RestoreKind::LastOpen:
        if (section->OpenLineIndex < 0)
            return refuse("Last Open: the program was not opened from a program file.");
        if (Document->SourceLines.empty())
            return refuse("Last Open: the opened text is not kept (Options, Undo).");
        break;
    case RestoreKind::LastSave:
        if (section->SaveLineIndex < 0)
            return refuse("Last Save: the program has not been saved yet.");
        if (Document->SaveLines.empty())
            return refuse("Last Save: the saved text is not kept (Options, Undo).");
        break;
    }
    if (reason)
        reason->clear();
    return true;
}

void TEditorsHolder::UpdateRestoreCommands() {
    const std::pair<QAction*, RestoreKind> commands[] = {
        {PopRestPrevUpdate, RestoreKind::PreviousUpdate},
        {PopRestLastUpdate, RestoreKind::LastUpdate},
        {PopRestLastSave, RestoreKind::LastSave},
        {PopRestLastOpen, RestoreKind::LastOpen}};
    for (auto [action, kind] : commands) {
        std::string reason;
        action->setEnabled(CanRestore(static_cast<int>(kind), &reason));
        action->setStatusTip(Edge.ToQt(reason));
    }
}
