#include "FormPrmt.h"

#include "PromptWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tessary {

namespace {

constexpr int RowHeight = 18;
constexpr int NameWidth = 130;
constexpr int ValueWidth = 180;
constexpr int LengthWidth = 30;

QTableWidget* MakeGrid(QWidget* parent, const char* name, int width) {
    auto* grid = new QTableWidget(1, 1, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setMinimumSectionSize(RowHeight);
    grid->verticalHeader()->setDefaultSectionSize(RowHeight);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setRowHidden(0, true);
    if (width > 0)
        grid->setFixedWidth(width);
    return grid;
}

// A grid the user reads but does not touch, in the colour of the buttons; its text stays as
// legible as that of the value grid.
void MakeReadOnly(QTableWidget* grid) {
    grid->setEnabled(false);
    QPalette palette = grid->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Button));
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    grid->setPalette(palette);
}

QLabel* MakeCaption(QWidget* parent, const char* text, int width) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setIndent(2);
    if (width > 0)
        label->setFixedWidth(width);
    return label;
}

void SetRows(QTableWidget* grid, int rows) {
    grid->setRowCount(rows);
    grid->setRowHidden(0, true);
}

void SetCell(const orvale::TextEdge& edge, QTableWidget* grid, int row, const std::string& text) {
    auto* item = new QTableWidgetItem(edge.ToQt(text));
    item->setFlags(Qt::ItemIsEnabled);
    // A note longer than its column shows whole under the mouse.
    item->setToolTip(edge.ToQt(text));
    grid->setItem(row, 0, item);
}

} // namespace

TFPrmtH::TFPrmtH(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Prompt Help - Op. Code"));
    resize(760, 19 * 2 + 76);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelCap = new QWidget(this);
    PanelCap->setObjectName("PanelCap");
    PanelCap->setFixedHeight(RowHeight + 1);
    auto* captions = new QHBoxLayout(PanelCap);
    captions->setContentsMargins(0, 0, 0, 0);
    captions->setSpacing(0);
    captions->addWidget(MakeCaption(PanelCap, "Parameter Name", NameWidth));
    captions->addWidget(MakeCaption(PanelCap, "Parameter Value", ValueWidth));
    captions->addWidget(MakeCaption(PanelCap, "Len", LengthWidth));
    captions->addWidget(MakeCaption(PanelCap, "Help Notes", 0), 1);
    LabelWarning = new QLabel(this);
    LabelWarning->setObjectName("LabelWarning");
    LabelWarning->setWordWrap(true);
    LabelWarning->setMargin(4);
    LabelWarning->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
    LabelWarning->hide();
    layout->addWidget(LabelWarning);
    layout->addWidget(PanelCap);

    auto* grids = new QHBoxLayout;
    grids->setSpacing(0);
    StringName = MakeGrid(this, "StringName", NameWidth);
    StringValu = MakeGrid(this, "StringValu", ValueWidth);
    StringLeng = MakeGrid(this, "StringLeng", LengthWidth);
    StringNote = MakeGrid(this, "StringNote", 0);
    MakeReadOnly(StringName);
    MakeReadOnly(StringLeng);
    MakeReadOnly(StringNote);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    StringValu->setFont(courier);
    grids->addWidget(StringName);
    grids->addWidget(StringValu);
    grids->addWidget(StringLeng);
    grids->addWidget(StringNote, 1);
    layout->addLayout(grids, 1);

    auto* bottom = new QWidget(this);
    bottom->setObjectName("PanelBottom");
    auto* buttons = new QHBoxLayout(bottom);
    buttons->addStretch(1);
    BtnOk = new QPushButton(QStringLiteral("&Ok"), bottom);
    BtnOk->setObjectName("BtnOk");
    BtnCancel = new QPushButton(QStringLiteral("&Cancel"), bottom);
    BtnCancel->setObjectName("BtnCancel");
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    buttons->addStretch(1);
    layout->addWidget(bottom);

    connect(BtnOk, &QPushButton::clicked, this, &TFPrmtH::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFPrmtH::BtnCancelClick);

    // Key preview: Enter and Escape reach the window whatever has the focus.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void TFPrmtH::Fill(const std::string& dir, const std::string& text) {
    Fill(dir, text, PreparePrompt(dir, text));
}

void TFPrmtH::Fill(const std::string& dir, const std::string& text, const TPromptRows& rows) {
    ProgramDir_ = dir;
    WorkText = text;
    Answered = false;
    Rows = rows;
    OpCode_ = rows.Code;
    setWindowTitle(Edge.ToQt(rows.Caption));
    LabelWarning->setText(Edge.ToQt(rows.Warning));
    LabelWarning->setVisible(!rows.Warning.empty());

    const int count = static_cast<int>(rows.RowCount()) + 1;
    for (QTableWidget* grid : {StringName, StringValu, StringLeng, StringNote})
        SetRows(grid, count);
    auto item = [](const StringList& list, int row) {
        size_t index = static_cast<size_t>(row - 1);
        return index < list.size() ? list[index] : std::string();
    };
    for (int row = 1; row < count; ++row) {
        SetCell(Edge, StringName, row, item(rows.Names, row));
        SetCell(Edge, StringLeng, row, item(rows.Lengths, row));
        SetCell(Edge, StringNote, row, item(rows.Notes, row));
        auto* editor = new QLineEdit(Edge.ToQt(item(rows.Values, row)), StringValu);
        editor->setObjectName(QStringLiteral("Value%1").arg(row));
        editor->setFont(StringValu->font());
        editor->setFrame(false);
        editor->installEventFilter(this);
        connect(editor, &QLineEdit::textEdited, this, [this, row] { CutToLength(row); });
        StringValu->setCellWidget(row, 0, editor);
    }
    if (QLineEdit* first = ValueEditor(1))
        first->setFocus();
}

QLineEdit* TFPrmtH::ValueEditor(int row) const {
    return qobject_cast<QLineEdit*>(StringValu->cellWidget(row, 0));
}

void TFPrmtH::CutToLength(int row) {
    QLineEdit* editor = ValueEditor(row);
    QTableWidgetItem* length = StringLeng->item(row, 0);
    if (!editor)
        return;
    int limit = ValueLength(length ? Edge.FromQt(length->text()) : std::string());
    if (editor->text().size() <= limit)
        return;
    int cursor = editor->cursorPosition();
    editor->setText(editor->text().left(limit));
    editor->setCursorPosition(std::min(cursor, limit));
}

void TFPrmtH::BtnOkClick() {
    StringList values;
    for (int row = 1; row < StringValu->rowCount(); ++row) {
        QLineEdit* editor = ValueEditor(row);
        values.push_back(editor ? Edge.FromQt(editor->text()) : std::string());
    }
    WorkText = PromptResult(Rows, values);
    Answered = true;
    accept();
}

void TFPrmtH::BtnCancelClick() {
    WorkText = CancelResult;
    Answered = true;
    reject();
}

void TFPrmtH::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    int warning = LabelWarning->isHidden() ? 0 : LabelWarning->sizeHint().height();
    // Wide enough for the longest note, as far as the screen allows.
    int notes = 0;
    for (int row = 1; row < StringNote->rowCount(); ++row)
        if (QTableWidgetItem* note = StringNote->item(row, 0))
            notes = std::max(notes, StringNote->fontMetrics().horizontalAdvance(note->text()));
    int wanted = NameWidth + ValueWidth + LengthWidth + notes + 24;
    int room = screen() ? screen()->availableGeometry().width() * 9 / 10 : wanted;
    resize(std::clamp(wanted, width(), std::max(width(), room)),
           19 * StringValu->rowCount() + 76 + warning);
    // In the middle of the screen the window is shown on.
    if (QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TFPrmtH::closeEvent(QCloseEvent* event) {
    // Closed by its close box: the editor keeps its text. (The argument text lacks the closing
    // parenthesis the editor would replace, so handing it back would not be the same.)
    if (!Answered)
        WorkText = CancelResult;
    QDialog::closeEvent(event);
}

void TFPrmtH::keyPressEvent(QKeyEvent* event) {
    if (!PreviewKey(event))
        QDialog::keyPressEvent(event);
}

bool TFPrmtH::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && PreviewKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TFPrmtH::PreviewKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BtnOkClick();
        return true;
    case Qt::Key_Escape:
        BtnCancelClick();
        return true;
    default:
        return false;
    }
}

std::string RunPromptWindow(const std::string& dir, const std::string& text,
                            const orvale::CodePage& codePage) {
    return RunPromptWindow(dir, text, PreparePrompt(dir, text), codePage);
}

std::string RunPromptWindow(const std::string& dir, const std::string& text,
                            const TPromptRows& rows, const orvale::CodePage& codePage) {
    // Widgets need a widget application; a process without one has nothing to show.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return CancelResult;
    TFPrmtH form(QApplication::activeWindow());
    form.Edge = orvale::TextEdge(codePage);
    form.Fill(dir, text, rows);
    form.exec();
    return form.WorkText;
}

} // namespace tessary
