#include "ui/CompareWindow.h"

#include "ui/LibraryEdge.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

using namespace orvale::library;

namespace {

const QColor kChanged(255, 244, 196);
const QColor kChangedChars(255, 196, 96);
const QColor kRemoved(255, 214, 214);
const QColor kAdded(210, 244, 210);
const QColor kFiller(236, 236, 236);

QPlainTextEdit* NewPane(QWidget* parent, const char* name) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return edit;
}

QTextEdit::ExtraSelection LineMark(QPlainTextEdit* edit, int block, const QColor& color) {
    QTextEdit::ExtraSelection s;
    s.cursor = QTextCursor(edit->document()->findBlockByNumber(block));
    s.format.setBackground(color);
    s.format.setProperty(QTextFormat::FullWidthSelection, true);
    return s;
}

QTextEdit::ExtraSelection CharMark(QPlainTextEdit* edit, int block, int prefix,
                                   const TCharRange& range) {
    QTextEdit::ExtraSelection s;
    QTextBlock b = edit->document()->findBlockByNumber(block);
    s.cursor = QTextCursor(b);
    s.cursor.setPosition(b.position() + prefix + range.From);
    s.cursor.setPosition(b.position() + prefix + std::min(range.To, b.length() - 1 - prefix),
                         QTextCursor::KeepAnchor);
    s.format.setBackground(kChangedChars);
    return s;
}

} // namespace

TCompareWindow::TCompareWindow(const QString& leftTitle, StringList left, const QString& rightTitle,
                               StringList right, QWidget* parent, const orvale::TextEdge& leftEdge)
    : QDialog(parent, Qt::Window), Left(std::move(left)), Right(std::move(right)),
      LeftEdge(leftEdge) {
    setObjectName("CompareWindow");
    setWindowTitle("Compare: " + leftTitle + " - " + rightTitle);
    resize(1200, 700);
    LabelLeft = new QLabel(leftTitle, this);
    LabelLeft->setObjectName("LabelLeft");
    LabelRight = new QLabel(rightTitle, this);
    LabelRight->setObjectName("LabelRight");
    EditLeft = NewPane(this, "EditLeft");
    EditRight = NewPane(this, "EditRight");
    CheckColumns = new QCheckBox("&Leave columns 1-5 and 75-80 out", this);
    CheckColumns->setObjectName("CheckColumns");
    BtnPrevious = new QPushButton("&Previous Difference", this);
    BtnPrevious->setObjectName("BtnPrevious");
    BtnPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
    BtnNext = new QPushButton("&Next Difference", this);
    BtnNext->setObjectName("BtnNext");
    BtnNext->setShortcut(Qt::Key_F7);
    LabelDifferences = new QLabel(this);
    LabelDifferences->setObjectName("LabelDifferences");
    auto* close = new QPushButton("Close", this);
    close->setAutoDefault(false);

    auto* titles = new QHBoxLayout;
    titles->addWidget(LabelLeft, 1);
    titles->addWidget(LabelRight, 1);
    auto* panes = new QHBoxLayout;
    panes->addWidget(EditLeft, 1);
    panes->addWidget(EditRight, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckColumns);
    buttons->addWidget(LabelDifferences, 1);
    buttons->addWidget(BtnPrevious);
    buttons->addWidget(BtnNext);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titles);
    layout->addLayout(panes, 1);
    layout->addLayout(buttons);

    // The two sides scroll together, line for line.
    for (auto [a, b] : {std::pair(EditLeft, EditRight), std::pair(EditRight, EditLeft)}) {
        connect(a->verticalScrollBar(), &QScrollBar::valueChanged, b->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(a->horizontalScrollBar(), &QScrollBar::valueChanged, b->horizontalScrollBar(),
                &QScrollBar::setValue);
    }
    connect(CheckColumns, &QCheckBox::toggled, this, &TCompareWindow::Recompare);
    connect(BtnNext, &QPushButton::clicked, this, [this] { GoToDifference(1); });
    connect(BtnPrevious, &QPushButton::clicked, this, [this] { GoToDifference(-1); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    Recompare();
}

void TCompareWindow::Recompare() {
    TCompareOptions options;
    options.IgnoreSequenceAndTags = CheckColumns->isChecked();
    DiffRows = CompareLines(Left, Right, options);
    Starts = DifferenceStarts(DiffRows);
    Current = -1;
    Fill();
    if (!GoToDifference(1))
        LabelDifferences->setText("The two are the same.");
}

void TCompareWindow::Fill() {
    TCompareOptions options;
    options.IgnoreSequenceAndTags = CheckColumns->isChecked();
    // Each side shows one row per row of the comparison: a line number and the line, or a
    // filler where the other side has a line this one lacks.
    const int width = static_cast<int>(std::to_string(std::max(Left.size(), Right.size())).size());
    auto number = [width](int line) { return QString("%1  ").arg(line + 1, width); };
    const int prefix = width + 2;
    QStringList left, right;
    left.reserve(static_cast<qsizetype>(DiffRows.size()));
    right.reserve(static_cast<qsizetype>(DiffRows.size()));
    for (const TDiffRow& r : DiffRows) {
        left << (r.Left >= 0 ? number(r.Left) + LeftEdge.ToQt(Left[static_cast<size_t>(r.Left)])
                             : QString());
        right << (r.Right >= 0
                      ? number(r.Right) + LibraryEdge().ToQt(Right[static_cast<size_t>(r.Right)])
                      : QString());
    }
    EditLeft->setPlainText(left.join('\n'));
    EditRight->setPlainText(right.join('\n'));

    QList<QTextEdit::ExtraSelection> leftMarks, rightMarks;
    std::vector<TCharRange> inLeft, inRight;
    for (size_t i = 0; i < DiffRows.size(); ++i) {
        const TDiffRow& r = DiffRows[i];
        int block = static_cast<int>(i);
        switch (r.Kind) {
        case TDiffKind::Same:
            break;
        case TDiffKind::Changed:
            leftMarks << LineMark(EditLeft, block, kChanged);
            rightMarks << LineMark(EditRight, block, kChanged);
            CompareChars(Left[static_cast<size_t>(r.Left)], Right[static_cast<size_t>(r.Right)],
                         options, inLeft, inRight);
            for (const TCharRange& c : inLeft)
                leftMarks << CharMark(EditLeft, block, prefix, c);
            for (const TCharRange& c : inRight)
                rightMarks << CharMark(EditRight, block, prefix, c);
            break;
        case TDiffKind::Removed:
            leftMarks << LineMark(EditLeft, block, kRemoved);
            rightMarks << LineMark(EditRight, block, kFiller);
            break;
        case TDiffKind::Added:
            leftMarks << LineMark(EditLeft, block, kFiller);
            rightMarks << LineMark(EditRight, block, kAdded);
            break;
        }
    }
    EditLeft->setExtraSelections(leftMarks);
    EditRight->setExtraSelections(rightMarks);
}

bool TCompareWindow::GoToDifference(int step) {
    if (Starts.empty())
        return false;
    int next = Current + step;
    if (next < 0 || next >= static_cast<int>(Starts.size())) {
        LabelDifferences->setText(QString("Difference %1 of %2 - no %3 one.")
                                      .arg(Current + 1)
                                      .arg(Starts.size())
                                      .arg(step > 0 ? "later" : "earlier"));
        return false;
    }
    Current = next;
    ShowRow(Starts[static_cast<size_t>(Current)]);
    LabelDifferences->setText(QString("Difference %1 of %2").arg(Current + 1).arg(Starts.size()));
    return true;
}

void TCompareWindow::ShowRow(size_t row) {
    for (QPlainTextEdit* edit : {EditLeft, EditRight}) {
        QTextCursor cursor(edit->document()->findBlockByNumber(static_cast<int>(row)));
        edit->setTextCursor(cursor);
        edit->centerCursor();
    }
}
