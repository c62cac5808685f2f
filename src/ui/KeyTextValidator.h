#pragma once

#include <QValidator>

// Input rule of the user-name and password fields: only characters the single-byte key file
// can hold (Latin-1, no control characters), and, for the login fields, the letters a-z turned
// into capitals as they are typed.
class TKeyTextValidator : public QValidator {
    Q_OBJECT
public:
    explicit TKeyTextValidator(bool upperCase, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    bool UpperCase;
};
