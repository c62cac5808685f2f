#include "SourceHighlighter.h"

#include "qtedge/TextEdge.h"

namespace {

struct Look {
    const char* OnDark;
    const char* OnLight;
    bool Bold = false;
    bool Italic = false;
};

// One entry per span kind, in the order of SpanKind.
constexpr Look kLooks[] = {
    {"#7fdbff", "#0033b3", true},        // Name
    {"#ffa552", "#a04000", true},        // Flags
    {"#9be88c", "#067d17"},              // Literal
    {"#ffb8e0", "#1750eb"},              // Number
    {"#a7b0ba", "#6a737d", false, true}, // Comment
    {"#d7b8ff", "#7a3e9d"},              // Raw
    {"#ffd27f", "#8a6d00"},              // Directive
    {"#ffffff", "#000000", true},        // FormType
    {"#ffa552", "#a04000", true},        // ControlLevel
    {"#ffa552", "#a04000", true},        // Indicator
    {"#9cdcfe", "#005cc5"},              // Factor1
    {"#7fdbff", "#0033b3", true},        // OpCode
    {"#c5e478", "#22863a"},              // Factor2
    {"#f7a26c", "#b31d28"},              // Result
    {"#ffb8e0", "#1750eb"},              // Length
    {"#ffa552", "#a04000", true},        // Resulting
    {"#7d8791", "#959da5"},              // Banner
    {"#ff6b6b", "#c62828", true},        // Error
    {"#ffc04d", "#a35f00", true},        // Warning
};
static_assert(std::size(kLooks) == static_cast<size_t>(SpanKind::Warning) + 1);

} // namespace

TSourceHighlighter::TSourceHighlighter(Language language, QObject* parent)
    : QSyntaxHighlighter(parent), Language_(language) {
    BuildFormats();
}

void TSourceHighlighter::SetBackground(const QColor& base) {
    bool dark = base.lightness() < 128;
    if (dark == Dark)
        return;
    Dark = dark;
    BuildFormats();
    rehighlight();
}

void TSourceHighlighter::BuildFormats() {
    for (size_t k = 0; k < Formats.size(); ++k) {
        const Look& look = kLooks[k];
        QTextCharFormat format;
        format.setForeground(QColor(Dark ? look.OnDark : look.OnLight));
        if (look.Bold)
            format.setFontWeight(QFont::Bold);
        format.setFontItalic(look.Italic);
        Formats[k] = format;
    }
}

void TSourceHighlighter::highlightBlock(const QString& text) {
    if (text.isEmpty())
        return;
    const std::string line = Edge.FromQt(text);
    const std::vector<ColourSpan> spans =
        Language_ == Language::Statements ? StatementSpans(line) : RpgLineSpans(line);
    for (const ColourSpan& span : spans)
        setFormat(span.Start, span.Length, FormatOf(span.Kind));
}
