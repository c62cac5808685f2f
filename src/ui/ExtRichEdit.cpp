#include "ExtRichEdit.h"

#include "ExtRichText.h"
#include "TextTransfer.h"
#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>

namespace {

int IndentOf(const QString& line) {
    int n = 0;
    while (n < line.size() && line.at(n).unicode() <= 32)
        ++n;
    return n;
}

TExtRichEdit::ReplaceResult ResultOf(orvale::Prompter::Answer answer) {
    using Answer = orvale::Prompter::Answer;
    using Result = TExtRichEdit::ReplaceResult;
    switch (answer) {
    case Answer::Yes:
        return Result::Replaced;
    case Answer::No:
        return Result::Skipped;
    case Answer::All:
        return Result::ReplacedAll;
    default:
        // A box closed any other way stops the replacing, as Cancel does.
        return Result::Cancelled;
    }
}

} // namespace

void AddStandardMarginColumns(TExtRichEdit& editor);

TExtRichEdit::TExtRichEdit(QWidget* parent) : QPlainTextEdit(parent) {
    AddStandardMarginColumns(*this);
    // Source lines are columns: a line of the text is always one line of the view.
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setCursorWidth(2);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TExtRichEdit::ShowCaretPos);
    connect(this, &QPlainTextEdit::selectionChanged, this, &TExtRichEdit::ShowCaretPos);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!Loading && (removed != 0 || added != 0))
            emit TextEdited();
    });
}

TExtRichEdit::~TExtRichEdit() {
    // The colouring goes first, while the text it colours is still there.
    delete Highlighter_;
    Highlighter_ = nullptr;
}

void TExtRichEdit::SetCaretPosDisplay(QLabel* display) {
    CaretPosDisplay_ = display;
    ShowCaretPos();
}

void TExtRichEdit::SetTabSpaces(int spaces) {
    if (spaces < 0 || spaces == TabSpaces_)
        return;
    TabSpaces_ = spaces;
    TabString = QString(spaces, QLatin1Char(' '));
}

orvale::Prompter& TExtRichEdit::ActivePrompter() const {
    return Prompter_ ? *Prompter_ : orvale::Prompter::Default();
}

QColor TExtRichEdit::BackColor() const {
    return palette().color(QPalette::Base);
}

void TExtRichEdit::SetBackColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
    emit BackColorChanged(color);
}

QColor TExtRichEdit::TextColor() const {
    return palette().color(QPalette::Text);
}

void TExtRichEdit::SetTextColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
}

void TExtRichEdit::SetFontSize(int points) {
    QFont shown = font();
    shown.setPointSize(points > 0 ? points : 12);
    setFont(shown);
}

void TExtRichEdit::SetLines(const StringList& lines) {
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 1;
    std::string joined;
    joined.reserve(size);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += lines[i];
    }
    Loading = true;
    setPlainText(Edge.ToQt(joined));
    Loading = false;
    SetCaretPos(0, 0);
    ShowCaretPos();
}

StringList TExtRichEdit::Lines() const {
    StringList lines;
    const QTextDocument* text = document();
    if (text->isEmpty())
        return lines;
    lines.reserve(static_cast<size_t>(text->blockCount()));
    // Block by block rather than through toPlainText, which turns no-break spaces (a byte
    // of Latin-1 text like any other) into blanks.
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next())
        lines.push_back(Edge.FromQt(block.text()));
    return lines;
}

int TExtRichEdit::LineCount() const {
    return document()->isEmpty() ? 0 : document()->blockCount();
}

std::string TExtRichEdit::Line(int index) const {
    QTextBlock block = document()->findBlockByNumber(index);
    return block.isValid() ? Edge.FromQt(block.text()) : std::string();
}

std::string TExtRichEdit::RawText() const {
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return Edge.FromQt(text);
}

int TExtRichEdit::FirstVisibleLine() const {
    return firstVisibleBlock().blockNumber();
}

void TExtRichEdit::ScrollToLine(int line) {
    line = std::clamp(line, 0, document()->blockCount() - 1);
    verticalScrollBar()->setValue(line);
}

QPoint TExtRichEdit::CaretPos() const {
    int offset = textCursor().position();
    QTextBlock block = document()->findBlock(offset);
    return {Edge.ColumnOf(block.text(), offset - block.position()), block.blockNumber()};
}

void TExtRichEdit::SetCaretPos(int column, int line) {
    QTextCursor caret = textCursor();
    caret.setPosition(OffsetOf({column, line}));
    setTextCursor(caret);
}

int TExtRichEdit::OffsetOf(QPoint place) const {
    int line = std::clamp(place.y(), 0, document()->blockCount() - 1);
    QTextBlock block = document()->findBlockByNumber(line);
    return block.position() + Edge.IndexOf(block.text(), std::max(place.x(), 0));
}

int TExtRichEdit::ByteOffset(int position) const {
    if (!Edge.Page().DoubleByte())
        return position;
    QTextBlock at = document()->findBlock(position);
    int bytes = 0;
    for (QTextBlock block = document()->begin(); block != at; block = block.next())
        bytes += Edge.ColumnOf(block.text(), block.length()) + 1;
    return bytes + Edge.ColumnOf(at.text(), position - at.position());
}

int TExtRichEdit::PositionOf(size_t byteOffset) const {
    if (!Edge.Page().DoubleByte())
        return static_cast<int>(byteOffset);
    int left = static_cast<int>(byteOffset);
    QTextBlock block = document()->begin();
    for (; block.next().isValid(); block = block.next()) {
        int columns = Edge.ColumnOf(block.text(), block.length());
        if (left <= columns)
            break;
        left -= columns + 1;
    }
    return block.position() + Edge.IndexOf(block.text(), left);
}

void TExtRichEdit::ReplaceText(QPoint from, QPoint to, const std::string& text) {
    QTextCursor caret = textCursor();
    caret.setPosition(OffsetOf(from));
    caret.setPosition(OffsetOf(to), QTextCursor::KeepAnchor);
    caret.insertText(Edge.ToQt(text));
    setTextCursor(caret);
}

void TExtRichEdit::SelectSpan(int start, int length) {
    QTextCursor caret = textCursor();
    caret.setPosition(start);
    caret.setPosition(start + length, QTextCursor::KeepAnchor);
    setTextCursor(caret);
}

std::string TExtRichEdit::WordAtCursor(bool withArgs) const {
    QTextCursor caret = textCursor();
    if (caret.hasSelection()) {
        QString selected = caret.selectedText();
        selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        return Edge.FromQt(selected);
    }
    std::string text = RawText();
    TextSpan word =
        WordSpanAt(text, static_cast<size_t>(ByteOffset(caret.position())), withArgs, false);
    return text.substr(word.Start, word.Length);
}

void TExtRichEdit::ReplaceWordAtCursor(const std::string& replacement, bool withArgs) {
    QTextCursor caret = textCursor();
    if (!caret.hasSelection() && !document()->isEmpty()) {
        TextSpan word = WordSpanAt(RawText(), static_cast<size_t>(ByteOffset(caret.position())),
                                   withArgs, true);
        caret.setPosition(PositionOf(word.Start));
        caret.setPosition(PositionOf(word.Start + word.Length), QTextCursor::KeepAnchor);
    }
    caret.insertText(Edge.ToQt(replacement));
    setTextCursor(caret);
}

bool TExtRichEdit::FindNext(const std::string& text, bool fromStart, bool matchCase,
                            bool wholeWord) {
    if (text.empty())
        return false;
    QTextDocument::FindFlags flags;
    if (matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (wholeWord)
        flags |= QTextDocument::FindWholeWords;
    int from = fromStart ? 0 : textCursor().selectionEnd();
    QTextCursor found = document()->find(Edge.ToQt(text), from, flags);
    // A match on a line the filter leaves out: on from the next line.
    while (!found.isNull() && FindLineFilter && !FindLineFilter(found.blockNumber())) {
        QTextBlock next = found.block().next();
        found = next.isValid() ? document()->find(Edge.ToQt(text), next.position(), flags)
                               : QTextCursor();
    }
    if (found.isNull())
        return false;
    SelectSpan(found.selectionStart(), static_cast<int>(text.size()));
    return true;
}

QRect TExtRichEdit::CaretLineRect() const {
    QRect caret = cursorRect();
    QRect line(0, caret.top(), viewport()->width(), caret.height());
    return QRect(viewport()->mapToGlobal(line.topLeft()), line.size());
}

TExtRichEdit::ReplaceResult TExtRichEdit::ReplaceNext(const std::string& search,
                                                      const std::string& replacement,
                                                      bool fromStart, bool matchCase,
                                                      bool wholeWord, bool prompt) {
    if (!FindNext(search, fromStart, matchCase, wholeWord))
        return ReplaceResult::NotFound;
    ReplaceResult result = ReplaceResult::Replaced;
    if (prompt) {
        QRect line = CaretLineRect();
        orvale::Prompter& asker = ActivePrompter();
        asker.KeepNextBoxClearOf(line.left(), line.top(), line.right(), line.bottom());
        result = ResultOf(asker.Show(orvale::Prompter::Kind::Confirmation,
                                     "Replace this occurrence of " + search + "?",
                                     orvale::Prompter::Buttons::YesNoCancelAll));
    }
    if (result != ReplaceResult::Replaced && result != ReplaceResult::ReplacedAll)
        return result;
    QTextCursor caret = textCursor();
    // The text may have changed while the box was open; never replace what is not a match.
    if (caret.selectedText().compare(Edge.ToQt(search), Qt::CaseInsensitive) != 0)
        return ReplaceResult::Failed;
    caret.insertText(Edge.ToQt(replacement));
    setTextCursor(caret);
    return result;
}

void TExtRichEdit::Print(QPrinter& printer, const QString& title) {
    // The command prints the whole section, even when the print dialog offered the selection.
    if (printer.printRange() == QPrinter::Selection)
        printer.setPrintRange(QPrinter::AllPages);
    printer.setDocName(title);
    // The colours of the view live in the palette, not in the text, so the page comes out
    // black on white whatever the editor shows.
    print(&printer);
}

void TExtRichEdit::ShowCaretPos() {
    QPoint caret = CaretPos();
    if (CaretPosDisplay_)
        CaretPosDisplay_->setText(QStringLiteral("%1: %2").arg(caret.y() + 1).arg(caret.x() + 1));
    emit CaretMoved(caret.y() + 1, caret.x() + 1);
}

void TExtRichEdit::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    const QString text = source->text();
    int line = 0;
    if (char32_t wide = Edge.FirstUnmappable(text, &line)) {
        ActivePrompter().Warning("Nothing was pasted: " +
                                 CharacterNotHeldMessage(wide, line, "the pasted text"));
        return;
    }
    insertPlainText(text);
}

void TExtRichEdit::keyPressEvent(QKeyEvent* event) {
    // A character the stored text cannot hold is not typed, and the user is told why.
    if (char32_t wide = Edge.FirstUnmappable(event->text())) {
        event->accept();
        QString message = QString::fromStdString("The section's text cannot hold " +
                                                 orvale::CharacterName(wide) + ".");
        QToolTip::showText(viewport()->mapToGlobal(cursorRect().bottomLeft()), message, this);
        emit CharacterRefused(message);
        return;
    }
    bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (HandleEditKey(event) || (plain && HandleMoveKey(event->key()))) {
        event->accept();
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

bool TExtRichEdit::HandleEditKey(QKeyEvent* event) {
    if (isReadOnly())
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool commandHeld = mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event->key();
    QTextCursor caret = textCursor();

    if (key == Qt::Key_Tab && !commandHeld && TabSpaces_ > 0) {
        caret.insertText(TabString);
        setTextCursor(caret);
        return true;
    }

    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !commandHeld) {
        // Shift+Enter is taken as Enter too: the view's own soft line break would put two
        // source lines into one line of the text.
        if (!AutoIndent_ && !(mods & Qt::ShiftModifier))
            return false;
        QString inserted = QStringLiteral("\n");
        if (AutoIndent_) {
            QPoint at = CaretPos();
            QString line = document()->findBlockByNumber(at.y()).text();
            int limit = IndentOf(line) > at.x() ? at.x() : static_cast<int>(line.size());
            inserted += Edge.ToQt(IndentToCopy(Edge.FromQt(line), limit));
        }
        caret.insertText(inserted);
        setTextCursor(caret);
        return true;
    }

    if (key == Qt::Key_Backspace && !(mods & (Qt::ShiftModifier | Qt::ControlModifier)) &&
        BackUnindent_ && TabSpaces_ > 0 && !caret.hasSelection()) {
        QPoint at = CaretPos();
        QTextBlock block = document()->findBlockByNumber(at.y());
        int indent = IndentOf(block.text());
        if (indent == 0 || at.x() != indent)
            return false;
        int width = UnindentWidth(indent, TabSpaces_);
        caret.beginEditBlock();
        caret.setPosition(block.position());
        caret.setPosition(block.position() + width, QTextCursor::KeepAnchor);
        caret.removeSelectedText();
        caret.endEditBlock();
        SetCaretPos(at.x() - width, at.y());
        return true;
    }
    return false;
}

bool TExtRichEdit::HandleMoveKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        break;
    default:
        return false;
    }
    const QPoint at = CaretPos();
    const int column = at.x();
    const int line = at.y();
    const QString text = document()->findBlockByNumber(line).text();
    const int length = Edge.ColumnOf(text, static_cast<int>(text.size()));
    const int indent = IndentOf(text);
    const bool stepping = CursThrTabs_ && TabSpaces_ > 0;
    bool consumed = false;
    int target = column;
    switch (key) {
    case Qt::Key_Left:
        if (stepping && column <= indent)
            target = StepLeftColumn(column, TabSpaces_);
        consumed = column == 0 || (stepping && column <= indent);
        break;
    case Qt::Key_Right:
        if (stepping) {
            int stepped = StepRightColumn(column, indent, length, TabSpaces_);
            consumed = stepped >= 0;
            if (consumed)
                target = stepped;
        } else {
            consumed = column >= length;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        consumed = line == 0;
        break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        consumed = line >= document()->blockCount() - 1;
        break;
    case Qt::Key_Home:
        consumed = column == 0;
        break;
    case Qt::Key_End:
        consumed = column >= length;
        break;
    }
    if (consumed) {
        SetCaretPos(target, line);
        return true;
    }
    // Plain movement keys drop the selection and move from the caret.
    QTextCursor caret = textCursor();
    if (caret.hasSelection()) {
        caret.clearSelection();
        setTextCursor(caret);
    }
    return false;
}
