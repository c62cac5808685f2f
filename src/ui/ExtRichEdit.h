#pragma once

// The plain-text editor of indented, column-sensitive source: a section's tree-language text
// in the program editor window and the compiled RPG/400 lines beside it (read-only).

#include "platform/StringList.h"
#include "qtedge/TextEdge.h"

#include <QColor>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class QSyntaxHighlighter;
class TExtRichEdit;

// One column of the editor's left margin (line numbers, compile marks, ...). The margin asks
// each column, left to right, for its width and paints it line by line.
class TMarginColumn {
public:
    virtual ~TMarginColumn() = default;
    virtual int Width(const TExtRichEdit& editor) const = 0;
    // Paints the column's part of one visible line; Cell is that part of the margin.
    virtual void Paint(QPainter& painter, const QRect& cell, int line,
                       const TExtRichEdit& editor) const = 0;
    // What the column says about Line when the mouse rests on it (empty: nothing).
    virtual QString ToolTip(int /*line*/) const { return {}; }
};

namespace orvale {
class Prompter;
}

class TExtRichEdit : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(int TabSpaces READ TabSpaces WRITE SetTabSpaces)
    Q_PROPERTY(bool AutoIndent READ AutoIndent WRITE SetAutoIndent)
    Q_PROPERTY(bool BackUnindent READ BackUnindent WRITE SetBackUnindent)
    Q_PROPERTY(bool CursThrTabs READ CursThrTabs WRITE SetCursThrTabs)

public:
    // The code page of the text it holds; the margin columns and the highlighter follow it.
    orvale::TextEdge Edge;

    // Outcome of ReplaceNext, with the values the find dialog works with.
    enum class ReplaceResult : int {
        NotFound = 0,
        Cancelled = 2,
        // The match was lost before it could be replaced; nothing was replaced.
        Failed = 3,
        Replaced = 6,
        Skipped = 7,
        // Replaced, and the user asked to replace every further occurrence without asking.
        ReplacedAll = 8,
    };

    explicit TExtRichEdit(QWidget* parent = nullptr);
    ~TExtRichEdit() override;

    // A line the last compile found fault with: an error (or a warning) and its message.
    struct LineMark {
        bool Error = false;
        QString Message;
    };
    // Marks by 0-based line: shown in the margin (the message on hover) and as a tint of the
    // line. Replaces the marks shown before.
    void SetLineMarks(std::map<int, LineMark> marks);
    const std::map<int, LineMark>& LineMarks() const { return Marks; }
    // Lines tinted as changed since a date the user asked about (under the marks' tints).
    void SetChangedLines(std::vector<int> lines);
    const std::vector<int>& ChangedLines() const { return Changed; }
    // When set, Find and Replace take a match only on a line it accepts (0-based).
    std::function<bool(int line)> FindLineFilter;

    // -- Left margin: line numbers and marks to begin with; more columns can be added.
    void AddMarginColumn(std::unique_ptr<TMarginColumn> column);
    // Lays the margin out again after a column's width changed.
    void RefreshMargin() { UpdateMarginWidth(); }
    int MarginWidth() const;
    QWidget* Margin() const { return Margin_; }
    // The margin column the point (in margin coordinates) lies in, and the line under it.
    const TMarginColumn* MarginColumnAt(QPoint at, int& line) const;
    void PaintMargin(QPainter& painter, const QRect& area);
    // The line shown at height Y of the view, or -1.
    int LineAtY(int y) const;

    // The colouring of the text (not owned by the caller; the editor takes it).
    void SetHighlighter(QSyntaxHighlighter* highlighter);
    QSyntaxHighlighter* Highlighter() const { return Highlighter_; }

    // The label that shows the caret as "line: column" (1-based), usually a panel of the
    // window's status bar. Not owned; it may be destroyed before the editor.
    QLabel* CaretPosDisplay() const { return CaretPosDisplay_; }
    void SetCaretPosDisplay(QLabel* display);

    // Width of one indentation step. 0 keeps the plain Tab key and turns off the stepping of
    // Backspace, Left and Right; a negative value is ignored.
    int TabSpaces() const { return TabSpaces_; }
    void SetTabSpaces(int spaces);
    bool AutoIndent() const { return AutoIndent_; }
    void SetAutoIndent(bool on) { AutoIndent_ = on; }
    bool BackUnindent() const { return BackUnindent_; }
    void SetBackUnindent(bool on) { BackUnindent_ = on; }
    bool CursThrTabs() const { return CursThrTabs_; }
    void SetCursThrTabs(bool on) { CursThrTabs_ = on; }

    // Where messages and the replace confirmation go; Prompter::Default() until one is given.
    void SetPrompter(orvale::Prompter* prompter) { Prompter_ = prompter; }
    orvale::Prompter& ActivePrompter() const;

    QColor BackColor() const;
    void SetBackColor(const QColor& color);
    QColor TextColor() const;
    void SetTextColor(const QColor& color);
    void SetFontSize(int points);

    // The text as lines of Latin-1 bytes (line 0 first). Setting them replaces the text, puts
    // the caret at the start and does not count as an edit.
    void SetLines(const StringList& lines);
    StringList Lines() const;
    int LineCount() const;
    std::string Line(int index) const;

    int FirstVisibleLine() const;
    // Scrolls so that Line (clamped to the text) is the first visible line, as far as the
    // scroll range allows.
    void ScrollToLine(int line);

    // The caret as (column, line), both 0-based.
    QPoint CaretPos() const;
    // Places the caret with nothing selected; the line and column are clamped to the text.
    void SetCaretPos(int column, int line);

    // Replaces the text from From up to, not including, To (both (column, line), clamped to
    // the text) as one edit that can be undone, and leaves the caret after the new text.
    void ReplaceText(QPoint from, QPoint to, const std::string& text);

    // The selection, or the word around the caret (see WordSpanAt), optionally with its
    // argument list.
    std::string WordAtCursor(bool withArgs) const;
    // Replaces the selection, or the stretch WordAtCursor takes (with the closing parenthesis
    // of the argument list), by Replacement.
    void ReplaceWordAtCursor(const std::string& replacement, bool withArgs);

    // Looks for Text from the start or from the end of the selection to the end of the text
    // and selects the match.
    bool FindNext(const std::string& text, bool fromStart, bool matchCase, bool wholeWord);
    // Finds the next match and replaces it, asking first when Prompt is set; the question
    // keeps clear of the matched line.
    ReplaceResult ReplaceNext(const std::string& search, const std::string& replacement,
                              bool fromStart, bool matchCase, bool wholeWord, bool prompt);
    // The caret's line across the view, in screen coordinates: what a question or a list
    // about it must not cover.
    QRect CaretLineRect() const;

    // Prints the whole text as one job named Title, whatever is selected.
    void Print(QPrinter& printer, const QString& title);

signals:
    // The caret moved or the selection changed; line and column are 1-based.
    void CaretMoved(int line, int column);
    // The user changed the text (SetLines does not count).
    void TextEdited();
    // A typed character was not taken because the single-byte text cannot hold it; Message
    // says which. The editor also shows it at the caret.
    void CharacterRefused(const QString& message);
    // The background colour was set (the colouring follows it).
    void BackColorChanged(const QColor& color);
    // A double click on a line of the text (0-based).
    void LineDoubleClicked(int line);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Pasted or dropped text is taken only when the stored Latin-1 text can hold all of it;
    // otherwise nothing is inserted and a message names the first character it cannot hold.
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool HandleEditKey(QKeyEvent* event);
    bool HandleMoveKey(int key);
    void ShowCaretPos();
    void SelectSpan(int start, int length);
    int OffsetOf(QPoint place) const;
    // The place in the whole text (lines joined by "\n") as a byte offset, and back.
    int ByteOffset(int position) const;
    int PositionOf(size_t byteOffset) const;
    // The whole text with "\n" between lines, every byte as it is stored.
    std::string RawText() const;

    QPointer<QLabel> CaretPosDisplay_;
    int TabSpaces_ = 0;
    bool AutoIndent_ = false;
    bool BackUnindent_ = false;
    bool CursThrTabs_ = false;
    // TabSpaces blanks: what the Tab key inserts.
    QString TabString;
    orvale::Prompter* Prompter_ = nullptr;
    bool Loading = false;

    void UpdateMarginWidth();
    void UpdateMarginArea(const QRect& rect, int dy);
    void ShowMarkTints();

    QWidget* Margin_ = nullptr;
    std::vector<std::unique_ptr<TMarginColumn>> MarginColumns;
    std::map<int, LineMark> Marks;
    std::vector<int> Changed;
    QSyntaxHighlighter* Highlighter_ = nullptr;
};
