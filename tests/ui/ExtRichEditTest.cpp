#include "ui/ExtRichEdit.h"

#include "platform/Prompter.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "ui/ExtRichText.h"

#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using orvale::Prompter;
using Result = TExtRichEdit::ReplaceResult;

namespace {

// Records what the editor asked its boxes to keep clear of.
class PlacingPrompter : public orvale::ScriptedPrompter {
public:
    void KeepNextBoxClearOf(int left, int top, int right, int bottom) override {
        KeptClear.emplace_back(QPoint(left, top), QPoint(right, bottom));
    }
    std::vector<QRect> KeptClear;
};

// Runs an action while the confirmation is open, as if the text changed under the box.
class MeddlingPrompter : public orvale::ScriptedPrompter {
public:
    Answer Show(Kind kind, const std::string& text, Buttons buttons,
                const std::string& caption) override {
        if (WhileOpen)
            WhileOpen();
        return ScriptedPrompter::Show(kind, text, buttons, caption);
    }
    std::function<void()> WhileOpen;
};

// An editor set up as the program window's source editor: two-blank steps, automatic
// indentation, unindent and stepping on.
class SourceEditor : public ::testing::Test {
protected:
    void SetUp() override {
        orvale::test::QtApp();
        Edit = std::make_unique<TExtRichEdit>();
        Edit->resize(400, 300);
        Edit->SetTabSpaces(2);
        Edit->SetAutoIndent(true);
        Edit->SetBackUnindent(true);
        Edit->SetCursThrTabs(true);
        Edit->SetPrompter(&Asker);
        Edit->show();
    }

    void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Edit.get(), static_cast<Qt::Key>(key), mods);
    }
    int Column() const { return Edit->CaretPos().x(); }
    int LineNo() const { return Edit->CaretPos().y(); }

    PlacingPrompter Asker;
    std::unique_ptr<TExtRichEdit> Edit;
};

} // namespace

TEST(EditorWordSpan, FindsTheWordAroundTheCaret) {
    const std::string text = "MOVE #TOT$@ X";
    EXPECT_EQ(WordSpanAt(text, 7, false, false), (TextSpan{5, 6}));  // inside #TOT$@
    EXPECT_EQ(WordSpanAt(text, 5, false, false), (TextSpan{5, 6}));  // at its first byte
    EXPECT_EQ(WordSpanAt(text, 11, false, false), (TextSpan{5, 6})); // right after it
    EXPECT_EQ(WordSpanAt(text, 0, false, false), (TextSpan{0, 4}));
    EXPECT_EQ(WordSpanAt(text, 13, false, false), (TextSpan{12, 1})); // end of the text
    EXPECT_EQ(WordSpanAt("A + B", 2, false, false).Length, 0u);       // between delimiters
    EXPECT_EQ(WordSpanAt("", 0, true, true), (TextSpan{}));
    // Delimiters of the rule: quote, brackets, colon; word characters: # $ % & @ _ `.
    EXPECT_EQ(WordSpanAt("'X[Y]Z:W'", 3, false, false), (TextSpan{3, 1}));
    EXPECT_EQ(WordSpanAt("a%&_`b c", 2, false, false), (TextSpan{0, 6}));
}

TEST(EditorWordSpan, ArgumentListStopsAtItsLine) {
    const std::string text = "ADD(A:B:C) X";
    EXPECT_EQ(WordSpanAt(text, 1, true, false), (TextSpan{0, 9}));
    EXPECT_EQ(WordSpanAt(text, 1, true, true), (TextSpan{0, 10}));
    EXPECT_EQ(WordSpanAt(text, 1, false, true), (TextSpan{0, 3}));
    // Never closed: the list ends with the line, not with the text.
    const std::string open = "CALL(A:B\nNEXT(X)";
    EXPECT_EQ(WordSpanAt(open, 2, true, true), (TextSpan{0, 8}));
}

TEST(EditorIndentSteps, StepArithmetic) {
    EXPECT_EQ(UnindentWidth(6, 2), 2);
    EXPECT_EQ(UnindentWidth(5, 2), 1);
    EXPECT_EQ(UnindentWidth(7, 4), 3);
    EXPECT_EQ(LineIndent("\t  X"), 3);
    EXPECT_EQ(LineIndent("    "), 4);
    EXPECT_EQ(IndentToCopy("  \t  X", 3), "  \t");
    EXPECT_EQ(IndentToCopy("  \x01 X", 9), "  "); // only blanks and tabs are copied
}

TEST_F(SourceEditor, BackspaceRemovesOneIndentStep) {
    Edit->SetLines({"      ADD(A:B:C)", "     SUB(X:Y:Z)"});
    Edit->SetCaretPos(6, 0);
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Edit->Line(0), "    ADD(A:B:C)");
    EXPECT_EQ(Column(), 4);
    Edit->SetCaretPos(5, 1);
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Edit->Line(1), "    SUB(X:Y:Z)");
    EXPECT_EQ(Column(), 4);
    // One edit, one undo.
    Edit->undo();
    EXPECT_EQ(Edit->Line(1), "     SUB(X:Y:Z)");
}

TEST_F(SourceEditor, BackspaceElsewhereDeletesOneCharacter) {
    Edit->SetLines({"      ADD"});
    Edit->SetCaretPos(3, 0); // inside the indentation
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Edit->Line(0), "     ADD");
    EXPECT_EQ(Column(), 2);
    Edit->SetCaretPos(8, 0); // after text
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Edit->Line(0), "     AD");

    // A selection is deleted as it is, even one that ends at the indent.
    Edit->SetLines({"    ADD"});
    QTextCursor all = Edit->textCursor();
    all.setPosition(0);
    all.setPosition(4, QTextCursor::KeepAnchor);
    Edit->setTextCursor(all);
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Edit->Line(0), "ADD");

    // Without a step width Backspace is plain.
    Edit->SetTabSpaces(0);
    Edit->SetLines({"    ADD"});
    Edit->SetCaretPos(4, 0);
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Edit->Line(0), "   ADD");
}

TEST_F(SourceEditor, CursorStepsThroughIndentation) {
    Edit->SetTabSpaces(4);
    Edit->SetLines({"          ADD", "          SUB"});
    Edit->SetCaretPos(0, 1);
    std::vector<int> right;
    for (int i = 0; i < 4; ++i) {
        Press(Qt::Key_Right);
        right.push_back(Column());
    }
    EXPECT_EQ(right, (std::vector<int>{4, 8, 10, 11}));
    Edit->SetCaretPos(10, 1);
    std::vector<int> left;
    for (int i = 0; i < 4; ++i) {
        Press(Qt::Key_Left);
        left.push_back(Column());
    }
    EXPECT_EQ(left, (std::vector<int>{8, 4, 0, 0}));
    EXPECT_EQ(LineNo(), 1);
    // Shift extends the selection one character at a time, as usual.
    Edit->SetCaretPos(0, 1);
    Press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Column(), 1);
    EXPECT_TRUE(Edit->textCursor().hasSelection());
}

TEST_F(SourceEditor, MovementNeverLeavesTheLineAtItsEdges) {
    for (bool stepping : {true, false}) {
        SCOPED_TRACE(stepping ? "stepping" : "plain");
        Edit->SetCursThrTabs(stepping);
        Edit->SetLines({"AB", "CD", "EF"});
        Edit->SetCaretPos(0, 1);
        Press(Qt::Key_Left);
        EXPECT_EQ(Edit->CaretPos(), QPoint(0, 1));
        Press(Qt::Key_Home);
        EXPECT_EQ(Edit->CaretPos(), QPoint(0, 1));
        Edit->SetCaretPos(2, 1);
        Press(Qt::Key_Right);
        EXPECT_EQ(Edit->CaretPos(), QPoint(2, 1));
        Press(Qt::Key_End);
        EXPECT_EQ(Edit->CaretPos(), QPoint(2, 1));
        Edit->SetCaretPos(1, 0);
        Press(Qt::Key_Up);
        Press(Qt::Key_PageUp);
        EXPECT_EQ(Edit->CaretPos(), QPoint(1, 0));
        Edit->SetCaretPos(1, 2);
        Press(Qt::Key_Down);
        Press(Qt::Key_PageDown);
        EXPECT_EQ(Edit->CaretPos(), QPoint(1, 2));
        // Away from the edges the keys move as usual.
        Press(Qt::Key_Up);
        EXPECT_EQ(LineNo(), 1);
        Press(Qt::Key_Left);
        EXPECT_EQ(Edit->CaretPos(), QPoint(0, 1));
    }
}

TEST_F(SourceEditor, MovementKeysDropTheSelection) {
    Edit->SetLines({"ABCDEF"});
    QTextCursor some = Edit->textCursor();
    some.setPosition(2);
    some.setPosition(6, QTextCursor::KeepAnchor);
    Edit->setTextCursor(some);
    Press(Qt::Key_End); // at the end already: nothing moves but the selection goes
    EXPECT_FALSE(Edit->textCursor().hasSelection());
    EXPECT_EQ(Column(), 6);
}

TEST_F(SourceEditor, TabInsertsTheStepAsBlanks) {
    Edit->SetLines({"AB"});
    Edit->SetCaretPos(1, 0);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Edit->Line(0), "A  B");
    Edit->SetTabSpaces(-3); // ignored
    EXPECT_EQ(Edit->TabSpaces(), 2);
    Edit->SetTabSpaces(0);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Edit->Line(0), "A  \tB");
}

TEST_F(SourceEditor, EnterCopiesTheIndentationLeftOfTheCaret) {
    Edit->SetLines({"    ADD(A:B:C)"});
    Edit->SetCaretPos(14, 0);
    Press(Qt::Key_Return);
    EXPECT_EQ(Edit->Lines(), (StringList{"    ADD(A:B:C)", "    "}));
    EXPECT_EQ(Edit->CaretPos(), QPoint(4, 1));

    Edit->SetLines({"    ADD"});
    Edit->SetCaretPos(2, 0); // in the middle of the indentation
    Press(Qt::Key_Return);
    EXPECT_EQ(Edit->Lines(), (StringList{"  ", "    ADD"}));
    EXPECT_EQ(Edit->CaretPos(), QPoint(2, 1));

    // Shift+Enter makes a real line too, not a break inside one line.
    Edit->SetAutoIndent(false);
    Edit->SetLines({"AB"});
    Edit->SetCaretPos(1, 0);
    Press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Edit->Lines(), (StringList{"A", "B"}));
}

TEST_F(SourceEditor, ReadOnlyViewIgnoresEditingKeys) {
    Edit->setReadOnly(true);
    Edit->SetLines({"    ADD"});
    Edit->SetCaretPos(4, 0);
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Return);
    EXPECT_EQ(Edit->Lines(), (StringList{"    ADD"}));
    Press(Qt::Key_Left); // still steps
    EXPECT_EQ(Column(), 2);
}

TEST_F(SourceEditor, CaretDisplayShowsLineAndColumnFromOne) {
    auto display = std::make_unique<QLabel>();
    Edit->SetCaretPosDisplay(display.get());
    Edit->SetLines({"AB", "CDEF"});
    EXPECT_EQ(display->text(), "1: 1");
    Edit->SetCaretPos(3, 1);
    EXPECT_EQ(display->text(), "2: 4");
    Press(Qt::Key_Left);
    EXPECT_EQ(display->text(), "2: 3");
    // The display may go first (the window's status bar); the editor carries on.
    display.reset();
    Edit->SetCaretPos(0, 0);
    EXPECT_EQ(Edit->CaretPos(), QPoint(0, 0));
}

TEST_F(SourceEditor, CaretPositionsAreClamped) {
    Edit->SetLines({"AB", "CDEF"});
    Edit->SetCaretPos(99, 7);
    EXPECT_EQ(Edit->CaretPos(), QPoint(4, 1));
    Edit->SetCaretPos(-5, -1);
    EXPECT_EQ(Edit->CaretPos(), QPoint(0, 0));
}

TEST_F(SourceEditor, WordAtCursorWithAndWithoutArguments) {
    Edit->SetLines({"    ADD(A:B:C) ", "    Z-ADD(1:N#)"});
    Edit->SetCaretPos(5, 0);
    EXPECT_EQ(Edit->WordAtCursor(false), "ADD");
    EXPECT_EQ(Edit->WordAtCursor(true), "ADD(A:B:C");
    Edit->ReplaceWordAtCursor("SUB(X:Y:Z)", true);
    EXPECT_EQ(Edit->Lines(), (StringList{"    SUB(X:Y:Z) ", "    Z-ADD(1:N#)"}));

    // A selection is taken as it is, and replaced as it is.
    QTextCursor some = Edit->textCursor();
    some.setPosition(4);
    some.setPosition(7, QTextCursor::KeepAnchor);
    Edit->setTextCursor(some);
    EXPECT_EQ(Edit->WordAtCursor(true), "SUB");
    Edit->ReplaceWordAtCursor("MULT", true);
    EXPECT_EQ(Edit->Line(0), "    MULT(X:Y:Z) ");

    Edit->SetLines({});
    EXPECT_EQ(Edit->WordAtCursor(true), "");
    Edit->ReplaceWordAtCursor("MOVE(A:B)", true);
    EXPECT_EQ(Edit->Lines(), (StringList{"MOVE(A:B)"}));
}

TEST_F(SourceEditor, ReplacingAnUnclosedCallKeepsTheFollowingLines) {
    Edit->SetLines({"CALL(PGM:A", "    MOVE(X:Y)", "    SETON(LR)"});
    Edit->SetCaretPos(1, 0);
    EXPECT_EQ(Edit->WordAtCursor(true), "CALL(PGM:A");
    Edit->ReplaceWordAtCursor("CALL(PGM:A)", true);
    EXPECT_EQ(Edit->Lines(), (StringList{"CALL(PGM:A)", "    MOVE(X:Y)", "    SETON(LR)"}));
}

TEST_F(SourceEditor, FindNextSelectsTheMatch) {
    Edit->SetLines({"MOVE A", "move AB", "MOVE A"});
    ASSERT_TRUE(Edit->FindNext("MOVE", true, true, false));
    EXPECT_EQ(Edit->textCursor().selectionStart(), 0);
    EXPECT_EQ(Edit->textCursor().selectedText(), "MOVE");
    // Case sensitive: the lower-case line is skipped.
    ASSERT_TRUE(Edit->FindNext("MOVE", false, true, false));
    EXPECT_EQ(Edit->CaretPos(), QPoint(4, 2));
    // From the end of the selection to the end of the text, without wrapping.
    EXPECT_FALSE(Edit->FindNext("MOVE", false, true, false));
    EXPECT_EQ(Edit->CaretPos(), QPoint(4, 2));
    // Whole words: "A" does not match inside "AB".
    Edit->SetCaretPos(0, 1);
    ASSERT_TRUE(Edit->FindNext("A", false, false, true));
    EXPECT_EQ(Edit->CaretPos(), QPoint(6, 2));
    ASSERT_TRUE(Edit->FindNext("move", true, false, false));
    EXPECT_EQ(Edit->textCursor().selectedText(), "MOVE");
    EXPECT_FALSE(Edit->FindNext("", true, false, false));
}

TEST_F(SourceEditor, ReplaceNextAnswersAndResults) {
    Edit->SetLines({"ADD A", "ADD B", "ADD C", "ADD D"});
    EXPECT_EQ(Edit->ReplaceNext("ADD", "SUB", true, true, false, false), Result::Replaced);
    EXPECT_EQ(Edit->Line(0), "SUB A");
    EXPECT_TRUE(Asker.Messages.empty());

    Asker.Queue(Prompter::Answer::No);
    EXPECT_EQ(Edit->ReplaceNext("ADD", "SUB", false, true, false, true), Result::Skipped);
    EXPECT_EQ(Edit->Line(1), "ADD B");
    ASSERT_EQ(Asker.Messages.size(), 1u);
    EXPECT_EQ(Asker.Messages[0].BoxKind, Prompter::Kind::Confirmation);
    EXPECT_EQ(Asker.Messages[0].BoxButtons, Prompter::Buttons::YesNoCancelAll);
    EXPECT_EQ(Asker.Messages[0].Text, "Replace this occurrence of ADD?");
    EXPECT_EQ(Asker.KeptClear.size(), 1u);

    Asker.Queue(Prompter::Answer::Yes);
    EXPECT_EQ(Edit->ReplaceNext("ADD", "SUB", false, true, false, true), Result::Replaced);
    EXPECT_EQ(Edit->Line(2), "SUB C");

    Asker.Queue(Prompter::Answer::Cancel);
    EXPECT_EQ(Edit->ReplaceNext("ADD", "SUB", false, true, false, true), Result::Cancelled);
    EXPECT_EQ(Edit->Line(3), "ADD D");

    Asker.Queue(Prompter::Answer::All);
    EXPECT_EQ(Edit->ReplaceNext("ADD", "SUB", true, true, false, true), Result::ReplacedAll);
    EXPECT_EQ(Edit->Line(1), "SUB B");

    EXPECT_EQ(Edit->ReplaceNext("XYZ", "SUB", true, true, false, true), Result::NotFound);
    EXPECT_EQ(static_cast<int>(Result::ReplacedAll), 8);
}

TEST_F(SourceEditor, ReplaceAllRunsToTheEndOnce) {
    // The find dialog's loop: the first answer is All, then no more questions.
    Edit->SetLines({"A.A", "xa", "A"});
    Asker.Queue(Prompter::Answer::All);
    Result last = Edit->ReplaceNext("a", "AA", true, false, false, true);
    EXPECT_EQ(last, Result::ReplacedAll);
    int rounds = 0;
    while (last != Result::NotFound && rounds++ < 20)
        last = Edit->ReplaceNext("a", "AA", false, false, false, false);
    EXPECT_EQ(Edit->Lines(), (StringList{"AA.AA", "xAA", "AA"}));
    EXPECT_EQ(rounds, 4);
    EXPECT_EQ(Asker.Messages.size(), 1u);
}

TEST_F(SourceEditor, LostMatchIsNotReplaced) {
    Edit->SetLines({"ADD A"});
    MeddlingPrompter meddler;
    meddler.WhileOpen = [this] {
        QTextCursor other = Edit->textCursor();
        other.setPosition(0);
        other.setPosition(3, QTextCursor::KeepAnchor);
        other.insertText("XYZ");
    };
    Edit->SetPrompter(&meddler);
    EXPECT_EQ(Edit->ReplaceNext("ADD", "SUB", true, true, false, true), Result::Failed);
    EXPECT_EQ(Edit->Line(0), "XYZ A");
}

TEST_F(SourceEditor, ConfirmationKeepsClearOfTheMatchedLine) {
    Edit->SetLines({"ADD A", "ADD B", "ADD C"});
    Asker.Queue(Prompter::Answer::No);
    Edit->SetCaretPos(0, 0);
    Edit->ReplaceNext("B", "X", false, true, false, true);
    ASSERT_EQ(Asker.KeptClear.size(), 1u);
    // The line of the match, across the view, where the user sees it.
    QRect line = Asker.KeptClear[0];
    EXPECT_EQ(line, Edit->CaretLineRect());
    EXPECT_EQ(Edit->CaretPos().y(), 1);
    EXPECT_TRUE(line.contains(Edit->viewport()->mapToGlobal(Edit->cursorRect().center())));
    // Without a question nothing is placed.
    Edit->ReplaceNext("C", "X", true, true, false, false);
    EXPECT_EQ(Asker.KeptClear.size(), 1u);
}

TEST_F(SourceEditor, LinesKeepEveryLatin1Byte) {
    StringList lines{"A\xA0"
                     "B",
                     "\xE8\xFF", "", "  X  "};
    Edit->SetLines(lines);
    EXPECT_EQ(Edit->Lines(), lines);
    EXPECT_EQ(Edit->LineCount(), 4);
    Edit->SetLines({});
    EXPECT_EQ(Edit->Lines(), StringList{});
    EXPECT_EQ(Edit->LineCount(), 0);
}

TEST_F(SourceEditor, InputOutsideLatin1IsRefusedAndTheUserTold) {
    QStringList refused;
    QObject::connect(Edit.get(), &TExtRichEdit::CharacterRefused,
                     [&refused](const QString& message) { refused.append(message); });
    Edit->SetLines({"AB"});
    Edit->SetCaretPos(1, 0);
    QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC)));
    QApplication::sendEvent(Edit.get(), &euro);
    EXPECT_EQ(Edit->Line(0), "AB");
    ASSERT_EQ(refused.size(), 1);
    EXPECT_EQ(refused[0], QString::fromUtf8("The section's text cannot hold the character "
                                            "\"\u20AC\" (U+20AC)."));
    QKeyEvent eGrave(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0xE8)));
    QApplication::sendEvent(Edit.get(), &eGrave);
    EXPECT_EQ(Edit->Line(0), "A\xE8"
                             "B");
    EXPECT_EQ(refused.size(), 1);
    // A paste the text cannot hold is refused whole, naming the character and its line.
    QApplication::clipboard()->setText(QString::fromUtf8("\u00E9t\u00E9\nX\u2019"));
    Edit->paste();
    EXPECT_EQ(Edit->toPlainText(), QString::fromLatin1("A\xE8"
                                                       "B"));
    ASSERT_EQ(Asker.Messages.size(), 1u);
    EXPECT_EQ(Asker.Messages[0].Text,
              "Nothing was pasted: line 2 of the pasted text holds the character \"\u2019\" "
              "(U+2019), which a section's text cannot hold.");
    // Latin-1 accents paste as they are.
    QApplication::clipboard()->setText(QString::fromUtf8("\u00E9t\u00E9"));
    Edit->paste();
    EXPECT_EQ(Edit->Line(0), "A\xE8\xE9t\xE9"
                             "B");
}

TEST_F(SourceEditor, OnlyTheUsersChangesCountAsEdits) {
    int edits = 0;
    QObject::connect(Edit.get(), &TExtRichEdit::TextEdited, [&edits] { ++edits; });
    Edit->SetLines({"ADD", "SUB"});
    EXPECT_EQ(edits, 0);
    QTest::keyClicks(Edit.get(), "X");
    EXPECT_GT(edits, 0);
    EXPECT_EQ(Edit->Line(0), "XADD");
}

TEST_F(SourceEditor, ScrollsToAClampedFirstLine) {
    StringList lines;
    for (int i = 0; i < 500; ++i)
        lines.push_back("LINE " + std::to_string(i));
    Edit->SetLines(lines);
    Edit->ScrollToLine(120);
    EXPECT_EQ(Edit->FirstVisibleLine(), 120);
    Edit->ScrollToLine(-4);
    EXPECT_EQ(Edit->FirstVisibleLine(), 0);
    Edit->ScrollToLine(100000);
    EXPECT_GT(Edit->FirstVisibleLine(), 400);
}

TEST_F(SourceEditor, ReplaceTextBetweenTwoPlaces) {
    Edit->SetLines({"    BEGSR(OLD)", "    ENDSR()"});
    Edit->ReplaceText({10, 0}, {13, 0}, "NEWNAME");
    EXPECT_EQ(Edit->Line(0), "    BEGSR(NEWNAME)");
    Edit->undo();
    EXPECT_EQ(Edit->Line(0), "    BEGSR(OLD)");
}

TEST_F(SourceEditor, PrintsTheWholeTextWhateverIsSelected) {
    orvale::test::TempDir dir;
    StringList lines;
    for (int i = 0; i < 150; ++i)
        lines.push_back("     C                     MOVE 'X'       FLD" + std::to_string(i));
    Edit->SetLines(lines);
    auto pagesPrinted = [&](bool selectFirstLine) {
        if (selectFirstLine)
            Edit->FindNext("MOVE", true, true, false);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        QString path = QString::fromStdString(dir.File(selectFirstLine ? "sel.pdf" : "all.pdf"));
        printer.setOutputFileName(path);
        printer.setPrintRange(QPrinter::Selection);
        Edit->Print(printer, QString());
        QFile pdf(path);
        EXPECT_TRUE(pdf.open(QIODevice::ReadOnly));
        QByteArray bytes = pdf.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        return bytes.count("/Type /Page\n");
    };
    qsizetype all = pagesPrinted(false);
    EXPECT_GT(all, 1);
    EXPECT_EQ(pagesPrinted(true), all);
    // The selection is left as it was.
    EXPECT_EQ(Edit->textCursor().selectedText(), "MOVE");
}
