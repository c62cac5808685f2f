#include "ColumnRuler.h"

#include "qtedge/TextEdge.h"
#include "ui/ExtRichEdit.h"
#include "ui/SourceColouring.h"

#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>

namespace {

constexpr int kColumns = 80;

} // namespace

TColumnRuler::TColumnRuler(TExtRichEdit& editor, QWidget* parent)
    : QWidget(parent), Editor(editor) {
    setObjectName("ColumnRuler");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(&Editor, &QPlainTextEdit::cursorPositionChanged, this, &TColumnRuler::Refresh);
    connect(Editor.horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { update(); });
    Refresh();
}

QSize TColumnRuler::sizeHint() const {
    return {200, Editor.fontMetrics().height() * 2 + 4};
}

void TColumnRuler::Refresh() {
    QString format = Editor.Edge.ToQt(FormatLine(Editor.Line(Editor.CaretPos().y())));
    if (format != Format) {
        Format = format;
        update();
    }
    // The editor's font size can change under the ruler.
    setFixedHeight(sizeHint().height());
}

void TColumnRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor base = Editor.palette().color(QPalette::Base);
    QColor text = Editor.palette().color(QPalette::Text);
    painter.fillRect(rect(), base.lightness() < 128 ? base.lighter(150) : base.darker(112));
    painter.setFont(Editor.font());
    // The first text column starts after the editor's frame, its margin and the document's
    // own margin, less what the view is scrolled by.
    const QFontMetrics metrics(Editor.font());
    const int left = Editor.frameWidth() + Editor.MarginWidth() +
                     static_cast<int>(Editor.document()->documentMargin()) -
                     Editor.horizontalScrollBar()->value();
    const int line = metrics.height();
    QColor faint = text;
    faint.setAlphaF(0.6);
    painter.setPen(faint);
    painter.drawText(left, 1 + metrics.ascent(), Editor.Edge.ToQt(ColumnScale(kColumns)));
    painter.setPen(text);
    painter.drawText(left, 1 + line + metrics.ascent(), Format);
}
