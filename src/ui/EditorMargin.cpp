// The source editor's left margin: a side widget beside the text, as Qt's code editor example
// does it, made of columns (line numbers, compile marks) that other parts may add to.

#include "ExtRichEdit.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolTip>

namespace {

class TEditorMargin : public QWidget {
public:
    explicit TEditorMargin(TExtRichEdit& editor) : QWidget(&editor), Editor(editor) {
        setObjectName("EditorMargin");
        setMouseTracking(true);
    }

    QSize sizeHint() const override { return {Editor.MarginWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        Editor.PaintMargin(painter, event->rect());
    }

    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(e);
            int line = -1;
            const TMarginColumn* column = Editor.MarginColumnAt(help->pos(), line);
            QString tip = column && line >= 0 ? column->ToolTip(line) : QString();
            if (tip.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), tip, this);
            return true;
        }
        return QWidget::event(e);
    }

private:
    TExtRichEdit& Editor;
};

// 1-based line numbers, right-aligned, in a faint tone of the text colour.
class TLineNumberColumn : public TMarginColumn {
public:
    int Width(const TExtRichEdit& editor) const override {
        int digits = QString::number(std::max(1, editor.blockCount())).size();
        return 6 + editor.fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(3, digits);
    }
    void Paint(QPainter& painter, const QRect& cell, int line,
               const TExtRichEdit& editor) const override {
        QColor tone = editor.palette().color(QPalette::Text);
        tone.setAlphaF(0.55);
        painter.setPen(tone);
        painter.drawText(cell.adjusted(0, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(line + 1));
    }
};

// A red disc for an error, an amber one for a warning; the message on hover.
class TMarkColumn : public TMarginColumn {
public:
    explicit TMarkColumn(const TExtRichEdit& editor) : Editor(editor) {}
    int Width(const TExtRichEdit& editor) const override {
        return editor.fontMetrics().height() * 3 / 4 + 4;
    }
    void Paint(QPainter& painter, const QRect& cell, int line, const TExtRichEdit&) const override {
        auto mark = Editor.LineMarks().find(line);
        if (mark == Editor.LineMarks().end())
            return;
        int size = std::min(cell.width(), cell.height()) - 4;
        QRect disc(0, 0, size, size);
        disc.moveCenter(cell.center());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(mark->second.Error ? QColor(0xd3, 0x2f, 0x2f) : QColor(0xf5, 0xa6, 0x23));
        painter.drawEllipse(disc);
    }
    QString ToolTip(int line) const override {
        auto mark = Editor.LineMarks().find(line);
        return mark == Editor.LineMarks().end() ? QString() : mark->second.Message;
    }

private:
    const TExtRichEdit& Editor;
};

} // namespace

void TExtRichEdit::AddMarginColumn(std::unique_ptr<TMarginColumn> column) {
    MarginColumns.push_back(std::move(column));
    UpdateMarginWidth();
}

int TExtRichEdit::MarginWidth() const {
    int width = 0;
    for (const auto& column : MarginColumns)
        width += column->Width(*this);
    return width;
}

void TExtRichEdit::UpdateMarginWidth() {
    if (!Margin_) {
        Margin_ = new TEditorMargin(*this);
        connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateMarginWidth(); });
        connect(this, &QPlainTextEdit::updateRequest, this, &TExtRichEdit::UpdateMarginArea);
        Margin_->show();
    }
    setViewportMargins(MarginWidth(), 0, 0, 0);
    QRect inside = contentsRect();
    Margin_->setGeometry(QRect(inside.left(), inside.top(), MarginWidth(), inside.height()));
    Margin_->update();
}

void TExtRichEdit::UpdateMarginArea(const QRect& rect, int dy) {
    if (dy != 0)
        Margin_->scroll(0, dy);
    else
        Margin_->update(0, rect.y(), Margin_->width(), rect.height());
}

void TExtRichEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    if (Margin_) {
        QRect inside = contentsRect();
        Margin_->setGeometry(QRect(inside.left(), inside.top(), MarginWidth(), inside.height()));
    }
}

int TExtRichEdit::LineAtY(int y) const {
    QTextBlock block = firstVisibleBlock();
    QPointF offset = contentOffset();
    while (block.isValid()) {
        QRectF shape = blockBoundingGeometry(block).translated(offset);
        if (shape.top() > y)
            return -1;
        if (block.isVisible() && y < shape.bottom())
            return block.blockNumber();
        block = block.next();
    }
    return -1;
}

const TMarginColumn* TExtRichEdit::MarginColumnAt(QPoint at, int& line) const {
    line = LineAtY(at.y());
    int left = 0;
    for (const auto& column : MarginColumns) {
        int width = column->Width(*this);
        if (at.x() >= left && at.x() < left + width)
            return column.get();
        left += width;
    }
    return nullptr;
}

void TExtRichEdit::PaintMargin(QPainter& painter, const QRect& area) {
    QColor base = palette().color(QPalette::Base);
    painter.fillRect(area, base.lightness() < 128 ? base.lighter(135) : base.darker(108));
    painter.setFont(font());
    QTextBlock block = firstVisibleBlock();
    QPointF offset = contentOffset();
    while (block.isValid()) {
        QRectF shape = blockBoundingGeometry(block).translated(offset);
        if (shape.top() > area.bottom())
            break;
        if (block.isVisible() && shape.bottom() >= area.top()) {
            int left = 0;
            for (const auto& column : MarginColumns) {
                int width = column->Width(*this);
                QRect cell(left, static_cast<int>(shape.top()), width, fontMetrics().height());
                column->Paint(painter, cell, block.blockNumber(), *this);
                left += width;
            }
        }
        block = block.next();
    }
}

void TExtRichEdit::SetLineMarks(std::map<int, LineMark> marks) {
    Marks = std::move(marks);
    ShowMarkTints();
    if (Margin_)
        Margin_->update();
}

void TExtRichEdit::SetChangedLines(std::vector<int> lines) {
    Changed = std::move(lines);
    ShowMarkTints();
}

void TExtRichEdit::ShowMarkTints() {
    QList<QTextEdit::ExtraSelection> tints;
    for (int line : Changed) {
        QTextBlock block = document()->findBlockByNumber(line);
        if (!block.isValid())
            continue;
        QTextEdit::ExtraSelection tint;
        tint.cursor = QTextCursor(block);
        tint.format.setBackground(QColor(0x43, 0xa0, 0x47, 120));
        tint.format.setProperty(QTextFormat::FullWidthSelection, true);
        tints.push_back(tint);
    }
    for (const auto& [line, mark] : Marks) {
        QTextBlock block = document()->findBlockByNumber(line);
        if (!block.isValid())
            continue;
        QTextEdit::ExtraSelection tint;
        tint.cursor = QTextCursor(block);
        QColor colour = mark.Error ? QColor(0xd3, 0x2f, 0x2f) : QColor(0xf5, 0xa6, 0x23);
        colour.setAlpha(70);
        tint.format.setBackground(colour);
        tint.format.setProperty(QTextFormat::FullWidthSelection, true);
        tint.format.setToolTip(mark.Message);
        tints.push_back(tint);
    }
    setExtraSelections(tints);
}

void TExtRichEdit::SetHighlighter(QSyntaxHighlighter* highlighter) {
    if (Highlighter_ == highlighter)
        return;
    delete Highlighter_;
    Highlighter_ = highlighter;
    if (Highlighter_) {
        Highlighter_->setParent(this);
        Highlighter_->setDocument(document());
    }
}

void TExtRichEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit LineDoubleClicked(cursorForPosition(event->pos()).blockNumber());
}

// Both columns of a new editor; the window may add more.
void AddStandardMarginColumns(TExtRichEdit& editor) {
    editor.AddMarginColumn(std::make_unique<TLineNumberColumn>());
    editor.AddMarginColumn(std::make_unique<TMarkColumn>(editor));
}
