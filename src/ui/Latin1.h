#pragma once

// The Qt edge of the program: the documents and libraries keep single-byte text (one byte is
// one RPG column); widgets show it as Latin-1.

#include "platform/StringList.h"

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

inline QString ToQt(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) {
    QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QStringList ToQt(const StringList& lines);
StringList FromQt(const QStringList& lines);

// The first character of Text that Latin-1 cannot hold, with the 1-based line it is on (lines
// end at "\n"); 0 when Latin-1 holds all of it.
char32_t FirstNotLatin1(const QString& text, int* line = nullptr);
// How a message names a character: the character "€" (U+20AC), as UTF-8 text.
std::string CharacterName(char32_t character);
