#include "ui/KeyTextValidator.h"

TKeyTextValidator::TKeyTextValidator(bool upperCase, QObject* parent)
    : QValidator(parent), UpperCase(upperCase) {}

QValidator::State TKeyTextValidator::validate(QString& input, int&) const {
    for (QChar& c : input) {
        char16_t u = c.unicode();
        if (u < 32 || u == 0x7F || u > 0xFF)
            return Invalid;
        // Only a-z change case, as everywhere else in the program's text rules.
        if (UpperCase && u >= 'a' && u <= 'z')
            c = QChar(static_cast<char16_t>(u - 32));
    }
    return Acceptable;
}
