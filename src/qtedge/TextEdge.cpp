#include "TextEdge.h"

namespace orvale {

namespace {

std::u16string_view View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

} // namespace

QString TextEdge::ToQt(std::string_view text) const {
    QString shown(static_cast<qsizetype>(Page_->MaxUnits(text.size())), Qt::Uninitialized);
    size_t units = Page_->ToUnicode(text, reinterpret_cast<char16_t*>(shown.data()));
    shown.truncate(static_cast<qsizetype>(units));
    return shown;
}

QStringList TextEdge::ToQt(const StringList& lines) const {
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        out.append(ToQt(line));
    return out;
}

std::string TextEdge::FromQt(const QString& text) const {
    std::string bytes;
    Page_->FromUnicode(View(text), bytes);
    return bytes;
}

StringList TextEdge::FromQt(const QStringList& lines) const {
    StringList out;
    out.reserve(static_cast<size_t>(lines.size()));
    for (const QString& line : lines)
        out.push_back(FromQt(line));
    return out;
}

char32_t TextEdge::FirstUnmappable(const QString& text, int* line) const {
    size_t at = Page_->FirstUnmappable(View(text));
    if (at == std::u16string_view::npos)
        return 0;
    qsizetype k = static_cast<qsizetype>(at);
    if (line)
        *line = 1 + static_cast<int>(text.left(k).count(QLatin1Char('\n')));
    QChar c = text.at(k);
    if (c.isHighSurrogate() && k + 1 < text.size() && text.at(k + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(k + 1));
    return c.unicode();
}

std::string CharacterName(char32_t character) {
    QString name = QStringLiteral("the character \"%1\" (U+%2)")
                       .arg(QString::fromUcs4(&character, 1))
                       .arg(static_cast<uint>(character), 4, 16, QLatin1Char('0'));
    // The code point in capitals, as character tables write it.
    qsizetype plus = name.lastIndexOf("U+");
    name = name.left(plus) + name.mid(plus).toUpper();
    return name.toUtf8().toStdString();
}

} // namespace orvale
