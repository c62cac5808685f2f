#include "ui/TagColumn.h"

#include "qtedge/TextEdge.h"
#include "ui/ExtRichEdit.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextBlockUserData>
#include <QTextDocument>

#include <algorithm>

namespace {

// The tag of one text block. Qt keeps it with the block as lines are typed, inserted or
// removed around it.
class TTagData : public QTextBlockUserData {
public:
    explicit TTagData(QString tag) : Tag(std::move(tag)) {}
    QString Tag;
};

QString TagOf(const QTextBlock& block) {
    auto* data = dynamic_cast<TTagData*>(block.userData());
    return data ? data->Tag : QString();
}

class TTagColumn : public TMarginColumn {
public:
    int Width(const TExtRichEdit& editor) const override {
        int longest = editor.property("orvaleTagWidth").toInt();
        return longest == 0
                   ? 0
                   : editor.fontMetrics().horizontalAdvance(QLatin1Char('M')) * longest + 8;
    }
    void Paint(QPainter& painter, const QRect& cell, int line,
               const TExtRichEdit& editor) const override {
        QString tag = TagOf(editor.document()->findBlockByNumber(line));
        if (tag.isEmpty())
            return;
        // Dimmed: it is the line's history, not its code.
        QColor tone = editor.palette().color(QPalette::Text);
        tone.setAlphaF(0.45);
        painter.setPen(tone);
        painter.drawText(cell.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, tag);
    }
    QString ToolTip(int line) const override {
        (void)line;
        return {};
    }
};

} // namespace

void AddTagColumn(TExtRichEdit& editor) {
    editor.AddMarginColumn(std::make_unique<TTagColumn>());
    // A line opened before a tagged line (Enter at its start) leaves the tag with the empty
    // line Qt keeps in front; the tag belongs to the text, which moved to the next block.
    QObject::connect(editor.document(), &QTextDocument::contentsChange, &editor,
                     [&editor](int position, int removed, int added) {
                         if (removed != 0 || added == 0)
                             return;
                         QTextBlock block = editor.document()->findBlock(position);
                         QTextBlock next = block.next();
                         auto* data = dynamic_cast<TTagData*>(block.userData());
                         if (!data || !next.isValid() || next.userData() ||
                             block.position() != position || !block.text().trimmed().isEmpty())
                             return;
                         next.setUserData(new TTagData(data->Tag));
                         block.setUserData(nullptr);
                     });
}

void SetLineTags(TExtRichEdit& editor, const StringList& tags) {
    int longest = 0;
    QTextBlock block = editor.document()->firstBlock();
    for (size_t k = 0; block.isValid(); block = block.next(), ++k) {
        if (k < tags.size() && !tags[k].empty()) {
            block.setUserData(new TTagData(editor.Edge.ToQt(tags[k])));
            longest = std::max(longest, static_cast<int>(tags[k].size()));
        } else {
            block.setUserData(nullptr);
        }
    }
    editor.setProperty("orvaleTagWidth", longest);
    editor.RefreshMargin();
}

std::string LineTag(const TExtRichEdit& editor, int line) {
    return editor.Edge.FromQt(TagOf(editor.document()->findBlockByNumber(line)));
}
