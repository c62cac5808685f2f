#include "ui/TagColumn.h"

#include "document/HostRecord.h"
#include "qtedge/TextEdge.h"
#include "ui/ExtRichEdit.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextBlockUserData>
#include <QTextDocument>

#include <algorithm>

namespace {

// The tag and the change date of one text block. Qt keeps them with the block as lines are
// typed, inserted or removed around it.
class TTagData : public QTextBlockUserData {
public:
    explicit TTagData(QString tag) : Tag(std::move(tag)) {}
    QString Tag;
    // The date as shown, and as YYMMDD (0: none).
    QString Date;
    std::int32_t ChangeDate = 0;
};

TTagData* DataOf(const QTextBlock& block) {
    return dynamic_cast<TTagData*>(block.userData());
}

QString TagOf(const QTextBlock& block) {
    TTagData* data = DataOf(block);
    if (!data)
        return {};
    if (data->Date.isEmpty())
        return data->Tag;
    // The dates line up in a column of their own, the tags after them.
    int width = block.document()->property("orvaleDateWidth").toInt();
    QString text = data->Date.leftJustified(width);
    if (!data->Tag.isEmpty())
        text += QLatin1String("  ") + data->Tag;
    return text;
}

class TTagColumn : public TMarginColumn {
public:
    int Width(const TExtRichEdit& editor) const override {
        int tags = editor.property("orvaleTagWidth").toInt();
        int dates = editor.document()->property("orvaleDateWidth").toInt();
        int longest = dates + (dates > 0 && tags > 0 ? 2 : 0) + tags;
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
                         auto* moved = new TTagData(data->Tag);
                         moved->Date = data->Date;
                         moved->ChangeDate = data->ChangeDate;
                         next.setUserData(moved);
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
    editor.document()->setProperty("orvaleDateWidth", 0);
    editor.RefreshMargin();
}

void SetLineDates(TExtRichEdit& editor, const StringList& shown,
                  const std::vector<std::int32_t>& dates) {
    int longest = 0;
    QTextBlock block = editor.document()->firstBlock();
    for (size_t k = 0; block.isValid(); block = block.next(), ++k) {
        bool has = k < shown.size() && !shown[k].empty();
        TTagData* data = DataOf(block);
        if (!data && !has)
            continue;
        if (!data) {
            data = new TTagData({});
            block.setUserData(data);
        }
        data->Date = has ? editor.Edge.ToQt(shown[k]) : QString();
        data->ChangeDate = k < dates.size() ? dates[k] : 0;
        longest = std::max(longest, static_cast<int>(data->Date.size()));
    }
    editor.document()->setProperty("orvaleDateWidth", longest);
    editor.RefreshMargin();
}

std::vector<int> LinesChangedSince(const TExtRichEdit& editor, std::int32_t since) {
    std::vector<int> lines;
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next())
        if (TTagData* data = DataOf(block); data && ChangedOnOrAfter(data->ChangeDate, since))
            lines.push_back(block.blockNumber());
    return lines;
}

std::int32_t LineChangeDate(const TExtRichEdit& editor, int line) {
    TTagData* data = DataOf(editor.document()->findBlockByNumber(line));
    return data ? data->ChangeDate : 0;
}

std::string LineTag(const TExtRichEdit& editor, int line) {
    TTagData* data = DataOf(editor.document()->findBlockByNumber(line));
    return data ? editor.Edge.FromQt(data->Tag) : std::string();
}

std::string LineMarginText(const TExtRichEdit& editor, int line) {
    return editor.Edge.FromQt(TagOf(editor.document()->findBlockByNumber(line)));
}
