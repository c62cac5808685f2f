#include "ui/MemberViewer.h"

#include "ui/LibraryEdge.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

TMemberViewer::TMemberViewer(std::string member, StringList lines, QWidget* parent)
    : QWidget(parent), Member_(std::move(member)), Lines_(std::move(lines)) {
    setObjectName("MemberViewer");
    setWindowTitle(QFile::decodeName(QByteArray::fromStdString(Member_)) + " (read-only)");
    resize(860, 560);
    EditText = new QPlainTextEdit(this);
    EditText->setObjectName("EditText");
    EditText->setReadOnly(true);
    EditText->setLineWrapMode(QPlainTextEdit::NoWrap);
    EditText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EditText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    EditText->setPlainText(LibraryEdge().ToQt(Lines_).join('\n'));
    EditText->viewport()->installEventFilter(this);
    LabelStatus = new QLabel(this);
    LabelStatus->setObjectName("LabelStatus");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(EditText, 1);
    layout->addWidget(LabelStatus);

    auto* openCopy = new QAction("Open Copy Member", this);
    openCopy->setShortcut(Qt::Key_F3);
    openCopy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(openCopy);
    connect(openCopy, &QAction::triggered, this, [this] { OpenCopyAtLine(CurrentLine()); });
    auto status = [this] {
        LabelStatus->setText(QString("Line %1 of %2    read-only: %3")
                                 .arg(CurrentLine())
                                 .arg(Lines_.size())
                                 .arg(QFile::decodeName(QByteArray::fromStdString(Member_))));
    };
    connect(EditText, &QPlainTextEdit::cursorPositionChanged, this, status);
    status();
}

void TMemberViewer::GoToLine(int line) {
    QTextBlock block = EditText->document()->findBlockByNumber(std::max(0, line - 1));
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    EditText->setTextCursor(cursor);
    EditText->centerCursor();
}

int TMemberViewer::CurrentLine() const {
    return EditText->textCursor().blockNumber() + 1;
}

void TMemberViewer::OpenCopyAtLine(int line) {
    if (line < 1 || static_cast<size_t>(line) > Lines_.size())
        return;
    const std::string& text = Lines_[static_cast<size_t>(line - 1)];
    if (!OpenCopyMember || !OpenCopyMember(Member_, text))
        LabelStatus->setText("No copy member of the library is named on this line.");
}

bool TMemberViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditText->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            OpenCopyAtLine(EditText->cursorForPosition(mouse->position().toPoint()).blockNumber() +
                           1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
