#include "Latin1.h"

QStringList ToQt(const StringList& lines) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines)
        out.append(ToQt(line));
    return out;
}

StringList FromQt(const QStringList& lines) {
    StringList out;
    out.reserve(static_cast<size_t>(lines.size()));
    for (const auto& line : lines)
        out.push_back(FromQt(line));
    return out;
}

char32_t FirstNotLatin1(const QString& text, int* line) {
    int at = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (c == QLatin1Char('\n'))
            ++at;
        if (c.unicode() <= 0xFF)
            continue;
        if (line)
            *line = at;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            return QChar::surrogateToUcs4(c, text.at(i + 1));
        return c.unicode();
    }
    return 0;
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
