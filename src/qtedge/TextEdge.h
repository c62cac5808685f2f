#pragma once

// The Qt edge of the program: the documents and libraries keep text as bytes of the program's
// code page, and widgets show Unicode. Every conversion between the two goes through a TextEdge
// over the code page of the text at hand, handed to the widgets that show it.

#include "platform/CodePage.h"
#include "platform/StringList.h"

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

namespace orvale {

class TextEdge {
public:
    // The edge of ISO-8859-1 text, the code page of every program for now.
    TextEdge() : Page_(&CodePage::Latin1()) {}
    explicit TextEdge(const CodePage& page) : Page_(&page) {}

    const CodePage& Page() const { return *Page_; }

    QString ToQt(std::string_view text) const;
    QStringList ToQt(const StringList& lines) const;
    // A character the code page cannot hold becomes "?": check with FirstUnmappable first
    // where that would lose what the user typed.
    std::string FromQt(const QString& text) const;
    StringList FromQt(const QStringList& lines) const;

    // The first character of Text the code page cannot hold, with the 1-based line it is on
    // (lines end at "\n"); 0 when it holds all of it.
    char32_t FirstUnmappable(const QString& text, int* line = nullptr) const;

private:
    const CodePage* Page_;
};

// How a message names a character: the character "€" (U+20AC), as UTF-8 text.
std::string CharacterName(char32_t character);

} // namespace orvale
