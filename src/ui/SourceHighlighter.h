#pragma once

// Colouring of the two editors of the program window: the statement language of a section,
// and the fixed columns of its compiled RPG/400 lines. The colours follow the editor's
// background, so that they read on the navy of the defaults, on black, and on the light or
// dark base colour a desktop palette or the options give.

#include "qtedge/TextEdge.h"
#include "ui/SourceColouring.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>

class TSourceHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // The code page of the text it colours.
    orvale::TextEdge Edge;

    enum class Language { Statements, RpgColumns };

    explicit TSourceHighlighter(Language language, QObject* parent = nullptr);

    Language Kind() const { return Language_; }
    // Picks the colour set for a background of that colour and colours the text again.
    void SetBackground(const QColor& base);
    bool DarkBackground() const { return Dark; }
    const QTextCharFormat& FormatOf(SpanKind kind) const {
        return Formats[static_cast<size_t>(kind)];
    }

protected:
    void highlightBlock(const QString& text) override;

private:
    void BuildFormats();

    Language Language_;
    bool Dark = true;
    std::array<QTextCharFormat, static_cast<size_t>(SpanKind::Warning) + 1> Formats;
};
